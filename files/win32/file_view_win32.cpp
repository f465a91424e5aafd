#include <windows.h>

#include "files/file_operations.h"
#include "files/file_view.h"

bool native_files::OpenFileView(const std::string& path, FileView& view) {
  view = FileView();
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  view.File = reinterpret_cast<std::intptr_t>(file);
  DWORD high = 0;
  const DWORD size = GetFileSize(file, &high);
  if ((size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) || high != 0 || size > 0x7FFFFFFFu) {
    CloseFileView(view);
    return false;
  }
  view.Size = size;
  // A mapping of an empty file cannot be made; the view is then empty.
  if (size == 0) {
    return true;
  }
  HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (mapping == nullptr) {
    CloseFileView(view);
    return false;
  }
  view.Mapping = reinterpret_cast<std::intptr_t>(mapping);
  view.Data = static_cast<const std::uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
  if (view.Data == nullptr) {
    CloseFileView(view);
    return false;
  }
  return true;
}

void CloseFileView(FileView& view) {
  if (view.Data != nullptr) {
    UnmapViewOfFile(view.Data);
  }
  if (view.Mapping != 0) {
    CloseHandle(reinterpret_cast<HANDLE>(view.Mapping));
  }
  if (view.File != -1) {
    CloseHandle(reinterpret_cast<HANDLE>(view.File));
  }
  view = FileView();
}
