// Which bank the driver loads, by the bank file's signature byte.
#pragma once

#include <cstdint>

// The bank kind a signature byte stands for.
std::int32_t BankKindOfSignature(std::uint8_t signature);
// The bank kind a bank mode leaves installed when it was set completely:
// BankNone for Disabled, BankDefault, BankExtended and BankDance for their
// modes, BankUser for any other value (a user bank, whatever its signature).
std::int32_t BankKindOfMode(std::int32_t mode);
// Reads Env.BankPath; writes Env.BankKind and Env.BankSize.
void IdentifyInstalledBank();
