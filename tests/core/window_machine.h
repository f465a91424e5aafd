// A simulated machine as the main window finds it: a driver of a given kind
// and build with its registry settings, the shipped banks, and start-up run
// (directory, detection, title, backup). Shared by the native tests of the
// window's decisions and the in-process tests of the window itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/system.h"
#include "tests/core/simulated_system.h"
#include "ymf/environment.h"

struct MachineSpec {
  bool DriverInstalled = true;
  bool IsVxD = false;
  std::string Version = "5.12.01.5245";
  WindowsVersion Windows{2, 5, 1};
  bool WithBank = true;
  std::uint8_t BankSignature = 0xAA;  // the installed bank's first byte
  std::size_t BankSize = 40000;
  bool ShippedBanks = true;  // the Extended and Dance bank sets
  DriverSettings Settings;
};

// Lays the machine out on the simulated system and runs the start-up steps.
void StartMachine(SimulatedSystem& sim, const MachineSpec& machine);
// Writes a user bank set (signature 0x02, 30000 bytes) at the scratch root
// under this name and returns the bank's path.
std::string AddUserBank(SimulatedSystem& sim, const std::string& name);
// Size of the shipped banks StartMachine writes.
constexpr std::size_t ShippedBankSize = 60000;
