#include "ymf/change_rules.h"

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
  const bool plain = mode == ModeDisabled || mode == ModeDefault || mode == ModeExtended || mode == ModeDance;
  // The kind numbers of Disabled, Default, Extended and Dance are their
  // modes; a user bank is installed every time.
  if (plain && Env.BankKind == mode) {
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
