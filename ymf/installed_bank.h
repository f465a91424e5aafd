// Which bank the driver loads, by the bank file's signature byte.
#pragma once

#include <cstdint>

// The bank kind a signature byte stands for.
std::int32_t BankKindOfSignature(std::uint8_t signature);
// Reads Env.BankPath; writes Env.BankKind and Env.BankSize.
void IdentifyInstalledBank();
