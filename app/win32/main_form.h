// The main window: a dialog with a page control over seven page dialogs and
// a row of buttons, laid out in main_form.rc. What it shows comes from
// ComputeMainView and what its buttons do from MainCommands; this class
// moves values between those and the controls. Each page's code lives in
// its own page_*.cpp.
#pragma once

#include <windows.h>

#include "app/main_commands.h"
#include "app/main_view.h"

// The window class of the main window, by which a second start finds it.
extern const char* const MainFormClass;

class TMainForm : private MainWindowPort {
 public:
  TMainForm() = default;
  ~TMainForm();
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // Creates the window, hidden, from the resources of `instance`; FormCreate
  // has run when it returns. False on failure.
  bool Create(HINSTANCE instance);
  HWND Handle() const { return handle_; }
  // The message loop's filter: Ctrl+Tab and Ctrl+Shift+Tab switch pages, F1
  // opens the help of the page shown, then the dialog keys (Tab, access
  // keys, Enter = Ok, Escape = Cancel).
  // True when the message was handled.
  bool IsFormMessage(MSG& message);

  // A control of the window or of any page, by its ID.
  HWND Control(int id) const;
  // The page whose tab is selected.
  MainPage ActivePage() const { return active_; }
  void SelectPage(MainPage page);

  // The handlers, in the order the window runs them.
  void FormCreate();
  void ShowTitle();
  void RefreshWindow() override;
  // The buttons run their portable command through Buttons (window_buttons.cpp).
  bool FormCloseQuery();
  void VoiceEditsChange();
  // Buttons whose work is the window's own (a dialog, a timer), in Buttons too.
  void SamplesBtnClick();
  // "Play test tune" starts the tune on a window timer; pressed while it plays, it stops it.
  void TestTuneBtnClick();
  void InfoLabelClick();
  // The line of InfoLabel under a point of the screen (GetMessagePos form):
  // 0 the notice, 1 the web page, 2 the e-mail address.
  int InfoLineAt(DWORD screenPoint) const;
  // The focus left voice count `index`; runs once the focus has settled.
  void VoiceEditLeft(int index);
  // What the last command did, as the pages show it.
  std::string ResultLine() const;

 private:
  // A button of the window or of a page and the portable command it runs,
  // or (Command null) the window's own handler.
  struct WindowButton {
    int ControlId;
    WindowCommand Command;
    void (TMainForm::*Own)() = nullptr;
  };
  // Every button of the window, ended by {0, nullptr}.
  static const WindowButton Buttons[];
  // The four voice count edits, in the order of WindowChoices::VoiceTexts.
  static const int VoiceEditIds[4];

  static INT_PTR CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitDialog(HWND window);
  void OnCommand(int id, int code);
  // A WM_CTLCOLOR* of a page; null when the page's default colours stand.
  HBRUSH OnPageColor(HDC dc, HWND control);

  // Building the window (main_form.cpp).
  void CreatePages();
  void SizeAndCenter();
  void ShowPageTabs(const bool visible[MainPageCount]);
  void PlacePages();
  void ShowActivePage();
  void SelectNextPage(bool backwards);

  // Running a command on a snapshot of the controls and writing back what it changed.
  void RunCommand(WindowCommand command);
  WindowChoices ReadChoices() const;
  void WriteChangedChoices(const WindowChoices& before, const WindowChoices& after);
  WindowRef ActiveWindow() override;
  WindowRef ApplicationWindow() override;
  void Close() override;

  // The pages (page_*.cpp and settings_controls.cpp).
  void InitEditorPage();
  void InitCPanelPage();
  void InitVoicesPage();
  void FillList(int id, const char* const* items, int count);
  void SetAboutImage();
  void RefreshAboutPage(const MainView& view);
  void RefreshBankModesPage(const MainView& view);
  void RefreshEditorPage(const MainView& view);
  void RefreshSettingControls(const MainView& view);
  void SetSettingControl(std::size_t row, std::int32_t value);
  std::int32_t SettingControlValue(std::size_t row) const;
  void SetCheckedRadio(BankRadio radio);
  BankRadio CheckedRadio() const;
  void ShowVoiceTotal(const VoiceTotal& total);
  void SetResultLine(const std::string& text);

  std::string ControlText(int id) const;
  void SetControlText(int id, const std::string& text);

  HINSTANCE instance_ = nullptr;
  HWND handle_ = nullptr;
  HWND pages_[MainPageCount] = {};
  bool tabVisible_[MainPageCount] = {};
  MainPage active_ = AboutTab;
  HFONT boldFont_ = nullptr;
  HBRUSH redBrush_ = nullptr;
  HICON smallIcon_ = nullptr;
  HICON aboutIcon_ = nullptr;
  bool totalOverLimit_ = false;
  bool ready_ = false;           // the controls exist: change notifications count
  bool closeRequested_ = false;  // a command asked to close once it has ended
  bool closing_ = false;
};
