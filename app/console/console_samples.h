// tovaroc's sample commands: the Samples window's list and buttons for
// scripts (samples, sample, replace, export, sf2). Like the other editor
// commands they need neither the driver nor the backup and never write the
// driver's files or the backup.
#pragma once

#include <string>
#include <vector>

#include "app/console/console_commands.h"

// The main help's lines for these commands.
extern const char* const SampleCommandsHelp;

// True for the name (lower case) of one of these commands.
bool IsSampleCommand(const std::string& command);
// Runs one of them; "--help" among the arguments describes it. A usage
// error (exit code 2) writes nothing.
int RunSampleCommand(const std::string& command, const std::vector<std::string>& args, ConsoleStream& out,
                     ConsoleStream& err);
