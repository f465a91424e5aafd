#include "app/startup.h"

#include "app/ascii_text.h"
#include "app/product_version.h"
#include "platform/dialogs.h"
#include "platform/system.h"
#include "ymf/backup.h"
#include "ymf/detect.h"
#include "ymf/operation_failure.h"

std::string ExeDir;
std::string ProductTitle;
bool RebootPending = false;

const char* const BackupFailedLine = "Cannot create backup of original driver files.";
const char* const DriverNotFoundLine = "YMF7x4 driver is not found.";
const char* const RestoreRefusedLine = "The original driver files were not restored.";

std::string StartAnywayQuestion(const char* line) { return std::string(line) + " Start the program anyway?"; }

namespace {

bool AskToStartAnyway(const char* line) {
  return ShowMessage(0, StartAnywayQuestion(line), "Error", MsgYesNo | MsgIconQuestion) == AnswerYes;
}

}  // namespace

StartupFacts RunStartupSteps() {
  StartupFacts facts;
  ExeDir = ProgramDirectory();
  RebootPending = false;
  facts.DriverFound = DetectDriver();
  ProductTitle = TOVARO_PRODUCT_TITLE;
  facts.BackupMade = BackupDriverFiles();
  if (!facts.BackupMade) {
    facts.BackupProblem = LastFailure().Text;
  }
  return facts;
}

StartupOutcome RunStartupChecks() {
  const StartupFacts facts = RunStartupSteps();
  if (!facts.BackupMade && !AskToStartAnyway(BackupFailedLine)) {
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

bool PrepareStart(const std::string& firstArgument) {
  const bool driverFound = StartupCheck();
  if (!driverFound && !AskToStartAnyway(DriverNotFoundLine)) {
    return false;
  }
  if (IsCleanSwitch(firstArgument)) {
    // A refused restore has kept the backup and the live files; the user
    // must learn why, or would take the originals for restored. Without a
    // driver there is nothing to restore, and that was asked about already.
    if (!RestoreDriverFiles() && driverFound) {
      ShowMessage(0, std::string(RestoreRefusedLine) + " " + LastFailure().Text, "Error", MsgOk | MsgIconError);
    }
    return false;
  }
  return true;
}
