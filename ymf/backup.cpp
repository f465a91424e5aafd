#include "ymf/backup.h"

#include "platform/fileops.h"
#include "ymf/environment.h"

bool BackupPairPresent() { return FileExists(Env.BackupBankPath) && FileExists(Env.BackupDriverPath); }

bool BackupDriverFiles() {
  if (BackupPairPresent()) {
    return true;
  }
  if (!CopyFileOver(Env.BankPath, Env.BackupBankPath)) {
    return false;
  }
  return CopyFileOver(Env.DriverPath, Env.BackupDriverPath);
}

bool InstallBank(const std::string& sourceBank) {
  if (!CopyFileOver(sourceBank, Env.BankPath)) {
    return false;
  }
  return CopyFileOver(Env.BackupDriverPath, Env.DriverPath);
}

bool RestoreDriverFiles() {
  // The backup pair may be the only copy of the originals left: it is
  // removed only once both files are back in place.
  if (!InstallBank(Env.BackupBankPath)) {
    return false;
  }
  const bool driverDeleted = RemoveFile(Env.BackupDriverPath);
  const bool bankDeleted = RemoveFile(Env.BackupBankPath);
  return driverDeleted && bankDeleted;
}
