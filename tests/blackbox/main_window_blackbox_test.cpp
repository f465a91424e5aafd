// The real tovaro.exe's window driven from another process, as a user has
// it: its tabs, Escape and Enter, its layout at other DPI settings and what
// start-up does when the Backup folder is missing.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/system_lock.h"
#include "tests/blackbox/program_test.h"
#include "tests/support/settings_registry.h"
#include "ymf/driver_files_lock.h"

namespace {

const DWORD Patience = 20000;
const char* const Title = "Tovaro 2.0.1";

class MainWindow : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    key_ = DriverRegKeyFor(false, GetWindowsVersion().Major);
  }
  // A known WDM build with Show Wave Out off and the game port on.
  void InstallDriver() {
    DriverInstallSpec setup;
    setup.StockBankSize = 4096;
    ASSERT_TRUE(::InstallDriver(where_, setup));
    DriverSettings settings;
    settings.LoadGamePort = true;
    ASSERT_TRUE(WriteDriverRegistry(key_, false, settings));
  }
  // Starts the program and answers start-up's questions with Yes.
  HWND OpenWindow(Robot& robot, int questions) {
    EXPECT_TRUE(robot.Start(exe_, ""));
    HWND previous = nullptr;
    for (int asked = 0; asked < questions; ++asked) {
      HWND box = nullptr;
      for (int i = 0; i < 500 && (box == nullptr || box == previous); ++i) {
        box = robot.WaitForMessageBox(Patience);
        if (box == previous) {
          Sleep(20);
        }
      }
      EXPECT_NE(box, nullptr);
      Robot::Press(box, IDYES);
      previous = box;
    }
    return robot.WaitForWindow(Title, Patience);
  }
  // Posts a key to the focused Ok button, as the keyboard would.
  static void Key(HWND window, WPARAM key) {
    HWND ok = GetDlgItem(window, IDOK);
    PostMessageA(ok, WM_KEYDOWN, key, 1);
    PostMessageA(ok, WM_KEYUP, key, 0xC0000001);
  }
  static void Click(HWND window, const char* caption) {
    HWND control = Robot::FindControl(window, "Button", caption);
    ASSERT_NE(control, nullptr) << caption;
    SendMessageA(control, BM_CLICK, 0, 0);
  }
  void ExpectEndsWithoutQuestion(Robot& robot) {
    DWORD exitCode = 1234;
    ASSERT_TRUE(robot.WaitForExit(Patience, exitCode));
    EXPECT_EQ(exitCode, 0u);
    for (const std::string& title : robot.SeenWindows()) {
      EXPECT_NE(title, "Information") << "the reboot question was asked";
    }
  }
  StoredValue Flag(bool on) const { return Binary({static_cast<std::uint8_t>(on), 0, 0, 0}); }

  // What Windows takes as the screen's DPI for the programs started from now
  // on (Wine reads it when a process starts); 0 removes the setting.
  static void SetScreenDpi(DWORD dpi) {
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

  // The controls of the window that leave what holds them: a control that
  // reaches past its page, a page past the page control, a control of the
  // window past its client area. One line per control.
  static std::string ControlsOutside(HWND window) {
    std::ostringstream outside;
    RECT client;
    GetClientRect(window, &client);
    HWND tabs = Robot::FindControl(window, "SysTabControl32", "");
    RECT tabArea;
    GetWindowRect(tabs, &tabArea);
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      RECT box;
      GetWindowRect(child, &box);
      RECT inClient = box;
      MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&inClient), 2);
      if (inClient.left < 0 || inClient.top < 0 || inClient.right > client.right || inClient.bottom > client.bottom) {
        outside << "'" << Robot::Title(child) << "' leaves the window\n";
      }
      char className[32] = {};
      GetClassNameA(child, className, sizeof className);
      if (std::string(className) != "#32770") {
        continue;
      }
      if (box.left < tabArea.left || box.top < tabArea.top || box.right > tabArea.right ||
          box.bottom > tabArea.bottom) {
        outside << "page " << GetDlgCtrlID(child) << " leaves the page control\n";
      }
      RECT page;
      GetClientRect(child, &page);
      for (HWND control = GetWindow(child, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
        RECT inPage;
        GetWindowRect(control, &inPage);
        MapWindowPoints(nullptr, child, reinterpret_cast<POINT*>(&inPage), 2);
        if (inPage.left < 0 || inPage.top < 0 || inPage.right > page.right || inPage.bottom > page.bottom) {
          outside << "control " << GetDlgCtrlID(control) << " '" << Robot::Title(control) << "' leaves its page ("
                  << inPage.right << "," << inPage.bottom << " in " << page.right << "x" << page.bottom << ")\n";
        }
      }
    }
    return outside.str();
  }

  std::string key_;
};

