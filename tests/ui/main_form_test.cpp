// The main window in this process on a simulated installation, with the
// recording test doubles: controls are set and clicked with window messages,
// then the record, the recorded boxes, dialogs and shell calls are checked.
#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "app/startup.h"
#include "app/test_tune.h"
#include "app/win32/main_form.h"
#include "app/win32/resource.h"
#include "platform/fake.h"
#include "platform/fake_converter.h"
#include "platform/fake_sound.h"
#include "platform/testing/scratch.h"
#include "tests/core/window_machine.h"

namespace {

// Delivers what the window posted to itself, as the message loop would.
void Pump(TMainForm* form) {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      continue;
    }
    if (form == nullptr || !form->IsFormMessage(message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

std::string TextOf(HWND control) {
  char text[512] = {};
  GetWindowTextA(control, text, sizeof text);
  return text;
}

// The line a box starts with: the text of the failure, before its reason.
std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }
// What follows the first line and the blank line under it.
std::string Reason(const std::string& text) {
  const std::size_t blank = text.find("\n\n");
  return blank == std::string::npos ? std::string() : text.substr(blank + 2);
}

// The background a page gives a control, as WM_CTLCOLORSTATIC answers it.
COLORREF BackgroundOf(HWND control) {
  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageA(GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  const COLORREF colour = GetBkColor(dc);
  DeleteDC(dc);
  return colour;
}

// How many characters of a control's text its font has no glyph for: a
// Japanese path in a font without Japanese glyphs is drawn as boxes.
int MissingGlyphs(HWND control) {
  const std::string text = TextOf(control);
  std::wstring wide(text.size(), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                           &wide[0], static_cast<int>(wide.size()))));
  std::vector<WORD> glyphs(wide.size());
  HDC dc = GetDC(control);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  GetGlyphIndicesW(dc, wide.c_str(), static_cast<int>(wide.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return static_cast<int>(std::count(glyphs.begin(), glyphs.end(), 0xFFFF));
}

class MainFormTest : public ::testing::Test {
 protected:
  void Open(const MachineSpec& machine) {
    sim_ = std::make_unique<SimulatedSystem>();
    StartMachine(*sim_, machine);
    form_ = std::make_unique<TMainForm>();
    ASSERT_TRUE(form_->Create(GetModuleHandleA(nullptr)));
    ShowWindow(form_->Handle(), SW_SHOW);
    Pump(form_.get());
  }
  void TearDown() override {
    form_.reset();
    Pump(nullptr);
    sim_.reset();
  }
  HWND C(int id) const { return form_->Control(id); }
  // A click on a control of a page, with the page shown as a user has it.
  void Click(MainPage page, int id) {
    form_->SelectPage(page);
    SendMessageA(C(id), BM_CLICK, 0, 0);
    Pump(form_.get());
  }
  bool Checked(int id) const { return SendMessageA(C(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  bool Open() const { return IsWindow(form_->Handle()) != 0; }

  std::unique_ptr<SimulatedSystem> sim_;
  std::unique_ptr<TMainForm> form_;
};

const int RadioIds[] = {IDC_DefaultRadio, IDC_DisabledRadio, IDC_ExtendedRadio, IDC_DanceRadio, IDC_UserRadio};
const int SettingIds[] = {IDC_WaveOutCheck,  IDC_MiscCheck,   IDC_HiFiCheck,  IDC_FeaturesCombo, IDC_C3DCheck,
                          IDC_GamePortCheck, IDC_LegacyCheck, IDC_SpdifCheck, IDC_SPDIFInCombo,  IDC_VSVLCheck,
                          IDC_PowerCheck,    IDC_ModUpDown,   IDC_WodUpDown,  IDC_DSUpDown,      IDC_DS3DUpDown};
const int VoiceEdits[] = {IDC_ModEdit, IDC_WodEdit, IDC_DSEdit, IDC_DS3DEdit};

TEST_F(MainFormTest, FixedCentredWindowWithOkFocused) {
  Open(MachineSpec());
  HWND window = form_->Handle();
  char className[32] = {};
  GetClassNameA(window, className, sizeof className);
  EXPECT_STREQ(className, "TMainForm");
  EXPECT_EQ(TextOf(window), "Tovaro 2.0.1");

  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  // 376 x 406 pixels at 96 DPI whatever font stands in for MS Sans Serif
  // (Wine's has 12-pixel lines where Windows' has 13), at least as much
  // larger as the DPI is elsewhere.
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, dpi == 96 ? 376 : std::max<LONG>(client.right, MulDiv(376, dpi, 96)));
  EXPECT_EQ(client.bottom, dpi == 96 ? 406 : std::max<LONG>(client.bottom, MulDiv(406, dpi, 96)));
  const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  EXPECT_TRUE((style & WS_SYSMENU) && (style & WS_MINIMIZEBOX));
  EXPECT_FALSE((style & WS_MAXIMIZEBOX) || (style & WS_THICKFRAME));
  RECT frame;
  GetWindowRect(window, &frame);
  EXPECT_LE(std::abs(frame.left + frame.right - GetSystemMetrics(SM_CXSCREEN)), 1);
  EXPECT_LE(std::abs(frame.top + frame.bottom - GetSystemMetrics(SM_CYSCREEN)), 1);

  LOGFONTA font = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(font.lfHeight, -MulDiv(8, dpi, 72));
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(C(IDC_FoundLabel), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfWeight, FW_BOLD) << "headings are bold";

  EXPECT_EQ(GetFocus(), C(IDC_OkBtn));
  EXPECT_EQ(SendMessageA(window, DM_GETDEFID, 0, 0), MAKELRESULT(IDC_OkBtn, DC_HASDEFID));
  EXPECT_EQ(form_->ActivePage(), AboutTab);
  EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_NE(SendMessageA(C(IDC_AboutImage), STM_GETICON, 0, 0), 0);
}

TEST_F(MainFormTest, ControlsShowWhatTheViewSays) {
  MachineSpec known;
  known.Settings.LoadUIF = 9;  // no entry in the list
  known.Settings.LoadSpdifIn = 3;
  known.Settings.ShowMisc = true;
  known.Settings.MaxModVoices = 64;
  known.Settings.MaxWodVoices = 24;
  known.Settings.MaxDSVoices = 1;
  MachineSpec vxd;
  vxd.IsVxD = true;
  vxd.Version = "4.07.1040";
  vxd.BankSignature = 0x02;
  vxd.Settings.LoadC3D = true;
  for (std::int32_t* limit :
       {&vxd.Settings.MaxModVoices, &vxd.Settings.MaxWodVoices, &vxd.Settings.MaxDSVoices, &vxd.Settings.Max3DVoices}) {
    *limit = 22;
  }
  MachineSpec none;
  none.DriverInstalled = false;
  const struct {
    const char* Name;
    MachineSpec Machine;
    const char* Total;
    bool Red;
  } cases[] = {
      {"known WDM build", known, "89", true}, {"VxD 4.07.1040", vxd, "88", false}, {"no driver", none, "0", false}};

  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Open(c.Machine);
    const MainView view = ComputeMainView();
    EXPECT_EQ(TextOf(C(IDC_NameLabel)), view.Title);
    EXPECT_EQ(TextOf(C(IDC_InfoLabel)), view.InfoText);
    EXPECT_EQ(TextOf(C(IDC_FoundLabel)), view.FoundText);
    EXPECT_EQ(TextOf(C(IDC_DriverLabel)), view.DriverText);
    EXPECT_EQ(TextOf(C(IDC_BankLabel)), view.BankText);
    HWND tabs = C(IDC_PageControl);
    std::vector<bool> shown(MainPageCount, false);
    for (int item = 0; item < SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0); ++item) {
      TCITEMA tab = {};
      tab.mask = TCIF_PARAM;
      SendMessageA(tabs, TCM_GETITEMA, item, reinterpret_cast<LPARAM>(&tab));
      shown[tab.lParam] = true;
    }
    EXPECT_EQ(shown, std::vector<bool>(view.PageVisible, view.PageVisible + MainPageCount));
    EXPECT_EQ(SendMessageA(C(IDC_FeaturesCombo), CB_GETCOUNT, 0, 0), 7);
    EXPECT_EQ(SendMessageA(C(IDC_SPDIFInCombo), CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageA(C(IDC_EditorTypeCombo), CB_GETCOUNT, 0, 0), 3);
    EXPECT_TRUE(Checked(IDC_RebootCheck));

    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(Checked(RadioIds[i]), static_cast<int>(view.CheckedRadio) == i + 1) << "radio " << i;
    }
    EXPECT_EQ(SendMessageA(C(IDC_EditorTypeCombo), CB_GETCURSEL, 0, 0), view.FillControls ? 2 : CB_ERR);
    for (std::size_t row = 0; row < DriverSettingCount; ++row) {
      HWND control = C(SettingIds[row]);
      std::int32_t value = 0;
      switch (DriverSettingTable[row].Kind) {
        case SettingKind::Flag:
          value = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
          break;
        case SettingKind::Index:
          value = static_cast<std::int32_t>(SendMessageA(control, CB_GETCURSEL, 0, 0));
          break;
        case SettingKind::VoiceLimit:
          value = static_cast<std::int32_t>(SendMessageA(control, UDM_GETPOS32, 0, 0));
          EXPECT_EQ(TextOf(C(VoiceEdits[row - 11])), std::to_string(value));
          break;
      }
      if (view.FillControls) {
        EXPECT_EQ(value, view.SettingShown[row]) << DriverSettingTable[row].Name;
        EXPECT_EQ(IsWindowEnabled(control) != 0, view.SettingEnabled[row]) << DriverSettingTable[row].Name;
      } else {
        EXPECT_EQ(value, DriverSettingTable[row].Kind == SettingKind::Index ? -1 : 0) << DriverSettingTable[row].Name;
      }
    }
    if (view.FillControls) {
      const bool sysRes = (GetWindowLongPtrA(C(IDC_LabelSysRes), GWL_STYLE) & WS_VISIBLE) != 0;
      EXPECT_EQ(sysRes, view.SysResVisible);
      EXPECT_EQ(IsWindowEnabled(C(IDC_ExtendedRadio)) != 0, view.ExtendedEnabled);
      EXPECT_EQ(IsWindowEnabled(C(IDC_DanceRadio)) != 0, view.DanceEnabled);
    }
    EXPECT_EQ(TextOf(C(IDC_TotallyEdit)), c.Total);
    EXPECT_EQ(BackgroundOf(C(IDC_TotallyEdit)), c.Red ? RGB(255, 0, 0) : GetSysColor(COLOR_WINDOW));
    TearDown();
  }
}

TEST_F(MainFormTest, ApplyStoresWhatTheControlsHold) {
  Open(MachineSpec());
  Click(BankTab, IDC_ExtendedRadio);
  Click(CPanelTab, IDC_WaveOutCheck);
  SendMessageA(C(IDC_FeaturesCombo), CB_SETCURSEL, 5, 0);
  SendMessageA(C(IDC_SPDIFInCombo), CB_SETCURSEL, 3, 0);
  Click(AudioTab, IDC_HiFiCheck);
  Click(LoadTab, IDC_GamePortCheck);
  form_->SelectPage(VoicesTab);
  SendMessageA(C(IDC_DSUpDown), UDM_SETPOS32, 0, 40);
  Click(VoicesTab, IDC_ApplyBtn);

  EXPECT_EQ(Env.BankKind, BankExtended);
  const DriverSettings& stored = Env.Settings;  // read back after the writes
  EXPECT_TRUE(stored.ShowWaveout && stored.SRC && stored.LoadGamePort);
  EXPECT_EQ(stored.LoadUIF, 5);
  EXPECT_EQ(stored.LoadSpdifIn, 3);
  EXPECT_EQ(stored.MaxDSVoices, 40);
  EXPECT_TRUE(RebootPending);
  EXPECT_TRUE(Checked(IDC_ExtendedRadio) && !Checked(IDC_DefaultRadio));
  EXPECT_TRUE(Fake().Shown.empty());
  EXPECT_TRUE(Open());
}

TEST_F(MainFormTest, OkClosesAfterAFailedSwitch) {
  Open(MachineSpec());
  Click(BankTab, IDC_UserRadio);
  SetWindowTextA(C(IDC_UserBankSetEdit), (sim_->Root() + "missing.yb0").c_str());
  const WindowRef window = reinterpret_cast<WindowRef>(form_->Handle());
  Click(BankTab, IDC_OkBtn);
  ASSERT_EQ(Fake().Shown.size(), 1u) << "the error, and no reboot question";
  EXPECT_EQ(FirstLine(Fake().Shown[0].Text), "Cannot set XG Bank Mode");
  EXPECT_EQ(Fake().Shown[0].Owner, window);
  EXPECT_FALSE(Open());
}

TEST_F(MainFormTest, CancelAfterAnApplyThatNeedsARestartAsksTheQuestion) {
  Open(MachineSpec());
  Click(LoadTab, IDC_LegacyCheck);
  Click(LoadTab, IDC_ApplyBtn);
  ASSERT_TRUE(Fake().Shown.empty());
  Fake().Answers = {AnswerYes};
  Click(LoadTab, IDC_CancelBtn);
  ASSERT_EQ(Fake().Shown.size(), 1u);
  EXPECT_EQ(Fake().Shown[0].Text, "To apply changes you should reboot your computer. Reboot now?");
  ASSERT_FALSE(Fake().RestartCalls.empty());
  EXPECT_EQ(Fake().RestartCalls.back(), "ExitWindowsEx 2 0");
  EXPECT_FALSE(Open());
}

TEST_F(MainFormTest, TestTuneRunsOnTheTimerStopsOnASecondPressAndSaysWhyWithoutAnOutput) {
  Open(MachineSpec());
  FakeSoundReset();
  Click(BankTab, IDC_TestTuneBtn);
  ASSERT_TRUE(TestTunePlaying());
  EXPECT_EQ(TextOf(C(IDC_TestTuneBtn)), "S&top test tune");
  Click(BankTab, IDC_TestTuneBtn);
  EXPECT_FALSE(TestTunePlaying());
  EXPECT_EQ(FakeSound().Midi.back().Bytes, (std::vector<std::uint8_t>{0xB9, 123, 0})) << "all notes off";
  // Played to its end by the timer while the window handles its messages.
  Click(BankTab, IDC_TestTuneBtn);
  FakeSound().NowMs += 60000;
  for (int i = 0; i < 100 && TestTunePlaying(); ++i) {
    Sleep(10);
    Pump(form_.get());
  }
  EXPECT_FALSE(TestTunePlaying());
  EXPECT_EQ(FakeSound().Midi.size(), 5 + TestTuneEvents().size())
      << "the stopped tune's XG System On and all notes off, then the whole tune";
  EXPECT_EQ(TextOf(C(IDC_TestTuneBtn)), "Play &test tune");
  FakeSound().MidiRefusal = "No MIDI output is installed.";
  Click(BankTab, IDC_TestTuneBtn);
  ASSERT_EQ(Fake().Shown.size(), 1u);
  EXPECT_EQ(Fake().Shown[0].Text, "Cannot play the test tune\n\nNo MIDI output is installed.");
  EXPECT_EQ(Fake().Shown[0].Style, MsgOk | MsgIconError);
  EXPECT_EQ(TextOf(C(IDC_TestTuneBtn)), "Play &test tune");
}

TEST_F(MainFormTest, BothBrowseButtonsFillBothEditsAndCheckUserRadio) {
  Open(MachineSpec());
  const struct {
    MainPage Page;
    int Button;
    const char* Chosen;
  } browses[] = {
      {BankTab, IDC_UserBankPathBtn, "C:\\banks\\first.yb0"},
      {EditorTab, IDC_UserBankBtn, "C:\\banks\\second.yb0"},
      // 表 and ソ in code page 932 (run as ui.cp932), letters of 1252 here.
      {EditorTab, IDC_UserBankBtn, GetACP() == 932 ? "C:\\\x95\x5C\\\x83\x5C.yb0" : "C:\\Kl\xE4nge\\m\xFCsik.yb0"}};
  for (const auto& browse : browses) {
    Fake().FileDialogAnswers = {browse.Chosen};
    Click(browse.Page, browse.Button);
    EXPECT_EQ(TextOf(C(IDC_UserBankEdit)), browse.Chosen);
    EXPECT_EQ(TextOf(C(IDC_UserBankSetEdit)), browse.Chosen);
    EXPECT_TRUE(Checked(IDC_UserRadio) && !Checked(IDC_DefaultRadio));
    EXPECT_EQ(MissingGlyphs(C(IDC_UserBankEdit)) + MissingGlyphs(C(IDC_UserBankSetEdit)), 0) << browse.Chosen;
  }
  EXPECT_EQ(Fake().FileDialogs.size(), 3u);
}

TEST_F(MainFormTest, AddBankSetEnablesItsChoiceAndTheReasonGoes) {
  MachineSpec bare;
  bare.ShippedBanks = false;
  Open(bare);
  Fake().Shown.clear();
  HWND reason = C(IDC_BankSetsLabel);
  const auto shown = [reason] { return (GetWindowLongPtrA(reason, GWL_STYLE) & WS_VISIBLE) != 0; };
  EXPECT_TRUE(shown() && !IsWindowEnabled(C(IDC_ExtendedRadio)) && !IsWindowEnabled(C(IDC_DanceRadio)));
  const struct {
    std::uint8_t Signature;
    const char* Name;
    bool DanceEnabled;
    const char* Reason;  // empty: the label is hidden
  } adds[] = {{0x00, "mine.yb0", false, "Dance is greyed: no dance.yb0 in the Banks folder."},
              {0x01, "party.yb0", true, ""}};
  for (const auto& add : adds) {
    SCOPED_TRACE(add.Name);
    BankSetSpec setup;
    setup.Signature = add.Signature;
    setup.BankSize = 5000;
    ASSERT_TRUE(WriteBankSet(sim_->Root() + add.Name, setup));
    Fake().FileDialogAnswers = {sim_->Root() + add.Name};
    Click(BankTab, IDC_AddBankSetBtn);
    EXPECT_TRUE(Fake().Shown.empty()) << Fake().Shown[0].Text;
    EXPECT_TRUE(IsWindowEnabled(C(IDC_ExtendedRadio)));
    EXPECT_EQ(IsWindowEnabled(C(IDC_DanceRadio)) != 0, add.DanceEnabled);
    EXPECT_EQ(shown(), *add.Reason != '\0');
    EXPECT_EQ(TextOf(reason), add.Reason);
    EXPECT_NE(TextOf(C(IDC_BankResult)).find(" bank set added to the Banks folder"), std::string::npos);
  }
}

TEST_F(MainFormTest, EveryEditorButtonRunsItsCommand) {
  Open(MachineSpec());
  FakeConverterReset();
  FakeConverter().Results = {1};  // the extraction fails
  SetWindowTextA(C(IDC_UserBankEdit), (sim_->Root() + "none.yb0").c_str());
  const struct {
    int Button;
    const char* Message;
  } buttons[] = {{IDC_CopyFromBtn, "Cannot make copy of bank"},
                 {IDC_BankExtractBtn, "Cannot extract WAV sample(s) from the selected bank"},
                 {IDC_BankCreateBtn, "Cannot make a bank from WAV samples"},
                 {IDC_EditorDelete, "Cannot delete WAV samples"},
                 {IDC_EditSignCorrect, "Cannot set a bank signature"},
                 {IDC_EditorSetBtn, "Cannot set XG Bank Mode"}};
  for (const auto& button : buttons) {
    Fake().Shown.clear();
    Click(EditorTab, button.Button);
    ASSERT_EQ(Fake().Shown.size(), 1u) << button.Message;
    EXPECT_EQ(FirstLine(Fake().Shown[0].Text), button.Message);
    EXPECT_NE(Reason(Fake().Shown[0].Text), "") << button.Message;
    EXPECT_EQ(Fake().Shown[0].Owner, reinterpret_cast<WindowRef>(form_->Handle()));
  }
  EXPECT_EQ(FakeConverter().Calls, std::vector<std::string>{"Deconstruct " + sim_->Root() + "none.yb0"});
  EXPECT_TRUE(Open()) << "a failed switch closes nothing, whatever And Reboot says";
  FakeConverterReset();
}

TEST_F(MainFormTest, SetThisBankClosesWithAndRebootAndAsksTheQuestion) {
  Open(MachineSpec());
  const std::string mine = AddUserBank(*sim_, "mine.yb0");
  SetWindowTextA(C(IDC_UserBankEdit), mine.c_str());
  Click(EditorTab, IDC_RebootCheck);  // cleared: the window stays open
  Click(EditorTab, IDC_EditorSetBtn);
  EXPECT_TRUE(Fake().Shown.empty());
  EXPECT_EQ(Env.BankKind, BankUser);
  EXPECT_EQ(TextOf(C(IDC_UserBankSetEdit)), mine);
  EXPECT_TRUE(Checked(IDC_UserRadio)) << "refreshed";
  ASSERT_TRUE(Open());
  Click(EditorTab, IDC_RebootCheck);
  Fake().Answers = {AnswerNo};
  Click(EditorTab, IDC_EditorSetBtn);
  ASSERT_EQ(Fake().Shown.size(), 1u);
  EXPECT_EQ(Fake().Shown[0].Text, "To apply changes you should reboot your computer. Reboot now?");
  EXPECT_TRUE(Fake().RestartCalls.empty());
  EXPECT_FALSE(Open());
}

TEST_F(MainFormTest, VoiceCountsBoundToTheirArrowsAndTotalledInRedAbove88) {
  Open(MachineSpec());
  for (int i = 0; i < 4; ++i) {
    HWND upDown = C(SettingIds[11 + i]);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(upDown, UDM_GETBUDDY, 0, 0)), C(VoiceEdits[i]));
    int low = -1;
    int high = -1;
    SendMessageA(upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 64);
    EXPECT_EQ(GetWindowLongPtrA(upDown, GWL_STYLE) & UDS_WRAP, 0);
  }
  EXPECT_FALSE(IsWindowEnabled(C(IDC_TotallyEdit)));
  EXPECT_TRUE(GetWindowLongPtrA(C(IDC_TotallyEdit), GWL_STYLE) & ES_READONLY);
  const struct {
    int Counts[4];
    const char* Total;
    bool Red;
  } totals[] = {{{22, 22, 22, 22}, "88", false}, {{64, 24, 1, 0}, "89", true}};
  for (const auto& total : totals) {
    for (int i = 0; i < 4; ++i) {
      SendMessageA(C(SettingIds[11 + i]), UDM_SETPOS32, 0, total.Counts[i]);
    }
    EXPECT_EQ(TextOf(C(IDC_TotallyEdit)), total.Total);
    EXPECT_EQ(BackgroundOf(C(IDC_TotallyEdit)), total.Red ? RGB(255, 0, 0) : GetSysColor(COLOR_WINDOW));
  }
  SetWindowTextA(C(IDC_WodEdit), "");
  EXPECT_TRUE(Fake().Shown.empty()) << "an emptied field is retyped, not wrong";
  EXPECT_EQ(TextOf(C(IDC_TotallyEdit)), "89") << "the last total stays";
  EXPECT_EQ(BackgroundOf(C(IDC_TotallyEdit)), RGB(255, 0, 0));
}

TEST_F(MainFormTest, AVoiceCountOutsideZeroTo64IsSaidAndNotStored) {
  Open(MachineSpec());
  form_->SelectPage(VoicesTab);
  const struct {
    const char* Typed;
    bool OnLeaving;  // said when the focus leaves the field
  } cases[] = {{"99", true}, {"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Typed);
    Fake().Shown.clear();
    SetFocus(C(IDC_ModEdit));
    SetWindowTextA(C(IDC_ModEdit), c.Typed);
    SetWindowTextA(C(IDC_DSEdit), "40");
    SetFocus(C(IDC_WodEdit));
    Pump(form_.get());
    ASSERT_EQ(Fake().Shown.size(), c.OnLeaving ? 1u : 0u);
    if (c.OnLeaving) {
      EXPECT_EQ(Fake().Shown[0].Text,
                "MIDI voices: '99' is not a count from 0 to 64. Type a whole number from 0 to 64.");
      EXPECT_EQ(Fake().Shown[0].Style, MsgOk | MsgIconError);
    }
    Fake().Shown.clear();
    Click(VoicesTab, IDC_ApplyBtn);
    ASSERT_EQ(Fake().Shown.size(), 1u) << "said again at Apply";
    EXPECT_NE(Fake().Shown[0].Text.find("The voice limits were not stored."), std::string::npos);
    EXPECT_EQ(Env.Settings.MaxModVoices, 0);
    EXPECT_EQ(Env.Settings.MaxDSVoices, 0) << "none of the four is stored";
  }
}

TEST_F(MainFormTest, FailureBoxesSayWhy) {
  Open(MachineSpec());
  const std::string mine = AddUserBank(*sim_, "mine.yb0");
  const std::string missing = sim_->Root() + "missing.yb0";
  const struct {
    const char* Name;
    bool Busy;
    MainPage Page;
    const char* UserBank;  // in UserBankSetEdit, or in UserBankEdit for the editor
    int Button;
    const char* First;
    std::string Why;  // a part of the reason
  } cases[] = {
      {"missing user bank", false, BankTab, missing.c_str(), IDC_ApplyBtn, "Cannot set XG Bank Mode", missing},
      {"driver files busy", true, BankTab, mine.c_str(), IDC_ApplyBtn, "Cannot set XG Bank Mode",
       "Another Tovaro program is changing the driver files"},
      {"failed build", false, EditorTab, mine.c_str(), IDC_BankCreateBtn, "Cannot make a bank from WAV samples",
       "WAV files in " + sim_->Root()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Fake().Shown.clear();
    Fake().LockHeldElsewhere = c.Busy;
    FakeConverter().Results = {3};
    if (c.Page == BankTab) {
      Click(BankTab, IDC_UserRadio);
      SetWindowTextA(C(IDC_UserBankSetEdit), c.UserBank);
    } else {
      SetWindowTextA(C(IDC_UserBankEdit), c.UserBank);
    }
    Click(c.Page, c.Button);
    ASSERT_EQ(Fake().Shown.size(), 1u);
    EXPECT_EQ(FirstLine(Fake().Shown[0].Text), c.First);
    EXPECT_NE(Reason(Fake().Shown[0].Text).find(c.Why), std::string::npos) << Fake().Shown[0].Text;
  }
  Fake().LockHeldElsewhere = false;
  FakeConverterReset();
}

TEST_F(MainFormTest, TheResultLineSaysWhatTheLastCommandDid) {
  Open(MachineSpec());
  ASSERT_TRUE(WriteWholeFile(sim_->Root() + "one.wav", Bytes{1}));
  ASSERT_TRUE(WriteWholeFile(sim_->Root() + "two.wav", Bytes{2}));
  const std::string mine = AddUserBank(*sim_, "mine.yb0");
  SetWindowTextA(C(IDC_UserBankEdit), mine.c_str());
  const struct {
    MainPage Page;
    int Click;
    std::string Line;
  } commands[] = {
      {BankTab, IDC_ExtendedRadio, ""},
      {BankTab, IDC_ApplyBtn, "Extended bank installed; the driver verifies exact. Restart Windows to load it."},
      {EditorTab, IDC_BankExtractBtn, "2 WAV files written to " + sim_->Root()},
  };
  for (const auto& command : commands) {
    Click(command.Page, command.Click);
    if (command.Line.empty()) {
      continue;
    }
    EXPECT_TRUE(Fake().Shown.empty());
    for (int line :
         {IDC_BankResult, IDC_EditorResult, IDC_CPanelResult, IDC_AudioResult, IDC_LoadResult, IDC_VoicesResult}) {
      EXPECT_EQ(TextOf(C(line)), command.Line) << line;
    }
  }
}

TEST_F(MainFormTest, RestoreOriginalsAsksFirst) {
  Open(MachineSpec());
  Click(BankTab, IDC_ExtendedRadio);
  Click(BankTab, IDC_ApplyBtn);
  ASSERT_EQ(Env.BankKind, BankExtended);
  const std::string applied = TextOf(C(IDC_BankResult));
  const struct {
    int Answer;
    std::int32_t Kind;
    std::string Line;
  } answers[] = {
      {AnswerNo, BankExtended, applied},
      {AnswerYes, BankDefault,
       "Original driver and bank files restored from the Backup folder. Restart Windows for the changes to take "
       "effect."},
  };
  for (const auto& answer : answers) {
    Fake().Shown.clear();
    Fake().Answers = {answer.Answer, AnswerNo};  // the settings stay as they are
    Click(BankTab, IDC_RestoreBtn);
    ASSERT_EQ(Fake().Shown.size(), answer.Answer == AnswerYes ? 2u : 1u) << "then the settings question";
    EXPECT_EQ(Fake().Shown[0].Style, MsgYesNo | MsgIconQuestion);
    EXPECT_EQ(Env.BankKind, answer.Kind);
    EXPECT_EQ(TextOf(C(IDC_BankResult)), answer.Line);
    EXPECT_EQ(Checked(IDC_DefaultRadio), answer.Kind == BankDefault) << "refreshed";
  }
  // The restored originals were backed up again: the next change works.
  Fake().Shown.clear();
  Click(BankTab, IDC_ExtendedRadio);
  Click(BankTab, IDC_ApplyBtn);
  EXPECT_TRUE(Fake().Shown.empty()) << Fake().Shown[0].Text;
  EXPECT_EQ(Env.BankKind, BankExtended);
  EXPECT_TRUE(Checked(IDC_ExtendedRadio));
}

TEST_F(MainFormTest, HelpControlPanelF1AndLinksHandWorkToTheShell) {
  Open(MachineSpec());
  // The About page's lines: the web address is the second, the e-mail the third.
  auto clickLine = [&](int line) {
    form_->SelectPage(AboutTab);
    HWND label = C(IDC_InfoLabel);
    RECT box;
    GetWindowRect(label, &box);
    SetCursorPos(box.left + 4, box.top + 4 + line * (box.bottom - box.top) / 3);
    PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    Pump(form_.get());
  };
  auto f1 = [&](MainPage page) {
    form_->SelectPage(page);
    MSG message = {C(IDC_OkBtn), WM_KEYDOWN, VK_F1, 0, 0, {0, 0}};
    EXPECT_TRUE(form_->IsFormMessage(message));
  };
  const struct {
    std::function<void()> Act;
    const char* Verb;
    std::string File;
    const char* Failure;  // the box when the shell cannot open it
  } opens[] = {
      {[&] { Click(AboutTab, IDC_HelpBtn); }, "open", ExeDir + "Help\\index.html", "Cannot open the help "},
      {[&] { Click(CPanelTab, IDC_CPanelBtn); }, "cplopen", Env.SystemDir + "DS1.cpl",
       "Cannot open the driver's control panel "},
      {[&] { f1(BankTab); }, "open", ExeDir + "Help\\bankmodes.html", "Cannot open the help "},
      {[&] { f1(VoicesTab); }, "open", ExeDir + "Help\\voices.html", "Cannot open the help "},
      {[&] { clickLine(1); }, "open", "http://www.nerulan.example/tovaro/", "Cannot open the web page "},
      {[&] { clickLine(2); }, "open", "mailto:tovaro@nerulan.example", "Cannot open a mail to "},
  };
  for (bool opensOk : {true, false}) {
    for (const auto& open : opens) {
      SCOPED_TRACE(open.File);
      Fake().ShellCalls.clear();
      Fake().Shown.clear();
      Fake().ShellOpens = opensOk;
      open.Act();
      ASSERT_EQ(Fake().ShellCalls.size(), 1u);
      EXPECT_EQ(Fake().ShellCalls[0].Verb, open.Verb);
      EXPECT_EQ(Fake().ShellCalls[0].File, open.File);
      EXPECT_EQ(Fake().ShellCalls[0].Owner, reinterpret_cast<WindowRef>(form_->Handle()));
      ASSERT_EQ(Fake().Shown.size(), opensOk ? 0u : 1u);
      if (!opensOk) {
        EXPECT_EQ(Fake().Shown[0].Text.rfind(open.Failure + std::string(), 0), 0u) << Fake().Shown[0].Text;
      }
    }
  }
}

TEST_F(MainFormTest, AccessKeysAreUniquePerPageAndLeaveHelpAndApplyAlone) {
  Open(MachineSpec());
  const int onePerPage[MainPageCount] = {IDC_NameLabel, IDC_DefaultRadio, IDC_SelectBankHeading, IDC_HiddenTabsHeading,
                                         IDC_HiFiCheck, IDC_C3DCheck,     IDC_ModLabel};
  for (int page = 0; page < MainPageCount; ++page) {
    SCOPED_TRACE(MainPageCaptions[page]);
    std::string keys = "ha";  // Alt+H and Alt+A of the button row
    for (HWND control = GetWindow(GetParent(C(onePerPage[page])), GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
      char className[32] = {};
      GetClassNameA(control, className, sizeof className);
      const LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
      const bool isStatic = std::string(className) == "Static";
      if (isStatic && (style & SS_NOPREFIX) != 0) {
        continue;
      }
      const std::string caption = TextOf(control);
      const std::size_t amp = caption.find('&');
      if (amp == std::string::npos || amp + 1 == caption.size()) {
        EXPECT_TRUE(isStatic || std::string(className) != "Button" || caption == "...") << "no access key: " << caption;
        continue;
      }
      const char key = static_cast<char>(std::tolower(static_cast<unsigned char>(caption[amp + 1])));
      EXPECT_EQ(keys.find(key), std::string::npos) << caption;
      keys += key;
    }
  }
}

TEST_F(MainFormTest, CtrlTabSwitchesAmongTheVisiblePages) {
  MachineSpec none;
  none.DriverInstalled = false;
  Open(none);
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  const BYTE saved[2] = {keys[VK_CONTROL], keys[VK_SHIFT]};
  auto press = [&](bool shift) {
    keys[VK_CONTROL] = 0x80;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG message = {C(IDC_OkBtn), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_TRUE(form_->IsFormMessage(message));
    return form_->ActivePage();
  };
  EXPECT_EQ(press(false), EditorTab);
  EXPECT_EQ(press(false), LoadTab);
  EXPECT_EQ(press(false), VoicesTab);
  EXPECT_EQ(press(false), AboutTab);
  EXPECT_EQ(press(true), VoicesTab);
  EXPECT_EQ(SendMessageA(C(IDC_PageControl), TCM_GETCURSEL, 0, 0), 3);
  EXPECT_TRUE(IsWindowVisible(GetParent(C(IDC_ModEdit))));
  EXPECT_FALSE(IsWindowVisible(GetParent(C(IDC_NameLabel))));
  keys[VK_CONTROL] = saved[0];
  keys[VK_SHIFT] = saved[1];
  SetKeyboardState(keys);
}

}  // namespace
