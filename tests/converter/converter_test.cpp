// a10 on real files: round trip, edited samples, and bad input that must
// leave everything as it was.
#include <gtest/gtest.h>

#include <utility>

#include "converter/a10.h"
#include "converter/bank_format.h"
#include "converter/testing/riff_builder.h"
#include "converter/testing/whole_files.h"
#include "files/file_operations.h"
#include "files/fileops.h"
#include "platform/testing/scratch.h"
#include "tests/support/file_bytes.h"
#include "tools/fixture/fixture.h"

namespace {

constexpr std::size_t DemoBankSize = 4834000;

class Converter : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = MakeScratchDir("a10");
    ASSERT_FALSE(dir_.empty());
    bank_ = dir_ + "bank.yb0";
  }
  void TearDown() override {
    SetReadOnly(bank_, false);
    RemoveTree(dir_);
  }
  Bank ParsedBank() {
    const Bytes bytes = ReadAll(bank_);
    Bank bank;
    EXPECT_TRUE(ParseBank(bytes.data(), bytes.size(), bank));
    return bank;
  }
  std::string dir_;
  std::string bank_;
};

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(Converter, DemoBankRoundTripIsByteIdentical) {
  const Bytes original = MakeSampleBank(0x01, DemoBankSize, 42);
  ASSERT_EQ(original.size(), DemoBankSize);
  WriteAll(bank_, original);
  ASSERT_EQ(Deconstruct(bank_.c_str()), A10Ok);

  const std::vector<std::string> wavs = ListFiles(dir_ + "*.wav");
  ASSERT_EQ(wavs.size(), 16u);
  EXPECT_EQ(wavs.front(), "000_Piano.wav");
  EXPECT_EQ(wavs[11], "011_Warm Pad.wav");
  // A standard file: 16-bit PCM "fmt ", "data", then "smpl" with the root
  // key and the loop in frames.
  const Sample piano = ParsedBank().Samples[0];
  ASSERT_TRUE(piano.Looped);
  const Bytes wav = ReadAll(dir_ + wavs.front());
  const std::size_t smpl = 44 + piano.Pcm.size() * 2;
  ASSERT_EQ(wav.size(), smpl + 8 + 36 + 24);
  EXPECT_EQ(Bytes(wav.begin() + 20, wav.begin() + 24), (Bytes{1, 0, 1, 0}));
  EXPECT_EQ(wav[34], 16);
  EXPECT_EQ(Bytes(wav.begin() + smpl, wav.begin() + smpl + 4), (Bytes{'s', 'm', 'p', 'l'}));
  EXPECT_EQ(wav[smpl + 8 + 12], piano.FineTune < 0 ? piano.RootKey - 1 : piano.RootKey);
  EXPECT_EQ(Bytes(wav.begin() + smpl + 8 + 44, wav.begin() + smpl + 8 + 52),
            Concat(Le32Bytes(piano.LoopStart), Le32Bytes(piano.LoopEnd)));

  WriteAll(bank_, Bytes{0x01});  // only the signature byte of the old bank counts
  ASSERT_EQ(Construct(bank_.c_str()), A10Ok);
  EXPECT_EQ(ReadAll(bank_), original);
  EXPECT_TRUE(ListFiles(dir_ + "*.a10new").empty()) << "no temporary file is left";
}

