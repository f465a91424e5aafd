// The image checksum without an image help library: read, compute, write back.
#include <vector>

#include "platform/image_checksum.h"
#include "platform/pe_checksum.h"

bool StoreImageChecksum(FileHandle file, std::uint32_t size, std::uint32_t fieldOffset) {
  if (size > 0x7FFFFFFFu || fieldOffset > size || size - fieldOffset < 4) {
    return false;
  }
  std::vector<std::uint8_t> image(size);
  if (!SeekTo(file, 0) || !ReadBlock(file, image.data(), static_cast<std::int32_t>(size))) {
    return false;
  }
  const std::uint32_t checksum = PeImageChecksum(image.data(), size, fieldOffset);
  const std::uint8_t field[4] = {static_cast<std::uint8_t>(checksum), static_cast<std::uint8_t>(checksum >> 8),
                                 static_cast<std::uint8_t>(checksum >> 16), static_cast<std::uint8_t>(checksum >> 24)};
  return SeekTo(file, static_cast<std::int32_t>(fieldOffset)) && WriteBlock(file, field, 4);
}
