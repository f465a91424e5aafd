// The bank mode switch on simulated VxD and WDM installations.
#include <gtest/gtest.h>

#include <memory>

#include "platform/fileops.h"
#include "platform/pe_checksum.h"
#include "platform/testing/scratch.h"
#include "tests/core/simulated_system.h"
#include "tests/support/patched_image.h"
#include "ymf/backup.h"
#include "ymf/bank_mode.h"
#include "ymf/detect.h"

namespace {

constexpr std::size_t ShippedBankSize = 60000;

class BankModes : public ::testing::Test {
 protected:
  // A detected installation of the given build with its backup pair and
  // the Extended and Dance bank sets.
  void Install(bool isVxD, const std::string& version) {
    sys_.reset();
    sys_ = std::make_unique<SimulatedSystem>();
    sys_->RegisterProgramFiles();
    DriverInstallSpec setup;
    setup.Image.IsVxD = isVxD;
    setup.Image.VersionText = version;
    setup.StockBankSize = 50000;
    ASSERT_TRUE(sys_->AddDriver(setup));
    ASSERT_TRUE(InstallBankSets(sys_->Where(), ShippedBankSize));
    ASSERT_TRUE(DetectDriver());
    ASSERT_TRUE(BackupDriverFiles());
    original_driver_ = ReadAll(Env.DriverPath);
    original_bank_ = ReadAll(Env.BankPath);
  }

  // The driver as a switch to the given bank must leave it: the backup
  // driver with the patch, the first bytes of each table file at its
  // offset, and on the WDM driver the checksum of the result.
  Bytes ExpectedDriver(const std::string& bank) const {
    Bytes image = PatchedImage(ReadAll(Env.BackupDriverPath), Env.Profile, Env.IsVxD);
    const std::int32_t offsets[] = {Env.Profile.TableOffset1, Env.Profile.TableOffset2, Env.Profile.TableOffset3};
    const std::int32_t sizes[] = {Table1Size, Table2Size, Table3Size};
    for (int k = 0; k < 3; ++k) {
      const Bytes table = ReadAll(BankTablePath(bank, k + 1));
      std::copy(table.begin(), table.begin() + sizes[k], image.begin() + offsets[k]);
    }
    if (!Env.IsVxD) {
      const std::uint32_t sum =
          PeImageChecksum(image.data(), static_cast<std::uint32_t>(image.size()), FixtureChecksumOffset);
      for (int i = 0; i < 4; ++i) {
        image[FixtureChecksumOffset + i] = static_cast<std::uint8_t>(sum >> (8 * i));
      }
    }
    return image;
  }

  std::string UserBank(const BankSetSpec& setup) {
    const std::string path = sys_->Root() + "user.yb0";
    EXPECT_TRUE(WriteBankSet(path, setup));
    return path;
  }

  // A failed mode must leave the live driver and bank exactly as they were.
  void ExpectRefused(std::int32_t mode, const std::string& userBank, const char* why) {
    const Bytes driver = ReadAll(Env.DriverPath);
    Bytes bank;
    const bool hadBank = ReadWholeFile(Env.BankPath, bank);
    EXPECT_FALSE(SetBankMode(mode, userBank)) << why << ", mode " << mode;
    EXPECT_EQ(ReadAll(Env.DriverPath), driver) << why << ", mode " << mode;
    Bytes bankAfter;
    EXPECT_EQ(ReadWholeFile(Env.BankPath, bankAfter), hadBank) << why << ", mode " << mode;
    EXPECT_EQ(bankAfter, bank) << why << ", mode " << mode;
  }

