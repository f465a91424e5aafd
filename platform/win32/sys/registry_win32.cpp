#include <windows.h>

#include "platform/registry.h"

namespace {

HKEY Native(MachineKey key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

bool MachineKeyOpen(const std::string& subkey, std::uint32_t access, MachineKey& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, access, &opened) != ERROR_SUCCESS) {
    return false;
  }
  key = reinterpret_cast<MachineKey>(opened);
  return true;
}

bool MachineKeyQuery(MachineKey key, const std::string& name, std::uint32_t& type, std::uint32_t& size) {
  DWORD valueType = 0;
  DWORD valueSize = 0;
  if (RegQueryValueExA(Native(key), name.c_str(), nullptr, &valueType, nullptr, &valueSize) != ERROR_SUCCESS) {
    return false;
  }
  type = valueType;
  size = valueSize;
  return true;
}

bool MachineKeyRead(MachineKey key, const std::string& name, std::uint32_t& type, void* buffer, std::uint32_t& size) {
  DWORD valueType = 0;
  DWORD valueSize = size;
  if (RegQueryValueExA(Native(key), name.c_str(), nullptr, &valueType, static_cast<BYTE*>(buffer), &valueSize) !=
      ERROR_SUCCESS) {
    return false;
  }
  type = valueType;
  size = valueSize;
  return true;
}

bool MachineKeyWrite(MachineKey key, const std::string& name, std::uint32_t type, const void* data,
                     std::uint32_t size) {
  return RegSetValueExA(Native(key), name.c_str(), 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

void MachineKeyClose(MachineKey key) { RegCloseKey(Native(key)); }
