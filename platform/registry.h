// HKEY_LOCAL_MACHINE access as the driver settings need it: open an existing
// key, query a value's type and size, read, set, close. Keys are never created.
#pragma once

#include <cstdint>
#include <string>

using MachineKey = std::uintptr_t;

constexpr std::uint32_t RegTypeSz = 1;
constexpr std::uint32_t RegTypeExpandSz = 2;
constexpr std::uint32_t RegTypeBinary = 3;
constexpr std::uint32_t RegTypeDword = 4;

constexpr std::uint32_t KeyAccessRead = 0x20019;   // KEY_READ
constexpr std::uint32_t KeyAccessWrite = 0x4001F;  // query, set, create sub-key, enumerate, notify, WRITE_DAC

// Opens an existing key below HKEY_LOCAL_MACHINE. An empty subkey opens
// HKEY_LOCAL_MACHINE itself, as RegOpenKeyExA does.
bool MachineKeyOpen(const std::string& subkey, std::uint32_t access, MachineKey& key);
// Type and size of a value, without its data.
bool MachineKeyQuery(MachineKey key, const std::string& name, std::uint32_t& type, std::uint32_t& size);
// Reads a value's data; size is the buffer size in and the data size out.
bool MachineKeyRead(MachineKey key, const std::string& name, std::uint32_t& type, void* buffer, std::uint32_t& size);
// Creates or replaces a value.
bool MachineKeyWrite(MachineKey key, const std::string& name, std::uint32_t type, const void* data, std::uint32_t size);
void MachineKeyClose(MachineKey key);
