// The driver's registry settings: strict readers and the group writers.
//
// Every value is REG_BINARY under Env.DriverRegKey below HKEY_LOCAL_MACHINE.
// Booleans and indices take one byte on the VxD driver and four bytes
// (little-endian) on the WDM driver; voice limits take four bytes on both.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"

// Opens Env.DriverRegKey with the given access mask. Refuses an empty key:
// an empty subkey would open HKEY_LOCAL_MACHINE itself, and settings may
// only ever live under the driver's own key. The key is never created.
bool OpenDriverKey(std::uint32_t access, MachineKey& key);

// Strict readers: the value must be REG_BINARY of exactly the reader's
// width, otherwise (missing, other type, other size) the result is false/0.
// A boolean is true only for the number 1.
bool ReadBoolean1(MachineKey key, const std::string& name);
bool ReadBoolean4(MachineKey key, const std::string& name);
std::uint8_t ReadNumber1(MachineKey key, const std::string& name);
std::int32_t ReadNumber4(MachineKey key, const std::string& name);

// Matching writers: REG_BINARY of exactly 1 or 4 bytes, created when
// missing. The outcome of a single value write is not examined.
void WriteBoolean1(MachineKey key, const std::string& name, bool value);
void WriteBoolean4(MachineKey key, const std::string& name, bool value);
void WriteNumber1(MachineKey key, const std::string& name, std::uint8_t value);
void WriteNumber4(MachineKey key, const std::string& name, std::int32_t value);

// Reads the fifteen values into Env.Settings. When the key cannot be opened
// (or Env.DriverRegKey is empty) every field keeps its value.
void ReadDriverSettings();

// Writes ShowWaveout, ShowMisc, SRC, LoadUIF, LoadSpdifIn in this order, in
// the driver kind's encoding. Does nothing when the key cannot be opened for
// writing. Env.Settings is not updated; the caller re-reads.
void WritePanelSettings(bool showWaveout, bool showMisc, bool src, std::uint8_t featureSet, std::uint8_t spdifInMode);

// Writes LoadC3D, LoadGamePort, LoadLegacy, LoadSpdif, LoadVSVL, LoadPower in
// this order, in the driver kind's encoding. Same opening rule as above.
void WriteLoadModules(bool directSound3D, bool gamePort, bool legacy, bool spdifOut, bool xgSynthesizer, bool power);
