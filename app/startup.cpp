#include "app/startup.h"

#include "app/ascii_text.h"
#include "app/main_commands.h"
#include "app/product_version.h"
#include "files/fileops.h"
#include "platform/dialogs.h"
#include "platform/system.h"
#include "ymf/backup.h"
#include "ymf/detect.h"
#include "ymf/operation_failure.h"
#include "ymf/settings_backup.h"

std::string ExeDir;
std::string ProductTitle;
bool RebootPending = false;

namespace {

// The reason, when there is one, goes below the question, so that its
// first line stays the question itself.
bool AskToStartAnyway(const char* line, const std::string& reason = std::string()) {
  const std::string text = StartAnywayQuestion(line) + (reason.empty() ? std::string() : "\n\n" + reason);
  return ShowMessage(0, text, "Error", MsgYesNo | MsgIconQuestion) == AnswerYes;
}

}  // namespace

StartupFacts RunStartupSteps(bool createBackupFolder) {
  StartupFacts facts;
  ExeDir = ProgramDirectory();
  RebootPending = false;
  facts.DriverFound = DetectDriver();
  ProductTitle = TOVARO_PRODUCT_TITLE;
  if (createBackupFolder && facts.DriverFound) {
    CreateDirectoryIfMissing(ExeDir + "Backup");
  }
  facts.BackupMade = BackupDriverFiles();
  if (!facts.BackupMade) {
    facts.BackupProblem = FailureFacts(LastFailure());
    facts.BackupBusy = LastFailure().Kind == FailureKind::Busy;
  }
  return facts;
}

StartupOutcome RunStartupChecks() {
  // Unzip tools drop empty folders, so the Backup folder the program comes
  // with may be missing; without it no backup can be made.
  const StartupFacts facts = RunStartupSteps(true);
  // Busy: the backup is not in question, another program holds the files.
  // Without a driver the next question says so; the backup's reason would
  // only repeat it.
  if (!facts.BackupMade &&
      !AskToStartAnyway(facts.BackupBusy ? DriverFilesBusyLine : BackupFailedLine,
                        facts.BackupBusy || !facts.DriverFound ? std::string() : facts.BackupProblem)) {
    return StartupOutcome::Quit;
  }
  return facts.DriverFound ? StartupOutcome::Go : StartupOutcome::NoDriver;
}

bool StartupCheck() {
  const StartupOutcome outcome = RunStartupChecks();
  if (outcome == StartupOutcome::Quit) {
    EndProcess(0);
  }
  return outcome == StartupOutcome::Go;
}

bool IsCleanSwitch(const std::string& firstArgument) { return AsciiLower(firstArgument) == "-clean"; }

bool IsRestoreSwitch(const std::string& firstArgument) { return AsciiLower(firstArgument) == "-restore"; }

namespace {

// "-restore": what the window's "Restore original driver files..." does,
// in boxes and without the window, for a user who waits for an answer.
void RestoreAndReport() {
  const char* const title = "Restore original driver files";
  if (ShowMessage(0, RestoreQuestion, title, MsgYesNo | MsgIconQuestion) != AnswerYes) {
    return;
  }
  ClearFailure();
  if (!RestoreDriverFiles()) {
    std::string reason = FailureFacts(LastFailure());
    if (LastFailure().FilesChanged) {
      reason += std::string(" ") + CleanRestoreHint;
    }
    ShowMessage(0, std::string(RestoreFailed) + " " + reason, "Error", MsgOk | MsgIconError);
    return;
  }
  std::string done = "Original driver and bank files restored from the Backup folder.";
  if (SettingsRecordPresent() &&
      ShowMessage(0, RestoreSettingsQuestion, title, MsgYesNo | MsgIconQuestion) == AnswerYes) {
    ClearFailure();
    done += RestoreDriverSettings() ? " The driver settings are as they were before Tovaro changed them."
                                    : " The driver settings could not be put back: " + FailureFacts(LastFailure());
  }
  // The record belongs to the backup the restore removed.
  RemoveSettingsRecord();
  ShowMessage(0, done + " " + RestartLine, title, MsgOk | MsgIconInformation);
}

}  // namespace

bool PrepareStart(const std::string& firstArgument) {
  const bool driverFound = StartupCheck();
  if (!driverFound && !AskToStartAnyway(DriverNotFoundLine)) {
    return false;
  }
  if (IsCleanSwitch(firstArgument)) {
    // A refused restore has kept the backup and the live files; the user
    // must learn why, or would take the originals for restored. Without a
    // driver there is nothing to restore, and that was asked about already.
    if (RestoreDriverFiles()) {
      RemoveSettingsRecord();
    } else if (driverFound) {
      std::string reason = FailureFacts(LastFailure());
      if (LastFailure().FilesChanged) {
        reason += std::string(" ") + CleanRestoreHint;
      }
      ShowMessage(0, std::string(RestoreRefusedLine) + " " + reason, "Error", MsgOk | MsgIconError);
    }
    return false;
  }
  if (IsRestoreSwitch(firstArgument)) {
    if (driverFound) {
      RestoreAndReport();
    }
    return false;
  }
  return true;
}
