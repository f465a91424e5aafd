// tovaroc bank and tovaroc restore: the commands that replace the driver's files.
#include "app/console/console_groups.h"
#include "app/console/console_lines.h"
#include "ymf/backup.h"
#include "ymf/bank_kinds.h"
#include "ymf/bank_mode.h"
#include "ymf/change_rules.h"
#include "ymf/driver_files_lock.h"
#include "ymf/environment.h"
#include "ymf/installed_bank.h"
#include "ymf/operation_failure.h"
#include "ymf/settings_backup.h"

namespace {

// The check and the switch, under the lock of the driver files, so that no
// other program changes them between the two.
int SwitchBank(std::int32_t value, const std::string& userPath, ConsoleStream& out, ConsoleStream& err) {
  switch (CheckBankMode(value)) {
    case BankModeCheck::AlreadyInstalled:
      out << "The "
          << (value == ModeDisabled ? "bank is already disabled"
                                    : BankKindName(BankKindOfMode(value)) + " is already installed")
          << "; nothing was changed (the bank and the driver verify).\n";
      return ExitSuccess;
    case BankModeCheck::BankMissing:
      err << "The " << BankKinds[BankKindOfMode(value)].Title
          << " bank is not installed: " << SourceBankOfMode(value, std::string()) << "\n";
      return ExitFailed;
    case BankModeCheck::UnknownBuild:
      err << SetBankModeFailed << "\n";
      if (Env.Profile.VersionText.empty()) {
        err << "The driver file " << Env.DriverPath << " could not be read (" << UnreadableLine
            << "), so its version is not known; nothing was changed.\n";
      } else {
        err << "The driver version '" << Env.Profile.VersionText << "' is not known; nothing was changed.\n";
      }
      return ExitFailed;
    case BankModeCheck::Go:
      break;
  }
  if (!SetBankMode(value, userPath)) {
    err << SetBankModeFailed << "\n";
    ReportFailure(err, true);
    IdentifyInstalledBank();
    err << "installed bank: " << InstalledBankLine() << "\n";
    return ExitFailed;
  }
  RebootPending = true;
  IdentifyInstalledBank();
  if (value == ModeDisabled) {
    out << "XG bank disabled: " << Env.BankPath << " deleted.\n";
  } else {
    out << "XG bank mode set: " << InstalledBankLine() << " installed as " << Env.BankPath << "\n";
  }
  out << RestartLine << "\n";
  return ExitSuccess;
}

}  // namespace

int RunBank(const StartupFacts& facts, const CommandArguments& arguments, ConsoleStream& out, ConsoleStream& err) {
  if (!ReadyToChange(facts, arguments.NoBackup, err)) {
    return ExitFailed;
  }
  int code = ExitFailed;
  if (!UnderDriverFilesLock([&] {
        code = SwitchBank(arguments.BankMode, arguments.Path, out, err);
        return true;
      })) {
    err << SetBankModeFailed << "\n";
    ReportFailure(err, true);
  }
  return code;
}

int RunRestore(const StartupFacts& facts, const CommandArguments& arguments, ConsoleStream& out, ConsoleStream& err) {
  if (!facts.DriverFound) {
    err << DriverNotFoundLine << "\n";
    return ExitFailed;
  }
  // Restoring needs the backup itself: --no-backup cannot stand in for it.
  if (!facts.BackupMade) {
    err << RestoreFailed << "\n";
    if (!facts.BackupProblem.empty()) {
      err << facts.BackupProblem << "\n";
    }
    err << "Nothing was changed; the Backup folder is kept as it is.\n";
    return ExitFailed;
  }
  if (!RestoreDriverFiles()) {
    err << RestoreFailed << "\n";
    ReportFailure(err, false);
    return ExitFailed;
  }
  out << "original driver restored: " << Env.DriverPath << "\n"
      << "original bank restored: " << Env.BankPath << "\n"
      << "backup pair removed\n";
  if (arguments.Settings && !SettingsRecordPresent()) {
    out << "no record of the original driver settings in the Backup folder: the settings stay as they are\n";
  } else if (arguments.Settings) {
    if (!RestoreDriverSettings()) {
      err << LastFailure().Text << "\n";
      return ExitFailed;
    }
    out << "driver settings restored: HKEY_LOCAL_MACHINE\\" << Env.DriverRegKey << "\n";
  }
  RemoveSettingsRecord();
  out << RestartLine << "\n";
  return ExitSuccess;
}
