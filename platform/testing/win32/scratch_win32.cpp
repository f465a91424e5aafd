#include <windows.h>

#include <cstdio>

#include "platform/testing/scratch.h"

std::string MakeScratchDir(const std::string& tag) {
  char base[MAX_PATH + 1] = {};
  if (GetTempPathA(MAX_PATH, base) == 0) {
    return std::string();
  }
  std::string root = base;
  if (root.empty() || root.back() != '\\') {
    root += '\\';
  }
  for (unsigned attempt = 0; attempt < 1000; ++attempt) {
    const std::string dir = root + "tovaro-" + tag + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                            std::to_string(GetTickCount() + attempt);
    if (CreateDirectoryA(dir.c_str(), nullptr)) {
      return dir + "\\";
    }
  }
  return std::string();
}

void RemoveTree(const std::string& dir) {
  std::string base = dir;
  if (!base.empty() && base.back() == '\\') {
    base.pop_back();
  }
  if (base.empty()) {
    return;
  }
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((base + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") {
        continue;
      }
      const std::string path = base + "\\" + name;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RemoveTree(path + "\\");  // a name may end in a byte 5C: the backslash cut off is this one
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(base.c_str());
}

bool MakeDirectory(const std::string& dir) { return CreateDirectoryA(dir.c_str(), nullptr) || DirectoryExists(dir); }

bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  const BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  const DWORD size = GetFileSize(file, nullptr);
  bytes.assign(size, 0);
  DWORD read = 0;
  const BOOL ok = size == 0 || ReadFile(file, bytes.data(), size, &read, nullptr);
  CloseHandle(file);
  return ok && read == size;
}

bool SetReadOnly(const std::string& path, bool readOnly) {
  return SetFileAttributesA(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL) != 0;
}

bool DirectoryExists(const std::string& path) {
  std::string base = path;
  if (base.size() > 3 && base.back() == '\\') {
    base.pop_back();
  }
  const DWORD attributes = GetFileAttributesA(base.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool MakeHardLink(const std::string& target, const std::string& link) {
  return CreateHardLinkA(link.c_str(), target.c_str(), nullptr) != 0;
}

// CreateSymbolicLinkA came with Vista: looked up, so the tests still load
// where it is missing.
bool MakeSymbolicLink(const std::string& target, const std::string& link) {
  using CreateLink = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
  const auto create = reinterpret_cast<CreateLink>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
  if (create == nullptr || create(link.c_str(), target.c_str(), 0) == 0) {
    return false;
  }
  // Wine makes one even where the file system cannot follow it: only a link
  // that leads to the target's bytes counts as made.
  std::vector<std::uint8_t> through;
  std::vector<std::uint8_t> direct;
  if (!ReadWholeFile(link, through) || !ReadWholeFile(target, direct) || through != direct) {
    DeleteFileA(link.c_str());
    return false;
  }
  return true;
}
