// Driver detection: finds the VxD or WDM driver and derives every path and
// the registry key that belong to it, then loads the rest of the record.
#pragma once

#include <string>

// Sets dir to the Program Files directory followed by a backslash; leaves it
// unchanged when the registry does not give the directory as a REG_SZ.
void GetInstallDir(std::string& dir);
// Whether the Extended and Dance banks are in the Banks folder, by their
// paths in Env: sets Env.ExtendedBankExists and Env.DanceBankExists.
void LookForBankSets();
// Fills Env; true when a driver file was found.
bool DetectDriver();
// The running program's directory, with its trailing backslash.
std::string ProgramDirectory();
