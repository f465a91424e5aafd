// The real a10.dll under Wine, loaded from beside the test program the way
// a program that may run without it loads it.
#include <windows.h>

#include <gtest/gtest.h>

#include "files/fileops.h"
#include "files/win32/move_in_steps.h"
#include "platform/converter.h"
#include "platform/testing/scratch.h"
#include "platform/win32/converter/converter_load.h"
#include "tests/support/file_bytes.h"
#include "tools/fixture/fixture.h"
#include "ymf/bank_convert.h"

namespace {

class ConverterDll : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = MakeScratchDir("a10dll");
    ASSERT_FALSE(dir_.empty());
  }
  void TearDown() override { RemoveTree(dir_); }
  std::string dir_;
};

TEST_F(ConverterDll, ExtractAndBuildRoundTripThroughTheLibrary) {
  std::string why = "unset";
  ASSERT_TRUE(ConverterAvailable(why)) << why;
  EXPECT_EQ(why, "");
  const std::string bank = dir_ + "dance.yb0";
  BankSetSpec setup;
  setup.Signature = 0x01;
  setup.BankSize = 120000;
  setup.Samples = true;
  ASSERT_TRUE(WriteBankSet(bank, setup));
  const Bytes original = ReadAll(bank);

  ASSERT_TRUE(ExtractBank(bank));
  EXPECT_EQ(ListFiles(dir_ + "*.wav").size(), 16u);
  // Its own file under another letter case is its own, extracted over.
  const std::string first = ListFiles(dir_ + "*.wav").front();
  const Bytes wav = ReadAll(dir_ + first);
  ASSERT_TRUE(RemoveFile(dir_ + first));
  WriteAll(dir_ + first.substr(0, first.size() - 3) + "WAV", wav);
  EXPECT_TRUE(ExtractBank(bank)) << ConverterProblem();
  EXPECT_TRUE(BuildBank(bank));
  Bytes expected = original;
  expected[0] = 0x04;
  EXPECT_EQ(ReadAll(bank), expected);
  const Bytes table = ReadAll(dir_ + "dance.yb3");
  ASSERT_EQ(table.size(), 2096u);
  EXPECT_EQ(Bytes(table.begin() + 2092, table.end()), (Bytes{0xC0, 0xD4, 0x01, 0x00}));  // 120000

  EXPECT_FALSE(ExtractBank(dir_ + "dance.yb1")) << "a table file is not a bank";
  // The library's reason crosses the seam, naming the file.
  EXPECT_NE(ConverterProblem().find(dir_ + "dance.yb1"), std::string::npos) << ConverterProblem();
}

// The sample-level exports are found by name in the real library. What they
// do is the converter tests'; what tovaroc and the window make of them, through
// this library, the black-box tests'. The build report crosses only here.
TEST_F(ConverterDll, SampleToolsAndTheBuildReportThroughTheLibrary) {
  ASSERT_TRUE(ConverterHasSampleTools());
  const std::string bank = dir_ + "user.yb0";
  BankSetSpec setup;
  setup.Signature = 0x02;
  setup.BankSize = 120000;
  setup.Samples = true;
  ASSERT_TRUE(WriteBankSet(bank, setup));
  ASSERT_TRUE(ExtractBank(bank));
  ASSERT_TRUE(BuildBank(bank));
  EXPECT_EQ(ConverterBuildReport(), "changed\t0\n");
}

TEST_F(ConverterDll, MissingLibraryIsNamed) {
  ConverterEntries entries;
  std::string why;
  EXPECT_FALSE(LoadConverter(dir_ + "a10.dll", entries, why));
  EXPECT_NE(why.find(dir_ + "a10.dll"), std::string::npos) << why;
  EXPECT_EQ(entries.Deconstruct, nullptr);
}

// The sequence Windows 9x gets instead of MoveFileExA.
TEST_F(ConverterDll, MoveInStepsReplacesAndLeavesNoParkedFile) {
  const std::string from = dir_ + "new.bin";
  const std::string to = dir_ + "bank.yb0";
  WriteAll(from, Bytes{1, 2});
  WriteAll(to, Bytes{9});
  ASSERT_TRUE(MoveFileOverInSteps(from, to));
  EXPECT_EQ(ReadAll(to), (Bytes{1, 2}));
  EXPECT_EQ(ListFiles(dir_ + "*"), std::vector<std::string>{"bank.yb0"});

  EXPECT_FALSE(MoveFileOverInSteps(from, to)) << "nothing to move";
  EXPECT_EQ(ReadAll(to), (Bytes{1, 2}));
  EXPECT_EQ(ListFiles(dir_ + "*"), std::vector<std::string>{"bank.yb0"});

  ASSERT_TRUE(MoveFileOverInSteps(to, from)) << "onto a name that does not exist";
  EXPECT_EQ(ListFiles(dir_ + "*"), std::vector<std::string>{"new.bin"});
}

}  // namespace
