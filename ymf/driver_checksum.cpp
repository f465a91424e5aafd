#include "ymf/driver_checksum.h"

#include <algorithm>

#include "files/files.h"
#include "platform/pe_checksum.h"
#include "ymf/driver_files_lock.h"
#include "ymf/environment.h"

// The checksum is computed here, on the image in memory, on every platform:
// the image help library's CheckSumMappedFile gives the same value (the
// Windows tests compare the two) but needs a mapping and a second pass over
// a file whose bytes the bank switch holds already.

bool StoreChecksumInImage(Bytes& image, std::uint32_t& fieldOffset) {
  if (image.size() > 0x7FFFFFFFu) {
    return false;
  }
  const auto size = static_cast<std::uint32_t>(image.size());
  if (!LocateChecksumField(image.data(), size, fieldOffset)) {
    return false;
  }
  const std::uint32_t checksum = PeImageChecksum(image.data(), size, fieldOffset);
  for (int i = 0; i < 4; ++i) {
    image[fieldOffset + i] = static_cast<std::uint8_t>(checksum >> (8 * i));
  }
  return true;
}

void UpdateDriverChecksum() {
  UnderDriverFilesLock([] {
    FileHandle file = InvalidFileHandle;
    if (!OpenWrite(Env.DriverPath, file)) {
      return false;
    }
    const std::uint32_t size = FileSizeOf(file);
    Bytes image;
    bool ok = size != 0xFFFFFFFFu && size <= 0x7FFFFFFFu;
    if (ok) {
      image.assign(size, 0);
      ok = size == 0 || (SeekStart(file) && ReadBlock(file, image.data(), static_cast<std::int32_t>(size)));
    }
    // A file without valid headers has no field to write, and gets no write.
    std::uint32_t fieldOffset = 0;
    ok = ok && LocateChecksumField(image.data(), size, fieldOffset);
    if (ok) {
      const Bytes stored(image.begin() + fieldOffset, image.begin() + fieldOffset + 4);
      StoreChecksumInImage(image, fieldOffset);
      if (!std::equal(stored.begin(), stored.end(), image.begin() + fieldOffset)) {
        ok = SeekTo(file, static_cast<std::int32_t>(fieldOffset)) && WriteBlock(file, &image[fieldOffset], 4);
      }
    }
    CloseFile(file);
    return ok;
  });
}
