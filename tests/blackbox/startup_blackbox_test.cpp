// The real tovaro.exe under Wine, started on a simulated driver installation
// and answered by a robot.
#include <gtest/gtest.h>

#include "files/fileops.h"
#include "tests/blackbox/program_test.h"
#include "tests/support/file_bytes.h"

namespace {

const char* const BackupQuestion = "Cannot create backup of original driver files. Start the program anyway?";
const char* const DriverQuestion = "YMF7x4 driver is not found. Start the program anyway?";
const DWORD Patience = 20000;

class Program : public ProgramTest {
 protected:
  void InstallWdmDriver() {
    DriverInstallSpec setup;
    setup.StockBankSize = 2424832;  // a plain backup pair must hold a bank of the stock size
    ASSERT_TRUE(InstallDriver(where_, setup));
  }
  void ExpectEndsWithoutWindow(Robot& robot) {
    DWORD exitCode = 1234;
    ASSERT_TRUE(robot.WaitForExit(Patience, exitCode));
    EXPECT_EQ(exitCode, 0u);
    for (const std::string& title : robot.SeenWindows()) {
      EXPECT_NE(title, "Tovaro 2.0.1") << "the main window was shown";
    }
  }
};

TEST_F(Program, CleanSwitchRestoresTheOriginalsWithoutAWindow) {
  InstallWdmDriver();
  const std::string driver = InstalledDriverPath(where_, false);
  const std::string bank = InstalledBankPath(where_, false);
  const Bytes originalDriver = ReadAll(driver);
  const Bytes originalBank = ReadAll(bank);
  ASSERT_TRUE(CopyFileOver(driver, Backup("Ds1.sys")));
  ASSERT_TRUE(CopyFileOver(bank, Backup("dsxgwave.tbl")));
  WriteAll(driver, Bytes{'M', 'Z', 0x90, 0x90});
  WriteAll(bank, Bytes{0x00, 1, 2, 3});

  Robot robot;
  ASSERT_TRUE(robot.Start(exe_, "-CLEAN"));
  ExpectEndsWithoutWindow(robot);
  EXPECT_TRUE(robot.SeenWindows().empty());
  EXPECT_EQ(ReadAll(driver), originalDriver);
  EXPECT_EQ(ReadAll(bank), originalBank);
  EXPECT_FALSE(FileExists(Backup("Ds1.sys")));
  EXPECT_FALSE(FileExists(Backup("dsxgwave.tbl")));
}

TEST_F(Program, NoDriverAsksAboutTheBackupThenAboutTheDriver) {
  Robot robot;
  ASSERT_TRUE(robot.Start(exe_, ""));
  HWND first = robot.WaitForMessageBox(Patience);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(Robot::Title(first), "Error");
  EXPECT_EQ(Robot::MessageText(first), BackupQuestion);
  Robot::Press(first, IDYES);

  HWND second = nullptr;
  for (int i = 0; i < 100 && (second == nullptr || second == first); ++i) {
    second = robot.WaitForMessageBox(Patience);
    if (second == first) {
      Sleep(20);
    }
  }
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(Robot::Title(second), "Error");
  EXPECT_EQ(Robot::MessageText(second), DriverQuestion);
  Robot::Press(second, IDNO);
  ExpectEndsWithoutWindow(robot);
}

TEST_F(Program, DecliningTheBackupQuestionEndsWithoutTheDriverQuestion) {
  Robot robot;
  ASSERT_TRUE(robot.Start(exe_, ""));
  HWND box = robot.WaitForMessageBox(Patience);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Robot::MessageText(box), BackupQuestion);
  Robot::Press(box, IDNO);
  // No other box follows before the program ends (the answered one may linger a moment).
  HWND next = box;
  for (int i = 0; i < 250 && next == box; ++i) {
    next = robot.WaitForMessageBox(Patience);
    if (next == box) {
      Sleep(20);
    }
  }
  EXPECT_EQ(next, nullptr) << Robot::MessageText(next);
  ExpectEndsWithoutWindow(robot);
}

TEST_F(Program, DriverWithBackupOpensTheWindowDirectly) {
  InstallWdmDriver();
  Robot robot;
  ASSERT_TRUE(robot.Start(exe_, "-nothing -clean"));
  HWND window = robot.WaitForWindow("Tovaro 2.0.1", Patience);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(robot.SeenWindows(), std::vector<std::string>{"Tovaro 2.0.1"}) << "no question was asked";
  EXPECT_TRUE(FileExists(Backup("Ds1.sys")));
  EXPECT_TRUE(FileExists(Backup("dsxgwave.tbl")));
  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD exitCode = 1234;
  ASSERT_TRUE(robot.WaitForExit(Patience, exitCode));
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
