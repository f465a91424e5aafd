// Binary file access: all-or-nothing operations on an open file handle.
// Every transfer succeeds only when every byte asked for moved; nothing buffers.
#pragma once

#include <cstdint>
#include <string>

// The operating system's file handle (a HANDLE on Windows, a descriptor elsewhere).
using FileHandle = std::intptr_t;
constexpr FileHandle InvalidFileHandle = -1;

// Opens an existing file for reading; others may read it but not write it.
// The handle is stored in every case; the result says whether it is valid.
bool OpenRead(const std::string& path, FileHandle& file);
// The same, for reading and writing. Never creates or truncates.
bool OpenWrite(const std::string& path, FileHandle& file);
bool SeekStart(FileHandle file);
// Absolute positioning; a negative position fails, one past the end does not.
bool SeekTo(FileHandle file, std::int32_t position);
// At the end of the file: false, and value keeps what it held.
bool ReadByte(FileHandle file, std::uint8_t& value);
bool ReadBlock(FileHandle file, void* buffer, std::int32_t count);
bool WriteByte(FileHandle file, std::uint8_t value);
bool WriteBlock(FileHandle file, const void* buffer, std::int32_t count);
// Nonzero on success; callers do not need to check it.
int CloseFile(FileHandle file);
// The low 32 bits of the size; 0xFFFFFFFF on failure.
std::uint32_t FileSizeOf(FileHandle file);
