// Deconstruct, Construct and what they share with every export. Files are
// read and written whole through the program's file layer; nothing here
// throws past the export.
#include "converter/a10.h"
#include "converter/a10_support.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "converter/bank_format.h"
#include "converter/sample_files.h"
#include "converter/wav_format.h"
#include "files/fileops.h"
#include "files/files.h"
#include "files/path_parts.h"

namespace {

// The signature byte of a bank that has just been built.
constexpr std::uint8_t BuiltSignature = 0x04;

// A sample's PCM as it goes into files (kept in file byte order in memory).
FilePiece Piece(const Sample& sample) { return {sample.Pcm.data(), sample.Pcm.size() * 2}; }

// Of a sample file moved aside while the new ones go into place.
const char* const AsideSuffix = ".a10old";

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
  // Windows finds a file by its name in any letter case: 000_Piano.WAV is
  // the file this bank writes as 000_Piano.wav, and is replaced like it.
  const auto ownName = [&names](const std::string& name) {
    return std::any_of(names.begin(), names.end(),
                       [&name](const std::string& own) { return SameNameIgnoringCase(own, name); });
  };
  for (const std::string& name : ListFiles(dir + "*.wav")) {
    if (IsWavFileName(name) && !ownName(name)) {
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

// What BuildReport hands out.
std::string& Report() {
  static std::string report;
  return report;
}

// Whether sample index of the open bank holds these data (the size already
// compared); old is the buffer it is read into.
bool SameData(const OpenedBank& bank, std::size_t index, const std::vector<std::int16_t>& pcm, Bytes& old) {
  return ReadSampleBytes(bank, index, old) && (old.empty() || std::memcmp(pcm.data(), old.data(), old.size()) == 0);
}

// Takes root key, fine tune and loop from the bank being rebuilt for the
// WAV files without a "smpl" chunk, and tells which files were new (not
// written by Deconstruct for that bank), which kept the old pitch and
// loop, and how many samples differ from the old ones of their file name.
std::string CompareWithPrevious(const std::string& bankPath, const std::vector<std::string>& fileNames,
                                const std::vector<bool>& hasSmpl, Bank& bank) {
  // A file that is not a bank of this format has nothing to give.
  OpenedBank previous;
  const std::string problem = Problem();
  const bool known = OpenBank(bankPath, previous) == A10Ok;
  Problem() = problem;
  // A sorted list, not std::map: the shipped i686 runtime's tree code uses
  // instructions a Pentium MMX lacks.
  std::vector<std::pair<std::string, std::size_t>> written;
  for (std::size_t i = 0; known && i < previous.Layout.Samples.size(); ++i) {
    written.emplace_back(WavFileName(i, previous.Layout.Samples.size(), previous.Layout.Samples[i].Name), i);
  }
  std::sort(written.begin(), written.end());
  std::string report;
  std::size_t changed = 0;
  Bytes old;
  for (std::size_t i = 0; i < bank.Samples.size(); ++i) {
    const auto found = std::lower_bound(written.begin(), written.end(), std::make_pair(fileNames[i], std::size_t{0}));
    if (found == written.end() || found->first != fileNames[i]) {
      report += "new\t" + fileNames[i] + "\n";
      continue;
    }
    const Sample& before = previous.Layout.Samples[found->second];
    Sample& sample = bank.Samples[i];
    if (!hasSmpl[i]) {
      KeepPitchAndLoop(before, sample);
      report += "kept\t" + fileNames[i] + "\n";
    }
    const PcmSpan span = previous.Spans[found->second];
    const bool same = before.Name == sample.Name && before.SampleRate == sample.SampleRate &&
                      before.Channels == sample.Channels && before.RootKey == sample.RootKey &&
                      before.FineTune == sample.FineTune && before.Looped == sample.Looped &&
                      before.LoopStart == sample.LoopStart && before.LoopEnd == sample.LoopEnd &&
                      sample.Pcm.size() * 2 == span.Bytes && SameData(previous, found->second, sample.Pcm, old);
    changed += same ? 0 : 1;
  }
  return report + "changed\t" + std::to_string(changed) + "\n";
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
  Report().clear();
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
  const std::string report = CompareWithPrevious(bankPath, fileNames, hasSmpl, bank);
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
  std::int32_t result = WriteTemporary(bankPath, pieces);
  if (result == A10Ok && (result = ReplaceWithTemporary(bankPath)) == A10Ok) {
    Report() = report;
  }
  return result;
}

}  // namespace

extern "C" A10_API std::int32_t A10_CALL Deconstruct(const char* bankPath) {
  return Guarded(bankPath, DeconstructBank);
}

extern "C" A10_API const char* A10_CALL ProblemText() { return Problem().c_str(); }

extern "C" A10_API std::int32_t A10_CALL Construct(const char* bankPath) { return Guarded(bankPath, ConstructBank); }

extern "C" A10_API const char* A10_CALL BuildReport() { return Report().c_str(); }
