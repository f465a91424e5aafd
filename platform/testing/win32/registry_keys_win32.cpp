// Creating and deleting keys of the real registry, for tests and for the
// installer of simulated drivers.
#include <windows.h>

#include "platform/testing/registry_keys.h"

bool MachineKeyCreate(const std::string& subkey) {
  HKEY created = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &created, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(created);
  return true;
}

namespace {

// Deletes a key and its sub-keys (RegDeleteTree is not available before Vista).
bool DeleteTree(HKEY parent, const std::string& subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(parent, subkey.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
    return false;
  }
  char name[256];
  for (;;) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    if (!DeleteTree(key, name)) {
      break;
    }
  }
  RegCloseKey(key);
  return RegDeleteKeyA(parent, subkey.c_str()) == ERROR_SUCCESS;
}

}  // namespace

bool MachineKeyDeleteTree(const std::string& subkey) {
  return !subkey.empty() && DeleteTree(HKEY_LOCAL_MACHINE, subkey);
}
