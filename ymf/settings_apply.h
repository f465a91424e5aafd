// Applying the user's choices of the three settings groups (panel settings,
// load modules, voice limits): compare with Env.Settings, write the whole
// group when anything differs, re-read, and say whether a restart is needed.
// The window takes the choices of all three groups before any is written,
// sets RebootPending from the results and refreshes itself.
#pragma once

#include <cstdint>

#include "ymf/driver_settings.h"
#include "ymf/environment.h"

// A drop-down list's selected position when the list shows no selection.
constexpr std::int32_t NoSelection = -1;

// The list position that shows a stored index: the index itself when the
// list has an entry for it, NoSelection otherwise.
std::int32_t ListSelectionFor(std::uint8_t stored, std::int32_t listCount);

// Choices on the Control Panel and Audio Settings tabs. A list position of
// NoSelection stands for the stored index, which the list cannot show: it
// compares equal to the stored field and is written back unchanged, so an
// index without a list entry survives every Apply.
struct PanelChoices {
  bool ShowWaveout = false;                  // WaveOutCheck
  bool ShowMisc = false;                     // MiscCheck
  bool SRC = false;                          // HiFiCheck
  std::int32_t FeaturesIndex = NoSelection;  // FeaturesCombo position
  std::int32_t SpdifInIndex = NoSelection;   // SPDIFInCombo position
};

// Check boxes of the Load Modules tab.
struct LoadModuleChoices {
  bool C3D = false;       // C3DCheck
  bool GamePort = false;  // GamePortCheck
  bool Legacy = false;    // LegacyCheck
  bool Spdif = false;     // SpdifCheck
  bool VSVL = false;      // VSVLCheck
  bool Power = false;     // PowerCheck
};

// Spin positions of the Voices tab; compared and written widened with their sign.
struct VoiceChoices {
  std::int16_t Mod = 0;   // ModUpDown
  std::int16_t Wod = 0;   // WodUpDown
  std::int16_t DS = 0;    // DSUpDown
  std::int16_t DS3D = 0;  // DS3DUpDown
};

struct SettingsChoices {
  PanelChoices Panel;
  LoadModuleChoices Modules;
  VoiceChoices Voices;
};

// The choices the window shows for the stored settings (nothing changed).
SettingsChoices ChoicesFromSettings(const DriverSettings& stored);

// The index a list position stands for: the stored one for NoSelection,
// otherwise the position's low 8 bits.
std::uint8_t IndexToWrite(std::int32_t selection, std::uint8_t stored);

bool PanelDiffers(const PanelChoices& choices, const DriverSettings& stored);
// Only SRC and LoadSpdifIn take effect after a restart.
bool PanelNeedsReboot(const PanelChoices& choices, const DriverSettings& stored);
bool LoadModulesDiffer(const LoadModuleChoices& choices, const DriverSettings& stored);
bool VoiceLimitsDiffer(const VoiceChoices& choices, const DriverSettings& stored);

struct GroupApplied {
  bool Changed = false;       // the group differed: it went to its writer and Env.Settings was re-read
  bool RebootNeeded = false;  // RebootPending is to be set
};

// Each compares its group with Env.Settings; when anything differs it writes
// every value of the group, then re-reads Env.Settings. With no driver key
// (no driver found) nothing is compared or written and the result is empty.
GroupApplied ApplyPanelSettings(const PanelChoices& choices);
GroupApplied ApplyLoadModules(const LoadModuleChoices& choices);
GroupApplied ApplyVoiceLimits(const VoiceChoices& choices);
// The three groups in order with choices taken beforehand; Changed and
// RebootNeeded when any group gave them.
GroupApplied ApplySettingsGroups(const SettingsChoices& choices);
