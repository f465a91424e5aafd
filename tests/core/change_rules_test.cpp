// What may change and when: the rules the window and tovaroc share.
#include <gtest/gtest.h>

#include <string>

#include "ymf/change_rules.h"
#include "ymf/environment.h"

namespace {

class ChangeRules : public ::testing::Test {
 protected:
  void SetUp() override { Env = DriverEnvironment(); }
  void TearDown() override { Env = DriverEnvironment(); }
};

TEST_F(ChangeRules, OnlyShowMiscAndDirectSound3DDependOnTheDriver) {
  const struct {
    const char* Version;
    bool VxD;
    bool ShowMisc;
    bool DirectSound3D;
  } cases[] = {
      {"4.07.1040", true, true, true},   {"4.07.1040", false, true, false},     {"4.07.1041", true, false, true},
      {"4.07.1040 ", true, false, true}, {"5.12.01.5245", false, false, false}, {"", false, false, false},
  };
  for (const auto& test : cases) {
    Env.Profile.VersionText = test.Version;
    Env.IsVxD = test.VxD;
    for (const DriverSetting& setting : DriverSettingTable) {
      const std::string name = setting.Name;
      const bool expected = name == "ShowMisc" ? test.ShowMisc : name == "LoadC3D" ? test.DirectSound3D : true;
      EXPECT_EQ(SettingChangeable(setting), expected) << name << " on '" << test.Version << "' vxd " << test.VxD;
    }
  }
}

TEST_F(ChangeRules, BankSwitchIsCheckedBeforeAnythingChanges) {
  const struct {
    std::int32_t Installed;
    std::int32_t Mode;
    bool ExtendedThere;
    bool DanceThere;
    bool ProfileKnown;
    BankModeCheck Expected;
  } cases[] = {
      // The kind alone is not enough: with no files to verify, the switch runs.
      {BankExtended, ModeExtended, true, false, true, BankModeCheck::Go},
      {BankDefault, ModeDefault, true, true, true, BankModeCheck::Go},
      {BankNone, ModeDisabled, true, true, true, BankModeCheck::Go},
      {BankUser, ModeUser, true, true, true, BankModeCheck::Go},
      {BankUser, 4, true, true, true, BankModeCheck::Go},
      {BankDefault, ModeExtended, false, true, true, BankModeCheck::BankMissing},
      {BankDefault, ModeDance, true, false, true, BankModeCheck::BankMissing},
      {BankDefault, ModeExtended, true, true, false, BankModeCheck::UnknownBuild},
      {BankDefault, ModeUser, false, false, false, BankModeCheck::UnknownBuild},
      {BankExtended, ModeDisabled, false, false, false, BankModeCheck::Go},
      {BankExtended, ModeDefault, false, false, false, BankModeCheck::Go},
      {BankUnknown, ModeDance, false, true, true, BankModeCheck::Go},
  };
  for (const auto& test : cases) {
    Env.BankKind = test.Installed;
    Env.ExtendedBankExists = test.ExtendedThere;
    Env.DanceBankExists = test.DanceThere;
    Env.Profile.ProfileKnown = test.ProfileKnown;
    EXPECT_EQ(CheckBankMode(test.Mode), test.Expected) << "installed " << test.Installed << ", mode " << test.Mode;
  }
}

}  // namespace
