// The system's own implementations of the file operations that the
// operation table (files/file_operations.h) can replace. Everything else
// calls the functions of files.h, which go through that table.
#pragma once

#include <cstdint>
#include <string>

#include "files/files.h"

namespace native_files {

bool OpenRead(const std::string& path, FileHandle& file);
bool OpenWrite(const std::string& path, FileHandle& file);
bool ReadBlock(FileHandle file, void* buffer, std::int32_t count);
bool WriteBlock(FileHandle file, const void* buffer, std::int32_t count);
bool WriteByte(FileHandle file, std::uint8_t value);

}  // namespace native_files
