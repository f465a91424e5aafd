// tovaroc's sound commands under Wine: what reached winmm, as a recording
// stand-in winmm.dll beside the program saw it, and what the user is told
// through Wine's own winmm, which has no sound device on a test machine.
#include <gtest/gtest.h>

#include <sstream>

#include "app/test_tune.h"
#include "converter/testing/whole_files.h"
#include "tests/blackbox/program_test.h"
#include "tests/support/file_bytes.h"

namespace {

const DWORD Patience = 60000;

class SoundCommands : public ProgramTest {
 protected:
  void SetUp() override {
    // Wine starts its desktop process for the first program that asks for
    // the desktop: started by tovaroc, it would inherit the output pipe and
    // keep it open after tovaroc has ended. This program asks first.
    GetDesktopWindow();
    ProgramTest::SetUp();
    ASSERT_TRUE(CopyFileOver(OwnDirectory() + "dist\\Tovaro\\tovaroc.exe", where_.ProgramDir + "tovaroc.exe"));
  }
  void TearDown() override {
    RegDeleteKeyA(HKEY_CURRENT_USER, OverrideKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, ProgramKey);
    ProgramTest::TearDown();
  }
  // Runs tovaroc with the stand-in winmm.dll beside it, or with Wine's own.
  // The stand-in is taken through Wine's DLL override for tovaroc.exe, the
  // registry form of WINEDLLOVERRIDES=winmm=n,b: Wine reads the variable
  // from the environment it started with, which this program cannot change
  // for a child.
  ConsoleRun Run(const std::string& arguments, bool standIn) {
    if (standIn) {
      EXPECT_TRUE(CopyFileOver(OwnDirectory() + "standin\\winmm.dll", where_.ProgramDir + "winmm.dll"));
      HKEY key = nullptr;
      EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, OverrideKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                ERROR_SUCCESS);
      const char order[] = "native,builtin";
      RegSetValueExA(key, "winmm", 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order);
      RegCloseKey(key);
    }
    ConsoleRun run = RunConsole(where_.ProgramDir + "tovaroc.exe", arguments, Patience);
    RegDeleteKeyA(HKEY_CURRENT_USER, OverrideKey);
    RemoveFile(where_.ProgramDir + "winmm.dll");
    EXPECT_TRUE(run.Started);
    return run;
  }
  static constexpr const char* ProgramKey = "Software\\Wine\\AppDefaults\\tovaroc.exe";
  static constexpr const char* OverrideKey = "Software\\Wine\\AppDefaults\\tovaroc.exe\\DllOverrides";

  // What the stand-in recorded, a line a call.
  std::vector<std::string> Calls() const {
    const Bytes bytes = ReadAll(where_.ProgramDir + "winmm-calls.txt");
    std::istringstream text(std::string(bytes.begin(), bytes.end()));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) {
      lines.push_back(line);
    }
    return lines;
  }
};

// "t=MS NAME BYTES": the time and the rest.
std::uint32_t TimeOf(const std::string& line) { return static_cast<std::uint32_t>(std::stoul(line.substr(2))); }
std::string MessageOf(const std::string& line) { return line.substr(line.find(' ') + 1); }

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  char byte[4];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", bytes[i]);
    text += byte;
  }
  return text;
}

TEST_F(SoundCommands, TestTuneGoesOutThroughTheMidiMapperInItsOrderAndTime) {
  const ConsoleRun run = Run("testtune", true);
  EXPECT_EQ(run.ExitCode, 0u) << run.Out;
  const std::vector<std::string> calls = Calls();
  const std::vector<TuneEvent>& tune = TestTuneEvents();
  ASSERT_EQ(calls.size(), tune.size() + 2) << run.Out;
  EXPECT_EQ(calls.front(), "midiOutOpen device=4294967295 flags=0") << "MIDI_MAPPER, CALLBACK_NULL";
  EXPECT_EQ(calls.back(), "midiOutClose");
  EXPECT_EQ(MessageOf(calls[1]), "midiOutLongMsg F0 43 10 4C 00 00 7E 00 F7");
  EXPECT_GE(TimeOf(calls[2]) - TimeOf(calls[1]), 50u) << "quiet after XG System On";
  for (std::size_t i = 0; i < tune.size(); ++i) {
    const std::string& line = calls[i + 1];
    EXPECT_EQ(MessageOf(line), std::string(i == 0 ? "midiOutLongMsg " : "midiOutShortMsg ") + Hex(tune[i].Bytes));
    // Timed by the clock, not by the sum of the waits: never early. How
    // late is the scheduling of the machine, so no bound is set on it.
    EXPECT_GE(TimeOf(line) + 2, tune[i].AtMs) << line;
  }
  EXPECT_NE(run.Out.find("test tune played through the MIDI output"), std::string::npos) << run.Out;
}

// A bank of one sample, a mono one-shot longer than one 256 KiB block of the
// wave output.
std::string WriteBank(const std::string& path, std::vector<std::int16_t>& pcm) {
  Bank bank;
  bank.Signature = 0x02;
  bank.Samples.resize(1);
  bank.Samples[0].Name = "Long";
  for (int i = 0; i < 200000; ++i) {
    pcm.push_back(static_cast<std::int16_t>((i * 7919) % 65536 - 32768));
  }
  bank.Samples[0].Pcm = pcm;
  std::vector<std::uint8_t> bytes;
  EXPECT_TRUE(SerializeBank(bank, bytes));
  WriteAll(path, bytes);
  return path;
}

TEST_F(SoundCommands, PlayedSampleReachesTheWaveMapperInItsFormatByteForByte) {
  std::vector<std::int16_t> pcm;
  const std::string bank = WriteBank(where_.ProgramDir + "long.yb0", pcm);
  const ConsoleRun run = Run("play \"" + bank + "\" 0", true);
  EXPECT_EQ(run.ExitCode, 0u) << run.Out;
  EXPECT_NE(run.Out.find("playing sample 0 (Long): 22050 Hz, mono, 200000 frames"), std::string::npos) << run.Out;
  // WAVE_MAPPER, WAVE_FORMAT_PCM, CALLBACK_NULL; two blocks, then closed.
  EXPECT_EQ(Calls(),
            (std::vector<std::string>{
                "waveOutOpen device=4294967295 tag=1 channels=1 rate=22050 bytes/s=44100 align=2 bits=16 flags=0",
                "waveOutWrite 262144", "waveOutWrite 137856", "waveOutReset", "waveOutClose"}));
  const Bytes played = ReadAll(where_.ProgramDir + "winmm-wave.raw");
  ASSERT_EQ(played.size(), pcm.size() * 2);
  for (std::size_t i = 0; i < pcm.size(); ++i) {
    ASSERT_EQ(static_cast<std::int16_t>(played[2 * i] | played[2 * i + 1] << 8), pcm[i]) << "sample value " << i;
  }
}

TEST_F(SoundCommands, WithoutADeviceWinesWinmmGivesTheReason) {
  std::vector<std::int16_t> pcm;
  const std::string bank = WriteBank(where_.ProgramDir + "long.yb0", pcm);
  const struct {
    std::string Arguments;
    const char* Reason;
  } cases[] = {
      {"testtune", "Cannot play the test tune: No MIDI output is installed."},
      {"play \"" + bank + "\" 0", "Cannot play the sample 0 (Long): No wave output device is installed."},
  };
  for (const auto& c : cases) {
    const ConsoleRun run = Run(c.Arguments, false);
    EXPECT_EQ(run.ExitCode, 1u) << run.Out;
    EXPECT_NE(run.Out.find(c.Reason), std::string::npos) << run.Out;
  }
}

}  // namespace
