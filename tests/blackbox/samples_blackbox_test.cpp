// The Samples window of the real tovaro.exe with the real a10.dll, driven
// from another process: the rows of a fixture bank, Properties writing one
// sample, a wrong value refused, at 96 and 120 DPI with every control inside
// its window. TOVARO_SHOT_PAUSE=N keeps each window open N seconds, for
// screenshots taken from outside.
#include <gtest/gtest.h>

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <cstdlib>

#include "app/win32/resource.h"
#include "app/win32/samples_resource.h"
#include "tests/blackbox/program_test.h"
#include "tests/support/file_bytes.h"

namespace {

const DWORD Patience = 20000;

// The fixture's first instrument in a bank of 250000 bytes: "Piano", 22050
// Hz mono, root key 36 + 3 x 0, fine tune (0 x 13 + 7) % 100 - 50, 15576
// data bytes (an even sixteenth of what follows the 776-byte header and
// directory), looped over whole periods of 24 + 77 frames from its middle.
const std::vector<std::string> FirstRow = {"000", "Piano",     "22050", "mono", "C2 (36)",
                                           "-43", "3894-7731", "7788",  "0.353"};

HWND ControlOf(HWND window, int id) {
  for (HWND page = GetWindow(window, GW_CHILD); page != nullptr; page = GetWindow(page, GW_HWNDNEXT)) {
    if (HWND control = GetDlgItem(page, id)) {
      return control;
    }
  }
  return nullptr;
}

// Controls of a dialog that reach past its client area, one line each.
std::string ControlsOutside(HWND dialog) {
  std::string outside;
  RECT client;
  GetClientRect(dialog, &client);
  for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
    RECT box;
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    if (box.left < 0 || box.top < 0 || box.right > client.right || box.bottom > client.bottom) {
      outside += "'" + Robot::Title(control) + "' leaves the dialog\n";
    }
  }
  return outside;
}

void PauseForScreenshot() {
  const char* pause = std::getenv("TOVARO_SHOT_PAUSE");
  if (pause != nullptr) {
    Sleep(static_cast<DWORD>(std::atoi(pause)) * 1000);
  }
}

void SetScreenDpi(DWORD dpi) {
  HKEY desktop = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &desktop, nullptr),
            ERROR_SUCCESS);
  if (dpi == 0) {
    RegDeleteValueA(desktop, "LogPixels");
  } else {
    RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  }
  RegCloseKey(desktop);
}

