#include "ymf/change_rules.h"

#include "ymf/driver_verify.h"
#include "ymf/environment.h"

bool ShowMiscChangeable() { return Env.Profile.VersionText == ShowMiscVersion; }

bool DirectSound3DChangeable() { return Env.IsVxD; }

bool SettingChangeable(const DriverSetting& setting) {
  switch (setting.Rule) {
    case SettingRule::OnlyOnShowMiscVersion:
      return ShowMiscChangeable();
    case SettingRule::OnlyOnVxD:
      return DirectSound3DChangeable();
    case SettingRule::Always:
      break;
  }
  return true;
}

BankModeCheck CheckBankMode(std::int32_t mode) {
  // A kind counts as installed only when the files verify, so that a
  // half-done switch is done again. A user bank is installed every time.
  if (BankModeInstalled(mode)) {
    return BankModeCheck::AlreadyInstalled;
  }
  if ((mode == ModeExtended && !Env.ExtendedBankExists) || (mode == ModeDance && !Env.DanceBankExists)) {
    return BankModeCheck::BankMissing;
  }
  if (mode != ModeDisabled && mode != ModeDefault && !Env.Profile.ProfileKnown) {
    return BankModeCheck::UnknownBuild;
  }
  return BankModeCheck::Go;
}
