// SoundFont export judged by FluidSynth, a player nobody here wrote, and
// import of a SoundFont from a Debian package.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "converter/a10.h"
#include "converter/testing/whole_files.h"
#include "files/fileops.h"
#include "platform/testing/scratch.h"
#include "tests/support/file_bytes.h"
#include "tools/fixture/fixture.h"

namespace {

// timgm6mb-soundfont and fluidsynth, both in ./dev's package list.
const char* const DebianFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
constexpr double Pi = 3.14159265358979323846;

struct Tone {
  const char* Name;
  std::uint32_t Rate;
  std::uint8_t Channels;  // a stereo tone's right channel is silent
  double Cycles;          // of the sine in the sample
  std::uint32_t Frames;
  bool Looped;  // over the whole sample, a whole number of cycles
  std::int8_t FineTune;
  double Expected;  // Hz at the root key: the sine, less the fine tune
};

const Tone Tones[] = {
    {"Sine 441", 44100, 1, 441, 44100, true, 0, 441.0},
    {"Stereo Left Only", 22050, 2, 441, 22050, true, 0, 441.0},
    {"One Shot", 32000, 1, 800, 64000, false, 0, 400.0},
    {"Rate 1000", 1000, 1, 100, 1000, true, 0, 100.0},
    {"Rate 384000", 384000, 1, 500, 384000, true, 0, 500.0},
    {"Twenty Seven Characters One", 44100, 1, 300, 44100, true, 0, 300.0},
    {"Twenty Seven Characters Two", 44100, 1, 350, 44100, true, 0, 350.0},
    // The recording lies 25 cents above its key: played 25 cents lower.
    {"Fine Tune Plus 25", 44100, 1, 446, 44100, true, 25, 446.0 * std::pow(2.0, -25.0 / 1200.0)},
};
constexpr std::uint8_t RootKey = 69;

Bank ToneBank() {
  Bank bank;
  bank.Signature = 0x02;
  for (const Tone& tone : Tones) {
    Sample sample;
    sample.Name = tone.Name;
    sample.SampleRate = tone.Rate;
    sample.Channels = tone.Channels;
    sample.RootKey = RootKey;
    sample.FineTune = tone.FineTune;
    sample.Looped = tone.Looped;
    sample.LoopEnd = tone.Looped ? tone.Frames - 1 : 0;
    for (std::uint32_t i = 0; i < tone.Frames; ++i) {
      sample.Pcm.push_back(
          static_cast<std::int16_t>(std::lround(16000 * std::sin(2 * Pi * tone.Cycles * i / tone.Frames))));
      if (tone.Channels == 2) {
        sample.Pcm.push_back(0);
      }
    }
    bank.Samples.push_back(sample);
  }
  return bank;
}

// A one-track MIDI file: bank and program of the preset, the root key for
// 1.5 s (960 ticks a second at the default tempo).
Bytes NoteFile(std::size_t preset) {
  const std::uint8_t bank = static_cast<std::uint8_t>(preset / 128), program = preset % 128;
  return {'M',  'T',     'h', 'd',  0,    0,    0,       6, 0,    0,    0,    1,    0x01, 0xE0,    'M',
          'T',  'r',     'k', 0,    0,    0,    21,      0, 0xB0, 0,    bank, 0,    0xC0, program, 0,
          0x90, RootKey, 100, 0x8B, 0x20, 0x80, RootKey, 0, 0x83, 0x60, 0xFF, 0x2F, 0};
}

// The scratch folder's paths end in a backslash; a shell wants slashes.
std::string Shell(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return "'" + path + "'";
}

// Runs the command; its output (stdout and stderr) and exit code.
std::string RunCommand(const std::string& command, int& status) {
  std::string output;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  char buffer[512];
  while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
    output += buffer;
  }
  status = pipe == nullptr ? -1 : pclose(pipe);
  return output;
}

// FluidSynth's errors and warnings.
std::string Complaints(const std::string& output) {
  std::string complaints;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (line.find("rror") != std::string::npos || line.find("arning") != std::string::npos) {
      complaints += line + "\n";
    }
  }
  return complaints;
}

// Pitch of one channel of 16-bit stereo from its rising zero crossings,
// interpolated between frames, over [from, from + count).
double Pitch(const std::vector<std::int16_t>& stereo, std::size_t channel, std::size_t from, std::size_t count,
             double rate) {
  double first = -1;
  double last = -1;
  int crossings = 0;
  for (std::size_t i = from; i + 1 < from + count && 2 * (i + 1) + channel < stereo.size(); ++i) {
    const double a = stereo[2 * i + channel];
    const double b = stereo[2 * (i + 1) + channel];
    if (a < 0 && b >= 0) {
      const double at = i + a / (a - b);
      first = first < 0 ? at : first;
      last = at;
      ++crossings;
    }
  }
  return crossings < 2 ? 0 : (crossings - 1) * rate / (last - first);
}