TEST_F(MainWindow, SevenTabsWithADriverAndFourWithout) {
  const struct {
    bool Driver;
    int Questions;
    std::vector<std::string> Tabs;
  } cases[] = {
      {true,
       0,
       {"About", "XG Bank Modes", "XG Bank Editor", "Control Panel", "Audio Settings", "Load Modules", "Voices"}},
      {false, 2, {"About", "XG Bank Editor", "Load Modules", "Voices"}},
  };
  for (const auto& c : cases) {
    if (c.Driver) {
      InstallDriver();
    } else {
      RemoveSimulatedDriver();
    }
    Robot robot;
    HWND window = OpenWindow(robot, c.Questions);
    ASSERT_NE(window, nullptr);
    HWND tabs = Robot::FindControl(window, "SysTabControl32", "");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(robot.TabCaptions(tabs), c.Tabs);
    Key(window, VK_ESCAPE);
    ExpectEndsWithoutQuestion(robot);
  }
}

TEST_F(MainWindow, EscapeCancelsTheChoices) {
  InstallDriver();
  Robot robot;
  HWND window = OpenWindow(robot, 0);
  ASSERT_NE(window, nullptr);
  Click(window, "Show Wave Out");
  Click(window, "Game Port Interface");
  Key(window, VK_ESCAPE);
  ExpectEndsWithoutQuestion(robot);
  EXPECT_EQ(GetValue(key_, "ShowWaveout"), Flag(false));
  EXPECT_EQ(GetValue(key_, "LoadGamePort"), Flag(true));
}

TEST_F(MainWindow, EnterIsOk) {
  InstallDriver();
  Robot robot;
  HWND window = OpenWindow(robot, 0);
  ASSERT_NE(window, nullptr);
  Click(window, "Show Wave Out");  // needs no restart: no question at the close
  Key(window, VK_RETURN);
  ExpectEndsWithoutQuestion(robot);
  EXPECT_EQ(GetValue(key_, "ShowWaveout"), Flag(true));
  EXPECT_EQ(GetValue(key_, "LoadGamePort"), Flag(true));
}

TEST_F(MainWindow, NoControlLeavesItsPageAtLargerFonts) {
  InstallDriver();
  const struct {
    DWORD Dpi;
    LONG MinimumWidth;  // the client area grows at least with the DPI
  } settings[] = {{96, 376}, {120, 470}, {144, 564}};
  for (const auto& setting : settings) {
    SCOPED_TRACE(setting.Dpi);
    SetScreenDpi(setting.Dpi);
    Robot robot;
    HWND window = OpenWindow(robot, 0);
    SetScreenDpi(0);
    ASSERT_NE(window, nullptr);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_GE(client.right, setting.MinimumWidth) << "the program saw the DPI";
    EXPECT_EQ(ControlsOutside(window), "");
    Key(window, VK_ESCAPE);
    ExpectEndsWithoutQuestion(robot);
  }
}

