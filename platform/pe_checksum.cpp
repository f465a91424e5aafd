#include "platform/pe_checksum.h"

namespace {

constexpr std::uint32_t DosHeaderSize = 64;
constexpr std::uint32_t LfanewOffset = 0x3C;
constexpr std::uint32_t CoffHeaderEnd = 24;  // signature and COFF header
constexpr std::uint32_t OptionalHeaderWithChecksum = 68;
constexpr std::uint16_t Pe32Magic = 0x010B;
constexpr std::uint16_t Pe32PlusMagic = 0x020B;

std::uint16_t Le16(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | (at[1] << 8)); }

std::uint32_t Le32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
         (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

// Folds a sum of 16-bit words into 16 bits with end-around carry. Folding
// once at the end gives the same value as folding after every word.
std::uint16_t Fold(std::uint64_t sum) {
  while ((sum >> 16) != 0) {
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return static_cast<std::uint16_t>(sum);
}

}  // namespace

std::uint32_t PeImageChecksum(const std::uint8_t* image, std::uint32_t size, std::uint32_t fieldOffset) {
  std::uint64_t sum = 0;
  const std::uint32_t even = size & ~1u;
  for (std::uint32_t i = 0; i < even; i += 2) {
    sum += Le16(image + i);
  }
  if (even != size) {
    sum += image[even];
  }
  std::uint16_t partial = Fold(sum);
  const std::uint16_t low = Le16(image + fieldOffset);
  const std::uint16_t high = Le16(image + fieldOffset + 2);
  partial = static_cast<std::uint16_t>(partial - (partial < low ? 1 : 0) - low);
  partial = static_cast<std::uint16_t>(partial - (partial < high ? 1 : 0) - high);
  return static_cast<std::uint32_t>(partial) + size;
}

bool LocateChecksumField(FileHandle file, std::uint32_t size, std::uint32_t& fieldOffset) {
  std::uint8_t dos[DosHeaderSize];
  if (size < DosHeaderSize || !SeekTo(file, 0) || !ReadBlock(file, dos, DosHeaderSize)) {
    return false;
  }
  if (dos[0] != 'M' || dos[1] != 'Z') {
    return false;
  }
  const std::uint64_t pe = Le32(dos + LfanewOffset);
  std::uint8_t nt[CoffHeaderEnd + 2];
  if (pe + CoffHeaderEnd + OptionalHeaderWithChecksum > size || !SeekTo(file, static_cast<std::int32_t>(pe)) ||
      !ReadBlock(file, nt, sizeof nt)) {
    return false;
  }
  if (nt[0] != 'P' || nt[1] != 'E' || nt[2] != 0 || nt[3] != 0) {
    return false;
  }
  const std::uint16_t optionalSize = Le16(nt + 20);
  const std::uint16_t magic = Le16(nt + CoffHeaderEnd);
  if (optionalSize < OptionalHeaderWithChecksum || pe + CoffHeaderEnd + optionalSize > size ||
      (magic != Pe32Magic && magic != Pe32PlusMagic)) {
    return false;
  }
  fieldOffset = static_cast<std::uint32_t>(pe) + ChecksumFieldDistance;
  return true;
}
