// Judging a driver against its backup for the installed bank.
#include <gtest/gtest.h>

#include "tests/core/simulated_system.h"
#include "ymf/backup.h"
#include "ymf/bank_mode.h"
#include "ymf/detect.h"
#include "ymf/driver_verify.h"
#include "ymf/installed_bank.h"

namespace {

class Verify : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    sim_ = std::make_unique<SimulatedSystem>();
    sim_->RegisterProgramFiles();
    DriverInstallSpec setup;
    setup.Image.IsVxD = GetParam();
    setup.Image.VersionText = GetParam() ? "4.12.01.2019" : "5.12.01.2240";
    setup.StockBankSize = 5000;
    ASSERT_TRUE(sim_->AddDriver(setup));
    // Banks of equal size share their size table.
    ASSERT_TRUE(InstallBankSets(sim_->Where(), 9000));
    ASSERT_TRUE(DetectDriver());
    ASSERT_TRUE(BackupDriverFiles());
  }
  void Switch(std::int32_t mode, const std::string& user = "") {
    ASSERT_TRUE(SetBankMode(mode, user));
    IdentifyInstalledBank();
  }
  std::unique_ptr<SimulatedSystem> sim_;
};

TEST_P(Verify, OriginalDriverIsExactForTheDefaultBank) {
  const DriverVerification v = VerifyDriver("");
  ASSERT_TRUE(v.Compared);
  EXPECT_EQ(v.Patch, PatchState::Absent);
  EXPECT_EQ(v.Tables[0], TablesDefault);
  EXPECT_EQ(v.Tables[2], TablesDefault);
  EXPECT_FALSE(v.ChecksumChecked);
  EXPECT_TRUE(v.Exact);
}

TEST_P(Verify, EachBankSetIsRecognisedWhateverTheSharedSizeTable) {
  for (std::int32_t mode : {ModeExtended, ModeDance}) {
    Switch(mode);
    const DriverVerification v = VerifyDriver("");
    const std::string name = mode == ModeExtended ? TablesExtended : TablesDance;
    EXPECT_EQ(v.Tables[0], name);
    EXPECT_EQ(v.Tables[1], name);
    EXPECT_EQ(v.Tables[2], name);
    EXPECT_EQ(v.PatchApplied, v.PatchTotal);
    EXPECT_EQ(v.ChecksumChecked, !GetParam());
    EXPECT_TRUE(v.Exact) << name;
  }
}

TEST_P(Verify, DefaultBankBesidePatchedDriverIsNotExact) {
  Switch(ModeExtended);
  // Put only the stock bank back: the driver stays patched.
  WriteAll(Env.BankPath, ReadAll(Env.BackupBankPath));
  IdentifyInstalledBank();
  const DriverVerification v = VerifyDriver("");
  EXPECT_EQ(v.Patch, PatchState::Complete);
  EXPECT_EQ(v.ExpectedPatch, PatchState::Absent);
  EXPECT_FALSE(v.Exact);
}

TEST_P(Verify, DisabledBankAcceptsTheDriverTheLastSwitchLeft) {
  Switch(ModeDance);
  Switch(ModeDisabled);
  ASSERT_EQ(Env.BankKind, BankNone);
  EXPECT_TRUE(VerifyDriver("").Exact);
}

TEST_P(Verify, UserBankNeedsItsSetToBeNamed) {
  const std::string user = sim_->Root() + "mine.yb0";
  BankSetSpec setup;
  setup.Signature = 0x02;
  setup.BankSize = 7000;
  setup.Seed = 99;
  ASSERT_TRUE(WriteBankSet(user, setup));
  Switch(ModeUser, user);
  DriverVerification v = VerifyDriver("");
  EXPECT_FALSE(v.Exact);
  EXPECT_TRUE(v.UserBankNeeded);
  v = VerifyDriver(user);
  EXPECT_EQ(v.Tables[0], TablesUser);
  EXPECT_TRUE(v.Exact);
}

TEST_P(Verify, GrownDriverIsNotExact) {
  Switch(ModeExtended);
  Bytes driver = ReadAll(Env.DriverPath);
  driver.push_back(0);
  WriteAll(Env.DriverPath, driver);
  const DriverVerification v = VerifyDriver("");
  EXPECT_TRUE(v.LengthDiffers);
  EXPECT_FALSE(v.Exact);
}

INSTANTIATE_TEST_SUITE_P(BothDriverKinds, Verify, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "VxD" : "WDM"; });

TEST(VerifyWithoutProfile, UnknownBuildIsNotCompared) {
  SimulatedSystem sim;
  DriverInstallSpec setup;
  setup.Image.VersionText = "5.12.01.9999";
  ASSERT_TRUE(sim.AddDriver(setup));
  ASSERT_TRUE(DetectDriver());
  ASSERT_TRUE(BackupDriverFiles());
  const DriverVerification v = VerifyDriver("");
  EXPECT_FALSE(v.Compared);
  EXPECT_FALSE(v.Exact);
}

}  // namespace
