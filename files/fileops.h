// Whole-file operations handed to the system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "files/files.h"

// Copies a file, replacing the destination (CopyFileA, fail-if-exists false).
// A read-only destination or a directory is refused.
bool CopyFileOver(const std::string& from, const std::string& to);
// Deletes one file (DeleteFileA): a read-only file or a directory is refused.
bool RemoveFile(const std::string& path);
// True only for an existing file that is not a directory.
bool FileExists(const std::string& path);
// Creates a directory whose parent exists; true when it exists afterwards,
// made now or before. A file of that name is not a directory: false.
bool CreateDirectoryIfMissing(const std::string& path);
// The size of such a file from its directory entry, without opening it.
bool FileSizeByPath(const std::string& path, std::uint32_t& size);
// Names (without directory) of the files matching a wildcard such as "C:\dir\*.wav",
// in byte order; hidden, system and read-only files included, directories not.
std::vector<std::string> ListFiles(const std::string& pattern);
// Moves a file onto another name on the same volume, replacing an existing
// destination unless that is read-only or a directory. On failure both files
// are as they were. Where the system has no replacing move (Windows 9x), the
// destination is parked under a free name beside it, put back when the move
// fails and deleted when it succeeds.
bool MoveFileOver(const std::string& from, const std::string& to);
// Size bytes at Data or, when Data is null, Size bytes of the open file
// From at Offset. A file's range is read through a small buffer that is
// reused: rewriting a large file from a mapping of it took twice as long
// under Wine, one page fault per page.
struct FilePiece {
  const void* Data;
  std::size_t Size;
  FileHandle From = InvalidFileHandle;
  std::uint32_t Offset = 0;
};

// The pieces' bytes handed to write in order, a file's range a chunk at a
// time (read with SeekTo and ReadBlock). False as soon as a read or a
// write fails.
bool WritePieces(const std::vector<FilePiece>& pieces, const std::function<bool(const void*, std::size_t)>& write);
// Creates a file, or empties one that is not read-only, and writes these
// pieces into it one after the other. A failed write deletes the file.
bool WriteFileOver(const std::string& path, const std::vector<FilePiece>& pieces);
// The same with one piece.
inline bool WriteFileOver(const std::string& path, const void* data, std::size_t size) {
  return WriteFileOver(path, std::vector<FilePiece>{FilePiece{data, size}});
}
