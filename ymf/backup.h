// The backup pair of the original driver and bank files beside the program,
// and the manifest that says what the pair must be.
#pragma once

#include <string>

#include "ymf/file_contents.h"

enum class BackupState {
  Missing,   // no copy and no manifest
  Partial,   // one copy and no manifest: a first backup that did not finish; taken again
  Verified,  // both copies match the manifest
  Earlier,   // a plain pair from a version without manifests that is plausible as the originals
  NotValid,  // anything else: nothing is restored from it, and it is never overwritten
};

struct BackupCheck {
  BackupState State = BackupState::Missing;
  std::string Problem;      // why the backup is not valid
  std::string VersionText;  // of the backup driver, once read
  // The copies once read, as views that keep them open for reading.
  SharedView Driver;
  SharedView Bank;
};

// "The backup driver is version A, the installed driver is version B: the
// backup belongs to another driver build."
std::string OtherBuildText(const std::string& backupVersion, const std::string& installedVersion);
// The manifest's path, beside the two copies.
std::string BackupManifestPath();
// What of the pair is read when it is judged.
enum class BackupCopies {
  Both,        // both copies read whole (as views) and compared with the manifest
  DriverOnly,  // the driver copy so; of the bank copy only its size (a switch to
               // another bank does not use it, and every start checks it whole)
};

// Judges the Backup folder as it stands. A plain pair (no manifest) must
// prove itself: its driver has the live driver's version text (when that is
// known), carries no code patch and (PE image) a correct checksum, and its
// bank is a Default bank of the live Default bank's size or, when the live
// bank is not a Default bank, of the size of the driver's stock Default bank.
// Anything less is NotValid: nothing is restored from it, and it is kept.
BackupCheck CheckBackup(BackupCopies copies = BackupCopies::Both);
// Records the failure a backup that is not usable stands for; true when it
// is Verified or Earlier.
bool RequireUsableBackup(const BackupCheck& check);
// False, with the failure recorded, when the live driver carries a version
// text other than the backup driver's: a backup of another build is never
// put over it. A live driver that is missing, empty or without a version
// text passes.
bool RequireLiveDriverOfBackupBuild(const BackupCheck& check);

// False, with the failure recorded, when a file exists but cannot be opened
// for writing (read-only, or held open by another program), or is missing
// and mustExist.
bool RequireReplaceable(const char* what, const std::string& path, bool mustExist);
// The same for the live bank and driver.
bool RequireLiveFilesReplaceable();

// Makes the backup pair unless a valid one is present; true when a usable
// pair is present afterwards (a pair of another build than the installed
// driver is not). Each copy goes to a temporary name in the
// Backup folder, is compared with what was read from the live file and then
// renamed; the manifest comes last. A live driver that carries the code
// patch, or a bank that is not a Default bank, is not taken as an original.
// A pair from an earlier version gets its manifest.
bool BackupDriverFiles();
// Copies a bank over the live bank, then the backup driver over the live
// driver, under the lock of the driver files. The caller has checked the
// backup, the source and that the live files can be replaced.
bool CopyBankAndDriver(const std::string& sourceBank);
// Puts both originals back, checks them, then removes the manifest and the
// pair. Refuses, changing nothing, when the backup is not usable or belongs
// to another build than the live driver.
bool RestoreDriverFiles();
