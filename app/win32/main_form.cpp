#include "app/win32/main_form.h"

// after windows.h, which they need
#include <commctrl.h>

#include <algorithm>

#include "app/startup.h"
#include "app/test_tune.h"
#include "app/win32/resource.h"

const char* const MainFormClass = "TMainForm";

namespace {

// Pages look like property sheet pages on XP. The call lives in uxtheme.dll,
// which Windows 98 lacks, so it is looked up when the program runs.
void EnableThemedPage(HWND page) {
  using EnableThemeDialogTextureFn = HRESULT(WINAPI*)(HWND, DWORD);
  static EnableThemeDialogTextureFn enable = [] {
    HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
    return uxtheme == nullptr ? nullptr
                              : reinterpret_cast<EnableThemeDialogTextureFn>(
                                    reinterpret_cast<void*>(GetProcAddress(uxtheme, "EnableThemeDialogTexture")));
  }();
  if (enable != nullptr) {
    const DWORD enableTab = 0x02 | 0x04;  // ETDT_ENABLE | ETDT_USETABTEXTURE
    enable(page, enableTab);
  }
}

// The client area at 96 DPI on Windows, where the dialog units of MS Sans
// Serif 8 are 6 x 13 pixels per 4 x 8 units.
constexpr int ClientWidth = 376;
constexpr int ClientHeight = 406;
constexpr int BaseWidth = 6;
constexpr int BaseHeight = 13;

// Controls that keep their distance to the right and bottom edges of their
// dialog when it is sized away from its template: the page control grows,
// the button row moves down, its right-hand buttons also to the right.
struct Anchor {
  int ControlId;
  bool Right;
  bool Bottom;
  bool Grow;
};

const Anchor MainAnchors[] = {
    {IDC_PageControl, true, true, true}, {IDC_HelpBtn, false, true, false}, {IDC_OkBtn, true, true, false},
    {IDC_CancelBtn, true, true, false},  {IDC_ApplyBtn, true, true, false},
};

void ApplyAnchor(HWND dialog, const Anchor& anchor, int dx, int dy) {
  HWND control = GetDlgItem(dialog, anchor.ControlId);
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  const int moveX = anchor.Right && !anchor.Grow ? dx : 0;
  const int moveY = anchor.Bottom && !anchor.Grow ? dy : 0;
  const int growX = anchor.Grow && anchor.Right ? dx : 0;
  const int growY = anchor.Grow && anchor.Bottom ? dy : 0;
  SetWindowPos(control, nullptr, rect.left + moveX, rect.top + moveY, rect.right - rect.left + growX,
               rect.bottom - rect.top + growY, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

TMainForm::~TMainForm() {
  if (handle_ != nullptr && IsWindow(handle_)) {
    closing_ = true;
    DestroyWindow(handle_);
  }
  if (boldFont_ != nullptr) {
    DeleteObject(boldFont_);
  }
  if (redBrush_ != nullptr) {
    DeleteObject(redBrush_);
  }
  for (HICON icon : {smallIcon_, aboutIcon_}) {
    if (icon != nullptr) {
      DestroyIcon(icon);
    }
  }
}

bool TMainForm::Create(HINSTANCE instance) {
  instance_ = instance;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);
  // The dialog template names this class, so that the window is found as a
  // TMainForm and not as one more "#32770" dialog such as a message box.
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefDlgProcA;
  windowClass.cbWndExtra = DLGWINDOWEXTRA;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_Tovaro));
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = MainFormClass;
  if (RegisterClassA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return false;
  }
  return CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MainForm), nullptr, &TMainForm::FormProc,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

INT_PTR CALLBACK TMainForm::FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TMainForm* form = reinterpret_cast<TMainForm*>(GetWindowLongPtrA(window, DWLP_USER));
  if (message == WM_INITDIALOG) {
    form = reinterpret_cast<TMainForm*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    form->OnInitDialog(window);
    return FALSE;  // the focus is set
  }
  return form != nullptr ? form->OnMessage(message, wParam, lParam) : FALSE;
}

