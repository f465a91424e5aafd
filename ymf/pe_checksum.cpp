#include "ymf/pe_checksum.h"

#include "files/le_bytes.h"

namespace {

constexpr std::uint32_t DosHeaderSize = 64;
constexpr std::uint32_t LfanewOffset = 0x3C;
constexpr std::uint32_t CoffHeaderEnd = 24;  // signature and COFF header
constexpr std::uint32_t OptionalHeaderWithChecksum = 68;
constexpr std::uint16_t Pe32Magic = 0x010B;
constexpr std::uint16_t Pe32PlusMagic = 0x020B;

// Folds a sum of 16-bit words into 16 bits with end-around carry. Folding
// once at the end gives the same value as folding after every word.
std::uint16_t Fold(std::uint64_t sum) {
  while ((sum >> 16) != 0) {
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return static_cast<std::uint16_t>(sum);
}

}  // namespace

std::uint64_t PeWordSum(const std::uint8_t* image, std::uint32_t size) {
  std::uint64_t sum = 0;
  std::uint32_t i = 0;
  // Four words per step in two 32-bit lanes of one register, emptied before
  // a lane can overflow: a driver image is summed at memory speed.
  constexpr std::uint64_t Lanes = 0x0000FFFF0000FFFFu;
  while (size - i >= 8) {
    std::uint64_t lanes = 0;
    for (int step = 0; step < 16384 && size - i >= 8; ++step, i += 8) {
      const std::uint64_t words =
          static_cast<std::uint64_t>(Le32(image + i)) | (static_cast<std::uint64_t>(Le32(image + i + 4)) << 32);
      lanes += (words & Lanes) + ((words >> 16) & Lanes);
    }
    sum += (lanes & 0xFFFFFFFFu) + (lanes >> 32);
  }
  const std::uint32_t even = size & ~1u;
  for (; i < even; i += 2) {
    sum += Le16(image + i);
  }
  if (even != size) {
    sum += image[even];
  }
  return sum;
}

std::uint32_t PeChecksumFromWordSum(std::uint64_t wordSum, std::uint32_t size, std::uint16_t fieldLow,
                                    std::uint16_t fieldHigh) {
  std::uint16_t partial = Fold(wordSum);
  partial = static_cast<std::uint16_t>(partial - (partial < fieldLow ? 1 : 0) - fieldLow);
  partial = static_cast<std::uint16_t>(partial - (partial < fieldHigh ? 1 : 0) - fieldHigh);
  return static_cast<std::uint32_t>(partial) + size;
}

std::uint32_t PeImageChecksum(const std::uint8_t* image, std::uint32_t size, std::uint32_t fieldOffset) {
  return PeChecksumFromWordSum(PeWordSum(image, size), size, Le16(image + fieldOffset), Le16(image + fieldOffset + 2));
}

bool LocateChecksumField(const std::uint8_t* image, std::uint32_t size, std::uint32_t& fieldOffset) {
  if (size < DosHeaderSize || image[0] != 'M' || image[1] != 'Z') {
    return false;
  }
  const std::uint64_t pe = Le32(image + LfanewOffset);
  if (pe + CoffHeaderEnd + OptionalHeaderWithChecksum > size) {
    return false;
  }
  const std::uint8_t* nt = image + pe;
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
