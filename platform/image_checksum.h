// The image help service that recomputes a PE image checksum in place.
#pragma once

#include <cstdint>

#include "files/files.h"

// Recomputes the PE image checksum of a file opened for reading and writing,
// whose size and CheckSum field offset the caller has already validated, and
// stores it little-endian in that field. No other byte changes. On Windows
// this is CheckSumMappedFile over a read-write mapping of the whole file;
// elsewhere the file is read and the same checksum is computed. False when
// nothing could be stored.
bool StoreImageChecksum(FileHandle file, std::uint32_t size, std::uint32_t fieldOffset);
