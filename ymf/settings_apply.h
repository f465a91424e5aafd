// Applying the user's choices of the three settings groups (panel settings,
// load modules, voice limits): compare with Env.Settings, write the whole
// group when anything differs, re-read, and say whether a restart is needed.
// The choices are a DriverSettings record filled through the rows of
// DriverSettingTable; the window takes the choices of all three groups
// before any is written, sets RebootPending from the results and refreshes
// itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ymf/driver_settings.h"
#include "ymf/environment.h"

// Whether a row of the group holds another value in `wanted` than in `stored`.
bool GroupDiffers(SettingGroup group, const DriverSettings& wanted, const DriverSettings& stored);

struct GroupApplied {
  bool Changed = false;       // the group differed: it went to its writer and Env.Settings was re-read
  bool RebootNeeded = false;  // a value that needs a restart was stored: RebootPending is to be set
  // Values written that do not read back as wanted (the key refused the
  // write, or could not be opened for writing): they were not stored.
  std::vector<std::string> Refused;
  // Values of the group stored in another shape than the driver's, which
  // read as false or 0; they were not asked for and are left as they are.
  std::vector<std::string> LeftAlone;
};

// Compares the group's rows of `wanted` with Env.Settings; when any differs
// it writes those rows only, re-reads Env.Settings and compares what it
// reads with what was wanted. With no driver key (no driver found) nothing
// is compared or written and the result is empty.
GroupApplied ApplySettingsGroup(SettingGroup group, const DriverSettings& wanted);

// "Cannot store X, Y under HKEY_LOCAL_MACHINE\<key>: ..." for refused
// values, with what the user can do; empty when none was refused.
std::string RefusedSettingsText(const std::vector<std::string>& refused);
// "X is stored as ...; it was left as it is." for values of another shape;
// empty when there are none.
std::string LeftAloneSettingsText(const std::vector<std::string>& leftAlone);
