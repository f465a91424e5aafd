#include "ymf/settings_apply.h"

#include "ymf/driver_settings.h"
#include "ymf/voice_limits.h"

namespace {

bool IndexDiffers(std::int32_t selection, std::uint8_t stored) {
  return selection != NoSelection && selection != static_cast<std::int32_t>(stored);
}

// The common end of the three Apply steps: a group that differs from what is
// stored is written whole, then Env.Settings is re-read. With no driver key
// (no driver found) nothing is written and nothing is reported as changed.
template <typename Write>
GroupApplied WriteIfChanged(bool differs, bool rebootNeeded, Write write) {
  GroupApplied result;
  if (Env.DriverRegKey.empty() || !differs) {
    return result;
  }
  result.Changed = true;
  result.RebootNeeded = rebootNeeded;
  write();
  ReadDriverSettings();
  return result;
}

}  // namespace

std::int32_t ListSelectionFor(std::uint8_t stored, std::int32_t listCount) {
  return stored < listCount ? static_cast<std::int32_t>(stored) : NoSelection;
}

SettingsChoices ChoicesFromSettings(const DriverSettings& stored) {
  SettingsChoices choices;
  choices.Panel.ShowWaveout = stored.ShowWaveout;
  choices.Panel.ShowMisc = stored.ShowMisc;
  choices.Panel.SRC = stored.SRC;
  choices.Panel.FeaturesIndex = ListSelectionFor(stored.LoadUIF, FeaturesListCount);
  choices.Panel.SpdifInIndex = ListSelectionFor(stored.LoadSpdifIn, SpdifInListCount);
  choices.Modules.C3D = stored.LoadC3D;
  choices.Modules.GamePort = stored.LoadGamePort;
  choices.Modules.Legacy = stored.LoadLegacy;
  choices.Modules.Spdif = stored.LoadSpdif;
  choices.Modules.VSVL = stored.LoadVSVL;
  choices.Modules.Power = stored.LoadPower;
  choices.Voices.Mod = VoicePositionOf(stored.MaxModVoices);
  choices.Voices.Wod = VoicePositionOf(stored.MaxWodVoices);
  choices.Voices.DS = VoicePositionOf(stored.MaxDSVoices);
  choices.Voices.DS3D = VoicePositionOf(stored.Max3DVoices);
  return choices;
}

std::uint8_t IndexToWrite(std::int32_t selection, std::uint8_t stored) {
  return selection == NoSelection ? stored : static_cast<std::uint8_t>(selection & 0xFF);
}

bool PanelDiffers(const PanelChoices& choices, const DriverSettings& stored) {
  return choices.ShowWaveout != stored.ShowWaveout || choices.ShowMisc != stored.ShowMisc ||
         choices.SRC != stored.SRC || IndexDiffers(choices.FeaturesIndex, stored.LoadUIF) ||
         IndexDiffers(choices.SpdifInIndex, stored.LoadSpdifIn);
}

bool PanelNeedsReboot(const PanelChoices& choices, const DriverSettings& stored) {
  return choices.SRC != stored.SRC || IndexDiffers(choices.SpdifInIndex, stored.LoadSpdifIn);
}

bool LoadModulesDiffer(const LoadModuleChoices& choices, const DriverSettings& stored) {
  return choices.C3D != stored.LoadC3D || choices.GamePort != stored.LoadGamePort ||
         choices.Legacy != stored.LoadLegacy || choices.Spdif != stored.LoadSpdif || choices.VSVL != stored.LoadVSVL ||
         choices.Power != stored.LoadPower;
}

bool VoiceLimitsDiffer(const VoiceChoices& choices, const DriverSettings& stored) {
  return std::int32_t{choices.Mod} != stored.MaxModVoices || std::int32_t{choices.Wod} != stored.MaxWodVoices ||
         std::int32_t{choices.DS} != stored.MaxDSVoices || std::int32_t{choices.DS3D} != stored.Max3DVoices;
}

GroupApplied ApplyPanelSettings(const PanelChoices& choices) {
  const DriverSettings& stored = Env.Settings;
  return WriteIfChanged(PanelDiffers(choices, stored), PanelNeedsReboot(choices, stored), [&] {
    WritePanelSettings(choices.ShowWaveout, choices.ShowMisc, choices.SRC,
                       IndexToWrite(choices.FeaturesIndex, stored.LoadUIF),
                       IndexToWrite(choices.SpdifInIndex, stored.LoadSpdifIn));
  });
}

GroupApplied ApplyLoadModules(const LoadModuleChoices& choices) {
  return WriteIfChanged(LoadModulesDiffer(choices, Env.Settings), true, [&] {
    WriteLoadModules(choices.C3D, choices.GamePort, choices.Legacy, choices.Spdif, choices.VSVL, choices.Power);
  });
}

GroupApplied ApplyVoiceLimits(const VoiceChoices& choices) {
  return WriteIfChanged(VoiceLimitsDiffer(choices, Env.Settings), true,
                        [&] { WriteVoiceLimits(choices.Mod, choices.Wod, choices.DS, choices.DS3D); });
}

GroupApplied ApplySettingsGroups(const SettingsChoices& choices) {
  const GroupApplied panel = ApplyPanelSettings(choices.Panel);
  const GroupApplied modules = ApplyLoadModules(choices.Modules);
  const GroupApplied voices = ApplyVoiceLimits(choices.Voices);
  GroupApplied result;
  result.Changed = panel.Changed || modules.Changed || voices.Changed;
  result.RebootNeeded = panel.RebootNeeded || modules.RebootNeeded || voices.RebootNeeded;
  return result;
}
