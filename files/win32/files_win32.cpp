// Binary file access through the Win32 file API.
#include <windows.h>

#include "files/files.h"
#include "files/native_files.h"

namespace {

HANDLE Native(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

bool Open(const std::string& path, DWORD access, FileHandle& file) {
  // Wine lets a process running as root write a read-only file; Windows does
  // not, and neither does this program.
  if ((access & GENERIC_WRITE) != 0) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
      file = InvalidFileHandle;
      return false;
    }
  }
  HANDLE handle =
      CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  file = reinterpret_cast<FileHandle>(handle);
  return handle != INVALID_HANDLE_VALUE;
}

}  // namespace

bool native_files::OpenRead(const std::string& path, FileHandle& file) { return Open(path, GENERIC_READ, file); }

bool native_files::OpenWrite(const std::string& path, FileHandle& file) {
  return Open(path, GENERIC_READ | GENERIC_WRITE, file);
}

bool SeekStart(FileHandle file) {
  return SetFilePointer(Native(file), 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

bool SeekTo(FileHandle file, std::int32_t position) {
  return SetFilePointer(Native(file), position, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

bool native_files::ReadBlock(FileHandle file, void* buffer, std::int32_t count) {
  DWORD read = 0;
  if (count < 0) {
    return false;
  }
  return ReadFile(Native(file), buffer, static_cast<DWORD>(count), &read, nullptr) && read == static_cast<DWORD>(count);
}

bool native_files::WriteByte(FileHandle file, std::uint8_t value) {
  DWORD written = 0;
  return WriteFile(Native(file), &value, 1, &written, nullptr) && written == 1;
}

bool native_files::WriteBlock(FileHandle file, const void* buffer, std::int32_t count) {
  DWORD written = 0;
  if (count < 0) {
    return false;
  }
  return WriteFile(Native(file), buffer, static_cast<DWORD>(count), &written, nullptr) &&
         written == static_cast<DWORD>(count);
}

int CloseFile(FileHandle file) { return CloseHandle(Native(file)) ? 1 : 0; }

std::uint32_t FileSizeOf(FileHandle file) { return GetFileSize(Native(file), nullptr); }
