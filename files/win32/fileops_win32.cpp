#include <windows.h>

#include <algorithm>
#include <string>

#include "files/file_operations.h"
#include "files/fileops.h"
#include "files/win32/move_in_steps.h"
#include "files/win32/windows_family.h"

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Windows refuses to replace a read-only file or a directory; Wine lets a
// process running as root replace a read-only one, so it is checked here.
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
  // Windows 95/98/Me export MoveFileExA only as a stub that fails with
  // ERROR_CALL_NOT_IMPLEMENTED: there the move is made in steps.
  if (RunsOnWindows9x()) {
    return MoveFileOverInSteps(from, to);
  }
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    return true;
  }
  return GetLastError() == ERROR_CALL_NOT_IMPLEMENTED && MoveFileOverInSteps(from, to);
}

bool native_files::WriteFileOver(const std::string& path, const std::vector<FilePiece>& pieces) {
  if (path.empty() || !Replaceable(path)) {
    return false;
  }
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  bool ok = WritePieces(pieces, [file](const void* data, std::size_t size) {
    DWORD written = 0;
    return size <= 0x7FFFFFFFu && WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
  });
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

bool CreateDirectoryIfMissing(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) {
    return true;
  }
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
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

bool MoveFileOverInSteps(const std::string& from, const std::string& to) {
  if (!Exists(to)) {
    return MoveFileA(from.c_str(), to.c_str()) != 0;
  }
  std::string parked;
  for (int n = 1; n < 1000 && parked.empty(); ++n) {
    const std::string candidate = to + ".~" + std::to_string(n);
    if (!Exists(candidate)) {
      parked = candidate;
    }
  }
  if (parked.empty() || !MoveFileA(to.c_str(), parked.c_str())) {
    return false;
  }
  if (!MoveFileA(from.c_str(), to.c_str())) {
    MoveFileA(parked.c_str(), to.c_str());
    return false;
  }
  DeleteFileA(parked.c_str());
  return true;
}
