// Naming the installed bank by its signature byte.
#include <gtest/gtest.h>

#include "tests/support/scratch_test.h"

#include "files/fileops.h"
#include "files/files.h"
#include "platform/testing/scratch.h"
#include "tests/support/file_bytes.h"
#include "ymf/environment.h"
#include "ymf/installed_bank.h"

namespace {

class InstalledBank : public ScratchTest {
 protected:
  void SetUp() override {
    ScratchTest::SetUp();
    Env.BankPath = dir_ + "dsxgwave.tbl";
  }
  void Identify(const Bytes& bank) {
    WriteAll(Env.BankPath, bank);
    IdentifyInstalledBank();
  }
};

TEST_F(InstalledBank, KindComesFromTheFirstByteOnly) {
  Identify(Bytes{0xAA});
  EXPECT_EQ(Env.BankKind, BankDefault);
  EXPECT_EQ(Env.BankSize, 1);
  Identify(Bytes{0x00, 0xAA, 0xAA});
  EXPECT_EQ(Env.BankKind, BankExtended);
  EXPECT_EQ(Env.BankSize, 3);
  Identify(Bytes{0x01, 0});
  EXPECT_EQ(Env.BankKind, BankDance);
  Identify(Bytes{0x02, 0});
  EXPECT_EQ(Env.BankKind, BankUser);
  for (std::uint8_t signature : {0x03, 0x04, 0xFF, 0xAB}) {
    Identify(Bytes{signature, 0});
    EXPECT_EQ(Env.BankKind, BankUnknown) << int(signature);
  }
}

TEST_F(InstalledBank, EmptyFileIsUnknownWithSizeZero) {
  Identify(Bytes{0xAA, 1, 2});
  Identify(Bytes{});
  EXPECT_EQ(Env.BankKind, BankUnknown);
  EXPECT_EQ(Env.BankSize, 0);
}

TEST_F(InstalledBank, MissingBankIsNoneAndKeepsThePreviousSize) {
  Identify(Bytes(1000, 0x00));
  ASSERT_TRUE(RemoveFile(Env.BankPath));
  IdentifyInstalledBank();
  EXPECT_EQ(Env.BankKind, BankNone);
  EXPECT_EQ(Env.BankSize, 1000);
}

TEST_F(InstalledBank, BankHeldOpenForWritingIsNone) {
  Identify(Bytes{0xAA, 1});
  FileHandle writer = InvalidFileHandle;
  ASSERT_TRUE(OpenWrite(Env.BankPath, writer));
  IdentifyInstalledBank();
  CloseFile(writer);
  EXPECT_EQ(Env.BankKind, BankNone);
}

}  // namespace
