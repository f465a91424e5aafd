// Applying the user's choices of the three settings groups (panel settings,
// load modules, voice limits): compare with Env.Settings, write the whole
// group when anything differs, re-read, and say whether a restart is needed.
// The choices are a DriverSettings record filled through the rows of
// DriverSettingTable; the window takes the choices of all three groups
// before any is written, sets RebootPending from the results and refreshes
// itself.
#pragma once

#include <cstdint>

#include "ymf/driver_settings.h"
#include "ymf/environment.h"

// Whether a row of the group holds another value in `wanted` than in `stored`.
bool GroupDiffers(SettingGroup group, const DriverSettings& wanted, const DriverSettings& stored);
// Whether a row of the group that differs needs a restart of Windows.
bool GroupNeedsRestart(SettingGroup group, const DriverSettings& wanted, const DriverSettings& stored);

struct GroupApplied {
  bool Changed = false;       // the group differed: it went to its writer and Env.Settings was re-read
  bool RebootNeeded = false;  // RebootPending is to be set
};

// Compares the group's rows of `wanted` with Env.Settings; when any differs
// it writes every value of the group, then re-reads Env.Settings. With no
// driver key (no driver found) nothing is compared or written and the
// result is empty.
GroupApplied ApplySettingsGroup(SettingGroup group, const DriverSettings& wanted);
