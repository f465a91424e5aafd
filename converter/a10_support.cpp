#include "converter/a10_support.h"

#include "files/files.h"

const char* const TemporarySuffix = ".a10new";

std::string& Problem() {
  static std::string problem;
  return problem;
}

std::int32_t Refuse(std::int32_t result, const std::string& problem) {
  Problem() = problem;
  return result;
}

bool ReadWhole(const std::string& path, Bytes& bytes) {
  FileHandle file = InvalidFileHandle;
  if (!OpenRead(path, file)) {
    return false;
  }
  const std::uint32_t size = FileSizeOf(file);
  bool ok = size <= BankSizeMax;
  if (ok) {
    bytes.resize(size);
    ok = size == 0 || ReadBlock(file, bytes.data(), static_cast<std::int32_t>(size));
  }
  CloseFile(file);
  return ok;
}

void RemoveAll(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    RemoveFile(path);
  }
}

namespace {

std::int32_t NotABank(const std::string& bankPath) {
  return Refuse(A10NotABank, bankPath + " is not a bank of the converter's format.");
}

// The header and directory bytes from an open bank file.
bool ReadDirectoryFrom(FileHandle file, Bytes& head, std::uint32_t& size) {
  size = FileSizeOf(file);
  head.resize(BankHeaderSize);
  std::size_t count = 0;
  if (size == 0xFFFFFFFFu || size > BankSizeMax || size < BankHeaderSize || !SeekTo(file, 0) ||
      !ReadBlock(file, head.data(), static_cast<std::int32_t>(head.size())) ||
      !ParseBankHeader(head.data(), head.size(), count) || BankHeaderSize + count * BankEntrySize > size) {
    return false;
  }
  head.resize(BankHeaderSize + count * BankEntrySize);
  return ReadBlock(file, head.data() + BankHeaderSize, static_cast<std::int32_t>(count * BankEntrySize)) &&
         BankDirectorySizesFit(head.data(), head.size(), size);
}

}  // namespace

std::int32_t ReadBankDirectoryBytes(const std::string& bankPath, Bytes& head, std::uint32_t& size) {
  FileHandle file = InvalidFileHandle;
  if (!OpenRead(bankPath, file)) {
    return Refuse(A10NotAFile, bankPath + " cannot be read.");
  }
  const bool ok = ReadDirectoryFrom(file, head, size);
  CloseFile(file);
  return ok ? A10Ok : NotABank(bankPath);
}

std::int32_t ReadBankDirectory(const std::string& bankPath, Bank& bank, std::vector<PcmSpan>& spans) {
  Bytes head;
  std::uint32_t size = 0;
  const std::int32_t result = ReadBankDirectoryBytes(bankPath, head, size);
  if (result == A10Ok && !ParseBankDirectory(head.data(), head.size(), size, bank, spans)) {
    return NotABank(bankPath);
  }
  return result;
}

std::int32_t OpenBank(const std::string& bankPath, OpenedBank& bank) {
  CloseBank(bank);
  if (!OpenRead(bankPath, bank.File)) {
    return Refuse(A10NotAFile, bankPath + " cannot be read.");
  }
  Bytes head;
  std::uint32_t size = 0;
  if (!ReadDirectoryFrom(bank.File, head, size) ||
      !ParseBankDirectory(head.data(), head.size(), size, bank.Layout, bank.Spans)) {
    return NotABank(bankPath);
  }
  return A10Ok;
}

void CloseBank(OpenedBank& bank) {
  if (bank.File != InvalidFileHandle) {
    CloseFile(bank.File);
    bank.File = InvalidFileHandle;
  }
}

FilePiece Piece(const OpenedBank& bank, std::size_t index) {
  // Offsets fit: a bank is smaller than 2 GB.
  return {nullptr, bank.Spans[index].Bytes, bank.File, static_cast<std::uint32_t>(bank.Spans[index].Offset)};
}

bool ReadSampleBytes(const OpenedBank& bank, std::size_t index, Bytes& bytes) {
  bytes.resize(bank.Spans[index].Bytes);
  return SeekTo(bank.File, static_cast<std::int32_t>(bank.Spans[index].Offset)) &&
         ReadBlock(bank.File, bytes.data(), static_cast<std::int32_t>(bytes.size()));
}

std::vector<std::uint32_t> FramesOf(const OpenedBank& bank) {
  std::vector<std::uint32_t> frames;
  for (std::size_t i = 0; i < bank.Spans.size(); ++i) {
    frames.push_back(static_cast<std::uint32_t>(bank.Spans[i].Bytes / 2 / bank.Layout.Samples[i].Channels));
  }
  return frames;
}

std::int32_t RefuseUnwritable(const std::string& bankPath) {
  FileHandle file = InvalidFileHandle;
  if (!OpenWrite(bankPath, file)) {
    return Refuse(A10NotAFile, bankPath + " is missing, read-only or in use; it is unchanged.");
  }
  CloseFile(file);
  return A10Ok;
}

std::int32_t CheckIndex(std::int32_t index, std::size_t count, const std::string& path) {
  if (index < 0 || static_cast<std::size_t>(index) >= count) {
    return Refuse(A10BadIndex, "there is no sample " + std::to_string(index) + " in " + path + ": it holds " +
                                   std::to_string(count) + " (numbered from 0).");
  }
  return A10Ok;
}

std::int32_t WriteTemporary(const std::string& target, const std::vector<FilePiece>& pieces) {
  const std::string temp = target + TemporarySuffix;
  if (!WriteFileOver(temp, pieces)) {
    RemoveFile(temp);
    return Refuse(A10WriteFailed, temp + " cannot be written (is the disk full?); " + target + " is unchanged.");
  }
  return A10Ok;
}

std::int32_t ReplaceWithTemporary(const std::string& target) {
  const std::string temp = target + TemporarySuffix;
  if (!MoveFileOver(temp, target)) {
    RemoveFile(temp);
    return Refuse(A10WriteFailed, target + " cannot be replaced; it is unchanged.");
  }
  return A10Ok;
}
