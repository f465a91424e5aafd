// The Samples window of the real tovaro.exe and a10.dll, driven from another
// process at 96 and 120 DPI: a fixture bank's rows, Properties writing one
// sample, a SoundFont's sample list for Replace, every control inside its
// dialog and every column shown.
// TOVARO_SHOT_PAUSE=N keeps each dialog open N seconds for screenshots.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/win32/resource.h"
#include "app/win32/samples_resource.h"
#include "tests/blackbox/program_test.h"
#include "tests/support/file_bytes.h"

namespace {

const DWORD Patience = 20000;

HWND ControlOf(HWND window, int id) {
  HWND control = nullptr;
  for (HWND page = GetWindow(window, GW_CHILD); control == nullptr && page != nullptr;
       page = GetWindow(page, GW_HWNDNEXT)) {
    control = GetDlgItem(page, id);
  }
  return control;
}

// Checks that no control reaches past the dialog's client area, then waits
// for a screenshot when asked to.
void ExpectInside(HWND dialog) {
  RECT client;
  GetClientRect(dialog, &client);
  for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
    RECT box;
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= client.right && box.bottom <= client.bottom)
        << Robot::Title(control);
  }
  if (const char* pause = std::getenv("TOVARO_SHOT_PAUSE")) {
    Sleep(static_cast<DWORD>(std::atoi(pause)) * 1000);
  }
}

void SetScreenDpi(DWORD dpi) {
  HKEY desktop = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &desktop,
                  nullptr);
  RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  RegCloseKey(desktop);
}

void WaitGone(HWND window) {
  for (int i = 0; i < 250 && IsWindow(window); ++i) {
    Sleep(20);
  }
}

class SamplesWindow : public ProgramTest {};

TEST_F(SamplesWindow, RowsAndPropertiesAt96And120Dpi) {
  DriverInstallSpec driver;
  driver.StockBankSize = 4096;
  ASSERT_TRUE(InstallDriver(where_, driver));
  const std::string bank = scratch_ + "mine.yb0";
  BankSetSpec setup;
  setup.Signature = 0x02;
  setup.Samples = true;
  setup.BankSize = 250000;
  for (DWORD dpi : {96u, 120u}) {
    SCOPED_TRACE(dpi);
    ASSERT_TRUE(WriteBankSet(bank, setup));
    WriteAll(scratch_ + "mine.yb3", Bytes(2096, 0));  // a stale size table, which the edit refreshes
    SetScreenDpi(dpi);
    Robot robot;
    ASSERT_TRUE(robot.Start(exe_, ""));
    HWND window = robot.WaitForWindow("Tovaro 2.0.1", Patience);
    SetScreenDpi(96);
    ASSERT_NE(window, nullptr);
    SendMessageA(ControlOf(window, IDC_UserBankEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(bank.c_str()));
    PostMessageA(ControlOf(window, IDC_SamplesBtn), BM_CLICK, 0, 0);  // posted: it runs a modal loop
    HWND samples = robot.WaitForDialog("Samples of ", Patience);
    ASSERT_NE(samples, nullptr);
    EXPECT_EQ(Robot::Title(samples), "Samples of " + bank + " (16)");
    HWND list = GetDlgItem(samples, IDC_SampleList);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 16);
    // The fixture's first instrument in a bank of 250000 bytes: "Piano", 22050
    // Hz mono, root key 36, fine tune 7 - 50 cents, an even sixteenth of the
    // bytes after the 776-byte header and directory, looped over whole periods
    // of 101 frames from its middle.
    EXPECT_EQ(robot.ListRow(list, 0, 9), (std::vector<std::string>{"000", "Piano", "22050", "mono", "C2 (36)", "-43",
                                                                   "3894-7731", "7788", "0.353"}));
    ExpectInside(samples);

    PostMessageA(GetDlgItem(samples, IDC_PropertiesBtn), BM_CLICK, 0, 0);
    // A wrong value's refusal is the window commands' test
    // (tests/core/samples_commands_test.cpp).
    HWND properties = robot.WaitForDialog("Properties of Sample 000 (Piano)", Patience);
    ASSERT_NE(properties, nullptr);
    const std::pair<int, const char*> typed[] = {{IDC_SampleNameEdit, "Grand"},
                                                 {IDC_RootKeyEdit, "A4"},
                                                 {IDC_FineTuneEdit, "+12"},
                                                 {IDC_LoopStartEdit, "100"},
                                                 {IDC_LoopEndEdit, "7000"}};
    for (const auto& field : typed) {
      SendMessageA(GetDlgItem(properties, field.first), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(field.second));
    }
    ExpectInside(properties);
    Robot::Press(properties, IDOK);
    for (int i = 0; i < 250 && robot.ListRow(list, 0, 9)[1] != "Grand"; ++i) {
      Sleep(20);
    }
    EXPECT_EQ(robot.ListRow(list, 0, 9), (std::vector<std::string>{"000", "Grand", "22050", "mono", "A4 (69)", "+12",
                                                                   "100-7000", "7788", "0.353"}));
    // Replace from Debian's SoundFont: its own sample list, every column shown.
    PostMessageA(GetDlgItem(samples, IDC_ReplaceBtn), BM_CLICK, 0, 0);
    HWND open = robot.WaitForDialog("Open", Patience);
    ASSERT_NE(open, nullptr);
    HWND name = GetDlgItem(open, 0x480) != nullptr ? GetDlgItem(open, 0x480) : GetDlgItem(open, 0x47c);  // edt1, cmb13
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Z:\\usr\\share\\sounds\\sf2\\TimGM6mb.sf2"));
    Robot::Press(open, IDOK);
    HWND choose = robot.WaitForDialog("Choose a sample of ", Patience);
    ASSERT_NE(choose, nullptr);
    for (HWND shown : {list, GetDlgItem(choose, IDC_FontSampleList)}) {
      EXPECT_EQ(GetWindowLongA(shown, GWL_STYLE) & WS_HSCROLL, 0) << "a column hides behind a scroll bar";
    }
    ExpectInside(choose);
    Robot::Press(choose, IDCANCEL);
    WaitGone(choose);
    Robot::Press(samples, IDCANCEL);
    WaitGone(samples);
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(robot.WaitForExit(Patience, exitCode));

    // The rows are read again from the bank, so the list above shows what was
    // written; that no other byte changes, the tovaroc test's, through the
    // same edit.
    const Bytes sizeTable = ReadAll(scratch_ + "mine.yb3");
    ASSERT_EQ(sizeTable.size(), 2096u);
    EXPECT_EQ(sizeTable[2092] | sizeTable[2093] << 8 | sizeTable[2094] << 16, 250000);
  }
}

}  // namespace
