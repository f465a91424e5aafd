// Files another program holds open for writing: a switch that meets one
// refuses before it changes anything (no half-switched driver, no checksum
// rewritten) and says which file and why.
#include <gtest/gtest.h>

#include "files/fileops.h"
#include "files/files.h"
#include "platform/testing/scratch.h"
#include "tests/support/file_bytes.h"
#include "tools/fixture/fixture.h"
#include "ymf/backup.h"
#include "ymf/bank_mode.h"
#include "ymf/environment.h"
#include "ymf/operation_failure.h"

namespace {

class LockedFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = MakeScratchDir("locked");
    ASSERT_FALSE(root_.empty());
    where_ = LayoutUnder(root_);
    ASSERT_TRUE(MakeLayoutDirectories(where_, true));
    DriverInstallSpec setup;
    setup.StockBankSize = 20000;
    ASSERT_TRUE(InstallDriver(where_, setup));
    ASSERT_TRUE(InstallBankSets(where_, 30000));
    PointEnvAt(where_, false);
    ASSERT_TRUE(BackupDriverFiles());
    ASSERT_TRUE(SetBankMode(ModeDance, ""));
  }
  void TearDown() override {
    Env = DriverEnvironment();
    RemoveTree(root_);
  }
  std::string root_;
  Installation where_;
};

TEST_F(LockedFiles, SwitchRefusesBeforeAnythingChanges) {
  const struct {
    const char* Name;
    std::string Path;
    const char* Says;
  } locked[] = {
      {"live bank", Env.BankPath, "cannot be written: it is read-only, or another program has it open"},
      {"live driver", Env.DriverPath, "cannot be written: it is read-only, or another program has it open"},
      {"Extended bank", Env.ExtendedBankPath, "cannot be read: another program has it open"},
      {"Extended table 2", where_.BanksDir() + "extended.yb2", "cannot be read: another program has it open"},
      {"backup driver", Env.BackupDriverPath, "cannot be read"},
  };
  const Bytes driver = ReadAll(Env.DriverPath);
  const Bytes bank = ReadAll(Env.BankPath);
  for (const auto& file : locked) {
    FileHandle holder = InvalidFileHandle;
    ASSERT_TRUE(OpenWrite(file.Path, holder)) << file.Name;
    EXPECT_FALSE(SetBankMode(ModeExtended, "")) << file.Name;
    CloseFile(holder);
    EXPECT_NE(LastFailure().Text.find(file.Path), std::string::npos) << file.Name << ": " << LastFailure().Text;
    EXPECT_NE(LastFailure().Text.find(file.Says), std::string::npos) << file.Name << ": " << LastFailure().Text;
    EXPECT_FALSE(LastFailure().FilesChanged) << file.Name;
    EXPECT_EQ(ReadAll(Env.DriverPath), driver) << file.Name;
    EXPECT_EQ(ReadAll(Env.BankPath), bank) << file.Name;
  }
  EXPECT_TRUE(SetBankMode(ModeExtended, "")) << LastFailure().Text;
}

}  // namespace