TEST_F(Converter, EditedWavChangesExactlyThatSample) {
  WriteAll(bank_, MakeSampleBank(0x00, 60000, 3));
  const Bank before = ParsedBank();
  ASSERT_EQ(Deconstruct(bank_.c_str()), A10Ok);
  // An editor saved the flute as 8-bit stereo at 11025 Hz, root key 72 and
  // no loop, under a new name in the same place of the order.
  ASSERT_TRUE(RemoveFile(dir_ + "003_Flute.wav"));
  Bytes fmt = FmtBody(1, 2, 11025, 8);
  WriteAll(dir_ + "003_Flute Solo.wav", Riff({Chunk("fmt ", fmt), Chunk("data", Bytes{0x80, 0x00, 0xFF, 0x81}),
                                              Chunk("smpl", SmplBody(72, 0, {}))}));
  WriteAll(dir_ + "notes.txt", Bytes{'x'});
  ASSERT_EQ(Construct(bank_.c_str()), A10Ok);

  const Bank after = ParsedBank();
  EXPECT_EQ(after.Signature, 0x00);
  ASSERT_EQ(after.Samples.size(), before.Samples.size());
  for (std::size_t i = 0; i < after.Samples.size(); ++i) {
    if (i != 3) {
      EXPECT_TRUE(SameSample(after.Samples[i], before.Samples[i])) << i;
    }
  }
  const Sample& flute = after.Samples[3];
  EXPECT_EQ(flute.Name, "Flute Solo");
  EXPECT_EQ(flute.SampleRate, 11025u);
  EXPECT_EQ(flute.Channels, 2);
  EXPECT_EQ(flute.RootKey, 72);
  EXPECT_EQ(flute.FineTune, 0);
  EXPECT_FALSE(flute.Looped);
  EXPECT_EQ(flute.Pcm, (std::vector<std::int16_t>{0, -32768, 32512, 256}));
  // Deconstruct did not write that name: it went in as a new sample.
  EXPECT_EQ(std::string(BuildReport()), "new\t003_Flute Solo.wav\nchanged\t0\n");
  EXPECT_EQ(Construct((dir_ + "missing.yb0").c_str()), A10NotAFile);
  EXPECT_EQ(std::string(BuildReport()), "") << "nothing to report after a failure";
}

Bytes ValidBank() { return MakeSampleBank(0x00, 8000, 9); }

Bytes Edited(Bytes bytes, std::size_t at, std::uint8_t value) {
  bytes[at] = value;
  return bytes;
}

Bytes Resized(Bytes bytes, std::size_t size) {
  bytes.resize(size, 0);
  return bytes;
}

Bytes MonoWav16() { return SimpleWav(1, 1, 16, Bytes{1, 2, 3, 4}); }

// A failure returns its code and leaves the bank's bytes and the names in
// its directory as they were.
void ExpectRefused(std::int32_t (*function)(const char*), const std::string& dir, const std::string& path,
                   std::int32_t expected) {
  const auto take = [&] { return std::make_pair(FileExists(path) ? ReadAll(path) : Bytes(), ListFiles(dir + "*")); };
  const auto before = take();
  EXPECT_EQ(function(path.c_str()), expected);
  EXPECT_EQ(take(), before);
}

