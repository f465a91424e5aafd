// The command line of tovaroc: the options, the help, and the command of
// the table (console_table.cpp) or of the bank editor that it names.
#include "app/console/console_commands.h"

#include <cstdio>

#include "app/ascii_text.h"
#include "app/console/console_editor.h"
#include "app/console/console_samples.h"
#include "app/console/console_sound.h"
#include "app/console/console_table.h"
#include "app/startup.h"
#include "files/console_text.h"

namespace {

int UsageError(const std::string& message, ConsoleStream& err) {
  err << "tovaroc: " << message << "\n" << MainHelp << EditorCommandsHelp << SampleCommandsHelp << SoundCommandsHelp;
  return ExitUsage;
}

}  // namespace

ConsoleStream& operator<<(ConsoleStream& stream, const std::string& text) {
  WriteText(stream.File, text);
  return stream;
}

ConsoleStream& operator<<(ConsoleStream& stream, const char* text) { return stream << std::string(text); }

ConsoleStream& operator<<(ConsoleStream& stream, long long number) { return stream << std::to_string(number); }

bool AsksForHelp(const Arguments& args) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      return true;
    }
  }
  return false;
}

int RunConsoleCommand(const std::vector<std::string>& rawArgs, ConsoleStream& out, ConsoleStream& err) {
  CommandArguments arguments;
  std::vector<std::string> args;
  for (const std::string& arg : rawArgs) {
    if (arg == "--no-backup") {
      arguments.NoBackup = true;
    } else {
      args.push_back(arg);
    }
  }
  if (args.empty()) {
    return UsageError("no command given", err);
  }
  arguments.Command = AsciiLower(args[0]);
  arguments.Rest.assign(args.begin() + 1, args.end());
  const std::string& name = arguments.Command;
  if (name == "--help" || name == "-h" || name == "help") {
    out << MainHelp << EditorCommandsHelp << SampleCommandsHelp << SoundCommandsHelp;
    return ExitSuccess;
  }
  if (IsEditorCommand(name)) return RunEditorCommand(name, arguments.Rest, out, err);
  if (IsSampleCommand(name)) return RunSampleCommand(name, arguments.Rest, out, err);
  if (IsSoundCommand(name)) return RunSoundCommand(name, arguments.Rest, out, err);
  const ConsoleCommand* command = FindConsoleCommand(name);
  if (command == nullptr) {
    return UsageError("unknown command '" + args[0] + "'", err);
  }
  if (AsksForHelp(arguments.Rest)) {
    out << command->Help;
    return ExitSuccess;
  }
  // Everything the command line alone can tell is checked before start-up,
  // so that a usage error writes nothing, not even the backup.
  std::string usage;
  if (command->Check(arguments, usage, err) != ExitSuccess) {
    if (!usage.empty()) {
      err << "tovaroc: " << usage << "\n" << command->Help;
    }
    return ExitUsage;
  }
  return command->Run(RunStartupSteps(), arguments, out, err);
}
