// One writer at a time, on the test double's system lock: a second program
// that keeps the lock makes every change refuse without touching a file;
// an operation that uses another takes the lock once; a lock whose holder
// died is taken over, and what it left half done is seen as such.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "files/fileops.h"
#include "platform/fake.h"
#include "tests/core/simulated_system.h"
#include "ymf/backup.h"
#include "ymf/bank_mode.h"
#include "ymf/detect.h"
#include "ymf/operation_failure.h"

namespace {

class DriverFilesLock : public ::testing::Test {
 protected:
  void SetUp() override {
    sys_ = std::make_unique<SimulatedSystem>();
    sys_->RegisterProgramFiles();
    DriverInstallSpec setup;
    setup.StockBankSize = 2424832;  // a plain pair then passes as the originals
    ASSERT_TRUE(sys_->AddDriver(setup));
    ASSERT_TRUE(InstallBankSets(sys_->Where(), 30000));
    ASSERT_TRUE(DetectDriver());
  }
  // Every file of the installation, by path.
  std::map<std::string, Bytes> Files() const {
    std::map<std::string, Bytes> files;
    for (const std::string& dir : {sys_->BackupDir(), sys_->Where().DriversDir()}) {
      for (const std::string& name : ListFiles(dir + "*")) {
        files[dir + name] = ReadAll(dir + name);
      }
    }
    return files;
  }
  std::unique_ptr<SimulatedSystem> sys_;
};

TEST_F(DriverFilesLock, EveryChangeRefusesWhileAnotherProgramHoldsIt) {
  ASSERT_TRUE(BackupDriverFiles());
  ASSERT_TRUE(SetBankMode(ModeDance, ""));
  const std::map<std::string, Bytes> before = Files();
  RemoveFile(BackupManifestPath());  // so that the start-up would write one
  const std::map<std::string, Bytes> withoutManifest = Files();
  const struct {
    const char* Name;
    std::function<bool()> Change;
  } changes[] = {
      {"backup", [] { return BackupDriverFiles(); }},
      {"restore", [] { return RestoreDriverFiles(); }},
      {"Extended", [] { return SetBankMode(ModeExtended, ""); }},
      {"Disabled", [] { return SetBankMode(ModeDisabled, ""); }},
      {"Default", [] { return SetBankMode(ModeDefault, ""); }},
  };
  Fake().LockHeldElsewhere = true;
  for (const auto& change : changes) {
    EXPECT_FALSE(change.Change()) << change.Name;
    EXPECT_EQ(LastFailure().Kind, FailureKind::Busy) << change.Name;
    EXPECT_NE(LastFailure().Text.find("Another Tovaro program"), std::string::npos) << change.Name;
    EXPECT_EQ(Files(), withoutManifest) << change.Name;
  }
  Fake().LockHeldElsewhere = false;
  EXPECT_TRUE(BackupDriverFiles());
  EXPECT_EQ(Files(), before);
}

TEST_F(DriverFilesLock, OperationsThatUseOthersTakeItOnceAndReleaseIt) {
  ASSERT_TRUE(BackupDriverFiles());
  Fake().LockTakes = 0;
  // The switch runs the install, the patch and the tables inside it; the
  // test double refuses a second take by the same holder.
  ASSERT_TRUE(SetBankMode(ModeExtended, "")) << LastFailure().Text;
  EXPECT_EQ(Fake().LockTakes, 1);
  EXPECT_FALSE(Fake().LockHeld);
  ASSERT_TRUE(RestoreDriverFiles()) << LastFailure().Text;
  EXPECT_EQ(Fake().LockTakes, 2);
  EXPECT_FALSE(Fake().LockHeld);
}

TEST_F(DriverFilesLock, AbandonedLockIsTakenOverAndHalfDoneWorkIsSeen) {
  // A first backup killed after its bank copy, with a temporary driver copy
  // beside it.
  WriteAll(Env.BackupBankPath, ReadAll(Env.BankPath));
  WriteAll(Env.BackupDriverPath + ".new", Bytes(1000, 0x5A));
  Fake().LockAbandoned = true;
  ASSERT_TRUE(BackupDriverFiles()) << LastFailure().Text;
  EXPECT_EQ(CheckBackup().State, BackupState::Verified);
  EXPECT_EQ(ReadAll(Env.BackupDriverPath), ReadAll(Env.DriverPath));
  EXPECT_FALSE(FileExists(Env.BackupDriverPath + ".new"));
  EXPECT_FALSE(Fake().LockHeld);
}

}  // namespace
