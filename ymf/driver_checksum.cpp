#include "ymf/driver_checksum.h"

#include "files/files.h"
#include "platform/image_checksum.h"
#include "platform/pe_checksum.h"
#include "ymf/environment.h"

void UpdateDriverChecksum() {
  FileHandle file = InvalidFileHandle;
  if (!OpenWrite(Env.DriverPath, file)) {
    return;
  }
  // The headers come from a file on disk: they are checked before the
  // checksum service sees the file, and a file without them gets no write.
  const std::uint32_t size = FileSizeOf(file);
  std::uint32_t fieldOffset = 0;
  if (size <= 0x7FFFFFFFu && LocateChecksumField(file, size, fieldOffset)) {
    StoreImageChecksum(file, size, fieldOffset);
  }
  CloseFile(file);
}
