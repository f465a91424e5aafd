#include "app/console/console_commands.h"

#include <cstdio>
#include <map>

#include "app/ascii_text.h"
#include "app/console/console_editor.h"
#include "app/startup.h"
#include "platform/fileops.h"
#include "ymf/backup.h"
#include "ymf/bank_mode.h"
#include "ymf/change_rules.h"
#include "ymf/detect.h"
#include "ymf/driver_files_lock.h"
#include "ymf/driver_settings.h"
#include "ymf/driver_verify.h"
#include "ymf/environment.h"
#include "ymf/installed_bank.h"
#include "ymf/operation_failure.h"
#include "ymf/settings_apply.h"
#include "ymf/voice_limits.h"

namespace {

const char* const RestartLine = "Restart Windows for the changes to take effect.";

const char* const MainHelp =
    "usage: tovaroc [--no-backup] COMMAND [ARGUMENTS]\n"
    "\n"
    "commands:\n"
    "  status                        the driver, its installed bank, the backup and the settings\n"
    "  bank disabled|default|extended|dance\n"
    "  bank user PATH                switch the XG bank mode\n"
    "  set NAME=VALUE ...            change panel settings and load modules by value name\n"
    "  voices MIDI WAVEOUT DS DS3D   set the four voice limits\n"
    "  restore                       put the original driver files back and remove the backup\n"
    "  verify [--bank PATH]          compare the driver with its backup for the installed bank\n"
    "\n"
    "Every command first detects the driver and makes the backup of the original files;\n"
    "when the backup fails, commands that change something stop unless --no-backup is given.\n"
    "'tovaroc COMMAND --help' describes one command.\n";

const std::map<std::string, const char*>& CommandHelp() {
  static const std::map<std::string, const char*> help = {
      {"status",
       "usage: tovaroc status\n"
       "Shows whether a driver was found, its kind, path and version, the installed bank,\n"
       "the state of the backup, the fifteen settings and the voice total.\n"},
      {"bank",
       "usage: tovaroc bank disabled|default|extended|dance\n"
       "       tovaroc bank user PATH\n"
       "Switches the XG bank mode as Apply does. A mode that is already installed is skipped\n"
       "when the files verify: the bank equals its source and the driver is exactly what it\n"
       "needs; otherwise the switch runs again. A user bank is installed every time. Needs a\n"
       "known driver build for the extended, dance and user modes. When a switch fails half\n"
       "way, 'tovaroc restore' brings back the original files.\n"},
      {"set",
       "usage: tovaroc set NAME=VALUE ...\n"
       "Names: ShowWaveout, ShowMisc, SRC, LoadUIF (0-6), LoadSpdifIn (0-3), LoadC3D,\n"
       "LoadGamePort, LoadLegacy, LoadSpdif, LoadVSVL, LoadPower (flags are 0 or 1).\n"
       "ShowMisc can be changed only on driver version 4.07.1040, LoadC3D only on the VxD driver.\n"
       "Each group that differs is written whole, as Apply does.\n"},
      {"voices",
       "usage: tovaroc voices MIDI WAVEOUT DS DS3D\n"
       "Sets the four voice limits (0 to 64 each). A total above 88 is stored with a warning.\n"},
      {"restore",
       "usage: tovaroc restore\n"
       "Puts the original driver and bank files back from the backup and removes the backup,\n"
       "as 'tovaro.exe -clean' does. A backup that does not match its manifest, or that\n"
       "belongs to another driver build than the installed one, is refused and kept.\n"},
      {"verify",
       "usage: tovaroc verify [--bank PATH]\n"
       "Compares the driver with the backup driver: the code patch, which bank's tables are in\n"
       "the driver, the image checksum and any other changed byte. --bank names a user bank set\n"
       "to compare with. Exits 0 only when the driver is exactly what the installed bank needs.\n"},
  };
  return help;
}

std::string Megabytes(std::int32_t size) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(size) / 1048576.0);
  return text;
}

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

// A bank file that is there but cannot be opened reads as "no bank" to the
// driver environment; say what it is.
const char* const UnreadableLine = "another program has it open, or access is denied";

std::string InstalledBankLine() {
  if (Env.BankKind == BankNone && FileExists(Env.BankPath)) {
    return std::string("bank file cannot be read (") + UnreadableLine + ")";
  }
  if (Env.BankKind == BankNone || Env.BankKind == BankUnknown) {
    return BankKindName(Env.BankKind);
  }
  return BankKindName(Env.BankKind) + " " + Megabytes(Env.BankSize) + " MB";
}

