// The image checksum through the image help library, over a read-write
// mapping of the whole file.
#include <windows.h>

#include <imagehlp.h>  // needs the types of windows.h

#include "platform/image_checksum.h"

bool StoreImageChecksum(FileHandle file, std::uint32_t size, std::uint32_t fieldOffset) {
  if (size == 0 || fieldOffset > size || size - fieldOffset < 4) {
    return false;
  }
  HANDLE mapping = CreateFileMappingA(reinterpret_cast<HANDLE>(file), nullptr, PAGE_READWRITE, 0, 0, nullptr);
  if (mapping == nullptr) {
    return false;
  }
  bool stored = false;
  void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0);
  if (view != nullptr) {
    auto* base = static_cast<unsigned char*>(view);
    DWORD headerSum = 0;
    DWORD checksum = 0;
    const IMAGE_NT_HEADERS* headers = CheckSumMappedFile(view, size, &headerSum, &checksum);
    // Write only where the caller found the field; the service must agree.
    if (headers != nullptr &&
        reinterpret_cast<const unsigned char*>(&headers->OptionalHeader.CheckSum) == base + fieldOffset) {
      for (int i = 0; i < 4; ++i) {
        base[fieldOffset + i] = static_cast<unsigned char>(checksum >> (8 * i));
      }
      stored = true;
    }
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  return stored;
}
