#include "ymf/driver_settings.h"

#include <string>
#include <type_traits>

#include "platform/registry.h"
#include "ymf/voice_limits.h"

namespace {

template <auto Field>
std::int32_t GetField(const DriverSettings& settings) {
  return static_cast<std::int32_t>(settings.*Field);
}

template <auto Field>
void SetField(DriverSettings& settings, std::int32_t value) {
  settings.*Field = static_cast<std::remove_reference_t<decltype(settings.*Field)>>(value);
}

template <auto Field>
constexpr DriverSetting Row(const char* name, SettingGroup group, SettingKind kind, std::int32_t maximum,
                            bool needsRestart, SettingRule rule = SettingRule::Always) {
  return DriverSetting{name, group, kind, maximum, rule, needsRestart, &GetField<Field>, &SetField<Field>};
}

constexpr SettingGroup Panel = SettingGroup::Panel;
constexpr SettingGroup Modules = SettingGroup::LoadModules;
constexpr SettingGroup Voices = SettingGroup::VoiceLimits;
constexpr SettingKind Flag = SettingKind::Flag;
constexpr SettingKind Index = SettingKind::Index;
constexpr SettingKind Limit = SettingKind::VoiceLimit;
constexpr bool Restart = true;
constexpr bool AtOnce = false;

}  // namespace

constexpr DriverSetting DriverSettingTable[DriverSettingCount] = {
    Row<&DriverSettings::ShowWaveout>("ShowWaveout", Panel, Flag, 1, AtOnce),
    Row<&DriverSettings::ShowMisc>("ShowMisc", Panel, Flag, 1, AtOnce, SettingRule::OnlyOnShowMiscVersion),
    Row<&DriverSettings::SRC>("SRC", Panel, Flag, 1, Restart),
    Row<&DriverSettings::LoadUIF>("LoadUIF", Panel, Index, FeaturesListCount - 1, AtOnce),
    Row<&DriverSettings::LoadC3D>("LoadC3D", Modules, Flag, 1, Restart, SettingRule::OnlyOnVxD),
    Row<&DriverSettings::LoadGamePort>("LoadGamePort", Modules, Flag, 1, Restart),
    Row<&DriverSettings::LoadLegacy>("LoadLegacy", Modules, Flag, 1, Restart),
    Row<&DriverSettings::LoadSpdif>("LoadSpdif", Modules, Flag, 1, Restart),
    Row<&DriverSettings::LoadSpdifIn>("LoadSpdifIn", Panel, Index, SpdifInListCount - 1, Restart),
    Row<&DriverSettings::LoadVSVL>("LoadVSVL", Modules, Flag, 1, Restart),
    Row<&DriverSettings::LoadPower>("LoadPower", Modules, Flag, 1, Restart),
    Row<&DriverSettings::MaxModVoices>("MaxModVoices", Voices, Limit, VoiceCountMax, Restart),
    Row<&DriverSettings::MaxWodVoices>("MaxWodVoices", Voices, Limit, VoiceCountMax, Restart),
    Row<&DriverSettings::MaxDSVoices>("MaxDSVoices", Voices, Limit, VoiceCountMax, Restart),
    Row<&DriverSettings::Max3DVoices>("Max3DVoices", Voices, Limit, VoiceCountMax, Restart),
};
// A row added without raising DriverSettingCount does not compile; a count
// raised without its row stops here.
static_assert(DriverSettingTable[DriverSettingCount - 1].Name != nullptr, "DriverSettingCount exceeds the rows");

