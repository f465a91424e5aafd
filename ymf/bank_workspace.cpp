#include "ymf/bank_workspace.h"

#include "files/fileops.h"
#include "files/files.h"
#include "files/path_parts.h"
#include "files/wav_file_name.h"
#include "ymf/bank_mode.h"
#include "ymf/environment.h"
#include "ymf/operation_failure.h"
#include "ymf/protected_files.h"

bool CopyBankSet(const std::string& sourceBank, const std::string& targetBank) {
  // BankTablePath with 0 gives the bank's own name in the set: last character '0'.
  for (int k = 0; k <= 3; ++k) {
    if (IsProtectedFile(BankTablePath(targetBank, k))) {
      return false;
    }
  }
  if (!CopyFileOver(sourceBank, BankTablePath(targetBank, 0))) {
    return false;
  }
  for (int k = 1; k <= 3; ++k) {
    if (!CopyFileOver(BankTablePath(sourceBank, k), BankTablePath(targetBank, k))) {
      return false;
    }
  }
  return true;
}

std::vector<std::string> WavSamplesBeside(const std::string& bankPath) {
  std::vector<std::string> names;
  // "*.wav" also matches names whose short 8.3 form ends in .WAV, such as
  // "song.wave": only names that really end in ".wav" count.
  for (const std::string& name : ListFiles(DirectoryPart(bankPath) + "*.wav")) {
    if (IsWavFileName(name)) {
      names.push_back(name);
    }
  }
  return names;
}

bool DeleteWavSamples(const std::string& bankPath) {
  const std::string dir = DirectoryPart(bankPath);
  if (IsProtectedFolder(dir)) {
    return false;
  }
  for (const std::string& name : WavSamplesBeside(bankPath)) {
    RemoveFile(dir + name);
  }
  return true;
}

bool SetBankSignature(const std::string& bankPath, std::uint8_t signature) {
  if (IsProtectedFile(bankPath)) {
    return FailOn(FailureKind::Protected, bankPath);
  }
  FileHandle file = InvalidFileHandle;
  if (!OpenWrite(bankPath, file)) {
    return false;
  }
  // An empty file has no byte 0; writing one would make it grow.
  const std::uint32_t size = FileSizeOf(file);
  const bool ok = size != 0 && size != 0xFFFFFFFFu && SeekStart(file) && WriteByte(file, signature);
  CloseFile(file);
  return ok;
}

bool WriteSizeTable(const std::string& bankPath) {
  FileHandle file = InvalidFileHandle;
  if (!OpenRead(bankPath, file)) {
    return false;
  }
  const std::uint32_t size = FileSizeOf(file);
  CloseFile(file);
  if (size == 0xFFFFFFFFu) {
    return false;
  }
  std::uint8_t table[Table3Size] = {};
  for (int i = 0; i < 4; ++i) {
    table[Table3Size - 4 + i] = static_cast<std::uint8_t>(size >> (8 * i));
  }
  // The table is written in place: a name that is a link to the driver or
  // an original would take the table into it.
  const std::string tablePath = BankTablePath(bankPath, 3);
  if (IsProtectedFile(tablePath)) {
    return false;
  }
  if (OpenWrite(tablePath, file)) {
    WriteBlock(file, table, Table3Size);
    CloseFile(file);
  }
  return true;
}
