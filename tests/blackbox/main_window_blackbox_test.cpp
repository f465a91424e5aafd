// The real tovaro.exe's window driven from another process, as a user has
// it: its tabs, Escape and Enter.
#include <gtest/gtest.h>

#include "tests/blackbox/program_test.h"
#include "tests/support/settings_registry.h"

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

}  // namespace
