// Driver version profiles: the version text read at fixed places of the
// driver file, and the table and patch offsets of known builds.
#pragma once

#include <cstdint>
#include <string>

#include "files/files.h"

struct VersionProbe {
  std::int32_t MarkerOffset;
  std::int32_t TextOffset;
  std::int32_t Characters;
};

constexpr int VersionProbeCount = 10;
// The version text when no probe's marker matches.
constexpr const char* IncompatibleVersionText = "incompatible with Bank Modes feature";
extern const VersionProbe VersionProbes[VersionProbeCount];

// The version text of a driver file opened for reading: the text of the first
// probe whose marker byte is 'F' (8-bit characters on the VxD, the low bytes
// of 16-bit ones on the WDM driver), or the incompatibility text when none does.
std::string ReadVersionText(FileHandle file);
// The version text of a whole driver image in memory, read as ReadVersionText
// reads it from the file (bytes past the end count as 0).
std::string VersionTextOfImage(const std::uint8_t* image, std::uint32_t size);
// True for a text that a probe found: neither empty (file not readable) nor
// the incompatibility text.
bool VersionTextFound(const std::string& text);
// Reads Env.DriverPath and Env.IsVxD; writes Env.Profile.
void LoadVersionProfile();
