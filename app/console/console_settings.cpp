// tovaroc set and tovaroc voices: the driver's registry settings, through
// the rows of DriverSettingTable as the window's pages go.
#include "app/console/console_groups.h"
#include "app/console/console_lines.h"
#include "app/voice_counts.h"
#include "ymf/change_rules.h"
#include "ymf/driver_settings.h"
#include "ymf/environment.h"
#include "ymf/settings_apply.h"

namespace {

// Where a setting whose rule does not hold could be changed.
std::string RuleText(SettingRule rule) {
  switch (rule) {
    case SettingRule::OnlyOnShowMiscVersion:
      return std::string("on driver version ") + ShowMiscVersion;
    case SettingRule::OnlyOnVxD:
      return "on the VxD driver";
    case SettingRule::Always:
      break;
  }
  return std::string();
}

}  // namespace

int RunSet(const StartupFacts& facts, const CommandArguments& arguments, ConsoleStream& out, ConsoleStream& err) {
  if (!ReadyToChange(facts, arguments.NoBackup, err)) {
    return ExitFailed;
  }
  for (const Assignment& a : arguments.Assignments) {
    if (!SettingChangeable(*a.Setting) && a.Value != a.Setting->Get(Env.Settings)) {
      err << a.Setting->Name << " can be changed only " << RuleText(a.Setting->Rule) << "; nothing was changed.\n";
      return ExitUsage;
    }
  }
  const DriverSettings before = Env.Settings;
  DriverSettings wanted = before;
  for (const Assignment& a : arguments.Assignments) {
    a.Setting->Set(wanted, a.Value);
  }
  const GroupApplied panel = ApplySettingsGroup(SettingGroup::Panel, wanted);
  const GroupApplied modules = ApplySettingsGroup(SettingGroup::LoadModules, wanted);
  if (!panel.Changed && !modules.Changed) {
    out << "Every setting already has its value; nothing was written.\n";
    return ExitSuccess;
  }
  for (const DriverSetting& setting : DriverSettingTable) {
    const std::int32_t was = setting.Get(before);
    const std::int32_t now = setting.Get(Env.Settings);
    if (setting.Group != SettingGroup::VoiceLimits && now != was) {
      out << setting.Name << ": " << was << " -> " << now << "\n";
    }
  }
  std::vector<std::string> refused = panel.Refused;
  refused.insert(refused.end(), modules.Refused.begin(), modules.Refused.end());
  std::vector<std::string> leftAlone = panel.LeftAlone;
  leftAlone.insert(leftAlone.end(), modules.LeftAlone.begin(), modules.LeftAlone.end());
  if (!leftAlone.empty()) {
    out << LeftAloneSettingsText(leftAlone) << "\n";
  }
  if (!refused.empty()) {
    err << RefusedSettingsText(refused) << "\n";
    return ExitFailed;
  }
  out << (panel.Changed ? "panel settings written" : "") << (panel.Changed && modules.Changed ? ", " : "")
      << (modules.Changed ? "load modules written" : "") << "\n";
  if (panel.RebootNeeded || modules.RebootNeeded) {
    RebootPending = true;
    out << RestartLine << "\n";
  }
  return ExitSuccess;
}

int RunVoices(const StartupFacts& facts, const CommandArguments& arguments, ConsoleStream& out, ConsoleStream& err) {
  if (!ReadyToChange(facts, arguments.NoBackup, err)) {
    return ExitFailed;
  }
  const std::int32_t* counts = arguments.Voices;
  const int total = counts[0] + counts[1] + counts[2] + counts[3];
  if (total > VoiceTotalLimit) {
    out << "warning: the total of " << total << " voices is above 88\n";
  }
  // The four counts in the order of the group's rows.
  DriverSettings wanted = Env.Settings;
  const std::int32_t* count = counts;
  for (const DriverSetting& setting : DriverSettingTable) {
    if (setting.Group == SettingGroup::VoiceLimits) {
      setting.Set(wanted, *count++);
    }
  }
  const GroupApplied applied = ApplySettingsGroup(SettingGroup::VoiceLimits, wanted);
  if (!applied.Changed) {
    out << "The voice limits already have these values; nothing was written.\n";
    return ExitSuccess;
  }
  if (!applied.Refused.empty()) {
    err << RefusedSettingsText(applied.Refused) << "\n";
    return ExitFailed;
  }
  if (!applied.LeftAlone.empty()) {
    out << LeftAloneSettingsText(applied.LeftAlone) << "\n";
  }
  const DriverSettings& s = Env.Settings;
  out << "voice limits written: MIDI " << s.MaxModVoices << ", Wave Out " << s.MaxWodVoices << ", Direct Sound "
      << s.MaxDSVoices << ", Direct Sound 3D " << s.Max3DVoices << " (total " << total << ")\n";
  RebootPending = true;
  out << RestartLine << "\n";
  return ExitSuccess;
}
