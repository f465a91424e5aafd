// The code patch that makes the driver load a bank other than the default one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "files/files.h"
#include "ymf/environment.h"

// One patched byte: a patch offset of the profile (1 to 4), a distance from
// it and the value written there.
struct PatchByte {
  int Site;
  std::int32_t Distance;
  std::uint8_t Value;
};

// The bytes of one driver kind's patch, in the order they are written; the
// entries of a site are consecutive and in ascending order.
struct PatchList {
  const PatchByte* First;
  std::size_t Length;
  const PatchByte* begin() const { return First; }
  const PatchByte* end() const { return First + Length; }
};

// The VxD list (25 bytes) or the WDM list (42 bytes).
PatchList PatchListFor(bool isVxD);

// The absolute file offset of a patch byte under a profile.
std::int32_t PatchByteOffset(const VersionProfile& profile, const PatchByte& entry);

// Seeks to offset and writes one byte. A failed seek writes nothing, so
// that the byte never lands at another position.
bool WriteDriverByte(FileHandle file, std::int32_t offset, std::uint8_t value);

// Writes the kind's patch list at the profile's patch offsets into a driver
// file the caller holds open for writing, then reads every written byte
// back. False when any byte did not land.
bool WritePatch(FileHandle file);

// True when an image already carries the code patch of the profile: its
// code block or its five-byte site holds every byte the patch writes there.
// The single-byte sites are not counted, as an original byte may equal the
// patch byte by chance.
bool ImageCarriesPatch(const std::vector<std::uint8_t>& image);
bool ImageCarriesPatch(const std::uint8_t* image, std::size_t size);