  std::unique_ptr<SimulatedSystem> sys_;
  Bytes original_driver_;
  Bytes original_bank_;
};

TEST_F(BankModes, ExtendedSwitchWritesExactlyPatchTablesAndChecksumForEveryBuild) {
  const char* const builds[] = {"4.07.1040",    "4.06.2004",    "4.06.2005",    "4.06.2008",
                                "4.07.00.2013", "4.12.01.2018", "4.12.01.2019", "4.12.01.2020",
                                "5.12.01.2228", "5.12.01.2240", "5.12.01.5244", "5.12.01.5245"};
  for (const char* build : builds) {
    Install(build[0] == '4', build);
    ASSERT_TRUE(Env.Profile.ProfileKnown) << build;
    ASSERT_TRUE(SetBankMode(ModeExtended, "")) << build;
    EXPECT_EQ(ReadAll(Env.BankPath), ReadAll(Env.ExtendedBankPath)) << build;
    const Bytes driver = ReadAll(Env.DriverPath);
    EXPECT_EQ(driver.size(), original_driver_.size()) << build;
    EXPECT_EQ(driver, ExpectedDriver(Env.ExtendedBankPath)) << build;
  }
}

TEST_F(BankModes, DanceAndEveryUserModeValue) {
  Install(false, "5.12.01.2240");
  ASSERT_TRUE(SetBankMode(ModeDance, ""));
  EXPECT_EQ(ReadAll(Env.BankPath), ReadAll(Env.DanceBankPath));
  EXPECT_EQ(ReadAll(Env.DriverPath), ExpectedDriver(Env.DanceBankPath));

  BankSetSpec setup;
  setup.Signature = 0x02;
  setup.BankSize = 70001;
  setup.Seed = 99;
  const std::string user = UserBank(setup);
  for (std::int32_t mode : {4, -1, 100}) {
    ASSERT_TRUE(SetBankMode(ModeDance, ""));
    ASSERT_TRUE(SetBankMode(mode, user)) << mode;
    EXPECT_EQ(ReadAll(Env.BankPath), ReadAll(user)) << mode;
    EXPECT_EQ(ReadAll(Env.DriverPath), ExpectedDriver(user)) << mode;
  }
}

TEST_F(BankModes, SwitchesStartFromTheBackupEveryTime) {
  for (bool isVxD : {true, false}) {
    Install(isVxD, isVxD ? "4.12.01.2018" : "5.12.01.5245");
    ASSERT_TRUE(SetBankMode(ModeExtended, ""));
    const Bytes once = ReadAll(Env.DriverPath);
    ASSERT_TRUE(SetBankMode(ModeExtended, ""));
    EXPECT_EQ(ReadAll(Env.DriverPath), once);
    // Dance in between leaves no trace of its tables.
    ASSERT_TRUE(SetBankMode(ModeDance, ""));
    EXPECT_NE(ReadAll(Env.DriverPath), once);
    ASSERT_TRUE(SetBankMode(ModeExtended, ""));
    EXPECT_EQ(ReadAll(Env.DriverPath), once);
  }
}

TEST_F(BankModes, DefaultRestoresBothFilesWithoutAChecksum) {
  for (bool isVxD : {true, false}) {
    Install(isVxD, isVxD ? "4.06.2004" : "5.12.01.2228");
    ASSERT_TRUE(SetBankMode(ModeExtended, ""));
    ASSERT_TRUE(SetBankMode(ModeDefault, ""));
    // The fixture's WDM backup carries a zero CheckSum field, which a
    // recomputation would have changed.
    EXPECT_EQ(ReadAll(Env.DriverPath), original_driver_);
    EXPECT_EQ(ReadAll(Env.BankPath), original_bank_);
  }
}

TEST_F(BankModes, DisabledAfterExtendedDeletesTheBankAndKeepsThePatchedDriver) {
  Install(false, "5.12.01.5244");
  ASSERT_TRUE(SetBankMode(ModeExtended, ""));
  const Bytes patched = ReadAll(Env.DriverPath);
  ASSERT_TRUE(SetBankMode(ModeDisabled, ""));
  EXPECT_FALSE(FileExists(Env.BankPath));
  EXPECT_EQ(ReadAll(Env.DriverPath), patched);
  EXPECT_TRUE(BackupPairPresent());
}

TEST_F(BankModes, LongerTableFilesContributeTheirFirstBytes) {
  Install(true, "4.07.00.2013");
  BankSetSpec setup;
  setup.Table1 = Table1Size + 1000;
  setup.Table2 = Table2Size + 1;
  setup.Table3 = Table3Size + 4096;
  const std::string user = UserBank(setup);
  ASSERT_TRUE(SetBankMode(ModeUser, user));
  EXPECT_EQ(ReadAll(Env.DriverPath), ExpectedDriver(user));
}

TEST_F(BankModes, BankSetThatCannotBeInstalledChangesNothing) {
  Install(false, "5.12.01.5245");
  ASSERT_TRUE(SetBankMode(ModeDance, ""));

  ExpectRefused(ModeUser, "", "empty user bank path");
  ExpectRefused(ModeUser, sys_->Root() + "absent.yb0", "missing user bank");

  BankSetSpec shortTable;
  shortTable.Table3 = Table3Size - 1;
  ExpectRefused(ModeUser, UserBank(shortTable), "table 3 one byte short");
  BankSetSpec shortFirst;
  shortFirst.Table1 = 100;
  ExpectRefused(4, UserBank(shortFirst), "table 1 short");

  ASSERT_TRUE(RemoveFile(BankTablePath(Env.ExtendedBankPath, 2)));
  ExpectRefused(ModeExtended, "", "Extended table 2 missing");
  ASSERT_TRUE(RemoveFile(Env.DanceBankPath));
  ExpectRefused(ModeDance, "", "Dance bank missing");
}

TEST_F(BankModes, UnknownBuildRefusesEveryPatchingMode) {
  Install(false, "5.12.01.9999");
  ASSERT_FALSE(Env.Profile.ProfileKnown);
  for (std::int32_t mode : {ModeExtended, ModeDance, ModeUser, 7}) {
    ExpectRefused(mode, Env.ExtendedBankPath, "unknown build");
  }
  // The modes that only copy and delete do not need a profile.
  EXPECT_TRUE(SetBankMode(ModeDefault, ""));
  EXPECT_TRUE(SetBankMode(ModeDisabled, ""));
}

TEST_F(BankModes, BackupDriverOfAnotherBuildIsNotPatched) {
  Install(false, "5.12.01.5245");
  DriverImageSpec other;
  other.VersionText = "5.12.01.5244";
  WriteAll(Env.BackupDriverPath, MakeDriverImage(other));
  ExpectRefused(ModeExtended, "", "backup of build 5244 under profile 5245");

  // The same text at another probe is read the same way and accepted.
  DriverImageSpec moved;
  moved.VersionText = "5.12.01.5245";
  moved.Probe = 8;
  WriteAll(Env.BackupDriverPath, MakeDriverImage(moved));
  EXPECT_TRUE(SetBankMode(ModeExtended, ""));
}

TEST_F(BankModes, OffsetsPastTheEndOfTheBackupDriverAreNotWritten) {
  Install(true, "4.06.2008");
  const std::int32_t size = static_cast<std::int32_t>(original_driver_.size());
  const VersionProfile profile = Env.Profile;
  Env.Profile.TableOffset3 = size - Table3Size + 1;
  ExpectRefused(ModeExtended, "", "table 3 one byte past the end");
  Env.Profile = profile;
  Env.Profile.PatchOffset4 = size - 4;
  ExpectRefused(ModeExtended, "", "five-byte site one byte past the end");
  Env.Profile = profile;
  Env.Profile.PatchOffset1 = -1;
  ExpectRefused(ModeExtended, "", "negative offset");
}

TEST_F(BankModes, WithoutTheBackupPairNothingIsChanged) {
  Install(false, "5.12.01.2228");
  ASSERT_TRUE(SetBankMode(ModeExtended, ""));
  ASSERT_TRUE(RemoveFile(Env.BackupBankPath));
  for (std::int32_t mode : {ModeDisabled, ModeDefault, ModeExtended, ModeDance, ModeUser}) {
    ExpectRefused(mode, Env.DanceBankPath, "backup bank missing");
  }
  WriteAll(Env.BackupBankPath, original_bank_);
  ASSERT_TRUE(RemoveFile(Env.BackupDriverPath));
  for (std::int32_t mode : {ModeDisabled, ModeDefault, ModeExtended, ModeDance, ModeUser}) {
    ExpectRefused(mode, Env.DanceBankPath, "backup driver missing");
  }
  EXPECT_FALSE(FileExists(Env.BackupDriverPath));
}

TEST_F(BankModes, DriverThatCannotBeReplacedKeepsTheNewBankWithoutRollback) {
  Install(false, "5.12.01.5245");
  // The checks pass; the copy over the driver fails because a directory
  // stands where the driver file was.
  ASSERT_TRUE(RemoveFile(Env.DriverPath));
  ASSERT_TRUE(MakeDirectory(Env.DriverPath));
  EXPECT_FALSE(SetBankMode(ModeExtended, ""));
  EXPECT_EQ(ReadAll(Env.BankPath), ReadAll(Env.ExtendedBankPath));
  EXPECT_FALSE(FileExists(Env.DriverPath));
}

TEST_F(BankModes, NoDriverFoundFailsEveryMode) {
  sys_ = std::make_unique<SimulatedSystem>();
  sys_->RegisterProgramFiles();
  ASSERT_TRUE(InstallBankSets(sys_->Where(), ShippedBankSize));
  ASSERT_FALSE(DetectDriver());
  for (std::int32_t mode : {ModeDisabled, ModeDefault, ModeExtended, ModeDance, ModeUser}) {
    EXPECT_FALSE(SetBankMode(mode, Env.ExtendedBankPath)) << mode;
  }
  EXPECT_TRUE(ListFiles(sys_->Where().DriversDir() + "*").empty());
  EXPECT_TRUE(ListFiles(sys_->Where().SystemDir + "\\*").empty());
}

class BankTables : public BankModes {};

TEST_F(BankTables, MissingOrShortTableStopsAfterTheTablesBefore) {
  Install(false, "5.12.01.5245");
  const std::string bank = Env.ExtendedBankPath;
  const Bytes table1 = ReadAll(BankTablePath(bank, 1));
  const Bytes table2 = ReadAll(BankTablePath(bank, 2));

  // Table 3 short: tables 1 and 2 are written, the result is false.
  WriteAll(BankTablePath(bank, 3), Bytes(Table3Size - 1, 0xEE));
  EXPECT_FALSE(WriteBankTables(bank));
  Bytes expected = original_driver_;
  std::copy(table1.begin(), table1.begin() + Table1Size, expected.begin() + Env.Profile.TableOffset1);
  std::copy(table2.begin(), table2.begin() + Table2Size, expected.begin() + Env.Profile.TableOffset2);
  EXPECT_EQ(ReadAll(Env.DriverPath), expected);

  // Table 2 missing: only table 1 is written.
  WriteAll(Env.DriverPath, original_driver_);
  ASSERT_TRUE(RemoveFile(BankTablePath(bank, 2)));
  EXPECT_FALSE(WriteBankTables(bank));
  expected = original_driver_;
  std::copy(table1.begin(), table1.begin() + Table1Size, expected.begin() + Env.Profile.TableOffset1);
  EXPECT_EQ(ReadAll(Env.DriverPath), expected);
}

TEST_F(BankTables, RefusedWithoutProfileOrDriver) {
  Install(true, "4.07.1040");
  Env.Profile.ProfileKnown = false;
  EXPECT_FALSE(WriteBankTables(Env.ExtendedBankPath));
  EXPECT_EQ(ReadAll(Env.DriverPath), original_driver_);
  Env.Profile.ProfileKnown = true;
  ASSERT_TRUE(RemoveFile(Env.DriverPath));
  EXPECT_FALSE(WriteBankTables(Env.ExtendedBankPath));
  EXPECT_FALSE(FileExists(Env.DriverPath));
}

TEST(BankTablePaths, LastCharacterBecomesTheTableDigit) {
  EXPECT_EQ(BankTablePath("C:\\Banks\\extended.yb0", 1), "C:\\Banks\\extended.yb1");
  EXPECT_EQ(BankTablePath("C:\\Banks\\my.bank", 3), "C:\\Banks\\my.ban3");
  EXPECT_EQ(BankTablePath("", 2), "");
}

}  // namespace