TEST_F(MainWindow, AMissingBackupFolderIsCreatedAtStart) {
  InstallDriver();
  RemoveTree(where_.ProgramDir + "Backup\\");
  ASSERT_FALSE(DirectoryExists(where_.ProgramDir + "Backup"));
  Robot robot;
  HWND window = OpenWindow(robot, 0);
  ASSERT_NE(window, nullptr) << "no backup question";
  EXPECT_TRUE(FileExists(Backup("Ds1.sys")));
  EXPECT_TRUE(FileExists(Backup("dsxgwave.tbl")));
  Key(window, VK_ESCAPE);
  ExpectEndsWithoutQuestion(robot);
}

// One window: a second start ends at once and leaves the first. When
// tovaroc switches the bank meanwhile, the first window shows it as soon
// as it is activated again.
TEST_F(MainWindow, ASecondStartEndsAndTheFirstRereadsWhatTovarocChanged) {
  InstallDriver();
  ASSERT_TRUE(CopyFileOver(OwnDirectory() + "dist\\Tovaro\\tovaroc.exe", where_.ProgramDir + "tovaroc.exe"));
  Robot robot;
  HWND window = OpenWindow(robot, 0);
  ASSERT_NE(window, nullptr);
  HWND disabled = Robot::FindControl(window, "Button", "Disable Bank (Maximum Physical Memory, \"GeForce\" - fix)");
  ASSERT_NE(disabled, nullptr);
  EXPECT_NE(SendMessageA(disabled, BM_GETCHECK, 0, 0), BST_CHECKED);

  Robot second;
  ASSERT_TRUE(second.Start(exe_, ""));
  DWORD exitCode = 1234;
  ASSERT_TRUE(second.WaitForExit(Patience, exitCode)) << "the second copy is still running";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(second.SeenWindows().empty());

  ASSERT_EQ(RunConsole(where_.ProgramDir + "tovaroc.exe", "bank disabled", Patience).ExitCode, 0u);
  SendMessageA(window, WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_EQ(SendMessageA(disabled, BM_GETCHECK, 0, 0), BST_CHECKED) << "the window shows what is installed";
  Key(window, VK_ESCAPE);
  DWORD firstExit = 1234;
  EXPECT_TRUE(robot.WaitForExit(Patience, firstExit));

  // After a restart the User Bank path fields name the set the installed user bank came from.
  const std::string set = where_.ProgramDir + "mine.yb0";
  BankSetSpec user;
  user.Signature = 0x02;
  ASSERT_TRUE(WriteBankSet(set, user));
  ASSERT_EQ(RunConsole(where_.ProgramDir + "tovaroc.exe", "bank user \"" + set + "\"", Patience).ExitCode, 0u);
  Robot restarted;
  window = OpenWindow(restarted, 0);
  ASSERT_NE(window, nullptr);
  // An edit control keeps its text to itself: another process asks for it with WM_GETTEXT.
  struct Fields {
    std::string Set;
    int Holding = 0;
  } fields{set};
  EnumChildWindows(
      window,
      [](HWND control, LPARAM data) -> BOOL {
        char text[MAX_PATH + 1] = {};
        SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        reinterpret_cast<Fields*>(data)->Holding += reinterpret_cast<Fields*>(data)->Set == text;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&fields));
  EXPECT_EQ(fields.Holding, 2) << "UserBankSetEdit and UserBankEdit";
  Key(window, VK_ESCAPE);
  EXPECT_TRUE(restarted.WaitForExit(Patience, firstExit));
}

TEST_F(MainWindow, DriverFilesInUseAtStartAreSaidSoNotTheBackupQuestion) {
  InstallDriver();
  SystemLock lock = 0;
  ASSERT_EQ(TakeSystemLock(DriverFilesLockName, 0, lock), SystemLockResult::Taken);
  Robot robot;
  ASSERT_TRUE(robot.Start(exe_, ""));
  HWND box = robot.WaitForMessageBox(Patience);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Robot::MessageText(box).rfind("The driver files are in use by another program", 0), 0u)
      << Robot::MessageText(box);
  EXPECT_NE(Robot::MessageText(box).find("Start the program anyway?"), std::string::npos);
  Robot::Press(box, IDNO);
  ExpectEndsWithoutQuestion(robot);
  ReleaseSystemLock(lock);
}

}  // namespace
