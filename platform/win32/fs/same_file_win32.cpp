#include <windows.h>

#include <string>

#include "platform/same_file.h"

namespace {

// One spelling per existing file or directory: the full path in its short
// 8.3 form, which Windows 9x also hands out for the program's own path
// (GetModuleFileNameA), without a trailing separator. Empty when it does
// not exist.
std::string ShortFullPath(const std::string& path) {
  if (path.empty()) {
    return std::string();
  }
  char full[MAX_PATH] = {};
  char* namePart = nullptr;
  DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, &namePart);
  if (length == 0 || length >= MAX_PATH) {
    return std::string();
  }
  char shortPath[MAX_PATH] = {};
  length = GetShortPathNameA(full, shortPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return std::string();
  }
  std::string result(shortPath, length);
  while (result.size() > 3 && (result.back() == '\\' || result.back() == '/')) {
    result.pop_back();
  }
  return result;
}

// The volume and file index of an existing file or directory. Only on the
// NT family: Windows 9x opens no directory handles, and its file index is
// not documented to be stable. Hard links, SUBST drives and shares of the
// local disk give one file several full paths; its index stays one.
bool FileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  if ((GetVersion() & 0x80000000u) != 0) {
    return false;
  }
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  const bool ok = GetFileInformationByHandle(file, &info) != 0;
  CloseHandle(file);
  return ok && (info.nFileIndexHigh != 0 || info.nFileIndexLow != 0);
}

}  // namespace

bool SameFileOrDirectory(const std::string& a, const std::string& b) {
  const std::string first = ShortFullPath(a);
  const std::string second = ShortFullPath(b);
  if (first.empty() || second.empty()) {
    return false;
  }
  // File names ignore letter case; lstrcmpiA also folds the letters of the ANSI code page.
  if (lstrcmpiA(first.c_str(), second.c_str()) == 0) {
    return true;
  }
  BY_HANDLE_FILE_INFORMATION one = {};
  BY_HANDLE_FILE_INFORMATION other = {};
  return FileIdentity(first, one) && FileIdentity(second, other) &&
         one.dwVolumeSerialNumber == other.dwVolumeSerialNumber && one.nFileIndexHigh == other.nFileIndexHigh &&
         one.nFileIndexLow == other.nFileIndexLow;
}
