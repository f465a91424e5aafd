#include "ymf/installed_bank.h"

#include "files/files.h"
#include "ymf/bank_kinds.h"
#include "ymf/environment.h"

std::int32_t BankKindOfSignature(std::uint8_t signature) {
  for (const BankKindRow& row : BankKinds) {
    if (row.Signature == signature) {
      return row.Kind;
    }
  }
  return BankUnknown;
}

std::int32_t BankKindOfMode(std::int32_t mode) {
  for (const BankKindRow& row : BankKinds) {
    if (row.Mode == mode) {
      return row.Kind;
    }
  }
  return BankUser;
}

void IdentifyInstalledBank() {
  FileHandle file = InvalidFileHandle;
  if (!OpenRead(Env.BankPath, file)) {
    Env.BankKind = BankNone;
    return;
  }
  Env.BankSize = static_cast<std::int32_t>(FileSizeOf(file));
  std::uint8_t signature = 0;
  // An empty file has no signature byte to read: its kind is unknown.
  Env.BankKind = SeekStart(file) && ReadByte(file, signature) ? BankKindOfSignature(signature) : BankUnknown;
  CloseFile(file);
}
