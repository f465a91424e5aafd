// tovaroc's bank editor commands: copy, extract, build, sign and wavclean,
// the buttons of the XG Bank Editor page on bank files of the user's own.
// They need neither the driver nor the backup, and never write the
// driver's files or the backup; only 'tovaroc bank user' installs a bank.
#pragma once

#include <string>
#include <vector>

#include "app/console/console_commands.h"

// The main help's lines for these commands.
extern const char* const EditorCommandsHelp;

// True for the name (lower case) of one of these commands.
bool IsEditorCommand(const std::string& command);
// Runs one of them with its arguments; "--help" among them describes it.
// Returns the exit code: a usage error writes nothing.
int RunEditorCommand(const std::string& command, const std::vector<std::string>& args, ConsoleStream& out,
                     ConsoleStream& err);
