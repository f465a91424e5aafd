#include "ymf/sample_edit.h"

#include "files/files.h"
#include "files/path_parts.h"
#include "files/same_file.h"
#include "ymf/bank_mode.h"
#include "ymf/bank_workspace.h"
#include "ymf/protected_files.h"

namespace {

// The signature byte the bank starts with; false when it cannot be read.
bool SignatureOf(const std::string& bankPath, std::uint8_t& signature) {
  FileHandle file = InvalidFileHandle;
  if (!OpenRead(bankPath, file)) {
    return false;
  }
  const bool ok = ReadByte(file, signature);
  CloseFile(file);
  return ok;
}

// After the library replaced the bank: the size table takes the new size,
// and the bank keeps the kind it had (a sample edit does not make a User
// bank an Extended one or a just-built one).
bool Finish(const std::string& bankPath, std::uint8_t signature) {
  std::uint8_t now = signature;
  if (SignatureOf(bankPath, now) && now != signature && !SetBankSignature(bankPath, signature)) {
    return false;
  }
  return WriteSizeTable(bankPath);
}

bool ExportAllowed(const std::string& bankPath, const std::string& target) {
  return !target.empty() && !IsProtectedFile(target) && !IsProtectedFolder(DirectoryPart(target)) &&
         !SameFileOrDirectory(target, bankPath) && !SameFileOrDirectory(target, BankTablePath(bankPath, 3));
}

}  // namespace

bool SampleEditAllowed(const std::string& bankPath) {
  return !IsProtectedFile(bankPath) && !IsProtectedFile(BankTablePath(bankPath, 3)) &&
         !IsProtectedFolder(DirectoryPart(bankPath));
}

bool SetSampleProperties(const std::string& bankPath, std::int32_t index, const SampleInfo& info) {
  std::uint8_t signature = 0;
  if (!SampleEditAllowed(bankPath) || !SignatureOf(bankPath, signature) ||
      ConverterSetSampleInfo(bankPath, index, info) != 0) {
    return false;
  }
  return Finish(bankPath, signature);
}

bool ReplaceBankSample(const std::string& bankPath, std::int32_t index, const std::string& sourcePath,
                       std::int32_t fontSample) {
  std::uint8_t signature = 0;
  if (!SampleEditAllowed(bankPath) || SameFileOrDirectory(sourcePath, bankPath) || !SignatureOf(bankPath, signature) ||
      ConverterReplaceSample(bankPath, index, sourcePath, fontSample) != 0) {
    return false;
  }
  return Finish(bankPath, signature);
}

bool ExportBankSampleWav(const std::string& bankPath, std::int32_t index, const std::string& wavPath) {
  return ExportAllowed(bankPath, wavPath) && ConverterExportSampleWav(bankPath, index, wavPath) == 0;
}

bool ExportBankSoundFont(const std::string& bankPath, const std::string& fontPath) {
  return ExportAllowed(bankPath, fontPath) && ConverterExportSoundFont(bankPath, fontPath) == 0;
}
