// tovaroc.exe's sample commands under Wine with the real a10.dll, on a
// fixture bank: what they print, their exit codes and the bytes they leave.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/blackbox/program_test.h"
#include "tests/support/file_bytes.h"

namespace {

const DWORD Patience = 60000;

#define EXPECT_HAS(text, part) \
  EXPECT_NE((text).find(part), std::string::npos) << "missing: " << (part) << "\n" << (text)

class TovarocSamples : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    ASSERT_TRUE(MakeDirectory(scratch_ + "Work"));
    ASSERT_TRUE(CopyFileOver(OwnDirectory() + "dist\\Tovaro\\tovaroc.exe", where_.ProgramDir + "tovaroc.exe"));
    bank_ = scratch_ + "Work\\mine.yb0";
    BankSetSpec setup;
    setup.Signature = 0x02;
    setup.Samples = true;
    setup.BankSize = 250000;
    ASSERT_TRUE(WriteBankSet(bank_, setup));
    ASSERT_TRUE(WriteBankSet(Backup("kept.yb0"), setup));
  }
  ConsoleRun Run(const std::string& arguments) {
    ConsoleRun run = RunConsole(where_.ProgramDir + "tovaroc.exe", arguments, Patience);
    EXPECT_TRUE(run.Started);
    return run;
  }
  std::string Q(const std::string& path) const { return "\"" + path + "\""; }

  std::string bank_;
};

TEST_F(TovarocSamples, ListChangeReplaceAndExport) {
  const std::string bank = Q(bank_);
  ConsoleRun run = Run("samples " + bank + " --tsv");
  ASSERT_EQ(run.ExitCode, 0u) << run.Out;
  EXPECT_EQ(run.Out.substr(0, run.Out.find('\n')), "0\tPiano\t22050\t1\t36\t-43\t3894\t7731\t7788");
  EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), '\n'), 16);
  EXPECT_HAS(Run("samples " + bank).Out, "000  Piano  22050  mono  C2 (36)  -43  3894-7731  7788  0.353\n");

  const Bytes before = ReadAll(bank_);
  run = Run("sample " + bank + " 12 --name Kick2 --root C4 --tune 5");
  ASSERT_EQ(run.ExitCode, 0u) << run.Out;
  EXPECT_HAS(run.Out, "name 'Kick2'");
  EXPECT_HAS(run.Out, "size table written: " + scratch_ + "Work\\mine.yb3");
  Bytes changed = ReadAll(bank_);
  const std::size_t entry = 8 + 12 * 48;
  EXPECT_EQ(std::string(changed.begin() + entry, changed.begin() + entry + 6), std::string("Kick2\0", 6));
  EXPECT_EQ(changed[entry + 33], 60);
  EXPECT_EQ(changed[entry + 34], 5);
  EXPECT_EQ(changed[0], 0x02) << "the signature stays";
  std::copy(before.begin() + entry, before.begin() + entry + 35, changed.begin() + entry);
  EXPECT_EQ(changed, before) << "only those fields changed";

  const std::string wav = scratch_ + "Work\\one.wav";
  run = Run("export " + bank + " 1 " + Q(wav));
  ASSERT_EQ(run.ExitCode, 0u) << run.Out;
  run = Run("replace " + bank + " 3 " + Q(wav));
  ASSERT_EQ(run.ExitCode, 0u) << run.Out;
  const std::string font = scratch_ + "Work\\mine.sf2";
  ASSERT_EQ(Run("sf2 " + bank + " " + Q(font)).ExitCode, 0u);
  run = Run("samples " + Q(font) + " --tsv");
  EXPECT_EQ(run.ExitCode, 0u) << run.Out;
  EXPECT_GE(std::count(run.Out.begin(), run.Out.end(), '\n'), 16) << "a stereo sample may take two headers";
  run = Run("replace " + bank + " 4 " + Q(font + ":2"));
  ASSERT_EQ(run.ExitCode, 0u) << run.Out;
  run = Run("samples " + bank + " --tsv");
  std::vector<std::string> rows;
  for (std::size_t at = 0, end; (end = run.Out.find('\n', at)) != std::string::npos; at = end + 1) {
    rows.push_back(run.Out.substr(at, end - at));
  }
  ASSERT_EQ(rows.size(), 16u) << run.Out;
  // A replaced sample keeps its name and takes the source's sound and length.
  const auto fields = [](const std::string& row) { return row.substr(row.find('\t', row.find('\t') + 1)); };
  EXPECT_EQ(rows[3].substr(0, 8), "3\tFlute\t");
  EXPECT_EQ(fields(rows[3]), fields(rows[1]));
  EXPECT_EQ(rows[4].substr(0, 8), "4\tOrgan\t");
  EXPECT_EQ(fields(rows[4]), fields(rows[2])) << "the SoundFont's sample 2 is the bank's sample 2";
}

TEST_F(TovarocSamples, FailedEditsLeaveTheBankByteIdentical) {
  const std::string kept = Backup("kept.yb0");
  const std::string readOnly = scratch_ + "Work\\ro.yb0";
  ASSERT_TRUE(CopyFileOver(bank_, readOnly));
  ASSERT_TRUE(CopyFileOver(scratch_ + "Work\\mine.yb3", scratch_ + "Work\\ro.yb3"));
  ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  const std::string notBank = scratch_ + "Work\\text.yb0";
  WriteAll(notBank, Bytes{0x02, 'h', 'e', 'l', 'l', 'o'});
  WriteAll(scratch_ + "Work\\text.yb3", Bytes(2096, 0));
  const struct {
    std::string Path;
    std::string Arguments;
    std::string Says;
  } cases[] = {
      {kept, " 0 --name X", "is the driver's own file or in the Backup folder"},
      {readOnly, " 0 --name X", "is read-only or in use"},
      {notBank, " 0 --name X", notBank},
      {bank_, " 0 --tune 50", "Fine tune: '50'"},  // the other refused values are the sample-row test's
      {bank_, " 16 --name X", "no sample 16"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Arguments);
    const Bytes before = ReadAll(c.Path);
    const Bytes table = ReadAll(c.Path.substr(0, c.Path.size() - 1) + "3");
    const ConsoleRun run = Run("sample " + Q(c.Path) + c.Arguments);
    EXPECT_EQ(run.ExitCode, 1u) << run.Out;
    EXPECT_HAS(run.Out, "Cannot change the sample: ");
    EXPECT_HAS(run.Out, c.Says);
    EXPECT_EQ(ReadAll(c.Path), before);
    EXPECT_EQ(ReadAll(c.Path.substr(0, c.Path.size() - 1) + "3"), table);
  }
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
  const ConsoleRun run = Run("replace " + Q(kept) + " 0 " + Q(bank_));
  EXPECT_EQ(run.ExitCode, 1u) << run.Out;
}

}  // namespace
