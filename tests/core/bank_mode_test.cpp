// The bank mode switch on simulated VxD and WDM installations.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "files/file_operations.h"
#include "files/fileops.h"
#include "platform/testing/scratch.h"
#include "tests/core/simulated_system.h"
#include "tests/support/patched_image.h"
#include "ymf/backup.h"
#include "ymf/backup_manifest.h"
#include "ymf/bank_mode.h"
#include "ymf/change_rules.h"
#include "ymf/content_hash.h"
#include "ymf/detect.h"
#include "ymf/installed_bank.h"
#include "ymf/operation_failure.h"
#include "ymf/user_bank_record.h"
#include "ymf/version_profile.h"

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
    return SwitchedImage(ReadAll(Env.BackupDriverPath), bank, Env.Profile, Env.IsVxD);
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

  // Puts a backup pair in place with a manifest that matches it.
  void WriteMatchedBackup(const Bytes& driver, const Bytes& bank) {
    WriteAll(Env.BackupDriverPath, driver);
    WriteAll(Env.BackupBankPath, bank);
    BackupManifest manifest;
    manifest.Driver = {"Ds1.sys", static_cast<std::uint32_t>(driver.size()), ContentHash(driver.data(), driver.size())};
    manifest.Bank = {"dsxgwave.tbl", static_cast<std::uint32_t>(bank.size()), ContentHash(bank.data(), bank.size())};
    manifest.VersionText = VersionTextOfImage(driver.data(), static_cast<std::uint32_t>(driver.size()));
    const std::string text = FormatBackupManifest(manifest);
    WriteAll(BackupManifestPath(), Bytes(text.begin(), text.end()));
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

TEST_F(BankModes, TheUserSetInstalledLastIsRecordedUntilAnotherModeOrARestore) {
  Install(false, "5.12.01.5245");
  BankSetSpec setup;
  setup.Signature = 0x02;
  const std::string user = UserBank(setup);
  const Bytes set = ReadAll(user);
  const auto installed = [] {
    IdentifyInstalledBank();
    return FindInstalledUserBank();
  };
  ASSERT_TRUE(SetBankMode(ModeUser, user));
  EXPECT_EQ(installed().SetPath, user);
  EXPECT_FALSE(installed().SetChanged);
  ClearFailure();
  ExpectRefused(ModeUser, sys_->Root() + "absent.yb0", "a refused switch keeps the record");
  EXPECT_EQ(installed().SetPath, user);

  Bytes edited = set;
  edited[1] ^= 1;
  WriteAll(user, edited);
  EXPECT_TRUE(installed().SetChanged) << "the set is no longer what was installed";
  WriteAll(user, set);
  const Bytes record = ReadAll(UserBankRecordPath());
  Bytes damaged = record;
  damaged[damaged.size() / 2] ^= 1;
  WriteAll(UserBankRecordPath(), damaged);
  EXPECT_EQ(installed().SetPath, "") << "a damaged record is not trusted";
  WriteAll(UserBankRecordPath(), record);
  WriteAll(Env.BankPath, edited);
  EXPECT_EQ(installed().SetPath, "") << "a live bank other than the one recorded is not named";

  const std::function<bool()> enders[] = {[] { return SetBankMode(ModeExtended, ""); },
                                          [] { return SetBankMode(ModeDisabled, ""); },
                                          [] { return SetBankMode(ModeDefault, ""); }, RestoreDriverFiles};
  for (const auto& end : enders) {
    ASSERT_TRUE(BackupDriverFiles());
    ASSERT_TRUE(SetBankMode(ModeUser, user));
    ASSERT_TRUE(FileExists(UserBankRecordPath()));
    ASSERT_TRUE(end());
    EXPECT_FALSE(FileExists(UserBankRecordPath()));
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
  EXPECT_TRUE(FileExists(Env.BackupDriverPath));
  EXPECT_TRUE(FileExists(Env.BackupBankPath));
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
  BankSetSpec empty;
  empty.BankSize = 0;
  ExpectRefused(ModeUser, UserBank(empty), "0-byte user bank");
  EXPECT_NE(LastFailure().Text.find("is empty"), std::string::npos) << LastFailure().Text;

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

  // The same text at another probe is read the same way and accepted, in a
  // pair without a manifest (one from an earlier version).
  DriverImageSpec moved;
  moved.VersionText = "5.12.01.5245";
  moved.Probe = 8;
  WriteAll(Env.BackupDriverPath, MakeDriverImage(moved));
  ASSERT_TRUE(RemoveFile(BackupManifestPath()));
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

TEST_F(BankModes, DriverThatCannotBeReplacedIsFoundBeforeAnythingChanges) {
  Install(false, "5.12.01.5245");
  // A directory stands where the driver file was: the checks before the
  // switch find it, and the bank stays as it was.
  ASSERT_TRUE(RemoveFile(Env.DriverPath));
  ASSERT_TRUE(MakeDirectory(Env.DriverPath));
  EXPECT_FALSE(SetBankMode(ModeExtended, ""));
  EXPECT_EQ(ReadAll(Env.BankPath), original_bank_);
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

// A backup that is short, changed, of another build or without a plausible
// original is never used: the start-up does not take it (and does not
// overwrite it), the restore and every switch refuse, and the live files
// stay as they are.
TEST_F(BankModes, UnusableBackupsAreRefusedAndKept) {
  const struct {
    const char* Name;
    std::function<void()> Damage;
    // A switch to another bank uses only the backup driver; of the bank copy
    // it compares the size, and every start compares the whole.
    bool ExtendedRefused = true;
  } damages[] = {
      {"driver copy cut short",
       [] {
         const Bytes driver = ReadAll(Env.BackupDriverPath);
         WriteAll(Env.BackupDriverPath, Bytes(driver.begin(), driver.begin() + 1000000));
       }},
      {"bank copy cut short",
       [] {
         const Bytes bank = ReadAll(Env.BackupBankPath);
         WriteAll(Env.BackupBankPath, Bytes(bank.begin(), bank.end() - 1));
       }},
      {"driver copy changed",
       [] {
         Bytes driver = ReadAll(Env.BackupDriverPath);
         driver[0x1000] ^= 1;
         WriteAll(Env.BackupDriverPath, driver);
       }},
      {"bank copy changed",
       [] {
         Bytes bank = ReadAll(Env.BackupBankPath);
         bank[100] ^= 1;
         WriteAll(Env.BackupBankPath, bank);
       },
       false},
      {"manifest damaged",
       [] {
         WriteAll(BackupManifestPath(), Bytes{'T', 'o', 'v'});
       }},
      {"manifest without the driver copy", [] { ASSERT_TRUE(RemoveFile(Env.BackupDriverPath)); }},
      {"backup of another build",
       [this] {
         DriverImageSpec other;
         other.VersionText = "5.12.01.5244";
         WriteMatchedBackup(MakeDriverImage(other), ReadAll(Env.BackupBankPath));
       }},
      {"earlier pair of another build",
       [] {
         DriverImageSpec other;
         other.VersionText = "5.12.01.5244";
         WriteAll(Env.BackupDriverPath, MakeDriverImage(other));
         ASSERT_TRUE(RemoveFile(BackupManifestPath()));
       }},
      {"earlier pair with a driver cut short",
       [] {
         const Bytes driver = ReadAll(Env.BackupDriverPath);
         WriteAll(Env.BackupDriverPath, Bytes(driver.begin(), driver.end() - 2));
         ASSERT_TRUE(RemoveFile(BackupManifestPath()));
       }},
      {"earlier pair with the Extended bank",
       [] {
         WriteAll(Env.BackupBankPath, ReadAll(Env.ExtendedBankPath));
         ASSERT_TRUE(RemoveFile(BackupManifestPath()));
       }},
      {"earlier pair with the bank cut to 1000 bytes",
       [] {
         const Bytes bank = ReadAll(Env.BackupBankPath);
         WriteAll(Env.BackupBankPath, Bytes(bank.begin(), bank.begin() + 1000));
         ASSERT_TRUE(RemoveFile(BackupManifestPath()));
       }},
      {"earlier pair with a switched driver (patched, correct checksum)",
       [] {
         WriteAll(Env.BackupDriverPath, ReadAll(Env.DriverPath));
         ASSERT_TRUE(RemoveFile(BackupManifestPath()));
       }},
  };
  for (const auto& damage : damages) {
    Install(false, "5.12.01.5245");
    ASSERT_TRUE(SetBankMode(ModeDance, ""));
    damage.Damage();
    const Bytes driver = ReadAll(Env.DriverPath);
    const Bytes bank = ReadAll(Env.BankPath);
    std::vector<Bytes> backup;
    for (const std::string& name : ListFiles(sys_->BackupDir() + "*")) {
      backup.push_back(ReadAll(sys_->BackupDir() + name));
    }
    EXPECT_FALSE(BackupDriverFiles()) << damage.Name;
    EXPECT_FALSE(RestoreDriverFiles()) << damage.Name;
    EXPECT_FALSE(LastFailure().Text.empty()) << damage.Name;
    for (std::int32_t mode : {ModeDefault, ModeDisabled}) {
      EXPECT_FALSE(SetBankMode(mode, "")) << damage.Name << ", mode " << mode;
    }
    if (damage.ExtendedRefused) {
      EXPECT_FALSE(SetBankMode(ModeExtended, "")) << damage.Name;
    }
    EXPECT_EQ(ReadAll(Env.DriverPath), driver) << damage.Name;
    EXPECT_EQ(ReadAll(Env.BankPath), bank) << damage.Name;
    std::vector<Bytes> after;
    for (const std::string& name : ListFiles(sys_->BackupDir() + "*")) {
      after.push_back(ReadAll(sys_->BackupDir() + name));
    }
    EXPECT_EQ(after, backup) << damage.Name;
  }
}

// A manifest padded far past its four lines is refused without being read
// into memory: what is read stays far below its size.
TEST_F(BankModes, OversizedManifestIsRefusedUnread) {
  Install(false, "5.12.01.5245");
  Bytes manifest = ReadAll(BackupManifestPath());
  manifest.resize(std::size_t{1} << 20, '\n');
  WriteAll(BackupManifestPath(), manifest);
  static std::int64_t bytesRead;
  bytesRead = 0;
  FileOperationTable counting = SystemFileOperations();
  counting.ReadBlock = [](FileHandle file, void* buffer, std::int32_t count) {
    bytesRead += count;
    return SystemFileOperations().ReadBlock(file, buffer, count);
  };
  FileOperations() = counting;
  const BackupCheck check = CheckBackup();
  FileOperations() = SystemFileOperations();
  EXPECT_EQ(check.State, BackupState::NotValid);
  EXPECT_LT(bytesRead, 65536);
}

// Files that are no longer the originals are never backed up as such: a
// patched driver, or a bank other than the Default one.
TEST_F(BankModes, ModifiedLiveFilesAreNeverBackedUp) {
  const struct {
    const char* Name;
    std::int32_t Mode;
    bool DriverFromBackup;
  } states[] = {
      {"after a switch to Extended", ModeExtended, false},
      {"after a switch to a user bank", ModeUser, false},
      {"Dance bank beside the unpatched driver", ModeDance, true},
  };
  for (const auto& state : states) {
    Install(false, "5.12.01.5245");
    BankSetSpec user;
    user.Signature = 0xAA;
    ASSERT_TRUE(SetBankMode(state.Mode, UserBank(user)));
    if (state.DriverFromBackup) {
      WriteAll(Env.DriverPath, original_driver_);
    }
    for (const std::string& name : ListFiles(sys_->BackupDir() + "*")) {
      ASSERT_TRUE(RemoveFile(sys_->BackupDir() + name));
    }
    EXPECT_FALSE(BackupDriverFiles()) << state.Name;
    EXPECT_EQ(LastFailure().Kind, FailureKind::NotOriginal) << state.Name;
    EXPECT_TRUE(ListFiles(sys_->BackupDir() + "*").empty()) << state.Name;
  }
}

// A mode counts as installed only when its files verify; anything less is
// switched again.
TEST_F(BankModes, AlreadyInstalledMeansVerified) {
  const struct {
    const char* Name;
    std::int32_t Mode;
    std::function<void()> Change;
    BankModeCheck Expected;
  } cases[] = {
      {"Extended as switched", ModeExtended, [] {}, BankModeCheck::AlreadyInstalled},
      {"Extended bank cut short", ModeExtended,
       [] {
         const Bytes bank = ReadAll(Env.BankPath);
         WriteAll(Env.BankPath, Bytes(bank.begin(), bank.begin() + 1000));
       },
       BankModeCheck::Go},
      {"Extended bank beside the unpatched driver", ModeExtended,
       [this] { WriteAll(Env.DriverPath, original_driver_); }, BankModeCheck::Go},
      {"one table byte changed", ModeExtended,
       [] {
         Bytes driver = ReadAll(Env.DriverPath);
         driver[Env.Profile.TableOffset2 + 5] ^= 1;
         WriteAll(Env.DriverPath, driver);
       },
       BankModeCheck::Go},
      {"Dance as switched", ModeDance, [] { ASSERT_TRUE(SetBankMode(ModeDance, "")); },
       BankModeCheck::AlreadyInstalled},
      {"Default as restored", ModeDefault, [] { ASSERT_TRUE(SetBankMode(ModeDefault, "")); },
       BankModeCheck::AlreadyInstalled},
      {"a user bank with the Default signature on the patched driver", ModeDefault,
       [this] {
         BankSetSpec user;
         user.Signature = 0xAA;
         ASSERT_TRUE(SetBankMode(ModeUser, UserBank(user)));
       },
       BankModeCheck::Go},
      {"Disabled", ModeDisabled, [] { ASSERT_TRUE(SetBankMode(ModeDisabled, "")); }, BankModeCheck::AlreadyInstalled},
  };
  for (const auto& test : cases) {
    Install(false, "5.12.01.5245");
    ASSERT_TRUE(SetBankMode(ModeExtended, ""));
    test.Change();
    IdentifyInstalledBank();
    EXPECT_EQ(CheckBankMode(test.Mode), test.Expected) << test.Name;
    if (test.Expected == BankModeCheck::Go) {
      ASSERT_TRUE(SetBankMode(test.Mode, "")) << test.Name;
      IdentifyInstalledBank();
      EXPECT_EQ(CheckBankMode(test.Mode), BankModeCheck::AlreadyInstalled) << test.Name << ", switched again";
    }
  }
}

// Images whose checksum field cannot be located are refused before the
// switch changes anything, rather than switched without a checksum.
TEST_F(BankModes, MalformedImagesAreNotSwitched) {
  const struct {
    const char* Name;
    std::size_t Offset;
    std::uint32_t Value;
  } damages[] = {
      {"e_lfanew outside the file", 0x3C, 0x7FFFFFF0u},
      {"optional header of 4 bytes", FixturePeOffset + 20, 4},
  };
  for (const auto& damage : damages) {
    Install(false, "5.12.01.5245");
    Bytes driver = ReadAll(Env.DriverPath);
    for (int i = 0; i < (damage.Offset == 0x3C ? 4 : 2); ++i) {
      driver[damage.Offset + i] = static_cast<std::uint8_t>(damage.Value >> (8 * i));
    }
    WriteAll(Env.DriverPath, driver);
    for (const std::string& name : ListFiles(sys_->BackupDir() + "*")) {
      ASSERT_TRUE(RemoveFile(sys_->BackupDir() + name));
    }
    ASSERT_TRUE(BackupDriverFiles()) << damage.Name;
    ExpectRefused(ModeExtended, "", damage.Name);
    EXPECT_EQ(LastFailure().Kind, FailureKind::ImageUnusable) << damage.Name;
  }
}

TEST(BankTablePaths, LastCharacterBecomesTheTableDigit) {
  EXPECT_EQ(BankTablePath("C:\\Banks\\extended.yb0", 1), "C:\\Banks\\extended.yb1");
  EXPECT_EQ(BankTablePath("C:\\Banks\\my.bank", 3), "C:\\Banks\\my.ban3");
  EXPECT_EQ(BankTablePath("", 2), "");
}

}  // namespace