TEST_F(Converter, BadBanksAreNotTakenApart) {
  const Bytes valid = ValidBank();
  const struct {
    const char* Case;
    Bytes File;
  } cases[] = {
      {"stock bank", MakeBank(0xAA, 8000, 1)},
      {"truncated header", Resized(valid, 7)},
      {"directory cut short", Resized(valid, 300)},
      {"count past the end", Edited(valid, 6, 17)},
      {"no samples", Edited(Resized(valid, 8), 6, 0)},
      {"sample data cut short", Resized(valid, valid.size() - 2)},
      {"bytes after the data", Resized(valid, valid.size() + 2)},
      {"frame count past the end", Edited(valid, 8 + 39, 0x7F)},
      {"three channels", Edited(valid, 8 + 32, 3)},
      {"unknown flag", Edited(valid, 8 + 35, 0x03)},
      {"empty file", Bytes()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    WriteAll(bank_, c.File);
    ExpectRefused(Deconstruct, dir_, bank_, A10NotABank);
  }
}

TEST_F(Converter, BadWavFilesAreNotBuilt) {
  WriteAll(bank_, ValidBank());
  WriteAll(dir_ + "a.wav", MonoWav16());
  const Bytes fmt = Chunk("fmt ", FmtBody(1, 1, 22050, 16));
  const struct {
    const char* Case;
    Bytes File;
  } cases[] = {
      {"ADPCM", SimpleWav(2, 1, 4, Bytes{1, 2})},
      {"64-bit float", SimpleWav(3, 1, 64, Bytes(16, 0))},
      {"three channels", SimpleWav(1, 3, 16, Bytes(12, 0))},
      {"RIFF size past the end", Edited(MonoWav16(), 4, MonoWav16()[4] + 2)},
      {"chunk size past the end", Riff({fmt, ChunkWithSize("data", 100, Bytes{1, 2})})},
      {"loop count past the end", Riff({fmt, Chunk("data", Bytes{1, 2}), Chunk("smpl", SmplBody(60, 0, {{0, 0}}, 2))})},
      {"no data chunk", Riff({fmt})},
      {"no whole frame", SimpleWav(1, 2, 16, Bytes{1, 2})},
      {"truncated", Resized(MonoWav16(), 6)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    WriteAll(dir_ + "b.wav", c.File);
    ExpectRefused(Construct, dir_, bank_, A10BadWav);
    EXPECT_NE(std::string(ProblemText()).find(dir_ + "b.wav"), std::string::npos) << ProblemText();
  }
}

// Every file of the folder with its bytes.
std::vector<std::pair<std::string, Bytes>> FolderContents(const std::string& dir) {
  std::vector<std::pair<std::string, Bytes>> contents;
  for (const std::string& name : ListFiles(dir + "*")) {
    contents.emplace_back(name, ReadAll(dir + name));
  }
  return contents;
}

// A WAV file that cannot be written ends the extract with the folder as it
// was before the call, edits of earlier files included, and the file named.
// A folder holding WAV files of another bank is refused before anything is
// written: a build would take them in with this bank's samples.
TEST_F(Converter, FailedExtractLeavesTheFolderAsItWas) {
  const struct {
    const char* Case;
    const char* Foreign;      // a WAV file of another bank in the folder, or null
    bool EleventhUnwritable;  // writing 010_*.wav fails (a full disk, a locked file)
    std::int32_t Expected;
    const char* Named;
    // 002_*.wav is held open by a program that shares reading and writing:
    // it opens for writing, but cannot be renamed.
    bool ThirdHeldOpen = false;
  } cases[] = {
      {"the eleventh file cannot be written", nullptr, true, A10WriteFailed, "010_"},
      {"the third file is held open", nullptr, false, A10WriteFailed, "002_", true},
      {"WAV files of another bank in the folder", "007_Other Bank.wav", false, A10ForeignWav, "007_Other Bank.wav"},
      {"a WAV file of the user's own in upper case", "MY TAKE.WAV", false, A10ForeignWav, "MY TAKE.WAV"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    RemoveTree(dir_);
    ASSERT_TRUE(MakeDirectory(dir_));
    WriteAll(bank_, ValidBank());
    ASSERT_EQ(Deconstruct(bank_.c_str()), A10Ok);
    ASSERT_GT(ListFiles(dir_ + "*.wav").size(), 10u);
    const std::string first = dir_ + ListFiles(dir_ + "*.wav").front();
    WriteAll(first, MonoWav16());  // the user's edit
    if (c.Foreign != nullptr) {
      WriteAll(dir_ + c.Foreign, MonoWav16());
    }
    const auto before = FolderContents(dir_);
    static const FileOperationTable* system;
    system = &SystemFileOperations();
    FileOperationTable faulty = SystemFileOperations();
    if (c.EleventhUnwritable) {
      faulty.WriteFileOver = [](const std::string& path, const std::vector<FilePiece>& pieces) {
        return path.find("010_") == std::string::npos && system->WriteFileOver(path, pieces);
      };
    }
    if (c.ThirdHeldOpen) {
      faulty.MoveFileOver = [](const std::string& from, const std::string& to) {
        const auto held = [](const std::string& path) {
          return path.find("002_") != std::string::npos && path.size() > 4 && path.substr(path.size() - 4) == ".wav";
        };
        return !held(from) && !held(to) && system->MoveFileOver(from, to);
      };
    }
    FileOperations() = faulty;
    const std::int32_t result = Deconstruct(bank_.c_str());
    FileOperations() = SystemFileOperations();
    EXPECT_EQ(result, c.Expected);
    EXPECT_TRUE(FolderContents(dir_) == before) << "the folder changed";
    EXPECT_NE(std::string(ProblemText()).find(c.Named), std::string::npos) << ProblemText();
  }
}

// An editor that drops the "smpl" chunk does not cost the sample its root
// key, fine tune and loop: they come from the bank being rebuilt, the loop
// only while it still fits the new length.
TEST_F(Converter, WavWithoutSmplKeepsPitchAndLoopOfTheRebuiltBank) {
  const struct {
    const char* Case;
    bool Shortened;  // to fewer frames than the loop's end
    bool Edited;     // the same length, the first frame changed
  } cases[] = {{"same length", false, false}, {"cut before the loop's end", true, false}, {"edited", false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    WriteAll(bank_, MakeSampleBank(0x00, 60000, 3));
    const Bank before = ParsedBank();
    const Sample& piano = before.Samples[0];
    ASSERT_TRUE(piano.Looped);
    ASSERT_NE(piano.RootKey, 60);
    ASSERT_EQ(Deconstruct(bank_.c_str()), A10Ok);
    const std::string wav = dir_ + ListFiles(dir_ + "*.wav").front();
    const std::uint32_t frames = c.Shortened ? piano.LoopEnd : piano.Frames();
    Bytes data;
    for (std::uint32_t i = 0; i < frames * piano.Channels; ++i) {
      data.push_back(static_cast<std::uint8_t>(piano.Pcm[i]));
      data.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(piano.Pcm[i]) >> 8));
    }
    data[0] = static_cast<std::uint8_t>(data[0] ^ (c.Edited ? 1 : 0));
    WriteAll(wav, Riff({Chunk("fmt ", FmtBody(1, piano.Channels, piano.SampleRate, 16)), Chunk("data", data)}));
    ASSERT_EQ(Construct(bank_.c_str()), A10Ok);
    const Sample rebuilt = ParsedBank().Samples[0];
    EXPECT_EQ(rebuilt.Frames(), frames);
    EXPECT_EQ(rebuilt.RootKey, piano.RootKey);
    EXPECT_EQ(rebuilt.FineTune, piano.FineTune);
    EXPECT_EQ(rebuilt.Looped, !c.Shortened);
    EXPECT_EQ(rebuilt.LoopStart, c.Shortened ? 0u : piano.LoopStart);
    EXPECT_EQ(rebuilt.LoopEnd, c.Shortened ? 0u : piano.LoopEnd);
    EXPECT_EQ(std::string(BuildReport()),
              std::string("kept\t000_Piano.wav\nchanged\t") + (c.Shortened || c.Edited ? "1" : "0") + "\n");
    RemoveTree(dir_);
    ASSERT_TRUE(MakeDirectory(dir_));
  }
}

TEST_F(Converter, PathsThatAreNoBankFileAreRefused) {
  ExpectRefused(Deconstruct, dir_, dir_ + "missing.yb0", A10NotAFile);
  ExpectRefused(Deconstruct, dir_, "", A10NotAFile);
  EXPECT_EQ(Deconstruct(nullptr), A10NotAFile);
  EXPECT_EQ(Construct(nullptr), A10NotAFile);
  ASSERT_TRUE(MakeDirectory(dir_ + "sub"));
  ExpectRefused(Deconstruct, dir_, dir_ + "sub", A10NotAFile);

  WriteAll(bank_, ValidBank());
  WriteAll(dir_ + "song.wave", MonoWav16());
  ExpectRefused(Construct, dir_, bank_, A10NoWav);
  WriteAll(dir_ + "a.wav", MonoWav16());
  ExpectRefused(Construct, dir_, dir_ + "missing.yb0", A10NotAFile);
  ExpectRefused(Construct, dir_, dir_ + "sub", A10NotAFile);
  ASSERT_TRUE(SetReadOnly(bank_, true));
  ExpectRefused(Construct, dir_, bank_, A10NotAFile);
}

}  // namespace
