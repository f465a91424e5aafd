#include "app/console/console_sound.h"

#include <cstdio>

#include "app/test_tune.h"
#include "platform/sound.h"

const char* const SoundCommandsHelp =
    "\n"
    "sound commands (no driver or backup needed, nothing written):\n"
    "  testtune                      the test tune through the MIDI output\n";

namespace {

using Arguments = std::vector<std::string>;

struct SoundCommand {
  const char* Name;
  std::size_t ArgumentCount;
  const char* Help;
  int (*Run)(const Arguments& args, ConsoleStream& out, ConsoleStream& err);
};

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
    {"testtune", 0,
     "usage: tovaroc testtune\n"
     "Plays the test tune through the MIDI mapper (or the first MIDI output when there is\n"
     "none), as the XG Bank Modes page's \"Play test tune\" button does: XG System On, then a\n"
     "phrase of five seconds on piano, strings, bass and drums, then all notes off. After a\n"
     "bank switch and a restart it lets you hear that the synthesizer plays the new bank.\n",
     TestTune},
};

const SoundCommand* FindSoundCommand(const std::string& name) {
  for (const SoundCommand& command : SoundCommands) {
    if (name == command.Name) {
      return &command;
    }
  }
  return nullptr;
}

}  // namespace

bool IsSoundCommand(const std::string& command) { return FindSoundCommand(command) != nullptr; }

int RunSoundCommand(const std::string& name, const Arguments& args, ConsoleStream& out, ConsoleStream& err) {
  const SoundCommand& command = *FindSoundCommand(name);
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      out << command.Help;
      return ExitSuccess;
    }
  }
  if (args.size() != command.ArgumentCount) {
    err << "tovaroc: '" << name << "' takes "
        << (command.ArgumentCount == 0 ? "no arguments" : std::to_string(command.ArgumentCount) + " arguments") << "\n"
        << command.Help;
    return ExitUsage;
  }
  return command.Run(args, out, err);
}
