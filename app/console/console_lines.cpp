#include "app/console/console_lines.h"

#include "app/main_view.h"
#include "files/fileops.h"
#include "ymf/bank_kinds.h"
#include "ymf/environment.h"
#include "ymf/operation_failure.h"

// A bank file that is there but cannot be opened reads as "no bank" to the
// driver environment; say what it is.
const char* const UnreadableLine = "another program has it open, or access is denied";

std::string BankKindName(std::int32_t kind) {
  if (kind == BankNone) {
    return std::string(BankKinds[BankNone].Name) + " (bank file is not found)";
  }
  const BankKindRow* row = BankKindRowOf(kind);
  return row == nullptr ? "Unknown bank" : row->Name;
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
  // Another program changing the driver files kept the backup from being
  // checked, not from being made: --no-backup would not get past it.
  if (facts.BackupBusy) {
    err << DriverFilesBusyLine << "\n";
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
  const std::string facts = FailureFacts(failure);
  if (!facts.empty()) {
    err << facts << "\n";
  }
  if (restoreHint && failure.FilesChanged) {
    err << ConsoleRestoreHint << "\n";
  }
}
