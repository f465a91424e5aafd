#include "tests/support/settings_registry.h"

#include <gtest/gtest.h>

#include <ostream>

#include "platform/registry.h"
#include "ymf/driver_settings.h"

const char* const SettingsTestKey = "Software\\TovaroTest\\Settings";

void PutValue(const std::string& key, const std::string& name, std::uint32_t type, const Bytes& data) {
  MachineKey handle = 0;
  ASSERT_TRUE(MachineKeyOpen(key, KeyAccessWrite, handle)) << key;
  EXPECT_TRUE(MachineKeyWrite(handle, name, type, data.data(), static_cast<std::uint32_t>(data.size()))) << name;
  MachineKeyClose(handle);
}

StoredValue GetValue(const std::string& key, const std::string& name) {
  StoredValue value;
  MachineKey handle = 0;
  if (!MachineKeyOpen(key, KeyAccessRead, handle)) {
    return value;
  }
  std::uint32_t size = 0;
  if (MachineKeyQuery(handle, name, value.Type, size)) {
    value.Data.assign(size == 0 ? 1 : size, 0);
    if (MachineKeyRead(handle, name, value.Type, value.Data.data(), size)) {
      value.Exists = true;
      value.Data.resize(size);
    }
  }
  MachineKeyClose(handle);
  if (!value.Exists) {
    value = StoredValue();
  }
  return value;
}

bool KeyExists(const std::string& key) {
  MachineKey handle = 0;
  if (!MachineKeyOpen(key, KeyAccessRead, handle)) {
    return false;
  }
  MachineKeyClose(handle);
  return true;
}

StoredValue Binary(const Bytes& data) { return StoredValue{true, RegTypeBinary, data}; }

bool operator==(const StoredValue& a, const StoredValue& b) {
  return a.Exists == b.Exists && a.Type == b.Type && a.Data == b.Data;
}

std::ostream& operator<<(std::ostream& out, const StoredValue& value) {
  if (!value.Exists) {
    return out << "(missing)";
  }
  out << "type " << value.Type << " bytes";
  for (std::uint8_t byte : value.Data) {
    out << ' ' << std::hex << int(byte) << std::dec;
  }
  return out;
}

std::vector<std::int64_t> FieldsOf(const DriverSettings& settings) {
  std::vector<std::int64_t> fields;
  for (const DriverSetting& setting : DriverSettingTable) {
    fields.push_back(setting.Get(settings));
  }
  return fields;
}

DriverSettings NonZeroSettings() {
  DriverSettings settings;
  std::int32_t number = 8;
  for (const DriverSetting& setting : DriverSettingTable) {
    setting.Set(settings, setting.Kind == SettingKind::Flag ? 1 : ++number);
  }
  return settings;
}
