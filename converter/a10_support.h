// What every export of a10 shares: the reason of the last failure, the
// guard around each call, and reading and replacing banks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "converter/a10.h"
#include "converter/bank_format.h"
#include "files/fileops.h"

using Bytes = std::vector<std::uint8_t>;

// Suffix of the files written before they replace the real ones; not
// ".wav", so that no build takes a leftover in.
extern const char* const TemporarySuffix;

// The text ProblemText hands out.
std::string& Problem();
std::int32_t Refuse(std::int32_t result, const std::string& problem);
bool ReadWhole(const std::string& path, Bytes& bytes);
void RemoveAll(const std::vector<std::string>& paths);

// A bank's header and directory read from its file, its size checked
// against what the directory says, the sample data not read: samples'
// Pcm stay empty. A10NotAFile or A10NotABank with the reason otherwise.
std::int32_t ReadBankDirectory(const std::string& bankPath, Bank& bank, std::vector<PcmSpan>& spans);
// The header and directory bytes and the file's size, checked for the sizes
// only (BankDirectorySizesFit).
std::int32_t ReadBankDirectoryBytes(const std::string& bankPath, Bytes& head, std::uint32_t& size);

// A bank open for reading (others may read it, not write it) with its
// header and directory read and checked. The samples' data stay in the
// file: Piece(bank, i) copies sample i's bytes from there when written.
struct OpenedBank;
void CloseBank(OpenedBank& bank);
struct OpenedBank {
  FileHandle File = InvalidFileHandle;
  Bank Layout;
  std::vector<PcmSpan> Spans;
  OpenedBank() = default;
  OpenedBank(const OpenedBank&) = delete;
  OpenedBank& operator=(const OpenedBank&) = delete;
  ~OpenedBank() { CloseBank(*this); }
};
std::int32_t OpenBank(const std::string& bankPath, OpenedBank& bank);
FilePiece Piece(const OpenedBank& bank, std::size_t index);
// Sample index's bytes read from the file into bytes.
bool ReadSampleBytes(const OpenedBank& bank, std::size_t index, Bytes& bytes);
// Each sample's length in frames.
std::vector<std::uint32_t> FramesOf(const OpenedBank& bank);

// For a change of the bank: the file must be one this process may write.
std::int32_t RefuseUnwritable(const std::string& bankPath);
// Checks an index against a sample count (A10BadIndex with the reason).
std::int32_t CheckIndex(std::int32_t index, std::size_t count, const std::string& path);

// Writes the pieces to target + TemporarySuffix. On failure the temporary
// file is gone and the reason is set.
std::int32_t WriteTemporary(const std::string& target, const std::vector<FilePiece>& pieces);
// Moves the temporary file written for target over it (Windows 9x: in
// steps, see MoveFileOver); on failure the temporary file is removed and
// target is as it was.
std::int32_t ReplaceWithTemporary(const std::string& target);

template <typename Work>
std::int32_t Guarded(const char* path, Work work) {
  Problem().clear();
  if (path == nullptr || *path == '\0') {
    return Refuse(A10NotAFile, "no bank path was given.");
  }
#if defined(__cpp_exceptions)
  try {
    return work(std::string(path));
  } catch (...) {  // std::bad_alloc is all the standard containers throw
    return Refuse(A10OutOfMemory, "out of memory.");
  }
#else
  // The shipped i686 build has no exception runtime (it is prebuilt with
  // instructions a Pentium MMX lacks); there a failed allocation ends the
  // program as an uncaught std::bad_alloc would. Every allocation here is
  // bounded by the size of a file that was read.
  return work(std::string(path));
#endif
}
