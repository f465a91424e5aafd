// tovaroc's sound commands: a bank sample through the wave output and the
// test tune through the MIDI output. They need neither the driver nor the
// backup and write nothing.
#pragma once

#include <string>
#include <vector>

#include "app/console/console_commands.h"

// The main help's lines for these commands.
extern const char* const SoundCommandsHelp;

// True for the name (lower case) of one of these commands.
bool IsSoundCommand(const std::string& command);
// Runs one of them with its arguments; "--help" among them describes it.
// Returns when the sound has ended, with the exit code.
int RunSoundCommand(const std::string& command, const std::vector<std::string>& args, ConsoleStream& out,
                    ConsoleStream& err);