class SoundFont : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = MakeScratchDir("a10font");
    ASSERT_FALSE(dir_.empty());
  }
  void TearDown() override { RemoveTree(dir_); }
  std::string dir_;
};

TEST_F(SoundFont, FluidSynthPlaysEverySampleAtItsPitch) {
  Bytes bytes;
  ASSERT_TRUE(SerializeBank(ToneBank(), bytes));
  WriteAll(dir_ + "tones.yb0", bytes);
  const std::string font = dir_ + "tones.sf2";
  ASSERT_EQ(ExportSoundFont((dir_ + "tones.yb0").c_str(), font.c_str()), A10Ok) << ProblemText();

  int status = 0;
  // The presets: bank index / 128, program index % 128, the names cut to 20
  // characters and kept apart.
  const std::string presets = RunCommand(
      "printf 'inst 1\\nquit\\n' | timeout 60 fluidsynth -n -a file -o audio.file.name=/dev/null "
      "-o synth.default-soundfont= " +
          Shell(font),
      status);
  EXPECT_NE(presets.find("000-007 Fine Tune Plus 25"), std::string::npos) << presets;
  EXPECT_NE(presets.find("000-005 Twenty Seven Charact"), std::string::npos) << presets;
  EXPECT_NE(presets.find("000-006 Twenty Seven Chara~2"), std::string::npos) << presets;

  // Loaded by a command that keeps the channels' presets: a font named on
  // the command line resets them, and the drum channel's search for a kit
  // in bank 128, which a bank of fewer than 16385 samples does not reach,
  // would warn.
  const std::string load = "load " + Shell(font) + " 0\n";
  WriteAll(dir_ + "load.txt", Bytes(load.begin(), load.end()));
  for (std::size_t i = 0; i < sizeof Tones / sizeof Tones[0]; ++i) {
    const Tone& tone = Tones[i];
    SCOPED_TRACE(tone.Name);
    WriteAll(dir_ + "note.mid", NoteFile(i));
    const std::string output = RunCommand(
        "timeout 60 fluidsynth -n -i -R 0 -C 0 -r 44100 -T raw -O s16 -E little -o synth.default-soundfont= -f " +
            Shell(dir_ + "load.txt") + " -F " + Shell(dir_ + "out.raw") + " " + Shell(dir_ + "note.mid"),
        status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(Complaints(output), "") << output;
    const Bytes raw = ReadAll(dir_ + "out.raw");
    std::vector<std::int16_t> stereo(raw.size() / 2);
    std::memcpy(stereo.data(), raw.data(), stereo.size() * 2);
    // From 0.1 s, past the attack, for one second.
    const double measured = Pitch(stereo, 0, 4410, 44100, 44100);
    std::printf("%-28s expected %9.3f Hz, measured %9.3f Hz\n", tone.Name, tone.Expected, measured);
    EXPECT_NEAR(measured, tone.Expected, 0.1);
    if (tone.Channels == 2) {
      int loudest = 0;
      for (std::size_t f = 0; 2 * f + 1 < stereo.size(); ++f) {
        loudest = std::max(loudest, std::abs(static_cast<int>(stereo[2 * f + 1])));
      }
      EXPECT_EQ(loudest, 0) << "the silent right channel stays silent";
    }
  }
}

// The body of the first chunk of this tag, found by its bytes.
std::size_t ChunkBody(const Bytes& file, const char* tag) {
  for (std::size_t i = 12; i + 8 <= file.size(); ++i) {
    if (std::memcmp(&file[i], tag, 4) == 0) {
      return i + 8;
    }
  }
  ADD_FAILURE() << "no " << tag << " chunk";
  return 0;
}

std::uint32_t Le32At(const Bytes& file, std::size_t at) {
  return file[at] | (file[at + 1] << 8) | (file[at + 2] << 16) | (static_cast<std::uint32_t>(file[at + 3]) << 24);
}

// Every sample header of the Debian package's font lists; one of its
// samples replaces a bank sample and comes back bit-exact through extract.
TEST_F(SoundFont, DebianFontListsAndReplacesBitExact) {
  const Bytes font = ReadAll(DebianFont);
  const std::size_t shdr = ChunkBody(font, "shdr");
  const std::size_t headers = Le32At(font, shdr - 4) / 46 - 1;
  std::int32_t count = 0;
  ASSERT_EQ(SampleCount(DebianFont, &count), A10Ok) << ProblemText();
  ASSERT_EQ(static_cast<std::size_t>(count), headers);
  std::vector<A10SampleInfo> infos(headers);
  ASSERT_EQ(ReadSampleInfos(DebianFont, 0, count, infos.data()), A10Ok);
  const std::size_t pick = headers / 2;
  const std::uint32_t start = Le32At(font, shdr + 46 * pick + 20);
  const std::uint32_t end = Le32At(font, shdr + 46 * pick + 24);
  EXPECT_EQ(infos[pick].Frames, end - start);
  EXPECT_EQ(infos[pick].Rate, Le32At(font, shdr + 46 * pick + 36));
  EXPECT_EQ(infos[pick].RootKey, font[shdr + 46 * pick + 40]);

  const std::string bank = dir_ + "bank.yb0";
  WriteAll(bank, MakeSampleBank(0x00, 60000, 3));
  ASSERT_EQ(ReplaceSample(bank.c_str(), 1, DebianFont, static_cast<std::int32_t>(pick)), A10Ok) << ProblemText();
  ASSERT_EQ(Deconstruct(bank.c_str()), A10Ok);
  const Bytes wav = ReadAll(dir_ + ListFiles(dir_ + "001_*.wav").at(0));
  const std::size_t smpl = ChunkBody(font, "smpl");
  EXPECT_EQ(Bytes(wav.begin() + 44, wav.begin() + 44 + 2 * (end - start)),
            Bytes(font.begin() + smpl + 2 * start, font.begin() + smpl + 2 * end));
}

// What a SoundFont export holds comes back on import, a stereo pair as
// one stereo sample; ROM, compressed and malformed files are refused with
// a reason and the bank left as it was.
TEST_F(SoundFont, ImportOfAnExportAndRefusals) {
  Bytes bytes;
  const Bank tones = ToneBank();
  ASSERT_TRUE(SerializeBank(tones, bytes));
  const std::string bank = dir_ + "tones.yb0";
  const std::string font = dir_ + "tones.sf2";
  WriteAll(bank, bytes);
  ASSERT_EQ(ExportSoundFont(bank.c_str(), font.c_str()), A10Ok);
  // Stereo Left Only takes headers 1 and 2.
  ASSERT_EQ(ReplaceSample(bank.c_str(), 0, font.c_str(), 1), A10Ok) << ProblemText();
  ASSERT_EQ(ReplaceSample(bank.c_str(), 7, font.c_str(), 8), A10Ok) << ProblemText();
  Bank back;
  ASSERT_TRUE(ParseBank(ReadAll(bank).data(), ReadAll(bank).size(), back));
  Sample stereo = tones.Samples[1];
  stereo.Name = tones.Samples[0].Name;
  EXPECT_TRUE(SameSample(back.Samples[0], stereo));
  EXPECT_TRUE(SameSample(back.Samples[7], tones.Samples[7])) << "root key, fine tune and loop";

  const Bytes exported = ReadAll(font);
  const std::size_t ifil = ChunkBody(exported, "ifil");
  const std::size_t shdr = ChunkBody(exported, "shdr");
  // Sine 441 loops over all its 44100 frames: its loop ends on the first frame after the loop,
  // and 46 zero frames lie before the next sample.
  EXPECT_EQ(Le32At(exported, shdr + 32) - Le32At(exported, shdr + 20), 44100u);
  EXPECT_EQ(Le32At(exported, shdr + 46 + 20) - Le32At(exported, shdr + 24), 46u);
  const auto edited = [&](std::size_t at, std::vector<std::uint8_t> value) {
    Bytes file = exported;
    std::copy(value.begin(), value.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
    return file;
  };
  const struct {
    const char* Case;
    Bytes File;
    const char* Reason;
  } cases[] = {
      {"SoundFont 3", edited(ifil, {3}), "SF3"},
      {"ROM sample", edited(shdr + 44, {0x01, 0x80}), "ROM"},
      {"compressed sample", edited(shdr + 44, {0x11, 0x00}), "compressed"},
      {"sample past the data", edited(shdr + 24, {0xFF, 0xFF, 0xFF, 0x7F}), "outside"},
      {"cut off", Bytes(exported.begin(), exported.end() - 100), "cut off"},
      {"chunk past its list", edited(ifil - 4, {0xFF, 0xFF}), "malformed"},
  };
  const Bytes before = ReadAll(bank);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    WriteAll(font, c.File);
    EXPECT_EQ(ReplaceSample(bank.c_str(), 0, font.c_str(), 0), A10NotAFont);
    EXPECT_NE(std::string(ProblemText()).find(c.Reason), std::string::npos) << ProblemText();
    EXPECT_EQ(ReadAll(bank), before);
  }
}

}  // namespace
