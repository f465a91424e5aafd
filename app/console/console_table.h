// tovaroc's driver commands as one table: each command's name, its help
// text, the check of its arguments made before start-up (so that a usage
// error writes nothing, not even the backup) and the command itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/console/console_commands.h"
#include "app/startup.h"
#include "ymf/driver_settings.h"

// A panel setting or load module and the value the command line gives it.
struct Assignment {
  const DriverSetting* Setting;
  std::int32_t Value;
};

// What a command line says, as its command's check found it.
struct CommandArguments {
  std::string Command;                  // the command's name
  std::vector<std::string> Rest;        // the arguments after it
  bool NoBackup = false;                // --no-backup
  std::int32_t BankMode = 0;            // bank: the mode
  std::string Path;                     // bank user: the bank; verify --bank: the bank set
  std::vector<Assignment> Assignments;  // set
  std::int32_t Voices[4] = {};          // voices: MIDI, Wave Out, Direct Sound, Direct Sound 3D
  bool Settings = false;                // restore --settings
};

struct ConsoleCommand {
  const char* Name;  // lower case
  const char* Help;  // what 'tovaroc NAME --help' prints
  // ExitSuccess when the arguments are usable. Otherwise ExitUsage, with
  // `usage` the message to print before the help text, or empty when the
  // check said what is wrong itself.
  int (*Check)(CommandArguments& arguments, std::string& usage, ConsoleStream& err);
  int (*Run)(const StartupFacts& facts, const CommandArguments& arguments, ConsoleStream& out, ConsoleStream& err);
};

// The help of 'tovaroc --help' for the driver commands.
extern const char* const MainHelp;

// The command of a name in lower case; null for none.
const ConsoleCommand* FindConsoleCommand(const std::string& name);
