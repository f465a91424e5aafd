// The PE image checksum as the image help library computes it, and the
// bounds-checked location of the optional header's CheckSum field.
#pragma once

#include <cstdint>

// Distance of the CheckSum field from the "PE\0\0" signature.
constexpr std::uint32_t ChecksumFieldDistance = 88;

// The checksum of an image of size bytes whose CheckSum field starts at
// fieldOffset, computed bit for bit like CheckSumMappedFile: the folded
// 16-bit sum of every little-endian word (an odd last byte counts as a word
// with a zero high byte), the field included, then the field's two halves
// subtracted with borrow, then the length added. fieldOffset + 4 <= size.
std::uint32_t PeImageChecksum(const std::uint8_t* image, std::uint32_t size, std::uint32_t fieldOffset);

// The same in two parts, for an image known as another image plus changed
// bytes: the plain sum of its little-endian words (an odd last byte as the
// low byte of a word), to which a changed byte at offset o adds
// (new - old) << (8 * (o % 2)); and the checksum from that sum and the two
// halves of the CheckSum field.
std::uint64_t PeWordSum(const std::uint8_t* image, std::uint32_t size);
std::uint32_t PeChecksumFromWordSum(std::uint64_t wordSum, std::uint32_t size, std::uint16_t fieldLow,
                                    std::uint16_t fieldHigh);

// Finds the CheckSum field of an image of size bytes: an "MZ" DOS header
// whose e_lfanew points at "PE\0\0" inside the image, followed by a COFF
// header and a PE32 or PE32+ optional header that holds the field and ends
// inside the image. False for anything else.
bool LocateChecksumField(const std::uint8_t* image, std::uint32_t size, std::uint32_t& fieldOffset);
