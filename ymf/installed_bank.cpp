#include "ymf/installed_bank.h"

#include "files/files.h"
#include "ymf/environment.h"

std::int32_t BankKindOfSignature(std::uint8_t signature) {
  switch (signature) {
    case 0xAA:
      return BankDefault;
    case 0x00:
      return BankExtended;
    case 0x01:
      return BankDance;
    case 0x02:
      return BankUser;
    default:
      return BankUnknown;
  }
}

std::int32_t BankKindOfMode(std::int32_t mode) {
  switch (mode) {
    case ModeDisabled:
      return BankNone;
    case ModeDefault:
      return BankDefault;
    case ModeExtended:
      return BankExtended;
    case ModeDance:
      return BankDance;
    default:
      return BankUser;
  }
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
