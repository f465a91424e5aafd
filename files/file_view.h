// A whole file mapped into memory for reading, so that a large file is
// looked at without being copied into the heap first.
#pragma once

#include <cstdint>
#include <string>

struct FileView {
  const std::uint8_t* Data = nullptr;  // null for an empty file
  std::uint32_t Size = 0;
  std::intptr_t File = -1;
  std::intptr_t Mapping = 0;
};

// Opens an existing file for reading (others may read it, not write it, for
// as long as the view is open) and maps it whole. False when it cannot be
// opened or mapped, or is 2 GB or larger.
bool OpenFileView(const std::string& path, FileView& view);
void CloseFileView(FileView& view);
