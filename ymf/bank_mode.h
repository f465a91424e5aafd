// The bank mode switch: disable the bank, go back to the default one, or
// install another bank with the driver patched and given that bank's tables.
#pragma once

#include <cstdint>
#include <string>

#include "ymf/environment.h"

// One of the three per-bank tables: the profile's offset of its range in
// the driver and its size in bytes.
struct BankTable {
  std::int32_t VersionProfile::*Offset;
  std::int32_t Size;
};

// Tables 1, 2 and 3, whose files end in "1", "2" and "3".
inline constexpr BankTable BankTables[3] = {
    {&VersionProfile::TableOffset1, Table1Size},
    {&VersionProfile::TableOffset2, Table2Size},
    {&VersionProfile::TableOffset3, Table3Size},
};

// Path of per-bank table k (1 to 3): the bank path with its last character
// replaced by the digit k. Empty for an empty bank path.
std::string BankTablePath(const std::string& bankPath, int table);

// The bank file a mode installs: the backup bank for Default, the bank that
// comes with the program for Extended and Dance, userBankPath for any other
// value; empty for Disabled, which installs none.
std::string SourceBankOfMode(std::int32_t mode, const std::string& userBankPath);

// Sets a bank mode (ModeDisabled, ModeDefault, ModeExtended, ModeDance, any
// other value a user bank at userBankPath); true when it was set completely.
// Every mode needs a usable backup. Before anything changes, the modes that
// patch check the profile, the backup driver's build, length and checksum
// field, the bank and its tables, and that the live files can be replaced;
// they refuse, changing nothing, when any of these fails. A step that fails
// later stops the switch; nothing is written after it. LastFailure() says
// why the result is false.
bool SetBankMode(std::int32_t mode, const std::string& userBankPath);