namespace {

// Opens Env.DriverRegKey with the given access mask. Refuses an empty key:
// an empty subkey would open HKEY_LOCAL_MACHINE itself, and settings may
// only ever live under the driver's own key.
bool OpenDriverKey(std::uint32_t access, MachineKey& key) {
  if (Env.DriverRegKey.empty()) {
    return false;
  }
  return MachineKeyOpen(Env.DriverRegKey, access, key);
}

// Reads a REG_BINARY value of exactly `width` bytes (1 or 4) as a
// little-endian number. The type and size are queried before any data is
// read, so a value of another shape is never read at all.
bool ReadExact(MachineKey key, const std::string& name, std::uint32_t width, std::uint32_t& number) {
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (!MachineKeyQuery(key, name, type, size) || type != RegTypeBinary || size != width) {
    return false;
  }
  std::uint8_t data[4] = {0, 0, 0, 0};
  size = width;
  if (!MachineKeyRead(key, name, type, data, size) || type != RegTypeBinary || size != width) {
    return false;
  }
  number = 0;
  for (std::uint32_t i = 0; i < width; ++i) {
    number |= static_cast<std::uint32_t>(data[i]) << (8 * i);
  }
  return true;
}

// Writes the low `width` bytes of a number, little-endian. Whether the
// write took is told by reading it back, not by this call.
void WriteExact(MachineKey key, const std::string& name, std::uint32_t width, std::uint32_t number) {
  std::uint8_t data[4];
  for (std::uint32_t i = 0; i < 4; ++i) {
    data[i] = static_cast<std::uint8_t>(number >> (8 * i));
  }
  MachineKeyWrite(key, name, RegTypeBinary, data, width);
}

void WriteRow(MachineKey key, const DriverSetting& setting, const DriverSettings& values);

std::int32_t ReadSetting(MachineKey key, const DriverSetting& setting, bool isVxD) {
  std::uint32_t number = 0;
  if (!ReadExact(key, setting.Name, SettingWidth(setting, isVxD), number)) {
    return 0;
  }
  switch (setting.Kind) {
    case SettingKind::Flag:
      return number == 1 ? 1 : 0;
    case SettingKind::Index:
      // The WDM driver keeps an index as a 32-bit number; only the low byte is used.
      return static_cast<std::int32_t>(number & 0xFFu);
    case SettingKind::VoiceLimit:
      break;
  }
  return static_cast<std::int32_t>(number);
}

// The number a value is stored as: a flag 1 or 0, an index its low 8 bits.
std::uint32_t StoredNumber(const DriverSetting& setting, std::int32_t value) {
  switch (setting.Kind) {
    case SettingKind::Flag:
      return value != 0 ? 1 : 0;
    case SettingKind::Index:
      return static_cast<std::uint32_t>(value) & 0xFFu;
    case SettingKind::VoiceLimit:
      break;
  }
  return static_cast<std::uint32_t>(value);
}

void WriteRow(MachineKey key, const DriverSetting& setting, const DriverSettings& values) {
  WriteExact(key, setting.Name, SettingWidth(setting, Env.IsVxD), StoredNumber(setting, setting.Get(values)));
}

}  // namespace

std::uint32_t SettingWidth(const DriverSetting& setting, bool isVxD) {
  return isVxD && setting.Kind != SettingKind::VoiceLimit ? 1 : 4;
}

void ReadDriverSettings() {
  MachineKey key = 0;
  if (!OpenDriverKey(KeyAccessRead, key)) {
    return;
  }
  for (const DriverSetting& setting : DriverSettingTable) {
    setting.Set(Env.Settings, ReadSetting(key, setting, Env.IsVxD));
  }
  MachineKeyClose(key);
}

void WriteSettingsGroup(SettingGroup group, const DriverSettings& values) {
  MachineKey key = 0;
  if (!OpenDriverKey(KeyAccessWrite, key)) {
    return;
  }
  for (const DriverSetting& setting : DriverSettingTable) {
    if (setting.Group == group) {
      WriteRow(key, setting, values);
    }
  }
  MachineKeyClose(key);
}

bool WriteChangedSettings(SettingGroup group, const DriverSettings& values, const DriverSettings& stored) {
  MachineKey key = 0;
  if (!OpenDriverKey(KeyAccessWrite, key)) {
    return false;
  }
  for (const DriverSetting& setting : DriverSettingTable) {
    if (setting.Group == group && setting.Get(values) != setting.Get(stored)) {
      WriteRow(key, setting, values);
    }
  }
  MachineKeyClose(key);
  return true;
}

bool StoredInOtherShape(const DriverSetting& setting) {
  MachineKey key = 0;
  if (!OpenDriverKey(KeyAccessRead, key)) {
    return false;
  }
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  const bool other = MachineKeyQuery(key, setting.Name, type, size) &&
                     (type != RegTypeBinary || size != SettingWidth(setting, Env.IsVxD));
  MachineKeyClose(key);
  return other;
}