INT_PTR CALLBACK TMainForm::PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  TMainForm* form = reinterpret_cast<TMainForm*>(GetWindowLongPtrA(page, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(page, DWLP_USER, lParam);
      EnableThemedPage(page);
      return FALSE;
    case WM_COMMAND:
      if (form != nullptr) {
        form->OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
      }
      break;
    case WM_SETCURSOR:
      // The hand over the web and e-mail lines says they can be clicked.
      if (form != nullptr && reinterpret_cast<HWND>(wParam) == form->Control(IDC_InfoLabel) &&
          form->InfoLineAt(GetMessagePos()) >= 1) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        SetWindowLongPtrA(page, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (form != nullptr) {
        // A dialog procedure returns the brush of WM_CTLCOLOR* itself.
        return reinterpret_cast<INT_PTR>(
            form->OnPageColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
      }
      break;
    default:
      break;
  }
  return FALSE;
}

INT_PTR TMainForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == IDC_PageControl && header->code == static_cast<UINT>(TCN_SELCHANGE)) {
        const int item = static_cast<int>(SendDlgItemMessageA(handle_, IDC_PageControl, TCM_GETCURSEL, 0, 0));
        TCITEMA tab = {};
        tab.mask = TCIF_PARAM;
        if (SendDlgItemMessageA(handle_, IDC_PageControl, TCM_GETITEMA, item, reinterpret_cast<LPARAM>(&tab))) {
          active_ = static_cast<MainPage>(tab.lParam);
          ShowActivePage();
        }
        return TRUE;
      }
      return FALSE;
    }
    case WM_ACTIVATEAPP:
      if (wParam != FALSE && ready_) {
        MainCommands::FormActivated(*this);
      }
      return FALSE;
    case WM_VoiceEditLeft:
      VoiceEditLeft(static_cast<int>(wParam));
      return TRUE;
    case WM_CLOSE:
      if (!closing_ && FormCloseQuery()) {
        closing_ = true;
        DestroyWindow(handle_);
      }
      return TRUE;
    case WM_DESTROY:
      ready_ = false;
      // The tune's timer dies with the window: no note may be left sounding.
      StopTestTune();
      PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
}

void TMainForm::OnInitDialog(HWND window) {
  handle_ = window;
  SizeAndCenter();
  CreatePages();
  InitEditorPage();
  InitCPanelPage();
  InitVoicesPage();
  ready_ = true;
  FormCreate();
  // WM_NEXTDLGCTL rather than SetFocus, so the dialog manager keeps Ok as the default button.
  SendMessageA(handle_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(handle_, IDC_OkBtn)), TRUE);
}

