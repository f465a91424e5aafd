// The image checksum of the WDM driver file.
#pragma once

#include <cstdint>

#include "ymf/file_contents.h"

// Recomputes the PE image checksum of Env.DriverPath and stores it in the
// optional header's CheckSum field. A file that cannot be opened for writing
// or carries no valid PE headers is left untouched; nothing is reported.
void UpdateDriverChecksum();

// Puts the checksum of an image in memory into its CheckSum field; false,
// changing nothing, when the image has no field that can be located.
bool StoreChecksumInImage(Bytes& image, std::uint32_t& fieldOffset);
