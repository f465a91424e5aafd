// The two exported functions of a10. Files are read and written whole
// through the program's file layer; nothing here throws past the export.
#include "converter/a10.h"

#include <string>
#include <vector>

#include "converter/bank_format.h"
#include "converter/sample_files.h"
#include "converter/wav_format.h"
#include "files/fileops.h"
#include "files/files.h"
#include "files/path_parts.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The signature byte of a bank that has just been built.
constexpr std::uint8_t BuiltSignature = 0x04;

// A sample's PCM as it goes into files (kept in file byte order in memory).
FilePiece Piece(const Sample& sample) { return {sample.Pcm.data(), sample.Pcm.size() * 2}; }

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

std::int32_t DeconstructBank(const std::string& bankPath) {
  Bytes bytes;
  if (!ReadWhole(bankPath, bytes)) {
    return A10NotAFile;
  }
  // The samples' data go into the WAV files straight from the bank's bytes.
  Bank bank;
  std::vector<PcmSpan> spans;
  if (!ParseBankLayout(bytes.data(), bytes.size(), bank, spans)) {
    return A10NotABank;
  }
  const std::string dir = DirectoryPart(bankPath);
  std::vector<std::string> written;
  Bytes head;
  Bytes tail;
  for (std::size_t i = 0; i < bank.Samples.size(); ++i) {
    const Sample& sample = bank.Samples[i];
    const std::string path = dir + WavFileName(i, bank.Samples.size(), sample.Name);
    WavFileParts(sample, spans[i].Bytes, head, tail);
    const FilePiece pcm = {bytes.data() + spans[i].Offset, spans[i].Bytes};
    if (!WriteFileOver(path, {{head.data(), head.size()}, pcm, {tail.data(), tail.size()}})) {
      for (const std::string& done : written) {
        RemoveFile(done);
      }
      return A10WriteFailed;
    }
    written.push_back(path);
  }
  return A10Ok;
}

// The signature byte of the bank to be replaced, which must be a file this
// process may write; an empty file has none and gets the built-bank byte.
bool ExistingSignature(const std::string& bankPath, std::uint8_t& signature) {
  FileHandle file = InvalidFileHandle;
  if (!OpenWrite(bankPath, file)) {
    return false;
  }
  signature = BuiltSignature;
  const bool ok = FileSizeOf(file) == 0 || (SeekStart(file) && ReadByte(file, signature));
  CloseFile(file);
  return ok;
}

std::int32_t ConstructBank(const std::string& bankPath) {
  Bank bank;
  if (!ExistingSignature(bankPath, bank.Signature)) {
    return A10NotAFile;
  }
  const std::string dir = DirectoryPart(bankPath);
  Bytes bytes;  // one buffer for every file: fresh memory costs more than copying
  for (const std::string& name : ListFiles(dir + "*.wav")) {
    if (!IsWavFileName(name)) {
      continue;  // listed by its short 8.3 name only, such as "song.wave"
    }
    if (bank.Samples.size() == BankSamplesMax) {
      return A10TooLarge;
    }
    Sample sample;
    sample.Name = SampleNameOfFile(name);
    if (!ReadWhole(dir + name, bytes) || !ParseWav(bytes.data(), bytes.size(), sample)) {
      return A10BadWav;
    }
    bank.Samples.push_back(std::move(sample));
  }
  if (bank.Samples.empty()) {
    return A10NoWav;
  }
  // The samples' data are written from where they are, after the header
  // and directory, without gathering the whole bank in memory once more.
  Bytes head;
  if (!SerializeBankHead(bank, head)) {
    return A10TooLarge;
  }
  std::vector<FilePiece> pieces = {{head.data(), head.size()}};
  for (const Sample& sample : bank.Samples) {
    pieces.push_back(Piece(sample));
  }
  const std::string temp = bankPath + ".a10new";
  if (!WriteFileOver(temp, pieces)) {
    return A10WriteFailed;
  }
  if (!MoveFileOver(temp, bankPath)) {
    RemoveFile(temp);
    return A10WriteFailed;
  }
  return A10Ok;
}

template <typename Work>
std::int32_t Guarded(const char* bankPath, Work work) {
  if (bankPath == nullptr || *bankPath == '\0') {
    return A10NotAFile;
  }
#if defined(__cpp_exceptions)
  try {
    return work(std::string(bankPath));
  } catch (...) {  // std::bad_alloc is all the standard containers throw
    return A10OutOfMemory;
  }
#else
  // The shipped i686 build has no exception runtime (it is prebuilt with
  // instructions a Pentium MMX lacks); there a failed allocation ends the
  // program as an uncaught std::bad_alloc would. Every allocation here is
  // bounded by the size of a file that was read.
  return work(std::string(bankPath));
#endif
}

}  // namespace

extern "C" A10_API std::int32_t A10_CALL Deconstruct(const char* bankPath) {
  return Guarded(bankPath, DeconstructBank);
}

extern "C" A10_API std::int32_t A10_CALL Construct(const char* bankPath) { return Guarded(bankPath, ConstructBank); }
