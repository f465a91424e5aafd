#include "tests/core/simulated_system.h"

#include <gtest/gtest.h>

#include "platform/fake.h"
#include "platform/registry.h"
#include "platform/testing/registry_keys.h"
#include "platform/testing/scratch.h"

SimulatedSystem::SimulatedSystem(bool withBackupDir, unsigned windowsMajor) {
  FakeReset();
  Env = DriverEnvironment();
  root_ = MakeScratchDir("sim");
  EXPECT_FALSE(root_.empty());
  where_ = LayoutUnder(root_);
  EXPECT_TRUE(MakeLayoutDirectories(where_, withBackupDir));
  Fake().WindowsDir = where_.WindowsDir;
  Fake().SystemDir = where_.SystemDir;
  Fake().ExePath = where_.ProgramDir + "tovaro.exe";
  Fake().Version = WindowsVersion{windowsMajor >= 5 ? 2u : 1u, windowsMajor, 0};
}

SimulatedSystem::~SimulatedSystem() {
  RemoveTree(root_);
  Env = DriverEnvironment();
  FakeReset();
}

void SimulatedSystem::RegisterProgramFiles() {
  const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  MachineKeyCreate(key);
  MachineKey handle = 0;
  ASSERT_TRUE(MachineKeyOpen(key, KeyAccessWrite, handle));
  const std::string value = where_.ProgramFilesDir;
  MachineKeyWrite(handle, "ProgramFilesDir", RegTypeSz, value.c_str(), static_cast<std::uint32_t>(value.size() + 1));
  MachineKeyClose(handle);
}

bool SimulatedSystem::AddDriver(const DriverInstallSpec& setup) { return InstallDriver(where_, setup); }
