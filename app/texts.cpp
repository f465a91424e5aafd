#include "app/texts.h"

#include "app/editor_texts.h"

const char* const BackupFailedLine = "Cannot create backup of original driver files.";
const char* const DriverNotFoundLine = "YMF7x4 driver is not found.";
const char* const RestoreFailed = "Cannot restore the original driver files.";
const char* const RestoreRefusedLine = "The original driver files were not restored.";
const char* const DriverFilesBusyLine =
    "The driver files are in use by another program that changes them (tovaroc or a second Tovaro); the backup "
    "was not checked. Close that program, or wait until it has finished, to change the driver files.";

std::string StartAnywayQuestion(const char* line) { return std::string(line) + " Start the program anyway?"; }

const char* const RestartLine = "Restart Windows for the changes to take effect.";
const char* const SetBankModeFailed = "Cannot set XG Bank Mode";

const char* const WindowRestoreHint =
    "\"Restore original driver files...\" on the XG Bank Modes page brings back the original driver and bank files.";
const char* const ConsoleRestoreHint = "'tovaroc restore' brings back the original driver and bank files.";
const char* const CleanRestoreHint = "'tovaroc restore' (or 'tovaro.exe -clean') brings back the originals.";

std::string FailureFacts(const OperationFailure& failure) {
  switch (failure.Kind) {
    case FailureKind::NoDriver:
      return failure.Text.empty() ? DriverNotFoundLine : failure.Text;
    case FailureKind::Protected:
      return ProtectedFileReason(failure.File);
    case FailureKind::ProtectedFolder:
      return ProtectedFolderReason(failure.File);
    default:
      return failure.Text;
  }
}
