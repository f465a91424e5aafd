// The PE image checksum as the image help library computes it, and the
// bounds-checked location of the optional header's CheckSum field.
#pragma once

#include <cstdint>

#include "files/files.h"

// Distance of the CheckSum field from the "PE\0\0" signature.
constexpr std::uint32_t ChecksumFieldDistance = 88;

// The checksum of an image of size bytes whose CheckSum field starts at
// fieldOffset, computed bit for bit like CheckSumMappedFile: the folded
// 16-bit sum of every little-endian word (an odd last byte counts as a word
// with a zero high byte), the field included, then the field's two halves
// subtracted with borrow, then the length added. fieldOffset + 4 <= size.
std::uint32_t PeImageChecksum(const std::uint8_t* image, std::uint32_t size, std::uint32_t fieldOffset);

// Finds the CheckSum field of an open file of the given size: an "MZ" DOS
// header whose e_lfanew points at "PE\0\0" inside the file, followed by a
// COFF header and a PE32 or PE32+ optional header that holds the field and
// ends inside the file. False for anything else; the position of the file
// is undefined afterwards.
bool LocateChecksumField(FileHandle file, std::uint32_t size, std::uint32_t& fieldOffset);
