// What the main window shows for a driver environment: labels, visible
// tabs, bank-mode radios, list selections and spin positions.
#include <gtest/gtest.h>

#include <vector>

#include "app/main_view.h"
#include "platform/fake.h"
#include "tests/core/window_machine.h"

namespace {

constexpr std::int32_t None = -1;  // a list without a selection

DriverSettings Stored(std::vector<std::int32_t> values) {
  DriverSettings settings;
  for (std::size_t row = 0; row < DriverSettingCount; ++row) {
    DriverSettingTable[row].Set(settings, values[row]);
  }
  return settings;
}

struct PopulationCase {
  const char* Name;
  MachineSpec Machine;
  const char* Separator;
  // Expected; in the texts "<driver>" and "<bank>" stand for the paths.
  const char* Found;
  const char* Driver;
  const char* Bank;
  std::vector<bool> Pages;
  bool SysRes;
  bool ExtendedEnabled;
  bool DanceEnabled;
  BankRadio Radio;
  std::vector<std::int32_t> Shown;  // per settings row; empty: the controls are not filled
  std::vector<bool> Enabled;
  const char* MissingSets = "";
};

MachineSpec Machine(bool vxd, const char* version, WindowsVersion windows, std::uint8_t signature, std::size_t bankSize,
                    bool shippedBanks, DriverSettings settings) {
  MachineSpec machine;
  machine.IsVxD = vxd;
  machine.Version = version;
  machine.Windows = windows;
  machine.BankSignature = signature;
  machine.BankSize = bankSize;
  machine.ShippedBanks = shippedBanks;
  machine.Settings = settings;
  return machine;
}

MachineSpec NoDriver() {
  MachineSpec machine;
  machine.DriverInstalled = false;
  return machine;
}

MachineSpec NoBank() {
  MachineSpec machine = Machine(false, "5.12.01.5245", {2, 5, 2}, 0xAA, 1, true, DriverSettings());
  machine.WithBank = false;
  return machine;
}

const std::vector<bool> AllPages(7, true);
const std::vector<bool> WdmRules = {true, false, true, true, false, true, true, true,
                                    true, true,  true, true, true,  true, true};
const std::vector<bool> VxdRules = {true, false, true, true, true, true, true, true,
                                    true, true,  true, true, true, true, true};
const std::vector<bool> MiscVxdRules(15, true);

const PopulationCase Cases[] = {
    {"known WDM build on XP",
     Machine(false, "5.12.01.5245", {2, 5, 1}, 0xAA, 2424832, true,
             Stored({1, 0, 1, 4, 1, 0, 1, 0, 2, 1, 0, 32, 16, 16, 24})),
     ".",
     "Found",
     "WDM driver version 5.12.01.5245\n<driver>",
     "Default bank 2.31 MB\n<bank>",
     AllPages,
     true,
     true,
     true,
     BankRadio::Default,
     {1, 0, 1, 4, 1, 0, 1, 0, 2, 1, 0, 32, 16, 16, 24},
     WdmRules},
    {"unknown WDM build on Vista, Extended installed but not shipped",
     Machine(false, "5.12.01.9999", {2, 6, 0}, 0x00, 4833280, false,
             Stored({0, 1, 0, 9, 0, 1, 0, 1, 3, 0, 1, 100, 65536 + 5, 0x1FFFF, 0})),
     ".",
     "Found",
     "WDM driver version 5.12.01.9999\n<driver>",
     "Extended XG bank 4.61 MB\n<bank>",
     {true, false, true, true, true, true, true},
     false,
     false,
     false,
     BankRadio::Extended,
     {0, 1, 0, None, 0, 1, 0, 1, 3, 0, 1, 64, 5, 0, 0},
     WdmRules,
     "Extended and Dance are greyed: no extended.yb0 or dance.yb0 in the Banks folder."},
    {"VxD 4.07.1040 on Windows 98 with a user bank",
     Machine(true, "4.07.1040", {1, 4, 10}, 0x02, 3 * 1048576, true,
             Stored({0, 1, 0, 6, 1, 0, 0, 0, 0, 0, 0, 64, 24, 1, 0})),
     ",",
     "Found",
     "VxD driver version 4.07.1040\n<driver>",
     "User bank 3,00 MB\n<bank>",
     AllPages,
     false,
     true,
     true,
     BankRadio::User,
     {0, 1, 0, 6, 1, 0, 0, 0, 0, 0, 0, 64, 24, 1, 0},
     MiscVxdRules},
    {"another VxD build on Windows 2000 with a bank built from samples",
     Machine(true, "4.06.2004", {2, 5, 0}, 0x04, 5000, true, Stored({1, 1, 1, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0})),
     ".",
     "Found",
     "VxD driver version 4.06.2004\n<driver>",
     "Unknown bank",
     AllPages,
     false,
     true,
     true,
     BankRadio::User,
     {1, 1, 1, 0, 0, 0, 0, 0, None, 0, 0, 0, 0, 0, 0},
     VxdRules},
    {"WDM driver without its bank file on Server 2003",
     NoBank(),
     ".",
     "Found",
     "WDM driver version 5.12.01.5245\n<driver>",
     "Bank file is not found",
     AllPages,
     true,
     true,
     true,
     BankRadio::Disabled,
     {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     WdmRules},
    {"no driver",
     NoDriver(),
     ".",
     "YMF7x4 driver is not found",
     "",
     "",
     {true, false, true, false, false, true, true},
     false,
     false,
     false,
     BankRadio::None,
     {},
     {}},
};

std::string WithPaths(std::string text) {
  for (const auto& [mark, path] : {std::pair<std::string, std::string>{"<driver>", Env.DriverPath},
                                   std::pair<std::string, std::string>{"<bank>", Env.BankPath}}) {
    const std::size_t at = text.find(mark);
    if (at != std::string::npos) {
      text.replace(at, mark.size(), path);
    }
  }
  return text;
}

TEST(MainView, PopulationFollowsTheDriverEnvironment) {
  for (const PopulationCase& c : Cases) {
    SCOPED_TRACE(c.Name);
    SimulatedSystem sim;
    StartMachine(sim, c.Machine);
    Fake().DecimalSeparator = c.Separator;
    if (c.Machine.DriverInstalled) {
      ASSERT_EQ(Env.DriverPath, sim.DriverPath(c.Machine.IsVxD));
      ASSERT_EQ(Env.BankPath, sim.BankPath(c.Machine.IsVxD));
    }
    const MainView view = ComputeMainView();
    EXPECT_EQ(view.Title, "Tovaro 2.0.1");
    EXPECT_EQ(view.InfoText,
              "Freeware by Nerulan, with no warranty.\nWeb: http://www.nerulan.example/tovaro/\n"
              "E-mail: tovaro@nerulan.example");
    EXPECT_EQ(view.FoundText, c.Found);
    EXPECT_EQ(view.DriverText, WithPaths(c.Driver));
    EXPECT_EQ(view.BankText, WithPaths(c.Bank));
    EXPECT_EQ(std::vector<bool>(view.PageVisible, view.PageVisible + MainPageCount), c.Pages);
    EXPECT_EQ(view.FillControls, !c.Shown.empty());
    EXPECT_EQ(view.SysResVisible, c.SysRes);
    EXPECT_EQ(view.ExtendedEnabled, c.ExtendedEnabled);
    EXPECT_EQ(view.DanceEnabled, c.DanceEnabled);
    EXPECT_EQ(view.MissingBankSetsText, c.MissingSets);
    EXPECT_EQ(view.CheckedRadio, c.Radio);
    if (view.FillControls) {
      EXPECT_EQ(view.EditorTypeSelection, 2) << "\"User\"";
      EXPECT_EQ(std::vector<std::int32_t>(view.SettingShown, view.SettingShown + DriverSettingCount), c.Shown);
      EXPECT_EQ(std::vector<bool>(view.SettingEnabled, view.SettingEnabled + DriverSettingCount), c.Enabled);
    }
  }
}

TEST(MainView, SizesInMegabytesWithTwoRoundedDecimals) {
  const struct {
    std::int32_t Bytes;
    const char* Separator;
    const char* Text;
  } sizes[] = {
      {0, ".", "0.00"},       {5242, ".", "0.00"},      {5243, ".", "0.01"},
      {2424832, ",", "2,31"}, {4833280, ".", "4.61"},   {104857600, ".", "100.00"},
      {1048575, ".", "1.00"}, {-1048576, ".", "-1.00"}, {2147483647, ".", "2048.00"},
  };
  for (const auto& size : sizes) {
    EXPECT_EQ(MegabyteText(size.Bytes, size.Separator), size.Text) << size.Bytes;
  }
}

}  // namespace
