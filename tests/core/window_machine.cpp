#include "tests/core/window_machine.h"

#include <gtest/gtest.h>

#include "app/startup.h"
#include "platform/fake.h"
#include "platform/testing/scratch.h"

void StartMachine(SimulatedSystem& sim, const MachineSpec& spec) {
  sim.RegisterProgramFiles();
  Fake().Version = spec.Windows;
  if (spec.DriverInstalled) {
    DriverInstallSpec setup;
    setup.Image.IsVxD = spec.IsVxD;
    setup.Image.VersionText = spec.Version;
    setup.StockBankSize = spec.BankSize;
    setup.WithBank = spec.WithBank;
    ASSERT_TRUE(sim.AddDriver(setup));
    if (spec.WithBank && spec.BankSignature != 0xAA) {
      ASSERT_TRUE(WriteWholeFile(sim.BankPath(spec.IsVxD), MakeBank(spec.BankSignature, spec.BankSize, 5)));
    }
    ASSERT_TRUE(WriteDriverRegistry(DriverRegKeyFor(spec.IsVxD, spec.Windows.Major), spec.IsVxD, spec.Settings));
  }
  if (spec.ShippedBanks) {
    ASSERT_TRUE(InstallBankSets(sim.Where(), ShippedBankSize));
  }
  RunStartupSteps();
}
