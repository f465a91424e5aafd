#include "files/file_operations.h"

#include "files/fileops.h"
#include "files/native_files.h"

const FileOperationTable& SystemFileOperations() {
  static const FileOperationTable table = {
      native_files::OpenRead,      native_files::OpenWrite,    native_files::ReadBlock,    native_files::WriteBlock,
      native_files::WriteByte,     native_files::CopyFileOver, native_files::MoveFileOver, native_files::RemoveFile,
      native_files::WriteFileOver, native_files::OpenFileView,
  };
  return table;
}

FileOperationTable& FileOperations() {
  static FileOperationTable table = SystemFileOperations();
  return table;
}

bool OpenRead(const std::string& path, FileHandle& file) { return FileOperations().OpenRead(path, file); }

bool OpenWrite(const std::string& path, FileHandle& file) { return FileOperations().OpenWrite(path, file); }

bool ReadBlock(FileHandle file, void* buffer, std::int32_t count) {
  return FileOperations().ReadBlock(file, buffer, count);
}

bool WriteBlock(FileHandle file, const void* buffer, std::int32_t count) {
  return FileOperations().WriteBlock(file, buffer, count);
}

// A byte is a block of one, so that a replaced ReadBlock governs it too.
bool ReadByte(FileHandle file, std::uint8_t& value) {
  std::uint8_t byte = 0;
  if (!ReadBlock(file, &byte, 1)) {
    return false;
  }
  value = byte;
  return true;
}

bool WriteByte(FileHandle file, std::uint8_t value) { return FileOperations().WriteByte(file, value); }

bool CopyFileOver(const std::string& from, const std::string& to) { return FileOperations().CopyFileOver(from, to); }

bool MoveFileOver(const std::string& from, const std::string& to) { return FileOperations().MoveFileOver(from, to); }

bool RemoveFile(const std::string& path) { return FileOperations().RemoveFile(path); }

bool WriteFileOver(const std::string& path, const std::vector<FilePiece>& pieces) {
  return FileOperations().WriteFileOver(path, pieces);
}

bool OpenFileView(const std::string& path, FileView& view) { return FileOperations().OpenFileView(path, view); }
