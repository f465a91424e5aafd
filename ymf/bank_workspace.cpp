#include "ymf/bank_workspace.h"

#include "files/fileops.h"
#include "files/files.h"
#include "files/path_parts.h"
#include "files/wav_file_name.h"
#include "ymf/bank_kinds.h"
#include "ymf/bank_mode.h"
#include "ymf/environment.h"
#include "ymf/file_contents.h"
#include "ymf/installed_bank.h"
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

namespace {

const char* const NothingAdded = " Nothing was added.";

// Byte 0 of the bank; false, with the reason recorded, when the bank cannot
// be read or is empty.
bool ReadSignature(const std::string& bank, std::uint8_t& signature) {
  FileHandle file = InvalidFileHandle;
  if (!OpenRead(bank, file)) {
    return Fail(FailureKind::FileUnusable, UnreadableText("bank file", bank) + NothingAdded);
  }
  const bool read = SeekStart(file) && ReadByte(file, signature);
  CloseFile(file);
  return read || Fail(FailureKind::FileUnusable, "The bank file " + bank + " is empty." + NothingAdded);
}

}  // namespace

std::int32_t BankSetKindOf(const std::string& sourceBank) {
  std::uint8_t signature = 0;
  if (!ReadSignature(sourceBank, signature)) {
    return BankUnknown;
  }
  const std::int32_t kind = BankKindOfSignature(signature);
  if (kind == BankExtended || kind == BankDance) {
    return kind;
  }
  const BankKindRow* row = BankKindRowOf(kind);
  Fail(FailureKind::FileUnusable, "The bank file " + sourceBank + " has the signature " + SignatureText(signature) +
                                      " (" + (row != nullptr ? row->Title : "unknown") +
                                      "), not 0x00 (Extended) or 0x01 (Dance)." + NothingAdded);
  return BankUnknown;
}

bool AddBankSet(const std::string& sourceBank, std::int32_t kind, const std::string& targetBank) {
  const BankKindRow* row = BankKindRowOf(kind);
  if (row == nullptr || (kind != BankExtended && kind != BankDance)) {
    return Fail(FailureKind::FileUnusable,
                std::string("Only an Extended or Dance bank set can be added.") + NothingAdded);
  }
  // The bytes checked are the bytes written: the files are read once.
  Bytes files[4];
  if (!ReadFileContents(sourceBank, files[0])) {
    return Fail(FailureKind::FileUnusable, UnreadableText("bank file", sourceBank) + NothingAdded);
  }
  if (files[0].empty()) {
    return Fail(FailureKind::FileUnusable, "The bank file " + sourceBank + " is empty." + NothingAdded);
  }
  if (files[0][0] != row->Signature) {
    return Fail(FailureKind::FileUnusable, "The bank file " + sourceBank + " has the signature " +
                                               SignatureText(files[0][0]) + ", not " + SignatureText(row->Signature) +
                                               " (" + row->Title + ")." + NothingAdded);
  }
  for (int k = 1; k <= 3; ++k) {
    const std::string path = BankTablePath(sourceBank, k);
    if (!ReadFileContents(path, files[k])) {
      return Fail(FailureKind::FileUnusable, UnreadableText("table file", path) + NothingAdded);
    }
    const auto need = static_cast<std::size_t>(BankTables[k - 1].Size);
    if (files[k].size() < need) {
      return Fail(FailureKind::FileUnusable, "The table file " + path + " has " + std::to_string(files[k].size()) +
                                                 " bytes, fewer than the " + std::to_string(need) +
                                                 " bytes a bank switch takes." + NothingAdded);
    }
  }
  std::string targets[4];
  for (int k = 0; k <= 3; ++k) {
    targets[k] = BankTablePath(targetBank, k);
    if (IsProtectedFile(targets[k])) {
      return FailOn(FailureKind::Protected, targets[k],
                    "The file " + targets[k] + " is protected: Tovaro does not write it." + NothingAdded);
    }
  }
  const auto removeCopies = [&targets](int from) {
    for (int k = from; k <= 3; ++k) {
      if (FileExists(TemporaryPath(targets[k]))) {
        RemoveFile(TemporaryPath(targets[k]));
      }
    }
  };
  for (int k = 0; k <= 3; ++k) {
    if (!WriteFileOver(TemporaryPath(targets[k]), files[k].data(), files[k].size())) {
      removeCopies(0);
      return Fail(FailureKind::StepFailed, "Cannot write " + TemporaryPath(targets[k]) + "." + NothingAdded);
    }
  }
  for (int k = 0; k <= 3; ++k) {
    if (!MoveFileOver(TemporaryPath(targets[k]), targets[k])) {
      removeCopies(k);
      return Fail(FailureKind::StepFailed, "Cannot replace " + targets[k] +
                                               (k == 0 ? std::string(".") + NothingAdded
                                                       : "; the files of the set before it were replaced, so "
                                                         "the set is incomplete."));
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
