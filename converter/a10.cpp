// The two exported functions of a10. Files are read and written whole
// through the program's file layer; nothing here throws past the export.
#include "converter/a10.h"

#include <algorithm>
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

// The text ProblemText hands out.
std::string& Problem() {
  static std::string problem;
  return problem;
}

std::int32_t Refuse(std::int32_t result, const std::string& problem) {
  Problem() = problem;
  return result;
}

// Suffix of the files written before they replace the real ones; not
// ".wav", so that no build takes a leftover in.
const char* const TemporarySuffix = ".a10new";
// Of a sample file moved aside while the new ones go into place.
const char* const AsideSuffix = ".a10old";

void RemoveAll(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    RemoveFile(path);
  }
}

std::int32_t DeconstructBank(const std::string& bankPath) {
  Bytes bytes;
  if (!ReadWhole(bankPath, bytes)) {
    return Refuse(A10NotAFile, bankPath + " cannot be read.");
  }
  // The samples' data go into the WAV files straight from the bank's bytes.
  Bank bank;
  std::vector<PcmSpan> spans;
  if (!ParseBankLayout(bytes.data(), bytes.size(), bank, spans)) {
    return Refuse(A10NotABank, bankPath + " is not a bank of the converter's format.");
  }
  const std::string dir = DirectoryPart(bankPath);
  std::vector<std::string> names;
  for (std::size_t i = 0; i < bank.Samples.size(); ++i) {
    names.push_back(WavFileName(i, bank.Samples.size(), bank.Samples[i].Name));
  }
  // Another WAV file would be built into the bank with these: the samples
  // of two banks would mix without a word.
  std::string foreign;
  std::size_t foreignCount = 0;
  for (const std::string& name : ListFiles(dir + "*.wav")) {
    if (IsWavFileName(name) && std::find(names.begin(), names.end(), name) == names.end()) {
      foreign += (foreignCount++ < 5 ? (foreign.empty() ? "" : ", ") + name : std::string());
    }
  }
  if (foreignCount > 0) {
    return Refuse(A10ForeignWav, "the folder " + dir + " holds " + std::to_string(foreignCount) +
                                     " WAV file(s) this bank does not write (" + foreign +
                                     (foreignCount > 5 ? ", ..." : "") +
                                     "); a build would take them in. Extract into a folder without other WAV files.");
  }
  // A file of these names that cannot be replaced stops everything before
  // anything is written.
  for (const std::string& name : names) {
    FileHandle file = InvalidFileHandle;
    if (FileExists(dir + name)) {
      if (!OpenWrite(dir + name, file)) {
        return Refuse(A10WriteFailed,
                      dir + name + " cannot be replaced: it is read-only or in use. Nothing was written.");
      }
      CloseFile(file);
    }
  }
  std::vector<std::string> written;
  Bytes head;
  Bytes tail;
  for (std::size_t i = 0; i < bank.Samples.size(); ++i) {
    const std::string temporary = dir + names[i] + TemporarySuffix;
    WavFileParts(bank.Samples[i], spans[i].Bytes, head, tail);
    const FilePiece pcm = {bytes.data() + spans[i].Offset, spans[i].Bytes};
    if (!WriteFileOver(temporary, {{head.data(), head.size()}, pcm, {tail.data(), tail.size()}})) {
      RemoveFile(temporary);
      RemoveAll(written);
      return Refuse(A10WriteFailed, dir + names[i] + " cannot be written (is the disk full?). Nothing was written.");
    }
    written.push_back(temporary);
  }
  // A file that another program holds open, even one that lets others read
  // and write it, opens for writing above and still cannot be renamed over.
  // So every existing file is moved aside before the first one is
  // replaced; should any of them not move, or a new one not go into place,
  // everything goes back as it was.
  std::vector<std::string> aside;
  const auto putBack = [&](std::size_t movedIn) {
    for (std::size_t i = 0; i < movedIn; ++i) {
      RemoveFile(dir + names[i]);
    }
    for (const std::string& name : aside) {
      MoveFileOver(dir + name + AsideSuffix, dir + name);
    }
    RemoveAll(std::vector<std::string>(written.begin() + static_cast<std::ptrdiff_t>(movedIn), written.end()));
  };
  for (const std::string& name : names) {
    if (FileExists(dir + name)) {
      if (!MoveFileOver(dir + name, dir + name + AsideSuffix)) {
        putBack(0);
        return Refuse(A10WriteFailed,
                      dir + name + " cannot be replaced: another program has it open. Nothing was changed.");
      }
      aside.push_back(name);
    }
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!MoveFileOver(written[i], dir + names[i])) {
      putBack(i);
      return Refuse(A10WriteFailed, dir + names[i] + " cannot be replaced. Nothing was changed.");
    }
  }
  for (const std::string& name : aside) {
    RemoveFile(dir + name + AsideSuffix);
  }
  return A10Ok;
}

