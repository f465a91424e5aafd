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

GroupApplied ApplySettingsGroup(SettingGroup group, const DriverSettings& wanted) {
  GroupApplied result;
  if (Env.DriverRegKey.empty() || !GroupDiffers(group, wanted, Env.Settings)) {
    return result;
  }
  result.Changed = true;
  const DriverSettings before = Env.Settings;
  WriteChangedSettings(group, wanted, before);
  ReadDriverSettings();
  for (const DriverSetting& setting : DriverSettingTable) {
    if (setting.Group != group) {
      continue;
    }
    if (!RowDiffers(setting, wanted, before)) {
      if (StoredInOtherShape(setting)) {
        result.LeftAlone.push_back(setting.Name);
      }
    } else if (RowDiffers(setting, wanted, Env.Settings)) {
      result.Refused.push_back(setting.Name);
    } else if (setting.NeedsRestart) {
      result.RebootNeeded = true;
    }
  }
  return result;
}

namespace {

std::string NameList(const std::vector<std::string>& names) {
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i) {
    list += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
  }
  return list;
}

}  // namespace

std::string RefusedSettingsText(const std::vector<std::string>& refused) {
  if (refused.empty()) {
    return std::string();
  }
  return "Cannot store " + NameList(refused) + " under HKEY_LOCAL_MACHINE\\" + Env.DriverRegKey +
         ": Windows refused the write, and the value" + (refused.size() == 1 ? " keeps its" : "s keep their") +
         " stored setting. A limited account cannot write below HKEY_LOCAL_MACHINE; log on as an administrator "
         "and apply again.";
}

std::string LeftAloneSettingsText(const std::vector<std::string>& leftAlone) {
  if (leftAlone.empty()) {
    return std::string();
  }
  return NameList(leftAlone) + (leftAlone.size() == 1 ? " is" : " are") +
         " stored in another form than the driver's own (not REG_BINARY of its width) and read as 0; left as " +
         (leftAlone.size() == 1 ? "it is." : "they are.");
}
