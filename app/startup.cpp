#include "app/startup.h"

#include "app/ascii_text.h"
#include "platform/dialogs.h"
#include "platform/system.h"
#include "ymf/backup.h"
#include "ymf/detect.h"

std::string ExeDir;
std::string ProductTitle;
bool RebootPending = false;

namespace {

bool AskToStartAnyway(const char* text) {
  return ShowMessage(0, text, "Error", MsgYesNo | MsgIconQuestion) == AnswerYes;
}

}  // namespace

StartupOutcome RunStartupChecks() {
  ExeDir = ProgramDirectory();
  RebootPending = false;
  const bool found = DetectDriver();
  ProductTitle = "Tovaro 2.0.1";
  if (!BackupDriverFiles() &&
      !AskToStartAnyway("Cannot create backup of original driver files. Start the program anyway?")) {
    return StartupOutcome::Quit;
  }
  return found ? StartupOutcome::Go : StartupOutcome::NoDriver;
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
  if (!StartupCheck() && !AskToStartAnyway("YMF7x4 driver is not found. Start the program anyway?")) {
    return false;
  }
  if (IsCleanSwitch(firstArgument)) {
    RestoreDriverFiles();
    return false;
  }
  return true;
}
