// What several of tovaroc's driver commands say.
#pragma once

#include <cstdint>
#include <string>

#include "app/console/console_commands.h"
#include "app/startup.h"

// Why a file that is there cannot be read.
extern const char* const UnreadableLine;  // "another program has it open, or access is denied"

// "Default bank", "Extended XG bank"... for a bank kind.
std::string BankKindName(std::int32_t kind);
// The installed bank with its size in megabytes as the window shows it, or
// why there is none.
std::string InstalledBankLine();
// Commands that change something need the driver and, unless the user
// waived it, the backup; false after saying why not.
bool ReadyToChange(const StartupFacts& facts, bool noBackup, ConsoleStream& err);
// What a refused or failed change says after its first line; a switch that
// stopped half way also says how to get the originals back.
void ReportFailure(ConsoleStream& err, bool restoreHint);
