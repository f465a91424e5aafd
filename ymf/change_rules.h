// What the user may change and when: the rules that both the window (which
// greys out or skips) and tovaroc (which refuses with a reason) follow.
#pragma once

#include <cstdint>

#include "ymf/driver_settings.h"

// The driver build whose control panel has a Misc tab to show or hide.
constexpr const char* ShowMiscVersion = "4.07.1040";

// ShowMisc can be changed only when Env.Profile.VersionText is exactly ShowMiscVersion.
bool ShowMiscChangeable();
// LoadC3D (Direct Sound 3D) can be changed only on the VxD driver.
bool DirectSound3DChangeable();
// Whether a setting's rule holds under Env; the control always shows the
// stored value either way.
bool SettingChangeable(const DriverSetting& setting);

// What stands before a bank switch to a mode, checked on Env before anything
// is changed.
enum class BankModeCheck {
  Go,                // SetBankMode may run
  AlreadyInstalled,  // Disabled, Default, Extended or Dance is installed and verifies: nothing to do
  BankMissing,       // the Extended or Dance bank file is not in the program's Banks folder
  UnknownBuild,      // Extended, Dance and User need a known driver build
};
BankModeCheck CheckBankMode(std::int32_t mode);
