#include "ymf/backup.h"

#include <algorithm>

#include "files/fileops.h"
#include "files/files.h"
#include "files/le_bytes.h"
#include "files/path_parts.h"
#include "ymf/backup_manifest.h"
#include "ymf/bank_kinds.h"
#include "ymf/code_patch.h"
#include "ymf/content_hash.h"
#include "ymf/driver_files_lock.h"
#include "ymf/environment.h"
#include "ymf/operation_failure.h"
#include "ymf/pe_checksum.h"
#include "ymf/settings_backup.h"
#include "ymf/user_bank_record.h"
#include "ymf/version_profile.h"

namespace {

constexpr std::uint8_t DefaultBankSignature = BankKinds[BankDefault].Signature;
std::string FileNameOf(const std::string& path) { return FileNamePart(path); }

std::string BackupDir() { return DirectoryPart(Env.BackupDriverPath); }

BackupFileRecord RecordOf(const std::string& path, const std::uint8_t* data, std::uint32_t size) {
  BackupFileRecord record;
  record.Name = FileNameOf(path);
  record.Size = size;
  record.Hash = ContentHash(data, size);
  return record;
}

BackupFileRecord RecordOf(const std::string& path, const Bytes& bytes) {
  return RecordOf(path, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

BackupFileRecord RecordOf(const std::string& path, const FileView& view) {
  return RecordOf(path, view.Data, view.Size);
}

// Whether a file holds exactly a view's bytes.
bool HoldsSame(const std::string& path, const FileView& view) {
  Bytes bytes;
  return ReadFileContents(path, bytes) && bytes.size() == view.Size &&
         (view.Size == 0 || std::equal(bytes.begin(), bytes.end(), view.Data));
}

bool NotValid(BackupCheck& check, const std::string& problem) {
  check.State = BackupState::NotValid;
  check.Problem = problem;
  return false;
}

// Whether a copy matches its line of the manifest; says why not.
bool Matches(BackupCheck& check, const std::string& path, const BackupFileRecord& record, const std::uint8_t* data,
             std::size_t size) {
  if (size != record.Size) {
    return NotValid(check, "The backup copy " + path + " has " + std::to_string(size) +
                               " bytes where its manifest lists " + std::to_string(record.Size) +
                               ": it is not a complete copy of the original.");
  }
  if (ContentHash(data, size) != record.Hash) {
    return NotValid(check, "The contents of the backup copy " + path + " differ from its manifest.");
  }
  return true;
}

// A backup copy as a view; false, judging the backup not valid, when it
// cannot be read.
bool ViewCopy(BackupCheck& check, const std::string& path, SharedView& view) {
  view = OpenSharedView(path);
  if (view == nullptr) {
    return NotValid(check, "The backup copy " + path + (FileExists(path) ? " cannot be read." : " is missing."));
  }
  return true;
}

void CheckAgainstManifest(BackupCheck& check, BackupCopies copies) {
  const std::string manifestPath = BackupManifestPath();
  Bytes text;
  BackupManifest manifest;
  // Four short lines: anything much larger is not a manifest, and is not
  // read into memory to find that out.
  std::uint32_t size = 0;
  if (FileSizeByPath(manifestPath, size) && size > BackupManifestSizeMax) {
    NotValid(check, "The backup manifest " + manifestPath + " has " + std::to_string(size) +
                        " bytes, more than a manifest ever has: it is damaged.");
    return;
  }
  if (!ReadFileContents(manifestPath, text, BackupManifestSizeMax)) {
    NotValid(check, "The backup manifest " + manifestPath + " cannot be read.");
    return;
  }
  if (!ParseBackupManifest(std::string(text.begin(), text.end()), manifest)) {
    NotValid(check, "The backup manifest " + manifestPath + " is damaged.");
    return;
  }
  if (manifest.Driver.Name != FileNameOf(Env.BackupDriverPath) ||
      manifest.Bank.Name != FileNameOf(Env.BackupBankPath)) {
    NotValid(check, "The backup manifest " + manifestPath + " describes " + manifest.Driver.Name + " and " +
                        manifest.Bank.Name + ", not the files of this driver.");
    return;
  }
  if (!ViewCopy(check, Env.BackupDriverPath, check.Driver) ||
      !Matches(check, Env.BackupDriverPath, manifest.Driver, check.Driver->Data, check.Driver->Size)) {
    return;
  }
  if (copies == BackupCopies::Both) {
    if (!ViewCopy(check, Env.BackupBankPath, check.Bank) ||
        !Matches(check, Env.BackupBankPath, manifest.Bank, check.Bank->Data, check.Bank->Size)) {
      return;
    }
  } else {
    std::uint32_t size = 0;
    if (!FileSizeByPath(Env.BackupBankPath, size)) {
      NotValid(check, "The backup copy " + Env.BackupBankPath + " is missing.");
      return;
    }
    if (size != manifest.Bank.Size) {
      NotValid(check, "The backup copy " + Env.BackupBankPath + " has " + std::to_string(size) +
                          " bytes where its manifest lists " + std::to_string(manifest.Bank.Size) +
                          ": it is not a complete copy of the original.");
      return;
    }
  }
  check.VersionText = VersionTextOfImage(check.Driver->Data, check.Driver->Size);
  if (check.VersionText != manifest.VersionText) {
    NotValid(check, "The backup driver " + Env.BackupDriverPath + " is not of the version its manifest lists.");
    return;
  }
  check.State = BackupState::Verified;
}

// The size of the Default bank that the driver's own set-up installs: the
// same 2.31 MB bank for every known build, VxD and WDM.
constexpr std::uint32_t StockDefaultBankSizes[] = {2424832};

// Why a Default bank of this size cannot be a whole original; empty when it
// can. The live bank is the measure when it is a Default bank itself; else
// only the size of a stock Default bank will do: a cut copy of any other
// size is never put live in place of the original.
std::string ImplausibleBankSize(std::uint32_t size) {
  FileHandle file = InvalidFileHandle;
  if (OpenRead(Env.BankPath, file)) {
    const std::uint32_t liveSize = FileSizeOf(file);
    std::uint8_t signature = 0;
    const bool liveDefault =
        liveSize != 0xFFFFFFFFu && SeekStart(file) && ReadByte(file, signature) && signature == DefaultBankSignature;
    CloseFile(file);
    if (liveDefault) {
      return size == liveSize
                 ? std::string()
                 : " where the installed Default bank " + Env.BankPath + " has " + std::to_string(liveSize);
    }
  }
  for (std::uint32_t stock : StockDefaultBankSizes) {
    if (size == stock) {
      return std::string();
    }
  }
  return " where the driver's stock Default bank has " + std::to_string(StockDefaultBankSizes[0]);
}

// A pair made before backups had a manifest: taken for the originals only
// when it proves itself, since restoring it puts it over the live files
// and then deletes it.
void JudgeEarlierPair(BackupCheck& check) {
  const std::string earlier = " (a backup without a manifest, made by an earlier version)";
  if (!ViewCopy(check, Env.BackupDriverPath, check.Driver)) {
    return;
  }
  const FileView& driver = *check.Driver;
  check.VersionText = VersionTextOfImage(driver.Data, driver.Size);
  if (!VersionTextFound(check.VersionText)) {
    NotValid(check, "The backup driver " + Env.BackupDriverPath + earlier +
                        " carries no version text, so it is not taken for the original.");
    return;
  }
  if (VersionTextFound(Env.Profile.VersionText) && check.VersionText != Env.Profile.VersionText) {
    NotValid(check,
             OtherBuildText(check.VersionText, Env.Profile.VersionText) + " (" + Env.BackupDriverPath + earlier + ").");
    return;
  }
  std::uint32_t field = 0;
  if (!Env.IsVxD && (!LocateChecksumField(driver.Data, driver.Size, field) ||
                     PeImageChecksum(driver.Data, driver.Size, field) != Le32(driver.Data + field))) {
    NotValid(check, "The backup driver " + Env.BackupDriverPath + earlier +
                        " does not carry a correct image checksum: it is not a complete original.");
    return;
  }
  if (ImageCarriesPatch(driver.Data, driver.Size)) {
    NotValid(check, "The backup driver " + Env.BackupDriverPath + earlier +
                        " carries the code patch of a bank switch: it is not the original.");
    return;
  }
  if (!ViewCopy(check, Env.BackupBankPath, check.Bank)) {
    return;
  }
  if (check.Bank->Size == 0 || check.Bank->Data[0] != DefaultBankSignature) {
    NotValid(check, "The backup bank " + Env.BackupBankPath + earlier + " is not a Default bank.");
    return;
  }
  const std::string sizeProblem = ImplausibleBankSize(check.Bank->Size);
  if (!sizeProblem.empty()) {
    NotValid(check, "The backup bank " + Env.BackupBankPath + earlier + " has " + std::to_string(check.Bank->Size) +
                        " bytes" + sizeProblem + ": it is not a complete copy of the original.");
    return;
  }
  check.State = BackupState::Earlier;
}

// Leftovers of a backup that was cut short.
void RemoveTemporaryCopies() {
  for (const std::string& path : {Env.BackupBankPath, Env.BackupDriverPath, BackupManifestPath()}) {
    if (FileExists(TemporaryPath(path))) {
      RemoveFile(TemporaryPath(path));
    }
  }
}

// Puts a file into place through a temporary copy that is checked against
// the expected bytes first. write makes the temporary copy.
template <typename Write>
bool PlaceChecked(const std::string& path, const Bytes& expected, Write write, const std::string& what) {
  const std::string temporary = TemporaryPath(path);
  Bytes written;
  const bool ok =
      write(temporary) && ReadFileContents(temporary, written) && written == expected && MoveFileOver(temporary, path);
  if (!ok) {
    if (FileExists(temporary)) {
      RemoveFile(temporary);
    }
    return Fail(FailureKind::StepFailed, "Cannot write " + what + " " + path +
                                             " (is the disk full or the Backup folder read-only?); the backup "
                                             "was not made.");
  }
  return true;
}

bool WriteManifest(const BackupManifest& manifest) {
  const std::string text = FormatBackupManifest(manifest);
  const Bytes bytes(text.begin(), text.end());
  return PlaceChecked(
      BackupManifestPath(), bytes,
      [&](const std::string& temporary) { return WriteFileOver(temporary, text.data(), text.size()); },
      "the backup manifest");
}

bool MakeBackup() {
  Bytes bank;
  if (!ReadFileContents(Env.BankPath, bank)) {
    return Fail(FailureKind::FileUnusable, UnreadableText("bank file", Env.BankPath));
  }
  Bytes driver;
  if (!ReadFileContents(Env.DriverPath, driver)) {
    return Fail(FailureKind::FileUnusable, UnreadableText("driver file", Env.DriverPath));
  }
  if (ImageCarriesPatch(driver)) {
    return Fail(FailureKind::NotOriginal,
                "The installed driver " + Env.DriverPath +
                    " carries the code patch of a bank switch, so it is not taken for the original. Reinstall the "
                    "driver to make a backup.");
  }
  if (bank.empty() || bank[0] != DefaultBankSignature) {
    return Fail(FailureKind::NotOriginal, "The installed bank " + Env.BankPath +
                                              " is not the Default bank, so it is not taken for the original.");
  }
  // The bytes just checked, written to new files: a copy of the file would
  // take over a read-only attribute of the live one, and every restore would
  // then fail to remove the backup after putting the originals back.
  const auto copyOf = [](const Bytes& bytes) {
    return [&bytes](const std::string& temporary) { return WriteFileOver(temporary, bytes.data(), bytes.size()); };
  };
  if (!PlaceChecked(Env.BackupBankPath, bank, copyOf(bank), "the backup copy") ||
      !PlaceChecked(Env.BackupDriverPath, driver, copyOf(driver), "the backup copy")) {
    return false;
  }
  BackupManifest manifest;
  manifest.Driver = RecordOf(Env.BackupDriverPath, driver);
  manifest.Bank = RecordOf(Env.BackupBankPath, bank);
  manifest.VersionText = VersionTextOfImage(driver.data(), static_cast<std::uint32_t>(driver.size()));
  return WriteManifest(manifest);
}

bool RestoreLocked() {
  if (Env.DriverPath.empty() || Env.BackupDriverPath.empty()) {
    return Fail(FailureKind::NoDriver, "");
  }
  BackupCheck check = CheckBackup();
  if (!RequireUsableBackup(check) || !RequireLiveDriverOfBackupBuild(check) || !RequireLiveFilesReplaceable()) {
    return false;
  }
  if (!CopyBankAndDriver(Env.BackupBankPath)) {
    return false;
  }
  // The pair may be the last copy of the originals: it goes only once both
  // files are back and hold the originals' bytes.
  if (!HoldsSame(Env.BankPath, *check.Bank) || !HoldsSame(Env.DriverPath, *check.Driver)) {
    return Fail(FailureKind::StepFailed, "The restored files do not hold the originals' bytes; the backup was kept.",
                true);
  }
  // The views keep the copies open, and an open file cannot be deleted.
  check.Driver.reset();
  check.Bank.reset();
  // The manifest goes first, and the pair only after it: a pair without a
  // manifest is still taken as the originals, a manifest without its pair
  // is not.
  const std::string manifest = BackupManifestPath();
  bool removed = !FileExists(manifest) || RemoveFile(manifest);
  if (removed) {
    removed = RemoveFile(Env.BackupDriverPath);
    removed = RemoveFile(Env.BackupBankPath) && removed;
  }
  if (!removed) {
    return Fail(FailureKind::StepFailed,
                "The original files are back, but the backup in " + BackupDir() + " cannot be removed.", true);
  }
  RemoveUserBankRecord();
  return true;
}

}  // namespace

std::string OtherBuildText(const std::string& backupVersion, const std::string& installedVersion) {
  return "The backup driver is version " + backupVersion + ", the installed driver is version " + installedVersion +
         ": the backup belongs to another driver build.";
}

std::string BackupManifestPath() {
  return Env.BackupDriverPath.empty() ? std::string() : BackupDir() + BackupManifestName;
}

BackupCheck CheckBackup(BackupCopies copies) {
  BackupCheck check;
  if (Env.BackupDriverPath.empty() || Env.BackupBankPath.empty()) {
    return check;
  }
  if (FileExists(BackupManifestPath())) {
    CheckAgainstManifest(check, copies);
    return check;
  }
  const bool driverThere = FileExists(Env.BackupDriverPath);
  const bool bankThere = FileExists(Env.BackupBankPath);
  if (driverThere && bankThere) {
    JudgeEarlierPair(check);
  } else {
    check.State = driverThere || bankThere ? BackupState::Partial : BackupState::Missing;
  }
  return check;
}

bool RequireUsableBackup(const BackupCheck& check) {
  switch (check.State) {
    case BackupState::Verified:
    case BackupState::Earlier:
      return true;
    case BackupState::NotValid:
      return Fail(FailureKind::BackupNotValid, check.Problem + " The backup is not used; nothing was changed.");
    case BackupState::Missing:
    case BackupState::Partial:
      break;
  }
  return Fail(FailureKind::BackupMissing,
              "The backup of the original driver files is missing in " + BackupDir() + "; nothing was changed.");
}

bool RequireLiveDriverOfBackupBuild(const BackupCheck& check) {
  FileHandle file = InvalidFileHandle;
  if (!FileExists(Env.DriverPath) || !OpenRead(Env.DriverPath, file)) {
    return true;
  }
  const std::string live = ReadVersionText(file);
  CloseFile(file);
  if (VersionTextFound(live) && live != check.VersionText) {
    return Fail(FailureKind::OtherBuild, OtherBuildText(check.VersionText, live) + " Nothing was changed.");
  }
  return true;
}

bool RequireReplaceable(const char* what, const std::string& path, bool mustExist) {
  const std::string problem = ReplaceProblem(what, path, mustExist);
  return problem.empty() || Fail(FailureKind::FileUnusable, problem + " Nothing was changed.");
}

bool RequireLiveFilesReplaceable() {
  return RequireReplaceable("bank file", Env.BankPath, false) &&
         RequireReplaceable("driver file", Env.DriverPath, false);
}

bool BackupDriverFiles() {
  return UnderDriverFilesLock([] {
    if (Env.DriverPath.empty() || Env.BankPath.empty() || Env.BackupDriverPath.empty() || Env.BackupBankPath.empty()) {
      return Fail(FailureKind::NoDriver, "");
    }
    RemoveTemporaryCopies();
    const BackupCheck check = CheckBackup();
    switch (check.State) {
      case BackupState::Verified:
        // A backup of another build (the driver was updated since) is of no
        // use to this one, and is still the only copy of that build.
        if (VersionTextFound(Env.Profile.VersionText) && check.VersionText != Env.Profile.VersionText) {
          return Fail(FailureKind::OtherBuild, OtherBuildText(check.VersionText, Env.Profile.VersionText) +
                                                   " It is kept in " + BackupDir() + " as it is, and not used.");
        }
        return true;
      case BackupState::Earlier: {
        // The pair stays as it is; from now on its manifest guards it.
        BackupManifest manifest;
        manifest.Driver = RecordOf(Env.BackupDriverPath, *check.Driver);
        manifest.Bank = RecordOf(Env.BackupBankPath, *check.Bank);
        manifest.VersionText = check.VersionText;
        WriteManifest(manifest);
        ClearFailure();
        return true;
      }
      case BackupState::NotValid:
        return Fail(FailureKind::BackupNotValid, check.Problem + " It is kept as it is, and not used.");
      case BackupState::Missing:
      case BackupState::Partial:
        break;
    }
    if (!MakeBackup()) {
      return false;
    }
    // The live bank is the Default one: no user set is installed.
    RemoveUserBankRecord();
    // The settings as they stand beside the originals; a record that cannot
    // be written costs the backup nothing, a restore then keeps the settings.
    RecordDriverSettings();
    return true;
  });
}

bool CopyBankAndDriver(const std::string& sourceBank) {
  return UnderDriverFilesLock([&] {
    if (!CopyFileOver(sourceBank, Env.BankPath)) {
      // A copy that could not open its source or its destination has
      // changed nothing; one that stopped on the way has.
      FileHandle source = InvalidFileHandle;
      if (!OpenRead(sourceBank, source)) {
        return Fail(FailureKind::FileUnusable, UnreadableText("bank file", sourceBank) + " Nothing was changed.");
      }
      CloseFile(source);
      if (!RequireReplaceable("bank file", Env.BankPath, false)) {
        return false;
      }
      return Fail(FailureKind::StepFailed,
                  "Copying " + sourceBank + " over the bank file " + Env.BankPath +
                      " failed (is the disk full?): the bank file is partly written, the driver file is untouched.",
                  true);
    }
    if (!CopyFileOver(Env.BackupDriverPath, Env.DriverPath)) {
      // A copy that could not open the driver has not changed it; one that
      // stopped on the way (a full disk, a size limit) has cut it short.
      const bool untouched = !ReplaceProblem("driver file", Env.DriverPath, true).empty();
      return Fail(FailureKind::StepFailed,
                  "Copying the backup driver over the driver file " + Env.DriverPath + " failed: the new bank is in " +
                      "place, the driver file is " +
                      (untouched ? "untouched (it cannot be opened for writing)" : "partly written") + ".",
                  true);
    }
    return true;
  });
}

bool RestoreDriverFiles() { return UnderDriverFilesLock(RestoreLocked); }
