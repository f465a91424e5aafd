// a10's sample-level exports on real files: listing from the directory,
// property edits checked before anything is written, replacing and writing
// out one sample, and failures that leave the bank as it was.
#include <gtest/gtest.h>

#include <cstring>

#include "converter/a10.h"
#include "converter/testing/riff_builder.h"
#include "converter/testing/whole_files.h"
#include "files/file_operations.h"
#include "files/fileops.h"
#include "platform/testing/scratch.h"
#include "tests/support/file_bytes.h"
#include "tools/fixture/fixture.h"

namespace {

class SampleTools : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = MakeScratchDir("a10samples");
    ASSERT_FALSE(dir_.empty());
    bank_ = dir_ + "bank.yb0";
    WriteAll(bank_, MakeSampleBank(0x01, 60000, 3));
    ASSERT_TRUE(ParseBank(ReadAll(bank_).data(), ReadAll(bank_).size(), before_));
  }
  void TearDown() override {
    FileOperations() = SystemFileOperations();
    SetReadOnly(bank_, false);
    RemoveTree(dir_);
  }
  A10SampleInfo Info(std::int32_t index) {
    A10SampleInfo info{};
    EXPECT_EQ(ReadSampleInfos(bank_.c_str(), index, 1, &info), A10Ok);
    return info;
  }
  Sample After(std::size_t index) {
    const Bytes bytes = ReadAll(bank_);
    Bank bank;
    EXPECT_TRUE(ParseBank(bytes.data(), bytes.size(), bank));
    EXPECT_EQ(bank.Signature, 0x01) << "a sample edit keeps the bank's kind";
    return bank.Samples.at(index);
  }
  std::string dir_;
  std::string bank_;
  Bank before_;
};

// Bytes read through the file-operation table while listing.
std::size_t bytesRead = 0;

TEST_F(SampleTools, ListingReadsTheDirectoryOnly) {
  static const FileOperationTable* system = &SystemFileOperations();
  FileOperationTable counting = SystemFileOperations();
  counting.ReadBlock = [](FileHandle file, void* buffer, std::int32_t count) {
    bytesRead += static_cast<std::size_t>(count);
    return system->ReadBlock(file, buffer, count);
  };
  bytesRead = 0;
  FileOperations() = counting;
  std::int32_t count = 0;
  ASSERT_EQ(SampleCount(bank_.c_str(), &count), A10Ok);
  ASSERT_EQ(static_cast<std::size_t>(count), before_.Samples.size());
  std::vector<A10SampleInfo> infos(before_.Samples.size());
  ASSERT_EQ(ReadSampleInfos(bank_.c_str(), 0, count, infos.data()), A10Ok);
  FileOperations() = SystemFileOperations();
  // Header and directory for the count, header and the entries asked for (all) for the list.
  EXPECT_EQ(bytesRead, 2 * (8 + 48 * before_.Samples.size())) << "no sample data read";

  for (std::size_t i = 0; i < infos.size(); ++i) {
    const Sample& s = before_.Samples[i];
    EXPECT_EQ(std::string(infos[i].Name), s.Name);
    EXPECT_EQ(infos[i].Rate, s.SampleRate);
    EXPECT_EQ(infos[i].Channels, s.Channels);
    EXPECT_EQ(infos[i].RootKey, s.RootKey);
    EXPECT_EQ(infos[i].FineTune, s.FineTune);
    EXPECT_EQ(infos[i].Looped != 0, s.Looped);
    EXPECT_EQ(infos[i].Frames, s.Frames());
    EXPECT_EQ(infos[i].LoopStart, s.LoopStart);
    EXPECT_EQ(infos[i].LoopEnd, s.LoopEnd);
  }
  std::vector<std::int16_t> pcm(before_.Samples[5].Pcm.size() + 4);
  std::uint32_t written = 0;
  ASSERT_EQ(ReadSamplePcm(bank_.c_str(), 5, pcm.data(), static_cast<std::uint32_t>(pcm.size()), &written), A10Ok);
  pcm.resize(written);
  EXPECT_EQ(pcm, before_.Samples[5].Pcm);
  ASSERT_EQ(ReadSamplePcm(bank_.c_str(), 5, pcm.data(), 3, &written), A10Ok);
  EXPECT_EQ(written, 3u) << "no more than the capacity";

  EXPECT_EQ(ReadSampleInfos(bank_.c_str(), count - 1, 2, infos.data()), A10BadIndex);
  EXPECT_EQ(ReadSamplePcm(bank_.c_str(), -1, pcm.data(), 1, &written), A10BadIndex);
  Bytes cut = ReadAll(bank_);
  Bytes badKey = cut;
  badKey[8 + 2 * 48 + 33] = 200;
  WriteAll(bank_, badKey);
  EXPECT_EQ(ReadSampleInfos(bank_.c_str(), 2, 1, infos.data()), A10NotABank) << "each row handed out is checked";
  cut.pop_back();
  WriteAll(bank_, cut);
  std::int32_t none = 0;
  EXPECT_EQ(SampleCount(bank_.c_str(), &none), A10NotABank) << "sizes must add up to the file's";
  WriteAll(bank_, Bytes(cut.begin(), cut.begin() + 8 + 47 * count));
  EXPECT_EQ(SampleCount(bank_.c_str(), &count), A10NotABank) << "the directory must fit";
}

