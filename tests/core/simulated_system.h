// A simulated Windows for core tests: a scratch directory tree laid out like
// a Windows installation, the test double pointed at it, and Env cleared.
#pragma once

#include <string>

#include "tests/support/file_bytes.h"
#include "tools/fixture/fixture.h"

class SimulatedSystem {
 public:
  // Lays out the directories (with or without the program's Backup folder)
  // and points the test double's directories and program path at them.
  explicit SimulatedSystem(bool withBackupDir = true, unsigned windowsMajor = 5);
  ~SimulatedSystem();
  SimulatedSystem(const SimulatedSystem&) = delete;
  SimulatedSystem& operator=(const SimulatedSystem&) = delete;

  const Installation& Where() const { return where_; }
  const std::string& Root() const { return root_; }
  // Registers "ProgramFilesDir" as a REG_SZ, as Windows does.
  void RegisterProgramFiles();
  // Writes a driver and its stock bank; returns false when a write failed.
  bool AddDriver(const DriverInstallSpec& setup);
  std::string DriverPath(bool isVxD) const { return InstalledDriverPath(where_, isVxD); }
  std::string BankPath(bool isVxD) const { return InstalledBankPath(where_, isVxD); }
  std::string BackupDir() const { return where_.ProgramDir + "Backup\\"; }

 private:
  std::string root_;
  Installation where_;
};