void TMainForm::SizeAndCenter() {
  // The client area is 376 x 406 pixels in the dialog units of the window's
  // font, so it grows with the font as every control of the template does.
  // Scaling the pixels by DPI/96 instead falls short at 120 DPI, where MS
  // Sans Serif grows by more than 5/4 and the right column clips. The
  // template is within a unit of this size; the page control and the
  // buttons take up the difference. The window is centred on the screen.
  RECT before;
  GetClientRect(handle_, &before);
  // Never smaller than those pixels scaled by DPI/96: a substituted font
  // with shorter units (Wine's MS Sans Serif has 12-pixel lines at 96 DPI,
  // not 13) would otherwise cut the window to 376 x 375.
  RECT units = {0, 0, 4, 8};
  MapDialogRect(handle_, &units);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  RECT frame = {0, 0, std::max(MulDiv(ClientWidth, units.right, BaseWidth), MulDiv(ClientWidth, dpi, 96)),
                std::max(MulDiv(ClientHeight, units.bottom, BaseHeight), MulDiv(ClientHeight, dpi, 96))};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(handle_, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(handle_, GWL_EXSTYLE));
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(handle_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT after;
  GetClientRect(handle_, &after);
  for (const Anchor& anchor : MainAnchors) {
    ApplyAnchor(handle_, anchor, after.right - before.right, after.bottom - before.bottom);
  }
}

void TMainForm::CreatePages() {
  HWND pageControl = GetDlgItem(handle_, IDC_PageControl);
  for (int page = 0; page < MainPageCount; ++page) {
    pages_[page] = CreateDialogParamA(instance_, MAKEINTRESOURCEA(IDD_AboutTab + page), handle_, &TMainForm::PageProc,
                                      reinterpret_cast<LPARAM>(this));
    // After the page control in the Tab order, before the buttons.
    SetWindowPos(pages_[page], pageControl, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  // Headings are bold.
  LOGFONTA font = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(handle_, WM_GETFONT, 0, 0)), sizeof font, &font);
  font.lfWeight = FW_BOLD;
  boldFont_ = CreateFontIndirectA(&font);
  for (int id : {IDC_NameLabel, IDC_FoundLabel, IDC_SelectBankHeading, IDC_CommandsHeading, IDC_HiddenTabsHeading,
                 IDC_SoundCardFeaturesHeading}) {
    SendMessageA(Control(id), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_), FALSE);
  }
  redBrush_ = CreateSolidBrush(RGB(255, 0, 0));
  smallIcon_ =
      static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_Tovaro), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                    GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  SendMessageA(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

void TMainForm::FormCreate() {
  // The file dialogs' filter is part of each request (BankFileDialog).
  ShowTitle();
  RefreshWindow();
  // After a restart both User Bank path fields name the set the installed
  // user bank came from, so that Apply and the editor start from it.
  const std::string userBankSet = ComputeMainView().UserBankSetPath;
  if (!userBankSet.empty()) {
    SetControlText(IDC_UserBankSetEdit, userBankSet);
    SetControlText(IDC_UserBankEdit, userBankSet);
  }
  SetAboutImage();
  SelectPage(AboutTab);
}

void TMainForm::ShowTitle() { SetWindowTextA(handle_, ProductTitle.c_str()); }

void TMainForm::RefreshWindow() {
  const MainView view = ComputeMainView();
  RefreshAboutPage(view);
  ShowPageTabs(view.PageVisible);
  if (!view.FillControls) {
    return;
  }
  RefreshBankModesPage(view);
  RefreshEditorPage(view);
  RefreshSettingControls(view);
}

void TMainForm::ShowPageTabs(const bool visible[MainPageCount]) {
  if (std::equal(visible, visible + MainPageCount, tabVisible_) &&
      SendDlgItemMessageA(handle_, IDC_PageControl, TCM_GETITEMCOUNT, 0, 0) > 0) {
    return;
  }
  HWND pageControl = GetDlgItem(handle_, IDC_PageControl);
  SendMessageA(pageControl, TCM_DELETEALLITEMS, 0, 0);
  int item = 0;
  for (int page = 0; page < MainPageCount; ++page) {
    tabVisible_[page] = visible[page];
    if (visible[page]) {
      TCITEMA tab = {};
      tab.mask = TCIF_TEXT | TCIF_PARAM;
      tab.pszText = const_cast<char*>(MainPageCaptions[page]);
      tab.lParam = page;
      SendMessageA(pageControl, TCM_INSERTITEMA, item++, reinterpret_cast<LPARAM>(&tab));
    }
  }
  // The tabs may now take another number of rows.
  PlacePages();
  SelectPage(tabVisible_[active_] ? active_ : AboutTab);
}

void TMainForm::PlacePages() {
  HWND pageControl = GetDlgItem(handle_, IDC_PageControl);
  RECT area;
  GetClientRect(pageControl, &area);
  SendMessageA(pageControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  MapWindowPoints(pageControl, handle_, reinterpret_cast<POINT*>(&area), 2);
  for (HWND page : pages_) {
    RECT before;
    GetClientRect(page, &before);
    SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The control panel button stays at the bottom right of its page.
    if (page == pages_[CPanelTab]) {
      const Anchor button = {IDC_CPanelBtn, true, true, false};
      ApplyAnchor(page, button, area.right - area.left - before.right, area.bottom - area.top - before.bottom);
    }
  }
}

void TMainForm::SelectPage(MainPage page) {
  if (!tabVisible_[page]) {
    return;
  }
  int item = 0;
  for (int before = 0; before < page; ++before) {
    item += tabVisible_[before] ? 1 : 0;
  }
  SendDlgItemMessageA(handle_, IDC_PageControl, TCM_SETCURSEL, item, 0);
  active_ = page;
  ShowActivePage();
}

void TMainForm::ShowActivePage() {
  HWND focus = GetFocus();
  for (int page = 0; page < MainPageCount; ++page) {
    ShowWindow(pages_[page], page == active_ ? SW_SHOW : SW_HIDE);
  }
  // The focus does not stay on a control that was just hidden.
  if (focus != nullptr && !IsWindowVisible(focus) && IsChild(handle_, focus)) {
    SendMessageA(handle_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(handle_, IDC_PageControl)), TRUE);
  }
}

void TMainForm::SelectNextPage(bool backwards) {
  int page = active_;
  do {
    page = (page + (backwards ? MainPageCount - 1 : 1)) % MainPageCount;
  } while (!tabVisible_[page]);
  SelectPage(static_cast<MainPage>(page));
}

bool TMainForm::IsFormMessage(MSG& message) {
  if (handle_ == nullptr || !IsWindow(handle_)) {
    return false;
  }
  const bool ours = message.hwnd == handle_ || IsChild(handle_, message.hwnd);
  if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && ours) {
    SelectNextPage(GetKeyState(VK_SHIFT) < 0);
    return true;
  }
  if (message.message == WM_KEYDOWN && message.wParam == VK_F1 && ours) {
    MainCommands::HelpForPage(active_, *this);
    return true;
  }
  return IsDialogMessageA(handle_, &message) != 0;
}