// Every wrong value is refused before anything is written, and named.
TEST_F(SampleTools, PropertyEditIsCheckedThenWritesOnlyThatEntry) {
  const A10SampleInfo good = Info(2);
  ASSERT_GT(good.Frames, 10u);
  const struct {
    const char* Case;
    void (*Change)(A10SampleInfo&);
    std::int32_t Expected;
    const char* Named;
  } cases[] = {
      {"root key", [](A10SampleInfo& i) { i.RootKey = 128; }, A10BadValue, "root key 128"},
      {"fine tune", [](A10SampleInfo& i) { i.FineTune = 50; }, A10BadValue, "fine tune 50"},
      {"below note 0", [](A10SampleInfo& i) { i.RootKey = 0, i.FineTune = -1; }, A10BadValue, "fine tune -1"},
      {"loop end", [](A10SampleInfo& i) { i.Looped = 1, i.LoopStart = 0, i.LoopEnd = i.Frames; }, A10BadValue,
       "loop end"},
      {"loop start", [](A10SampleInfo& i) { i.Looped = 1, i.LoopStart = 5, i.LoopEnd = 4; }, A10BadValue,
       "loop start 5"},
      {"loop points without loop", [](A10SampleInfo& i) { i.Looped = 0, i.LoopStart = 0, i.LoopEnd = 3; }, A10BadValue,
       "0-3"},
      {"name character", [](A10SampleInfo& i) { std::strcpy(i.Name, "a*b"); }, A10BadValue, "'*'"},
      {"name length", [](A10SampleInfo& i) { std::memset(i.Name, 'x', sizeof i.Name); }, A10BadValue, "27"},
      {"rate", [](A10SampleInfo& i) { i.Rate += 1; }, A10BadValue, "rate"},
      {"loop flag", [](A10SampleInfo& i) { i.Looped = 2; }, A10BadValue, "loop flag 2"},
  };
  const Bytes original = ReadAll(bank_);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    A10SampleInfo info = good;
    c.Change(info);
    EXPECT_EQ(SetSampleInfo(bank_.c_str(), 2, &info), c.Expected);
    EXPECT_NE(std::string(ProblemText()).find(c.Named), std::string::npos) << ProblemText();
    EXPECT_EQ(ReadAll(bank_), original);
  }
  EXPECT_EQ(SetSampleInfo(bank_.c_str(), 99, &good), A10BadIndex);

  A10SampleInfo edit = good;
  std::strcpy(edit.Name, "Renamed");
  edit.RootKey = 61;
  edit.FineTune = -7;
  edit.Looped = 1;
  edit.LoopStart = 2;
  edit.LoopEnd = good.Frames - 1;
  ASSERT_EQ(SetSampleInfo(bank_.c_str(), 2, &edit), A10Ok) << ProblemText();
  Bytes expected = original;
  Bytes entry(48, 0);
  std::memcpy(entry.data(), &edit, 48);  // the directory entry's layout
  std::copy(entry.begin(), entry.end(), expected.begin() + 8 + 2 * 48);
  EXPECT_EQ(ReadAll(bank_), expected);
  EXPECT_TRUE(ListFiles(dir_ + "*.a10new").empty());
}

