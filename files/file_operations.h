// The file operations that open, read, write, copy, move and delete, as one
// table. The functions of files/files.h, files/fileops.h and
// files/file_view.h that read or change a file call through FileOperations(), which a test may replace at
// run time: a disk that fills up, a kill between two operations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "files/file_view.h"
#include "files/fileops.h"
#include "files/files.h"

struct FileOperationTable {
  bool (*OpenRead)(const std::string& path, FileHandle& file);
  bool (*OpenWrite)(const std::string& path, FileHandle& file);
  bool (*ReadBlock)(FileHandle file, void* buffer, std::int32_t count);
  bool (*WriteBlock)(FileHandle file, const void* buffer, std::int32_t count);
  bool (*WriteByte)(FileHandle file, std::uint8_t value);
  bool (*CopyFileOver)(const std::string& from, const std::string& to);
  bool (*MoveFileOver)(const std::string& from, const std::string& to);
  bool (*RemoveFile)(const std::string& path);
  bool (*WriteFileOver)(const std::string& path, const std::vector<FilePiece>& pieces);
  bool (*OpenFileView)(const std::string& path, FileView& view);
};

// The system's own operations.
const FileOperationTable& SystemFileOperations();
// The table every call goes through: the system's own until replaced.
FileOperationTable& FileOperations();

// The system's own whole-file operations, one implementation per platform.
namespace native_files {

bool CopyFileOver(const std::string& from, const std::string& to);
bool MoveFileOver(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);
bool WriteFileOver(const std::string& path, const std::vector<FilePiece>& pieces);
bool OpenFileView(const std::string& path, FileView& view);

}  // namespace native_files
