// Why the last operation on the driver files or the backup failed. The
// operations return booleans; tovaroc prints this record, the window shows
// its own box.
#pragma once

#include <string>

enum class FailureKind {
  None,
  Busy,             // another program held the lock of the driver files
  NoDriver,         // no driver was found, so there are no paths to work on
  BackupMissing,    // the backup pair the operation needs is not there
  BackupNotValid,   // the backup does not match its manifest, or a plain pair is not plausible
  OtherBuild,       // the backup driver and the driver of the profile or the live one differ in version
  NotOriginal,      // the live files are not the originals and are not taken as such
  FileUnusable,     // a driver, bank or table file is missing, empty, short, locked or unreadable
  ImageUnusable,    // the driver image does not allow the change (no checksum field, offsets outside)
  UnknownBuild,     // the driver build has no profile
  StepFailed,       // a step that writes failed
  Protected,        // File is the live driver's, an original or in a Backup folder: the editor never writes it
  ProtectedFolder,  // File, a bank, lies in the live driver's folder or a Backup folder
  ConverterFailed,  // the converter failed on File; Text is its own reason, when it gave one
};

struct OperationFailure {
  FailureKind Kind = FailureKind::None;
  // One or two sentences that say what happened and what was left (empty
  // for NoDriver); never what to do next, which each front end says.
  std::string Text;
  // A step had already changed a live file when it failed.
  bool FilesChanged = false;
  // The file the failure is about, where the kind names one.
  std::string File;
};

// The record of the last operation; Kind None when it succeeded.
const OperationFailure& LastFailure();
// Records why the running operation fails, unless it has recorded a reason
// already (the first one is the cause). Returns false, for "return Fail(...)".
bool Fail(FailureKind kind, const std::string& text, bool filesChanged = false);
// Fail for a kind that names a file.
bool FailOn(FailureKind kind, const std::string& file, const std::string& text = std::string());
void ClearFailure();