class SamplesWindow : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    DriverInstallSpec setup;
    setup.StockBankSize = 4096;
    ASSERT_TRUE(InstallDriver(where_, setup));
    bank_ = scratch_ + "Work\\mine.yb0";
    ASSERT_TRUE(MakeDirectory(scratch_ + "Work"));
    BankSetSpec spec;
    spec.Signature = 0x02;
    spec.Samples = true;
    spec.BankSize = 250000;
    ASSERT_TRUE(WriteBankSet(bank_, spec));
  }
  void TearDown() override {
    RemoveTree(scratch_ + "Work\\");
    ProgramTest::TearDown();
  }
  // The main window with the bank in UserBankEdit, and its Samples window.
  HWND OpenSamples(Robot& robot, HWND& window) {
    EXPECT_TRUE(robot.Start(exe_, ""));
    window = robot.WaitForWindow("Tovaro 2.0.1", Patience);
    EXPECT_NE(window, nullptr);
    if (window == nullptr) {
      return nullptr;
    }
    SendMessageA(ControlOf(window, IDC_UserBankEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(bank_.c_str()));
    // Posted: the click runs the window's modal loop.
    PostMessageA(ControlOf(window, IDC_SamplesBtn), BM_CLICK, 0, 0);
    return robot.WaitForDialog("Samples of ", Patience);
  }
  void Close(Robot& robot, HWND samples, HWND window) {
    Robot::Press(samples, IDCANCEL);
    for (int i = 0; i < 100 && IsWindow(samples); ++i) {
      Sleep(20);
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(robot.WaitForExit(Patience, exitCode));
  }
  std::string bank_;
};

TEST_F(SamplesWindow, RowsAndPropertiesAt96And120Dpi) {
  const Bytes original = ReadAll(bank_);
  for (DWORD dpi : {96u, 120u}) {
    SCOPED_TRACE(dpi);
    WriteAll(bank_, original);
    SetScreenDpi(dpi);
    Robot robot;
    HWND window = nullptr;
    HWND samples = OpenSamples(robot, window);
    SetScreenDpi(0);
    ASSERT_NE(samples, nullptr);
    EXPECT_EQ(Robot::Title(samples), "Samples of " + bank_ + " (16)");
    HWND list = GetDlgItem(samples, IDC_SampleList);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 16);
    EXPECT_EQ(robot.ListRow(list, 0, 9), FirstRow);
    EXPECT_EQ(ControlsOutside(samples), "");
    PauseForScreenshot();

    PostMessageA(GetDlgItem(samples, IDC_PropertiesBtn), BM_CLICK, 0, 0);
    const struct {
      const char* Tune;
      const char* Refused;  // the start of the box's reason; null: accepted
    } entries[] = {{"99", "Fine tune: '99'"}, {"+12", nullptr}};
    for (const auto& entry : entries) {
      HWND properties = robot.WaitForDialog("Properties of Sample 000 (Piano)", Patience);
      ASSERT_NE(properties, nullptr);
      EXPECT_EQ(ControlsOutside(properties), "");
      for (const auto& field : {std::make_pair(IDC_SampleNameEdit, "Grand"), std::make_pair(IDC_RootKeyEdit, "A4"),
                                std::make_pair(IDC_FineTuneEdit, entry.Tune), std::make_pair(IDC_LoopStartEdit, "100"),
                                std::make_pair(IDC_LoopEndEdit, "7000")}) {
        SendMessageA(GetDlgItem(properties, field.first), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(field.second));
      }
      if (dpi == 120 && entry.Refused == nullptr) {
        PauseForScreenshot();
      }
      Robot::Press(properties, IDOK);
      if (entry.Refused != nullptr) {
        HWND box = robot.WaitForDialog("Error", Patience);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(Robot::MessageText(box).rfind(std::string("Cannot change the sample\n\n") + entry.Refused, 0), 0u)
            << Robot::MessageText(box);
        EXPECT_EQ(ReadAll(bank_), original) << "nothing written";
        Robot::Press(box, IDOK);
        for (int i = 0; i < 100 && IsWindow(box); ++i) {
          Sleep(20);
        }
      }
    }
    for (int i = 0; i < 250 && robot.ListRow(list, 0, 9)[1] != "Grand"; ++i) {
      Sleep(20);
    }
    EXPECT_EQ(robot.ListRow(list, 0, 9), (std::vector<std::string>{"000", "Grand", "22050", "mono", "A4 (69)", "+12",
                                                                   "100-7000", "7788", "0.353"}));
    Close(robot, samples, window);

    // The first directory entry (offset 8): name, then root key, fine tune,
    // flags and the loop at 33, 34, 35, 40 and 44; nothing else changed.
    Bytes expected = original;
    const std::uint8_t entry[] = {'G', 'r', 'a', 'n', 'd', 0};
    std::copy(entry, entry + 6, expected.begin() + 8);
    expected[8 + 33] = 69;
    expected[8 + 34] = 12;
    expected[8 + 40] = 100;
    expected[8 + 41] = 0;
    expected[8 + 44] = 0x58;  // 7000
    expected[8 + 45] = 0x1B;
    EXPECT_EQ(ReadAll(bank_), expected);
    const Bytes sizeTable = ReadAll(scratch_ + "Work\\mine.yb3");
    ASSERT_EQ(sizeTable.size(), 2096u);
    EXPECT_EQ(sizeTable[2092] | sizeTable[2093] << 8 | sizeTable[2094] << 16, 250000);
  }
}

}  // namespace
