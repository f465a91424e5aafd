#include "ymf/settings_apply.h"

#include "ymf/driver_settings.h"

namespace {

bool RowDiffers(const DriverSetting& setting, const DriverSettings& wanted, const DriverSettings& stored) {
  return setting.Get(wanted) != setting.Get(stored);
}

}  // namespace

bool GroupDiffers(SettingGroup group, const DriverSettings& wanted, const DriverSettings& stored) {
  for (const DriverSetting& setting : DriverSettingTable) {
    if (setting.Group == group && RowDiffers(setting, wanted, stored)) {
      return true;
    }
  }
  return false;
}

bool GroupNeedsRestart(SettingGroup group, const DriverSettings& wanted, const DriverSettings& stored) {
  for (const DriverSetting& setting : DriverSettingTable) {
    if (setting.Group == group && setting.NeedsRestart && RowDiffers(setting, wanted, stored)) {
      return true;
    }
  }
  return false;
}

GroupApplied ApplySettingsGroup(SettingGroup group, const DriverSettings& wanted) {
  GroupApplied result;
  if (Env.DriverRegKey.empty() || !GroupDiffers(group, wanted, Env.Settings)) {
    return result;
  }
  result.Changed = true;
  result.RebootNeeded = GroupNeedsRestart(group, wanted, Env.Settings);
  WriteSettingsGroup(group, wanted);
  ReadDriverSettings();
  return result;
}