// The sample of the bank being rebuilt whose WAV file has this name.
const Sample* PreviousSample(const Bank& previous, const std::string& fileName) {
  for (std::size_t i = 0; i < previous.Samples.size(); ++i) {
    if (WavFileName(i, previous.Samples.size(), previous.Samples[i].Name) == fileName) {
      return &previous.Samples[i];
    }
  }
  return nullptr;
}

// A WAV editor that drops the "smpl" chunk (sox, plain libsndfile writers)
// must not cost the sample its pitch and loop: they come from the bank
// being rebuilt, the loop only while it still fits the new length.
void KeepPreviousPitchAndLoop(const Sample& previous, Sample& sample) {
  sample.RootKey = previous.RootKey;
  sample.FineTune = previous.FineTune;
  sample.Looped = previous.Looped && previous.LoopEnd < sample.Frames();
  sample.LoopStart = sample.Looped ? previous.LoopStart : 0;
  sample.LoopEnd = sample.Looped ? previous.LoopEnd : 0;
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
    return Refuse(A10NotAFile, bankPath + " is missing, read-only or in use.");
  }
  const std::string dir = DirectoryPart(bankPath);
  Bytes bytes;                         // one buffer for every file: fresh memory costs more than copying
  std::vector<std::string> fileNames;  // of the samples, in their order
  std::vector<bool> hasSmpl;
  for (const std::string& name : ListFiles(dir + "*.wav")) {
    if (!IsWavFileName(name)) {
      continue;  // listed by its short 8.3 name only, such as "song.wave"
    }
    if (bank.Samples.size() == BankSamplesMax) {
      return Refuse(A10TooLarge, "more than " + std::to_string(BankSamplesMax) + " WAV files in " + dir + ".");
    }
    Sample sample;
    sample.Name = SampleNameOfFile(name);
    bool smpl = true;
    if (!ReadWhole(dir + name, bytes)) {
      return Refuse(A10BadWav, dir + name + " cannot be read.");
    }
    if (!ParseWav(bytes.data(), bytes.size(), sample, &smpl)) {
      return Refuse(A10BadWav, dir + name +
                                   " is not a WAV file the converter takes (8, 16, 24 or 32-bit PCM or 32-bit float, "
                                   "mono or stereo, 1000 to 384000 Hz).");
    }
    fileNames.push_back(name);
    hasSmpl.push_back(smpl);
    bank.Samples.push_back(std::move(sample));
  }
  if (bank.Samples.empty()) {
    return Refuse(A10NoWav,
                  "there are no WAV files in " + (dir.empty() ? std::string("the current folder") : dir) + ".");
  }
  if (std::find(hasSmpl.begin(), hasSmpl.end(), false) != hasSmpl.end()) {
    // The bank being rebuilt is read only for them; a file that is not a
    // bank of this format has nothing to give.
    Bank previous;
    std::vector<PcmSpan> spans;
    if (ReadWhole(bankPath, bytes) && ParseBankLayout(bytes.data(), bytes.size(), previous, spans)) {
      for (std::size_t i = 0; i < bank.Samples.size(); ++i) {
        const Sample* before = hasSmpl[i] ? nullptr : PreviousSample(previous, fileNames[i]);
        if (before != nullptr) {
          KeepPreviousPitchAndLoop(*before, bank.Samples[i]);
        }
      }
    }
  }
  // The samples' data are written from where they are, after the header
  // and directory, without gathering the whole bank in memory once more.
  Bytes head;
  if (!SerializeBankHead(bank, head)) {
    return Refuse(A10TooLarge, "the bank would be larger than 2 GB.");
  }
  std::vector<FilePiece> pieces = {{head.data(), head.size()}};
  for (const Sample& sample : bank.Samples) {
    pieces.push_back(Piece(sample));
  }
  const std::string temp = bankPath + TemporarySuffix;
  if (!WriteFileOver(temp, pieces)) {
    RemoveFile(temp);
    return Refuse(A10WriteFailed, temp + " cannot be written (is the disk full?); the bank is unchanged.");
  }
  if (!MoveFileOver(temp, bankPath)) {
    RemoveFile(temp);
    return Refuse(A10WriteFailed, bankPath + " cannot be replaced; it is unchanged.");
  }
  return A10Ok;
}

template <typename Work>
std::int32_t Guarded(const char* bankPath, Work work) {
  Problem().clear();
  if (bankPath == nullptr || *bankPath == '\0') {
    return Refuse(A10NotAFile, "no bank path was given.");
  }
#if defined(__cpp_exceptions)
  try {
    return work(std::string(bankPath));
  } catch (...) {  // std::bad_alloc is all the standard containers throw
    return Refuse(A10OutOfMemory, "out of memory.");
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

extern "C" A10_API const char* A10_CALL ProblemText() { return Problem().c_str(); }

extern "C" A10_API std::int32_t A10_CALL Construct(const char* bankPath) { return Guarded(bankPath, ConstructBank); }
