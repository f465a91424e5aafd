#include "files/file_operations.h"

#include <algorithm>
#include <cstring>

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

bool WritePieces(const std::vector<FilePiece>& pieces, const std::function<bool(const void*, std::size_t)>& write) {
  // Small pieces are gathered and a file's range is read into the same
  // buffer, so that each write is a large one: under Wine every call to
  // the system costs far more than on Windows. Large enough that a chunk
  // costs few calls, small enough to stay in the cache and, under Wine,
  // below the size its heap maps afresh for every block.
  constexpr std::size_t ChunkMax = 256 * 1024;
  std::size_t total = 0;
  for (const FilePiece& piece : pieces) {
    total += piece.Data == nullptr || piece.Size < ChunkMax ? piece.Size : 0;
  }
  std::vector<std::uint8_t> buffer(std::min(ChunkMax, total));
  std::size_t used = 0;
  const auto flush = [&] {
    const bool ok = used == 0 || write(buffer.data(), used);
    used = 0;
    return ok;
  };
  for (const FilePiece& piece : pieces) {
    if (piece.Data != nullptr) {
      if (piece.Size >= ChunkMax) {
        if (!flush() || !write(piece.Data, piece.Size)) {
          return false;
        }
      } else if (piece.Size != 0) {
        if (used + piece.Size > buffer.size() && !flush()) {
          return false;
        }
        std::memcpy(buffer.data() + used, piece.Data, piece.Size);
        used += piece.Size;
      }
      continue;
    }
    if (piece.Size == 0) {
      continue;
    }
    if (piece.Offset > 0x7FFFFFFFu || piece.Size > 0x7FFFFFFFu - piece.Offset ||
        !SeekTo(piece.From, static_cast<std::int32_t>(piece.Offset))) {
      return false;
    }
    for (std::size_t left = piece.Size; left > 0;) {
      if (used == buffer.size() && !flush()) {
        return false;
      }
      const std::size_t count = std::min(buffer.size() - used, left);
      if (!ReadBlock(piece.From, buffer.data() + used, static_cast<std::int32_t>(count))) {
        return false;
      }
      used += count;
      left -= count;
    }
  }
  return flush();
}
