// The driver's fifteen registry settings: one table that reading, the group
// writers, tovaroc and the window's pages all go through.
//
// Every value is REG_BINARY under Env.DriverRegKey below HKEY_LOCAL_MACHINE.
// Flags and indices take one byte on the VxD driver and four bytes
// (little-endian) on the WDM driver; voice limits take four bytes on both.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ymf/environment.h"

// Entries of the feature-set list (LoadUIF 0 to 6) and the S/PDIF input
// mode list (LoadSpdifIn 0 to 3).
constexpr std::int32_t FeaturesListCount = 7;
constexpr std::int32_t SpdifInListCount = 4;

// The groups that are compared and written whole, each under one opening of
// the key: the Control Panel and Audio Settings pages, the Load Modules page
// and the Voices page.
enum class SettingGroup { Panel, LoadModules, VoiceLimits };
// The groups in the order Apply writes them.
constexpr SettingGroup SettingGroups[] = {SettingGroup::Panel, SettingGroup::LoadModules, SettingGroup::VoiceLimits};

// How a value is read: a flag is true only for the number 1, an index keeps
// the low 8 bits of its number, a voice limit is a signed 32-bit number.
enum class SettingKind { Flag, Index, VoiceLimit };

// When the user may change a setting; change_rules.h tells whether it holds.
enum class SettingRule { Always, OnlyOnShowMiscVersion, OnlyOnVxD };

struct DriverSetting {
  const char* Name;  // the registry value name
  SettingGroup Group;
  SettingKind Kind;
  // The largest value the user may choose: 1 for a flag, the last list
  // position for an index, the spin maximum for a voice limit.
  std::int32_t Maximum;
  SettingRule Rule;
  // The driver takes a new value only when Windows starts again.
  bool NeedsRestart;
  // The field of DriverSettings as a number (a flag is 0 or 1).
  std::int32_t (*Get)(const DriverSettings& settings);
  // Stores a number into the field: a flag becomes true for any nonzero
  // number, an index takes the low 8 bits.
  void (*Set)(DriverSettings& settings, std::int32_t value);
};

constexpr std::size_t DriverSettingCount = 15;
// In the order of the DriverSettings fields: the order of reading, and
// within each group the order of writing.
extern const DriverSetting DriverSettingTable[DriverSettingCount];

// Bytes of a setting's value for a driver kind.
std::uint32_t SettingWidth(const DriverSetting& setting, bool isVxD);

// Reads the fifteen values into Env.Settings, each strictly: a value that is
// missing or not REG_BINARY of exactly its width reads as false or 0. When
// the key cannot be opened (or Env.DriverRegKey is empty) every field keeps
// its value.
void ReadDriverSettings();

// The one writer of a group: walks the group's rows in table order and
// writes each row's field of `values` in the driver kind's encoding (a flag
// as 1 or 0, an index as its low 8 bits). Does nothing when the key cannot
// be opened for writing; the key is never created. The outcome of a single
// value write is not examined, and Env.Settings is not updated: the caller
// re-reads.
void WriteSettingsGroup(SettingGroup group, const DriverSettings& values);
// Writes only the rows of the group whose field in `values` differs from the
// one in `stored`, under one opening of the key; every other value is left
// as it is, whatever its shape. False when the key cannot be opened for
// writing. Whether each value took is for the caller to read back.
bool WriteChangedSettings(SettingGroup group, const DriverSettings& values, const DriverSettings& stored);
// Whether a value is stored in a shape the reader does not take (another
// type or size than REG_BINARY of its width); a missing value is not. Such
// a value reads as false or 0 and is left alone unless the user changes it.
bool StoredInOtherShape(const DriverSetting& setting);
