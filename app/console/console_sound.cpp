#include "app/console/console_sound.h"

#include <cstdio>

#include "app/sample_sound.h"
#include "app/test_tune.h"
#include "files/fileops.h"
#include "platform/converter.h"
#include "platform/sound.h"

const char* const SoundCommandsHelp =
    "\n"
    "sound commands (no driver or backup needed, nothing written):\n"
    "  play BANK N                   sample N of a bank through the wave output\n"
    "  testtune                      the test tune through the MIDI output\n";

namespace {

struct SoundCommand {
  const char* Name;
  std::size_t ArgumentCount;
  const char* Help;
  int (*Run)(const Arguments& args, ConsoleStream& out, ConsoleStream& err);
};

const char* const PlayFailed = "Cannot play the sample";

// Why the converter call failed: the library's own words when it said any.
std::string ConverterReason(std::int32_t result, const std::string& bank) {
  const std::string problem = ConverterProblem();
  if (!problem.empty()) {
    return problem;
  }
  return "the bank converter could not read " + bank + " (result " + std::to_string(result) + ").";
}

int Play(const Arguments& args, ConsoleStream& out, ConsoleStream& err) {
  const std::string& bank = args[0];
  const std::int32_t index = static_cast<std::int32_t>(std::stol(args[1]));
  std::string why;
  if (!ConverterAvailable(why)) {
    err << PlayFailed << ": " << why << "\n";
    return ExitFailed;
  }
  if (!ConverterHasSampleTools()) {
    err << PlayFailed << ": this a10.dll is older and cannot read single samples; install the one that came with "
        << "Tovaro.\n";
    return ExitFailed;
  }
  if (!FileExists(bank)) {
    err << PlayFailed << ": " << bank << " does not exist.\n";
    return ExitFailed;
  }
  std::int32_t count = 0;
  std::int32_t result = ConverterSampleCount(bank, count);
  if (result == 0 && index >= count) {
    err << PlayFailed << ": " << bank << " holds " << static_cast<long long>(count) << " samples (0 to "
        << static_cast<long long>(count - 1) << "); there is no sample " << static_cast<long long>(index) << ".\n";
    return ExitFailed;
  }
  std::vector<SampleInfo> infos;
  std::vector<std::int16_t> pcm;
  if (result == 0) {
    result = ConverterReadSampleInfos(bank, index, 1, infos);
  }
  if (result == 0 && infos.size() != 1) {
    result = ConverterMissing;
  }
  if (result == 0) {
    result = ConverterReadSamplePcm(bank, index, pcm);
  }
  if (result != 0) {
    err << PlayFailed << ": " << ConverterReason(result, bank) << "\n";
    return ExitFailed;
  }
  const SampleInfo& info = infos[0];
  if (!PlaySampleSound(info, pcm, why)) {
    err << PlayFailed << " " << static_cast<long long>(index) << " (" << info.Name << "): " << why << "\n";
    return ExitFailed;
  }
  out << "playing sample " << static_cast<long long>(index) << " (" << info.Name
      << "): " << static_cast<long long>(info.Rate) << " Hz, " << (info.Channels == 2 ? "stereo" : "mono") << ", "
      << static_cast<long long>(info.Frames) << " frames" << (info.Looped ? ", its loop held for a few seconds" : "")
      << "\n";
  while (SampleSoundPlaying()) {
    SoundSleepMs(20);
  }
  out << "done\n";
  return ExitSuccess;
}

int TestTune(const Arguments&, ConsoleStream& out, ConsoleStream& err) {
  std::string why;
  if (!StartTestTune(why)) {
    err << TestTuneFailed << ": " << why << "\n";
    return ExitFailed;
  }
  const std::uint32_t start = SoundClockMs();
  std::uint32_t waitMs = 0;
  while (StepTestTune(waitMs, why)) {
    SoundSleepMs(waitMs);
  }
  if (!why.empty()) {
    err << TestTuneFailed << ": " << why << "\n";
    return ExitFailed;
  }
  char seconds[16];
  std::snprintf(seconds, sizeof seconds, "%.1f", (SoundClockMs() - start) / 1000.0);
  out << "test tune played through the MIDI output: " << static_cast<long long>(TestTuneEvents().size())
      << " messages in " << seconds << " s\n";
  return ExitSuccess;
}

const SoundCommand SoundCommands[] = {
    {"play", 2,
     "usage: tovaroc play BANK N\n"
     "Plays sample N of the bank (the NNN of the WAV files extract writes) through the\n"
     "default wave output and waits until it has ended: the whole sample, and when it loops,\n"
     "its loop again and again for a few seconds, so that a click at the loop point can be\n"
     "heard. Reads the bank through a10.dll and writes nothing.\n",
     Play},
    {"testtune", 0,
     "usage: tovaroc testtune\n"
     "Plays the test tune through the MIDI mapper (or the first MIDI output when there is\n"
     "none), as the XG Bank Modes page's \"Play test tune\" button does: XG System On, then a\n"
     "phrase of five seconds on piano, strings, bass and drums, then all notes off. After a\n"
     "bank switch and a restart it lets you hear that the synthesizer plays the new bank.\n",
     TestTune},
};

}  // namespace

bool IsSoundCommand(const std::string& command) { return FindNamed(SoundCommands, command) != nullptr; }

int RunSoundCommand(const std::string& name, const Arguments& args, ConsoleStream& out, ConsoleStream& err) {
  const SoundCommand& command = *FindNamed(SoundCommands, name);
  if (AsksForHelp(args)) {
    out << command.Help;
    return ExitSuccess;
  }
  if (args.size() != command.ArgumentCount) {
    err << "tovaroc: '" << name << "' takes "
        << (command.ArgumentCount == 0 ? "no arguments" : std::to_string(command.ArgumentCount) + " arguments") << "\n"
        << command.Help;
    return ExitUsage;
  }
  if (name == "play" &&
      (args[1].empty() || args[1].size() > 5 || args[1].find_first_not_of("0123456789") != std::string::npos)) {
    err << "tovaroc: the sample number '" << args[1] << "' is not a whole number from 0 to 65534\n" << command.Help;
    return ExitUsage;
  }
  return command.Run(args, out, err);
}
