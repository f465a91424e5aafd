// Extract and build around the converter library (the recording fake).
#include <gtest/gtest.h>

#include "platform/fake_converter.h"
#include "platform/testing/scratch.h"
#include "tests/support/file_bytes.h"
#include "ymf/bank_convert.h"
#include "ymf/operation_failure.h"

namespace {

class BankConvert : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeConverterReset();
    dir_ = MakeScratchDir("convert");
    ASSERT_FALSE(dir_.empty());
    bank_ = dir_ + "mine.yb0";
    WriteAll(bank_, Bytes(300, 0x02));
    WriteAll(dir_ + "mine.yb3", Bytes(2096, 0xEE));
  }
  void TearDown() override {
    SetReadOnly(bank_, false);
    RemoveTree(dir_);
    FakeConverterReset();
  }
  std::string dir_;
  std::string bank_;
};

TEST_F(BankConvert, ExtractIsTheLibraryResult) {
  FakeConverter().Results = {0, 3};
  EXPECT_TRUE(ExtractBank(bank_));
  EXPECT_FALSE(ExtractBank(""));
  EXPECT_EQ(FakeConverter().Calls, (std::vector<std::string>{"Deconstruct " + bank_, "Deconstruct "}));
}

TEST_F(BankConvert, BuildWritesSizeTableAndSignatureAfterTheLibrary) {
  Bytes table(2096, 0);
  table[2092] = 44;  // 300 bytes in the last word
  table[2093] = 1;
  Bytes built(300, 0x02);
  built[0] = 0x04;
  struct Case {
    const char* Name;
    std::int32_t Result;
    bool ReadOnly;
    bool Expected;
    Bytes Bank;
    Bytes Table;
    FailureKind Failure;  // recorded, naming the bank
  };
  const Case cases[] = {
      {"library fails", 2, false, false, Bytes(300, 0x02), Bytes(2096, 0xEE), FailureKind::ConverterFailed},
      {"success", 0, false, true, built, table, FailureKind::None},
      // The signature cannot be written: the size table stays written.
      {"read-only bank", 0, true, false, Bytes(300, 0x02), table, FailureKind::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    SetReadOnly(bank_, false);
    WriteAll(bank_, Bytes(300, 0x02));
    WriteAll(dir_ + "mine.yb3", Bytes(2096, 0xEE));
    ASSERT_TRUE(SetReadOnly(bank_, c.ReadOnly));
    FakeConverterReset();
    FakeConverter().Results = {c.Result};
    ClearFailure();
    EXPECT_EQ(BuildBank(bank_), c.Expected);
    EXPECT_EQ(LastFailure().Kind, c.Failure);
    EXPECT_EQ(LastFailure().File, c.Failure == FailureKind::None ? "" : bank_);
    EXPECT_EQ(FakeConverter().Calls, std::vector<std::string>{"Construct " + bank_});
    EXPECT_EQ(ReadAll(bank_), c.Bank);
    EXPECT_EQ(ReadAll(dir_ + "mine.yb3"), c.Table);
  }
}

}  // namespace
