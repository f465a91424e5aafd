#include <windows.h>

#include <string>

#include "files/path_parts.h"
#include "files/same_file.h"
#include "files/win32/windows_family.h"

namespace {

// The full path of an existing file or directory, as the system resolves the
// spelling against the current directory, with what its directory entry
// says of it; false when nothing is there.
bool ExistingFullPath(const std::string& path, std::string& full, WIN32_FILE_ATTRIBUTE_DATA& entry) {
  if (path.empty()) {
    return false;
  }
  char buffer[MAX_PATH] = {};
  char* namePart = nullptr;
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, &namePart);
  if (length == 0 || length >= MAX_PATH || !GetFileAttributesExA(buffer, GetFileExInfoStandard, &entry)) {
    return false;
  }
  full = WithoutTrailingSeparators(std::string(buffer, length), 3);
  return true;
}

// One spelling per existing file or directory: the full path in its short
// 8.3 form, which Windows 9x also hands out for the program's own path
// (GetModuleFileNameA). Slow under Wine, which lists each directory of the
// path to find the short names, so it is asked only where no file index is.
std::string ShortFullPath(const std::string& full) {
  char shortPath[MAX_PATH] = {};
  const DWORD length = GetShortPathNameA(full.c_str(), shortPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return std::string();
  }
  return WithoutTrailingSeparators(std::string(shortPath, length), 3);
}

// NtQueryInformationFile and what it answers for FileInternalInformation
// (6): the file index alone. GetFileInformationByHandle gives the index too,
// but also asks for the volume's serial number, which costs more than the
// rest of a bank switch under Wine.
struct IoStatusBlock {
  union {
    LONG Status;
    void* Pointer;
  };
  ULONG_PTR Information;
};
using QueryInformationFile = LONG(WINAPI*)(HANDLE, IoStatusBlock*, void*, ULONG, int);
constexpr int FileInternalInformation = 6;

QueryInformationFile NtQueryInformationFileEntry() {
  static const QueryInformationFile entry = [] {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll == nullptr ? nullptr
                            : reinterpret_cast<QueryInformationFile>(
                                  reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "NtQueryInformationFile")));
  }();
  return entry;
}

// The file index of an existing file or directory. Only on the NT family:
// Windows 9x opens no directory handles, and its file index is not
// documented to be stable. Hard links, SUBST drives and shares of the local
// disk give one file several full paths; its index stays one.
bool FileIndex(const std::string& path, ULONGLONG& index) {
  if (RunsOnWindows9x()) {
    return false;
  }
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  bool ok = false;
  if (const QueryInformationFile query = NtQueryInformationFileEntry()) {
    IoStatusBlock status = {};
    LARGE_INTEGER internal = {};
    ok = query(file, &status, &internal, sizeof internal, FileInternalInformation) >= 0;
    index = static_cast<ULONGLONG>(internal.QuadPart);
  } else {
    BY_HANDLE_FILE_INFORMATION info = {};
    ok = GetFileInformationByHandle(file, &info) != 0;
    index = (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  }
  CloseHandle(file);
  return ok && index != 0;
}

}  // namespace

bool SameFileOrDirectory(const std::string& a, const std::string& b) {
  std::string first;
  std::string second;
  WIN32_FILE_ATTRIBUTE_DATA firstEntry = {};
  WIN32_FILE_ATTRIBUTE_DATA secondEntry = {};
  if (!ExistingFullPath(a, first, firstEntry) || !ExistingFullPath(b, second, secondEntry)) {
    return false;
  }
  // File names ignore letter case; lstrcmpiA also folds the letters of the ANSI code page.
  if (lstrcmpiA(first.c_str(), second.c_str()) == 0) {
    return true;
  }
  // One thing has one directory entry: a file and a directory, or entries
  // that differ in size or time, are two things (a copy keeps the time of
  // the last write, not that of the creation). This spares the slower
  // questions below in nearly every call.
  const DWORD directory = FILE_ATTRIBUTE_DIRECTORY;
  if ((firstEntry.dwFileAttributes & directory) != (secondEntry.dwFileAttributes & directory) ||
      firstEntry.nFileSizeLow != secondEntry.nFileSizeLow || firstEntry.nFileSizeHigh != secondEntry.nFileSizeHigh ||
      CompareFileTime(&firstEntry.ftCreationTime, &secondEntry.ftCreationTime) != 0 ||
      CompareFileTime(&firstEntry.ftLastWriteTime, &secondEntry.ftLastWriteTime) != 0) {
    return false;
  }
  // Two entries alike in size and both times, with one file index, are one
  // file: the index alone does not name the volume, the entry makes up for it.
  ULONGLONG one = 0;
  ULONGLONG other = 0;
  if (FileIndex(first, one) && FileIndex(second, other)) {
    return one == other;
  }
  const std::string firstShort = ShortFullPath(first);
  const std::string secondShort = ShortFullPath(second);
  return !firstShort.empty() && lstrcmpiA(firstShort.c_str(), secondShort.c_str()) == 0;
}

bool ResolvableFullPath(const std::string& path) {
  if (path.empty()) {
    return false;
  }
  char buffer[MAX_PATH] = {};
  char* namePart = nullptr;
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, &namePart);
  return length != 0 && length < MAX_PATH;
}

std::string FullPathOf(const std::string& path) {
  char buffer[MAX_PATH] = {};
  char* namePart = nullptr;
  const DWORD length = path.empty() ? 0 : GetFullPathNameA(path.c_str(), MAX_PATH, buffer, &namePart);
  return length != 0 && length < MAX_PATH ? std::string(buffer, length) : path;
}
