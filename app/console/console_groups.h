// The checks and the commands of tovaroc's driver commands, by the file that
// holds each group; console_table.cpp binds them to their names.
#pragma once

#include <string>

#include "app/console/console_table.h"

// console_parse.cpp: the checks of the arguments.
int CheckNoArguments(CommandArguments& arguments, std::string& usage, ConsoleStream& err);
int CheckBankArguments(CommandArguments& arguments, std::string& usage, ConsoleStream& err);
int CheckSetArguments(CommandArguments& arguments, std::string& usage, ConsoleStream& err);
int CheckVoicesArguments(CommandArguments& arguments, std::string& usage, ConsoleStream& err);
int CheckRestoreArguments(CommandArguments& arguments, std::string& usage, ConsoleStream& err);
int CheckVerifyArguments(CommandArguments& arguments, std::string& usage, ConsoleStream& err);

// console_report.cpp: what the driver is and holds.
int RunStatus(const StartupFacts& facts, const CommandArguments& arguments, ConsoleStream& out, ConsoleStream& err);
int RunVerify(const StartupFacts& facts, const CommandArguments& arguments, ConsoleStream& out, ConsoleStream& err);

// console_driver_files.cpp: the bank switch and the restore.
int RunBank(const StartupFacts& facts, const CommandArguments& arguments, ConsoleStream& out, ConsoleStream& err);
int RunRestore(const StartupFacts& facts, const CommandArguments& arguments, ConsoleStream& out, ConsoleStream& err);

// console_settings.cpp: the registry settings.
int RunSet(const StartupFacts& facts, const CommandArguments& arguments, ConsoleStream& out, ConsoleStream& err);
int RunVoices(const StartupFacts& facts, const CommandArguments& arguments, ConsoleStream& out, ConsoleStream& err);
