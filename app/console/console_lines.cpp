#include "app/console/console_lines.h"

#include "app/main_view.h"
#include "files/fileops.h"
#include "ymf/environment.h"
#include "ymf/operation_failure.h"

const char* const RestartLine = "Restart Windows for the changes to take effect.";
// A bank file that is there but cannot be opened reads as "no bank" to the
// driver environment; say what it is.
const char* const UnreadableLine = "another program has it open, or access is denied";

std::string BankKindName(std::int32_t kind) {
  switch (kind) {
    case BankNone:
      return "no bank (bank file is not found)";
    case BankDefault:
      return "Default bank";
    case BankExtended:
      return "Extended XG bank";
    case BankDance:
      return "Dance bank";
    case BankUser:
      return "User bank";
    default:
      return "Unknown bank";
  }
}

std::string InstalledBankLine() {
  if (Env.BankKind == BankNone && FileExists(Env.BankPath)) {
    return std::string("bank file cannot be read (") + UnreadableLine + ")";
  }
  if (Env.BankKind == BankNone || Env.BankKind == BankUnknown) {
    return BankKindName(Env.BankKind);
  }
  // The figure the window shows for the same bank.
  return BankKindName(Env.BankKind) + " " + MegabyteText(Env.BankSize, ".") + " MB";
}

bool ReadyToChange(const StartupFacts& facts, bool noBackup, ConsoleStream& err) {
  if (!facts.DriverFound) {
    err << DriverNotFoundLine << "\n";
    return false;
  }
  if (!facts.BackupMade) {
    err << BackupFailedLine << "\n";
    if (!facts.BackupProblem.empty()) {
      err << facts.BackupProblem << "\n";
    }
    if (!noBackup) {
      err << "Nothing was changed; give --no-backup to go on without it.\n";
      return false;
    }
  }
  return true;
}

void ReportFailure(ConsoleStream& err, bool restoreHint) {
  const OperationFailure& failure = LastFailure();
  if (!failure.Text.empty()) {
    err << failure.Text << "\n";
  }
  if (restoreHint && failure.FilesChanged) {
    err << "'tovaroc restore' brings back the original driver and bank files.\n";
  }
}
