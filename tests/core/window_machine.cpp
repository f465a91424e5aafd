#include "tests/core/window_machine.h"

#include <gtest/gtest.h>

#include "app/startup.h"
#include "platform/fake.h"
#include "platform/testing/scratch.h"

void StartMachine(SimulatedSystem& sim, const MachineSpec& machine) {
  sim.RegisterProgramFiles();
  Fake().Version = machine.Windows;
  if (machine.DriverInstalled) {
    DriverInstallSpec setup;
    setup.Image.IsVxD = machine.IsVxD;
    setup.Image.VersionText = machine.Version;
    setup.StockBankSize = machine.BankSize;
    setup.WithBank = machine.WithBank;
    ASSERT_TRUE(sim.AddDriver(setup));
    if (machine.WithBank && machine.BankSignature != 0xAA) {
      ASSERT_TRUE(WriteWholeFile(sim.BankPath(machine.IsVxD), MakeBank(machine.BankSignature, machine.BankSize, 5)));
    }
    ASSERT_TRUE(
        WriteDriverRegistry(DriverRegKeyFor(machine.IsVxD, machine.Windows.Major), machine.IsVxD, machine.Settings));
  }
  if (machine.ShippedBanks) {
    ASSERT_TRUE(InstallBankSets(sim.Where(), ShippedBankSize));
  }
  RunStartupSteps();
}

std::string AddUserBank(SimulatedSystem& sim, const std::string& name) {
  const std::string path = sim.Root() + name;
  BankSetSpec setup;
  setup.Signature = 0x02;
  setup.BankSize = 30000;
  EXPECT_TRUE(WriteBankSet(path, setup));
  return path;
}