TEST_F(SampleTools, ReplaceTakesPitchAndLoopFromTheSourceOrKeepsThem) {
  const Sample& old = before_.Samples[0];
  ASSERT_TRUE(old.Looped);
  const Bytes data = {1, 0, 2, 0, 3, 0, 4, 0};
  const struct {
    const char* Case;
    Bytes Wav;
    int RootKey;
    bool Looped;
  } cases[] = {
      {"smpl chunk",
       Riff({Chunk("fmt ", FmtBody(1, 1, 8000, 16)), Chunk("data", data), Chunk("smpl", SmplBody(70, 0, {{1, 2}}))}),
       70, true},
      {"no smpl chunk", Riff({Chunk("fmt ", FmtBody(1, 1, 8000, 16)), Chunk("data", data)}), old.RootKey, false},
  };
  const Bytes original = ReadAll(bank_);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    WriteAll(bank_, original);
    WriteAll(dir_ + "new.wav", c.Wav);
    ASSERT_EQ(ReplaceSample(bank_.c_str(), 0, (dir_ + "new.wav").c_str(), -1), A10Ok) << ProblemText();
    const Sample now = After(0);
    EXPECT_EQ(now.Name, old.Name);
    EXPECT_EQ(now.Pcm, (std::vector<std::int16_t>{1, 2, 3, 4}));
    EXPECT_EQ(now.SampleRate, 8000u);
    EXPECT_EQ(now.RootKey, c.RootKey);
    // The old loop lies past the 4 frames: it does not fit any more.
    EXPECT_EQ(now.Looped, c.Looped);
    EXPECT_TRUE(SameSample(After(1), before_.Samples[1]));
  }
  WriteAll(dir_ + "bad.wav", Bytes{'R', 'I', 'F', 'F'});
  EXPECT_EQ(ReplaceSample(bank_.c_str(), 0, (dir_ + "bad.wav").c_str(), -1), A10BadWav);
}

// Read-only, full disk, a replace that fails: the bank stays byte for byte.
TEST_F(SampleTools, FailedEditLeavesTheBankAsItWas) {
  WriteAll(dir_ + "new.wav", SimpleWav(1, 1, 16, Bytes{1, 2, 3, 4}));
  const A10SampleInfo info = Info(1);
  const struct {
    const char* Case;
    bool ReadOnly;
    bool DiskFull;
    bool MoveFails;
  } cases[] = {{"read-only bank", true, false, false},
               {"full disk", false, true, false},
               {"the bank cannot be replaced", false, false, true}};
  const Bytes original = ReadAll(bank_);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    FileOperationTable faulty = SystemFileOperations();
    if (c.DiskFull) {
      faulty.WriteFileOver = [](const std::string&, const std::vector<FilePiece>&) { return false; };
    }
    if (c.MoveFails) {
      faulty.MoveFileOver = [](const std::string&, const std::string&) { return false; };
    }
    ASSERT_TRUE(SetReadOnly(bank_, c.ReadOnly));
    FileOperations() = faulty;
    const std::int32_t edit = SetSampleInfo(bank_.c_str(), 1, &info);
    const std::int32_t replace = ReplaceSample(bank_.c_str(), 1, (dir_ + "new.wav").c_str(), -1);
    FileOperations() = SystemFileOperations();
    EXPECT_EQ(edit, c.ReadOnly ? A10NotAFile : A10WriteFailed);
    EXPECT_EQ(replace, edit);
    EXPECT_NE(std::string(ProblemText()).find("unchanged"), std::string::npos) << ProblemText();
    EXPECT_EQ(ReadAll(bank_), original);
    EXPECT_EQ(ListFiles(dir_ + "*"), (std::vector<std::string>{"bank.yb0", "new.wav"}));
  }
}

TEST_F(SampleTools, ExportedWavIsWhatExtractWrites) {
  ASSERT_EQ(ExportSampleWav(bank_.c_str(), 4, (dir_ + "four.wav").c_str()), A10Ok);
  const Bytes exported = ReadAll(dir_ + "four.wav");
  ASSERT_TRUE(RemoveFile(dir_ + "four.wav"));
  ASSERT_EQ(Deconstruct(bank_.c_str()), A10Ok);
  EXPECT_EQ(exported, ReadAll(dir_ + ListFiles(dir_ + "004_*.wav").at(0)));
}

}  // namespace
