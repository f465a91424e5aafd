// An in-memory HKEY_LOCAL_MACHINE. Handles index a table of opened paths.
#include <cstring>
#include <vector>

#include "platform/fake.h"
#include "platform/registry.h"
#include "platform/testing/registry_keys.h"

namespace {

struct OpenKey {
  std::string Path;
  bool Writable = false;
  bool Open = false;
};

std::vector<OpenKey>& OpenKeys() {
  static std::vector<OpenKey> keys;
  return keys;
}

const OpenKey* Find(MachineKey key) {
  if (key == 0 || key > OpenKeys().size() || !OpenKeys()[key - 1].Open) {
    return nullptr;
  }
  return &OpenKeys()[key - 1];
}

const FakeValue* FindValue(MachineKey key, const std::string& name) {
  const OpenKey* open = Find(key);
  if (open == nullptr) {
    return nullptr;
  }
  auto keyIt = Fake().Keys.find(open->Path);
  if (keyIt == Fake().Keys.end()) {
    return nullptr;
  }
  auto valueIt = keyIt->second.find(FakeKeyName(name));
  return valueIt == keyIt->second.end() ? nullptr : &valueIt->second;
}

}  // namespace

bool MachineKeyOpen(const std::string& subkey, std::uint32_t access, MachineKey& key) {
  const std::string path = FakeKeyName(subkey);
  if (!path.empty() && Fake().Keys.count(path) == 0) {
    return false;
  }
  const bool writable = (access & 0x0002u) != 0;  // KEY_SET_VALUE
  if (writable && Fake().WriteDeniedKeys.count(path) != 0) {
    return false;
  }
  OpenKeys().push_back(OpenKey{path, writable, true});
  key = OpenKeys().size();
  return true;
}

bool MachineKeyQuery(MachineKey key, const std::string& name, std::uint32_t& type, std::uint32_t& size) {
  const FakeValue* value = FindValue(key, name);
  if (value == nullptr) {
    return false;
  }
  type = value->Type;
  size = static_cast<std::uint32_t>(value->Data.size());
  return true;
}

bool MachineKeyRead(MachineKey key, const std::string& name, std::uint32_t& type, void* buffer, std::uint32_t& size) {
  const FakeValue* value = FindValue(key, name);
  if (value == nullptr || value->Data.size() > size) {
    return false;
  }
  type = value->Type;
  size = static_cast<std::uint32_t>(value->Data.size());
  if (!value->Data.empty()) {
    std::memcpy(buffer, value->Data.data(), value->Data.size());
  }
  return true;
}

bool MachineKeyWrite(MachineKey key, const std::string& name, std::uint32_t type, const void* data,
                     std::uint32_t size) {
  const OpenKey* open = Find(key);
  if (open == nullptr || !open->Writable) {
    return false;
  }
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  Fake().Keys[open->Path][FakeKeyName(name)] = FakeValue{type, std::vector<std::uint8_t>(bytes, bytes + size)};
  return true;
}

void MachineKeyClose(MachineKey key) {
  if (Find(key) != nullptr) {
    OpenKeys()[key - 1].Open = false;
  }
}

bool MachineKeyCreate(const std::string& subkey) {
  // Creating a key creates its parents too, as RegCreateKeyExA does.
  const std::string path = FakeKeyName(subkey);
  for (size_t pos = path.find('\\'); pos != std::string::npos; pos = path.find('\\', pos + 1)) {
    Fake().Keys[path.substr(0, pos)];
  }
  Fake().Keys[path];
  return true;
}

bool MachineKeyDeleteTree(const std::string& subkey) {
  const std::string path = FakeKeyName(subkey);
  if (path.empty() || Fake().Keys.erase(path) == 0) {
    return false;
  }
  for (auto it = Fake().Keys.begin(); it != Fake().Keys.end();) {
    it = it->first.rfind(path + "\\", 0) == 0 ? Fake().Keys.erase(it) : std::next(it);
  }
  return true;
}
