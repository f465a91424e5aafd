// tovaroc status and tovaroc verify: what the driver is and holds.
#include <cstdio>

#include "app/console/console_groups.h"
#include "app/console/console_lines.h"
#include "app/voice_counts.h"
#include "platform/registry.h"
#include "ymf/backup.h"
#include "ymf/driver_settings.h"
#include "ymf/driver_verify.h"
#include "ymf/environment.h"
#include "ymf/user_bank_record.h"

namespace {

const char* const SetChangedNote = " (changed since it was installed)";

const char* Hex(std::uint32_t value) {
  static char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

const char* BackupStateText(BackupState state) {
  switch (state) {
    case BackupState::Verified:
      return "present, both copies match the manifest";
    case BackupState::Earlier:
      return "present, made by an earlier version (no manifest), plausible as the originals";
    case BackupState::NotValid:
      return "NOT USABLE, kept as it is";
    case BackupState::Partial:
      return "incomplete (one copy only)";
    case BackupState::Missing:
      break;
  }
  return "missing";
}

const char* PatchText(PatchState state) {
  switch (state) {
    case PatchState::Complete:
      return "complete";
    case PatchState::Absent:
      return "absent";
    default:
      return "partial";
  }
}

}  // namespace

int RunStatus(const StartupFacts& facts, const CommandArguments&, ConsoleStream& out, ConsoleStream&) {
  if (!facts.DriverFound) {
    out << "driver: not found (" << DriverNotFoundLine << ")\n";
  } else {
    out << "driver: found, " << (Env.IsVxD ? "VxD" : "WDM") << "\n";
    out << "driver path: " << Env.DriverPath << "\n";
    if (Env.Profile.VersionText.empty()) {
      out << "version: unknown (the driver file cannot be read: " << UnreadableLine << ")\n";
    } else {
      out << "version: " << Env.Profile.VersionText
          << (Env.Profile.ProfileKnown ? " (known build)" : " (unknown build)") << "\n";
    }
    out << "bank: " << InstalledBankLine() << "\n";
    out << "bank path: " << Env.BankPath << "\n";
    const InstalledUserBank user = FindInstalledUserBank();
    if (!user.SetPath.empty()) {
      out << "user bank set: " << user.SetPath << (user.SetChanged ? SetChangedNote : "") << "\n";
    }
  }
  const BackupCheck backup = CheckBackup();
  out << "backup: " << BackupStateText(backup.State);
  if (!Env.BackupDriverPath.empty()) {
    out << " (" << Env.BackupDriverPath << ", " << Env.BackupBankPath << ")";
  }
  out << "\n";
  if (!backup.Problem.empty()) {
    out << "  " << backup.Problem << "\n";
  }
  if (!facts.BackupMade) {
    out << BackupFailedLine << "\n";
    if (!facts.BackupProblem.empty() && facts.BackupProblem != backup.Problem) {
      out << "  " << facts.BackupProblem << "\n";
    }
  }
  if (!facts.DriverFound) {
    return ExitSuccess;
  }
  const DriverSettings& s = Env.Settings;
  MachineKey key = 0;
  if (!MachineKeyOpen(Env.DriverRegKey, KeyAccessRead, key)) {
    // Fifteen "= 0" lines would read as fifteen stored values.
    out << "settings: the key HKEY_LOCAL_MACHINE\\" << Env.DriverRegKey
        << " does not exist or cannot be read; no setting is stored there\n";
    return ExitSuccess;
  }
  MachineKeyClose(key);
  out << "settings (HKEY_LOCAL_MACHINE\\" << Env.DriverRegKey << "):\n";
  for (const DriverSetting& setting : DriverSettingTable) {
    out << "  " << setting.Name << " = " << setting.Get(s) << "\n";
  }
  const std::int64_t total = static_cast<std::int64_t>(s.MaxModVoices) + s.MaxWodVoices + s.MaxDSVoices + s.Max3DVoices;
  out << "voice total: " << total << (total > VoiceTotalLimit ? " (above 88)" : " (up to 88)") << "\n";
  return ExitSuccess;
}

namespace {

// Why the comparison could not be made, or what it leaves open.
std::string VerifyProblem(const DriverVerification& v) {
  if (v.DriverMissing) {
    return DriverNotFoundLine;
  }
  if (v.UserBankNeeded) {
    return "A user bank is installed: give --bank PATH to compare its tables.";
  }
  return v.Problem;
}

}  // namespace

int RunVerify(const StartupFacts& facts, const CommandArguments& arguments, ConsoleStream& out, ConsoleStream& err) {
  if (!facts.DriverFound) {
    err << DriverNotFoundLine << "\n";
    return ExitFailed;
  }
  out << "driver: " << Env.DriverPath << " (" << (Env.IsVxD ? "VxD" : "WDM") << ", version " << Env.Profile.VersionText
      << ")\n";
  out << "installed bank: " << InstalledBankLine() << "\n";
  // Without --bank, the set the installed user bank came from, while it
  // still holds what was installed.
  std::string setPath = arguments.Path;
  if (setPath.empty()) {
    const InstalledUserBank user = FindInstalledUserBank();
    if (!user.SetPath.empty()) {
      out << "user bank set: " << user.SetPath << (user.SetChanged ? SetChangedNote : "") << "\n";
    }
    if (!user.SetChanged) {
      setPath = user.SetPath;
    }
  }
  const DriverVerification v = VerifyDriver(setPath);
  if (!v.Compared) {
    err << VerifyProblem(v) << "\n";
    return ExitFailed;
  }
  out << "code patch: " << PatchText(v.Patch) << " (" << v.PatchApplied << " of " << v.PatchTotal
      << " bytes patched), needed: " << PatchText(v.ExpectedPatch) << "\n";
  out << "tables:";
  for (int k = 0; k < 3; ++k) {
    out << " " << (k + 1) << "=" << (v.Tables[k].empty() ? "none" : v.Tables[k]);
  }
  out << ", needed: " << (v.ExpectedTables.empty() ? "one consistent set" : v.ExpectedTables) << "\n";
  if (v.ChecksumChecked) {
    out << "checksum: " << (v.ChecksumCorrect ? "correct " : "wrong ") << Hex(v.StoredChecksum);
    if (!v.ChecksumCorrect) {
      out << " (should be " << Hex(v.ComputedChecksum) << ")";
    }
    out << "\n";
  } else {
    out << "checksum: " << (Env.IsVxD ? "none (VxD driver)" : "as in the backup") << "\n";
  }
  if (v.LengthDiffers) {
    out << "length: differs from the backup\n";
  }
  out << "other bytes: " << v.StrayCount << " differ from the backup";
  for (std::uint32_t offset : v.StrayOffsets) {
    out << " " << Hex(offset);
  }
  out << "\n";
  // The advice belongs with the verdict it explains.
  const std::string problem = VerifyProblem(v);
  if (!problem.empty()) {
    out << problem << "\n";
  }
  out << (v.Exact ? "result: the driver is exactly what the installed bank needs\n"
                  : "result: the driver is NOT what the installed bank needs\n");
  return v.Exact ? ExitSuccess : ExitFailed;
}