const char* Hex(std::uint32_t value) {
  static char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

// --- the settings by registry value name -------------------------------

// A panel setting or load module, by its value name in any letter case.
const DriverSetting* FindSettable(const std::string& name) {
  for (const DriverSetting& setting : DriverSettingTable) {
    if (setting.Group != SettingGroup::VoiceLimits && AsciiLower(setting.Name) == AsciiLower(name)) {
      return &setting;
    }
  }
  return nullptr;
}

// Where a setting whose rule does not hold could be changed.
std::string RuleText(SettingRule rule) {
  switch (rule) {
    case SettingRule::OnlyOnShowMiscVersion:
      return std::string("on driver version ") + ShowMiscVersion;
    case SettingRule::OnlyOnVxD:
      return "on the VxD driver";
    case SettingRule::Always:
      break;
  }
  return std::string();
}

struct Assignment {
  const DriverSetting* Setting;
  std::int32_t Value;
};

// Commands that change something need the driver and, unless the user
// waived it, the backup.
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

// What a refused or failed change says after its first line; a switch that
// stopped half way also says how to get the originals back.
void ReportFailure(ConsoleStream& err, bool restoreHint) {
  const OperationFailure& failure = LastFailure();
  if (!failure.Text.empty()) {
    err << failure.Text << "\n";
  }
  if (restoreHint && failure.FilesChanged) {
    err << "'tovaroc restore' brings back the original driver and bank files.\n";
  }
}

// --- commands ------------------------------------------------------------

int Status(const StartupFacts& facts, ConsoleStream& out) {
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
  out << "settings (HKEY_LOCAL_MACHINE\\" << Env.DriverRegKey << "):\n";
  for (const DriverSetting& setting : DriverSettingTable) {
    out << "  " << setting.Name << " = " << setting.Get(s) << "\n";
  }
  const std::int64_t total = static_cast<std::int64_t>(s.MaxModVoices) + s.MaxWodVoices + s.MaxDSVoices + s.Max3DVoices;
  out << "voice total: " << total << (total > VoiceTotalLimit ? " (above 88)" : " (up to 88)") << "\n";
  return ExitSuccess;
}

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
      err << "The " << (value == ModeExtended ? "Extended" : "Dance")
          << " bank is not installed: " << SourceBankOfMode(value, std::string()) << "\n";
      return ExitFailed;
    case BankModeCheck::UnknownBuild:
      err << "Cannot set XG Bank Mode\n";
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
    err << "Cannot set XG Bank Mode\n";
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

int Bank(const StartupFacts& facts, const std::vector<std::string>& args, bool noBackup, ConsoleStream& out,
         ConsoleStream& err) {
  static const std::map<std::string, std::int32_t> modes = {{"disabled", ModeDisabled},
                                                            {"default", ModeDefault},
                                                            {"extended", ModeExtended},
                                                            {"dance", ModeDance},
                                                            {"user", ModeUser}};
  const auto mode = modes.find(AsciiLower(args[0]));
  const std::int32_t value = mode->second;
  const std::string userPath = value == ModeUser ? args[1] : std::string();
  if (!ReadyToChange(facts, noBackup, err)) {
    return ExitFailed;
  }
  int code = ExitFailed;
  if (!UnderDriverFilesLock([&] {
        code = SwitchBank(value, userPath, out, err);
        return true;
      })) {
    err << "Cannot set XG Bank Mode\n";
    ReportFailure(err, true);
  }
  return code;
}

// Parses NAME=VALUE pairs; a usage error writes nothing.
bool ParseAssignments(const std::vector<std::string>& args, std::vector<Assignment>& assignments, ConsoleStream& err) {
  for (const std::string& arg : args) {
    const std::size_t equals = arg.find('=');
    const DriverSetting* setting = equals == std::string::npos ? nullptr : FindSettable(arg.substr(0, equals));
    if (setting == nullptr) {
      err << "unknown setting '" << arg.substr(0, equals) << "'; see 'tovaroc set --help'\n";
      return false;
    }
    const std::string text = arg.substr(equals + 1);
    std::int32_t value = 0;
    if (!TextToInteger(text, value) || value < 0 || value > setting->Maximum) {
      err << setting->Name << ": '" << text << "' is not a value from 0 to " << setting->Maximum << "\n";
      return false;
    }
    assignments.push_back(Assignment{setting, value});
  }
  return true;
}

int Set(const StartupFacts& facts, const std::vector<Assignment>& assignments, bool noBackup, ConsoleStream& out,
        ConsoleStream& err) {
  if (!ReadyToChange(facts, noBackup, err)) {
    return ExitFailed;
  }
  for (const Assignment& a : assignments) {
    if (!SettingChangeable(*a.Setting) && a.Value != a.Setting->Get(Env.Settings)) {
      err << a.Setting->Name << " can be changed only " << RuleText(a.Setting->Rule) << "; nothing was changed.\n";
      return ExitUsage;
    }
  }
  const DriverSettings before = Env.Settings;
  DriverSettings wanted = before;
  for (const Assignment& a : assignments) {
    a.Setting->Set(wanted, a.Value);
  }
  const SettingsChoices choices = ChoicesFromSettings(wanted);
  const GroupApplied panel = ApplyPanelSettings(choices.Panel);
  const GroupApplied modules = ApplyLoadModules(choices.Modules);
  if (!panel.Changed && !modules.Changed) {
    out << "Every setting already has its value; nothing was written.\n";
    return ExitSuccess;
  }
  bool stored = true;
  for (const DriverSetting& setting : DriverSettingTable) {
    if (setting.Group == SettingGroup::VoiceLimits) {
      continue;
    }
    const std::int32_t was = setting.Get(before);
    const std::int32_t now = setting.Get(Env.Settings);
    if (now != setting.Get(wanted)) {
      stored = false;
    } else if (now != was) {
      out << setting.Name << ": " << was << " -> " << now << "\n";
    }
  }
  if (!stored) {
    err << "Cannot write the driver settings under HKEY_LOCAL_MACHINE\\" << Env.DriverRegKey << "\n";
    return ExitFailed;
  }
  out << (panel.Changed ? "panel settings written" : "") << (panel.Changed && modules.Changed ? ", " : "")
      << (modules.Changed ? "load modules written" : "") << "\n";
  if (panel.RebootNeeded || modules.RebootNeeded) {
    RebootPending = true;
    out << RestartLine << "\n";
  }
  return ExitSuccess;
}

bool ParseVoices(const std::vector<std::string>& args, VoiceChoices& voices, ConsoleStream& err) {
  std::int16_t* targets[] = {&voices.Mod, &voices.Wod, &voices.DS, &voices.DS3D};
  const char* names[] = {"MIDI", "Wave Out", "Direct Sound", "Direct Sound 3D"};
  for (int i = 0; i < 4; ++i) {
    std::int32_t value = 0;
    if (!TextToInteger(args[i], value)) {
      err << InvalidIntegerMessage(args[i]) << "\n";
      return false;
    }
    if (value < VoiceCountMin || value > VoiceCountMax) {
      err << names[i] << ": " << value << " is outside 0 to 64\n";
      return false;
    }
    *targets[i] = static_cast<std::int16_t>(value);
  }
  return true;
}

int Voices(const StartupFacts& facts, const VoiceChoices& voices, bool noBackup, ConsoleStream& out,
           ConsoleStream& err) {
  if (!ReadyToChange(facts, noBackup, err)) {
    return ExitFailed;
  }
  const int total = voices.Mod + voices.Wod + voices.DS + voices.DS3D;
  if (total > VoiceTotalLimit) {
    out << "warning: the total of " << total << " voices is above 88\n";
  }
  const GroupApplied applied = ApplyVoiceLimits(voices);
  if (!applied.Changed) {
    out << "The voice limits already have these values; nothing was written.\n";
    return ExitSuccess;
  }
  const DriverSettings& s = Env.Settings;
  if (s.MaxModVoices != voices.Mod || s.MaxWodVoices != voices.Wod || s.MaxDSVoices != voices.DS ||
      s.Max3DVoices != voices.DS3D) {
    err << "Cannot write the voice limits under HKEY_LOCAL_MACHINE\\" << Env.DriverRegKey << "\n";
    return ExitFailed;
  }
  out << "voice limits written: MIDI " << s.MaxModVoices << ", Wave Out " << s.MaxWodVoices << ", Direct Sound "
      << s.MaxDSVoices << ", Direct Sound 3D " << s.Max3DVoices << " (total " << total << ")\n";
  RebootPending = true;
  out << RestartLine << "\n";
  return ExitSuccess;
}

int Restore(const StartupFacts& facts, bool noBackup, ConsoleStream& out, ConsoleStream& err) {
  if (!ReadyToChange(facts, noBackup, err)) {
    return ExitFailed;
  }
  if (!RestoreDriverFiles()) {
    err << "Cannot restore the original driver files.\n";
    ReportFailure(err, false);
    return ExitFailed;
  }
  out << "original driver restored: " << Env.DriverPath << "\n"
      << "original bank restored: " << Env.BankPath << "\n"
      << "backup pair removed\n"
      << RestartLine << "\n";
  return ExitSuccess;
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

int Verify(const StartupFacts& facts, const std::string& userBank, ConsoleStream& out, ConsoleStream& err) {
  if (!facts.DriverFound) {
    err << DriverNotFoundLine << "\n";
    return ExitFailed;
  }
  out << "driver: " << Env.DriverPath << " (" << (Env.IsVxD ? "VxD" : "WDM") << ", version " << Env.Profile.VersionText
      << ")\n";
  out << "installed bank: " << InstalledBankLine() << "\n";
  const DriverVerification v = VerifyDriver(userBank);
  if (!v.Compared) {
    err << v.Problem << "\n";
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
  if (!v.Problem.empty()) {
    err << v.Problem << "\n";
  }
  out << (v.Exact ? "result: the driver is exactly what the installed bank needs\n"
                  : "result: the driver is NOT what the installed bank needs\n");
  return v.Exact ? ExitSuccess : ExitFailed;
}

int UsageError(const std::string& message, ConsoleStream& err) {
  err << "tovaroc: " << message << "\n" << MainHelp << EditorCommandsHelp;
  return ExitUsage;
}

}  // namespace

ConsoleStream& operator<<(ConsoleStream& stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream.File);
  return stream;
}

ConsoleStream& operator<<(ConsoleStream& stream, const char* text) {
  std::fputs(text, stream.File);
  return stream;
}

ConsoleStream& operator<<(ConsoleStream& stream, long long number) { return stream << std::to_string(number); }

int RunConsoleCommand(const std::vector<std::string>& rawArgs, ConsoleStream& out, ConsoleStream& err) {
  bool noBackup = false;
  std::vector<std::string> args;
  for (const std::string& arg : rawArgs) {
    if (arg == "--no-backup") {
      noBackup = true;
    } else {
      args.push_back(arg);
    }
  }
  if (args.empty()) {
    return UsageError("no command given", err);
  }
  const std::string command = AsciiLower(args[0]);
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "--help" || command == "-h" || command == "help") {
    out << MainHelp << EditorCommandsHelp;
    return ExitSuccess;
  }
  if (IsEditorCommand(command)) return RunEditorCommand(command, rest, out, err);
  const auto help = CommandHelp().find(command);
  if (help == CommandHelp().end()) {
    return UsageError("unknown command '" + args[0] + "'", err);
  }
  for (const std::string& arg : rest) {
    if (arg == "--help" || arg == "-h") {
      out << help->second;
      return ExitSuccess;
    }
  }
  const auto usage = [&](const std::string& message) {
    err << "tovaroc: " << message << "\n" << help->second;
    return ExitUsage;
  };

  // Everything the command line alone can tell is checked before start-up,
  // so that a usage error writes nothing, not even the backup.
  std::vector<Assignment> assignments;
  VoiceChoices voices;
  std::string userBank;
  if (command == "status" || command == "restore") {
    if (!rest.empty()) return usage("'" + command + "' takes no arguments");
  } else if (command == "bank") {
    const std::string mode = rest.empty() ? "" : AsciiLower(rest[0]);
    const bool plain = mode == "disabled" || mode == "default" || mode == "extended" || mode == "dance";
    if (!(plain && rest.size() == 1) && !(mode == "user" && rest.size() == 2 && !rest[1].empty())) {
      return usage(rest.empty() ? "no bank mode given" : "unknown bank mode or arguments");
    }
  } else if (command == "set") {
    if (rest.empty()) return usage("no NAME=VALUE given");
    if (!ParseAssignments(rest, assignments, err)) return ExitUsage;
  } else if (command == "voices") {
    if (rest.size() != 4) return usage("four voice counts are needed");
    if (!ParseVoices(rest, voices, err)) return ExitUsage;
  } else if (command == "verify") {
    if (rest.size() == 2 && rest[0] == "--bank" && !rest[1].empty()) {
      userBank = rest[1];
    } else if (!rest.empty()) {
      return usage("unknown arguments");
    }
  }

  const StartupFacts facts = RunStartupSteps();
  if (command == "status") return Status(facts, out);
  if (command == "verify") return Verify(facts, userBank, out, err);
  if (command == "bank") return Bank(facts, rest, noBackup, out, err);
  if (command == "set") return Set(facts, assignments, noBackup, out, err);
  if (command == "voices") return Voices(facts, voices, noBackup, out, err);
  return Restore(facts, noBackup, out, err);
}