HWND TMainForm::Control(int id) const {
  HWND control = GetDlgItem(handle_, id);
  for (int page = 0; control == nullptr && page < MainPageCount; ++page) {
    control = GetDlgItem(pages_[page], id);
  }
  return control;
}

std::string TMainForm::ControlText(int id) const {
  HWND control = Control(id);
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(control, &text[0], static_cast<int>(text.size()))));
  return text;
}

void TMainForm::SetControlText(int id, const std::string& text) { SetWindowTextA(Control(id), text.c_str()); }

void TMainForm::FillList(int id, const char* const* items, int count) {
  for (int i = 0; i < count; ++i) {
    SendMessageA(Control(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
  }
}

WindowRef TMainForm::ActiveWindow() {
  HWND active = GetActiveWindow();
  return reinterpret_cast<WindowRef>(active != nullptr ? active : handle_);
}

WindowRef TMainForm::ApplicationWindow() { return reinterpret_cast<WindowRef>(handle_); }

void TMainForm::Close() { closeRequested_ = true; }

int TMainForm::InfoLineAt(DWORD screenPoint) const {
  HWND label = Control(IDC_InfoLabel);
  POINT point = {static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
  ScreenToClient(label, &point);
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  return metrics.tmHeight > 0 && point.y >= 0 ? point.y / metrics.tmHeight : 0;
}

void TMainForm::InfoLabelClick() {
  // InfoLabel's lines are the notice, "Web: ..." and "E-mail: ...": the line
  // under the pointer says which was clicked.
  const int line = InfoLineAt(GetMessagePos());
  if (line == 1) {
    RunCommand(&MainCommands::WebLinkClick);
  } else if (line == 2) {
    RunCommand(&MainCommands::MailLinkClick);
  }
}

void TMainForm::VoiceEditLeft(int index) {
  if (index < 0 || index > 3 || !ready_ || closing_) {
    return;
  }
  // Leaving for Cancel drops the choices: nothing to say about them.
  const HWND focus = GetFocus();
  if (focus == GetDlgItem(handle_, IDC_CancelBtn) || GetActiveWindow() != handle_) {
    return;
  }
  MainCommands::VoiceEditLeft(index, ControlText(VoiceEditIds[index]), *this);
}

bool TMainForm::FormCloseQuery() { return MainCommands::FormCloseQuery(*this); }
