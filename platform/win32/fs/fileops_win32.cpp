#include <windows.h>

#include <algorithm>

#include "platform/file_operations.h"
#include "platform/fileops.h"

namespace {

// Windows refuses to replace or delete a read-only file; Wine lets a
// process running as root do both, so the attribute is checked here.
bool Replaceable(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes == INVALID_FILE_ATTRIBUTES ||
         (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

}  // namespace

bool native_files::CopyFileOver(const std::string& from, const std::string& to) {
  return Replaceable(to) && CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool native_files::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool native_files::MoveFileOver(const std::string& from, const std::string& to) {
  if (!FileExists(from) || !Replaceable(to)) {
    return false;
  }
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    return true;
  }
  // Windows 95, 98 and Me export MoveFileExA only as a stub that fails with
  // ERROR_CALL_NOT_IMPLEMENTED; there the destination goes first.
  if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
    return false;
  }
  if (GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES && !DeleteFileA(to.c_str())) {
    return false;
  }
  return MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool native_files::WriteFileOver(const std::string& path, const void* data, std::size_t size) {
  if (path.empty() || size > 0x7FFFFFFFu || !Replaceable(path)) {
    return false;
  }
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  bool ok = size == 0 || (WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size);
  ok = CloseHandle(file) && ok;
  if (!ok) {
    DeleteFileA(path.c_str());
  }
  return ok;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FileSizeByPath(const std::string& path, std::uint32_t& size) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || data.nFileSizeHigh != 0) {
    return false;
  }
  size = data.nFileSizeLow;
  return true;
}

std::vector<std::string> ListFiles(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    return names;
  }
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      names.push_back(found.cFileName);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}
