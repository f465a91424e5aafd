#include "ymf/bank_mode.h"

#include <algorithm>
#include <vector>

#include "files/files.h"
#include "platform/fileops.h"
#include "ymf/backup.h"
#include "ymf/code_patch.h"
#include "ymf/driver_checksum.h"
#include "ymf/environment.h"
#include "ymf/protected_files.h"
#include "ymf/version_profile.h"

namespace {

bool FileAtLeast(const std::string& path, std::int64_t size) {
  FileHandle file = InvalidFileHandle;
  if (!OpenRead(path, file)) {
    return false;
  }
  const std::uint32_t actual = FileSizeOf(file);
  CloseFile(file);
  return actual != 0xFFFFFFFFu && actual >= size;
}

// The end of the last byte the patch and the tables write; 0 when an offset
// is negative.
std::int64_t WrittenExtent(const VersionProfile& profile, bool isVxD) {
  std::int64_t end = 0;
  for (const PatchByte& entry : PatchListFor(isVxD)) {
    const std::int64_t at = static_cast<std::int64_t>(PatchByteOffset(profile, entry));
    if (at < 0) {
      return 0;
    }
    end = std::max(end, at + 1);
  }
  for (const BankTable& table : BankTables) {
    const std::int64_t at = profile.*table.Offset;
    if (at < 0) {
      return 0;
    }
    end = std::max(end, at + table.Size);
  }
  return end;
}

// Everything a switch to the given bank needs, checked before anything is
// changed: the backup pair, the bank and its three tables, and a backup
// driver of the build whose offsets the profile holds, long enough that
// every written byte lies inside it.
bool BankSwitchPossible(const std::string& sourceBank) {
  if (!Env.Profile.ProfileKnown || !BackupPairPresent()) {
    return false;
  }
  FileHandle file = InvalidFileHandle;
  if (!OpenRead(sourceBank, file)) {
    return false;
  }
  CloseFile(file);
  for (int k = 1; k <= 3; ++k) {
    if (!FileAtLeast(BankTablePath(sourceBank, k), BankTables[k - 1].Size)) {
      return false;
    }
  }
  if (!OpenRead(Env.BackupDriverPath, file)) {
    return false;
  }
  const std::string backupVersion = ReadVersionText(file);
  const std::uint32_t backupSize = FileSizeOf(file);
  CloseFile(file);
  const std::int64_t extent = WrittenExtent(Env.Profile, Env.IsVxD);
  return backupVersion == Env.Profile.VersionText && backupSize != 0xFFFFFFFFu && extent > 0 && extent <= backupSize;
}

}  // namespace

std::string BankTablePath(const std::string& bankPath, int table) {
  if (bankPath.empty()) {
    return std::string();
  }
  std::string path = bankPath;
  path.back() = static_cast<char>('0' + table);
  return path;
}

bool WriteBankTables(const std::string& bankPath) {
  if (!Env.Profile.ProfileKnown) {
    return false;
  }
  FileHandle driver = InvalidFileHandle;
  if (!OpenWrite(Env.DriverPath, driver)) {
    return false;
  }
  std::vector<std::uint8_t> buffer(Table1Size);
  bool ok = true;
  for (int k = 1; k <= 3 && ok; ++k) {
    const BankTable& table = BankTables[k - 1];
    FileHandle source = InvalidFileHandle;
    ok = OpenRead(BankTablePath(bankPath, k), source);
    if (ok) {
      ok = SeekTo(driver, Env.Profile.*table.Offset) && ReadBlock(source, buffer.data(), table.Size) &&
           WriteBlock(driver, buffer.data(), table.Size);
      CloseFile(source);
    }
  }
  CloseFile(driver);
  return ok;
}

bool SetBankMode(std::int32_t mode, const std::string& userBankPath) {
  // Without the backup pair the deleted bank or the driver patched for
  // another bank could never be brought back.
  if (mode == ModeDisabled) {
    return BackupPairPresent() && RemoveFile(Env.BankPath);
  }
  if (mode == ModeDefault) {
    return BackupPairPresent() && InstallBank(Env.BackupBankPath);
  }
  const std::string& source =
      mode == ModeExtended ? Env.ExtendedBankPath : (mode == ModeDance ? Env.DanceBankPath : userBankPath);
  if (!BankSwitchPossible(source) || IsProtectedFile(source)) {
    return false;
  }
  bool ok = InstallBank(source);
  if (ok) {
    ok = PatchDriverCode();
  }
  if (ok) {
    ok = WriteBankTables(source);
  }
  if (!Env.IsVxD) {
    UpdateDriverChecksum();
  }
  return ok;
}
