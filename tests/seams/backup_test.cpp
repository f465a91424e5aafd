// The backup pair and the copies that start every bank change, on real files.
#include <gtest/gtest.h>

#include "tests/support/scratch_test.h"

#include "files/fileops.h"
#include "platform/testing/scratch.h"
#include "tests/support/file_bytes.h"
#include "ymf/backup.h"
#include "ymf/environment.h"

namespace {

const Bytes OriginalDriver{'M', 'Z', 1, 2, 3};
const Bytes OriginalBank{0xAA, 9, 9, 9};

class Backup : public ScratchTest {
 protected:
  void SetUp() override {
    ScratchTest::SetUp();
    ASSERT_TRUE(MakeDirectory(dir_ + "live"));
    ASSERT_TRUE(MakeDirectory(dir_ + "Backup"));
    Env.DriverPath = dir_ + "live\\Ds1.sys";
    Env.BankPath = dir_ + "live\\dsxgwave.tbl";
    Env.BackupDriverPath = dir_ + "Backup\\Ds1.sys";
    Env.BackupBankPath = dir_ + "Backup\\dsxgwave.tbl";
    WriteAll(Env.DriverPath, OriginalDriver);
    WriteAll(Env.BankPath, OriginalBank);
  }
};

TEST_F(Backup, FirstBackupCopiesBothFiles) {
  ASSERT_TRUE(BackupDriverFiles());
  EXPECT_EQ(ReadAll(Env.BackupDriverPath), OriginalDriver);
  EXPECT_EQ(ReadAll(Env.BackupBankPath), OriginalBank);
}

TEST_F(Backup, PresentPairIsNeverRefreshed) {
  ASSERT_TRUE(BackupDriverFiles());
  WriteAll(Env.DriverPath, Bytes{'M', 'Z', 0xFF});
  WriteAll(Env.BankPath, Bytes{0x00, 1});
  EXPECT_TRUE(BackupDriverFiles());
  EXPECT_EQ(ReadAll(Env.BackupDriverPath), OriginalDriver);
  EXPECT_EQ(ReadAll(Env.BackupBankPath), OriginalBank);
}

TEST_F(Backup, LoneCopyIsReplacedByBothLiveFiles) {
  WriteAll(Env.BackupBankPath, Bytes{0x42});
  ASSERT_TRUE(BackupDriverFiles());
  EXPECT_EQ(ReadAll(Env.BackupBankPath), OriginalBank);
  EXPECT_EQ(ReadAll(Env.BackupDriverPath), OriginalDriver);
}

TEST_F(Backup, FailsWithoutBackupDirectoryAndCreatesNothing) {
  RemoveTree(dir_ + "Backup");
  EXPECT_FALSE(BackupDriverFiles());
  EXPECT_FALSE(DirectoryExists(dir_ + "Backup"));
}

TEST_F(Backup, MissingBankFailsBeforeTheDriverIsCopied) {
  ASSERT_TRUE(RemoveFile(Env.BankPath));
  EXPECT_FALSE(BackupDriverFiles());
  EXPECT_FALSE(FileExists(Env.BackupDriverPath));
  EXPECT_FALSE(FileExists(Env.BackupBankPath));
}

TEST_F(Backup, NoDriverFoundMeansNoBackup) {
  Env = DriverEnvironment();
  EXPECT_FALSE(BackupDriverFiles());
}

TEST_F(Backup, CopyBankAndDriverPutsTheBankAndTheOriginalDriverInPlace) {
  ASSERT_TRUE(BackupDriverFiles());
  WriteAll(Env.DriverPath, Bytes{'M', 'Z', 0x90, 0x90});
  const std::string source = dir_ + "extended.yb0";
  WriteAll(source, Bytes{0x00, 5, 6});
  ASSERT_TRUE(CopyBankAndDriver(source));
  EXPECT_EQ(ReadAll(Env.BankPath), (Bytes{0x00, 5, 6}));
  EXPECT_EQ(ReadAll(Env.DriverPath), OriginalDriver);
}

TEST_F(Backup, RestorePutsOriginalsBackAndRemovesThePair) {
  // Live files that were read-only then leave copies a restore can remove.
  ASSERT_TRUE(SetReadOnly(Env.DriverPath, true) && SetReadOnly(Env.BankPath, true));
  ASSERT_TRUE(BackupDriverFiles());
  ASSERT_TRUE(SetReadOnly(Env.DriverPath, false) && SetReadOnly(Env.BankPath, false));
  WriteAll(Env.DriverPath, Bytes{'M', 'Z', 0x90});
  ASSERT_TRUE(RemoveFile(Env.BankPath));
  EXPECT_TRUE(RestoreDriverFiles());
  EXPECT_EQ(ReadAll(Env.DriverPath), OriginalDriver);
  EXPECT_EQ(ReadAll(Env.BankPath), OriginalBank);
  EXPECT_FALSE(FileExists(Env.BackupDriverPath));
  EXPECT_FALSE(FileExists(Env.BackupBankPath));
  // The next start takes a new pair from the restored originals.
  EXPECT_TRUE(BackupDriverFiles());
  EXPECT_EQ(ReadAll(Env.BackupDriverPath), OriginalDriver);
}

TEST_F(Backup, FailedRestoreKeepsThePairAsTheLastCopyOfTheOriginals) {
  ASSERT_TRUE(BackupDriverFiles());
  // A directory where the bank belongs: the copy back cannot succeed.
  ASSERT_TRUE(RemoveFile(Env.BankPath));
  ASSERT_TRUE(MakeDirectory(Env.BankPath));
  EXPECT_FALSE(RestoreDriverFiles());
  EXPECT_EQ(ReadAll(Env.BackupDriverPath), OriginalDriver);
  EXPECT_EQ(ReadAll(Env.BackupBankPath), OriginalBank);
}

TEST_F(Backup, RestoreWithoutPairFails) {
  EXPECT_FALSE(RestoreDriverFiles());
  EXPECT_EQ(ReadAll(Env.DriverPath), OriginalDriver);
  EXPECT_EQ(ReadAll(Env.BankPath), OriginalBank);
}

}  // namespace
