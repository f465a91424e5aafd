// Registry helpers for the settings tests. They go through the registry seam
// only, so the same test runs on the test double and on the real registry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/fixture/fixture.h"
#include "ymf/environment.h"

// Parent of every key the settings tests make; below HKEY_LOCAL_MACHINE.
extern const char* const SettingsTestKey;

struct StoredValue {
  bool Exists = false;
  std::uint32_t Type = 0;
  Bytes Data;
};

// Writes one value under an existing key; a failure fails the test.
void PutValue(const std::string& key, const std::string& name, std::uint32_t type, const Bytes& data);
// Type and data of a value, or Exists false.
StoredValue GetValue(const std::string& key, const std::string& name);
// True when the key can be opened for reading.
bool KeyExists(const std::string& key);

// A REG_BINARY value with the given bytes, for comparisons.
StoredValue Binary(const Bytes& data);
bool operator==(const StoredValue& a, const StoredValue& b);
std::ostream& operator<<(std::ostream& out, const StoredValue& value);

// The fifteen fields in order, for whole-record comparisons with readable failures.
std::vector<std::int64_t> FieldsOf(const DriverSettings& settings);

// Settings with every field set to something other than false or 0.
DriverSettings NonZeroSettings();
