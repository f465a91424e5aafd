#include "ymf/bank_mode.h"

#include <algorithm>
#include <vector>

#include "files/fileops.h"
#include "files/files.h"
#include "files/path_parts.h"
#include "ymf/backup.h"
#include "ymf/code_patch.h"
#include "ymf/driver_files_lock.h"
#include "ymf/environment.h"
#include "ymf/file_contents.h"
#include "ymf/installed_bank.h"
#include "ymf/operation_failure.h"
#include "ymf/pe_checksum.h"
#include "ymf/protected_files.h"
#include "ymf/user_bank_record.h"

namespace {

// The end of the last byte the patch and the tables write; 0 when an offset
// is negative.
std::int64_t WrittenExtent(const VersionProfile& profile, bool isVxD) {
  std::int64_t end = 0;
  for (const PatchByte& entry : PatchListFor(isVxD)) {
    const std::int64_t at = static_cast<std::int64_t>(PatchByteOffset(profile, entry));
    if (at < 0) {
      return 0;
    }
    end = std::max(end, at + 1);
  }
  for (const BankTable& table : BankTables) {
    const std::int64_t at = profile.*table.Offset;
    if (at < 0) {
      return 0;
    }
    end = std::max(end, at + table.Size);
  }
  return end;
}

// Reads the first bytes of table file k that the driver takes; opened says
// whether the file could be opened.
bool ReadTable(const std::string& bankPath, int k, Bytes& table, bool& opened) {
  FileHandle file = InvalidFileHandle;
  opened = OpenRead(BankTablePath(bankPath, k), file);
  if (!opened) {
    return false;
  }
  table.assign(static_cast<std::size_t>(BankTables[k - 1].Size), 0);
  const bool ok = ReadBlock(file, table.data(), BankTables[k - 1].Size);
  CloseFile(file);
  return ok;
}

bool WriteTable(FileHandle driver, int k, const Bytes& table) {
  return SeekTo(driver, Env.Profile.*BankTables[k - 1].Offset) &&
         WriteBlock(driver, table.data(), BankTables[k - 1].Size);
}

// What a switch to a bank writes, worked out before anything changes: the
// three tables and (WDM) the checksum of the image the whole switch leaves.
struct SwitchPlan {
  Bytes Tables[3];
  std::uint32_t ChecksumField = 0;
  std::uint8_t Checksum[4] = {};
};

const char* const NothingChanged = " Nothing was changed.";

// The bank and its tables. The bank is opened as the driver's files are: a
// bank that another program is writing is refused (a copy would take it
// half written, and CopyFileA does not always refuse it).
bool CheckSourceBank(const std::string& sourceBank, SwitchPlan& plan) {
  FileHandle file = InvalidFileHandle;
  if (sourceBank.empty() || !OpenRead(sourceBank, file)) {
    return Fail(FailureKind::FileUnusable, UnreadableText("bank file", sourceBank) + NothingChanged);
  }
  const std::uint32_t size = FileSizeOf(file);
  CloseFile(file);
  if (size == 0 || size == 0xFFFFFFFFu) {
    return Fail(FailureKind::FileUnusable, "The bank file " + sourceBank + " is empty." + NothingChanged);
  }
  for (int k = 1; k <= 3; ++k) {
    const std::string path = BankTablePath(sourceBank, k);
    bool opened = false;
    if (!ReadTable(sourceBank, k, plan.Tables[k - 1], opened)) {
      return Fail(FailureKind::FileUnusable,
                  (opened ? "The table file " + path + " is shorter than the " +
                                std::to_string(BankTables[k - 1].Size) + " bytes the driver takes."
                          : UnreadableText("table file", path)) +
                      NothingChanged);
    }
  }
  return true;
}

// The table (0 to 2) whose bytes the switch leaves at an offset of the
// driver, or -1: tables are written after the patch, and in their order.
int TableAt(std::uint32_t offset) {
  for (int k = 2; k >= 0; --k) {
    const auto start = static_cast<std::uint32_t>(Env.Profile.*BankTables[k].Offset);
    if (offset >= start && offset - start < static_cast<std::uint32_t>(BankTables[k].Size)) {
      return k;
    }
  }
  return -1;
}

// The byte the switch leaves at an offset of the backup driver.
std::uint8_t SwitchedByte(const FileView& backup, const SwitchPlan& plan, std::uint32_t offset) {
  const int table = TableAt(offset);
  if (table >= 0) {
    return plan.Tables[table][offset - static_cast<std::uint32_t>(Env.Profile.*BankTables[table].Offset)];
  }
  for (const PatchByte& entry : PatchListFor(Env.IsVxD)) {
    if (static_cast<std::uint32_t>(PatchByteOffset(Env.Profile, entry)) == offset) {
      return entry.Value;
    }
  }
  return backup.Data[offset];
}

// The checksum of the switched image, from the backup's word sum and the
// bytes the switch changes, without making the image: the backup is only
// looked at, never copied into memory.
bool PlanChecksum(const FileView& backup, SwitchPlan& plan) {
  std::uint32_t field = 0;
  if (!LocateChecksumField(backup.Data, backup.Size, field)) {
    return false;
  }
  auto sum = static_cast<std::int64_t>(PeWordSum(backup.Data, backup.Size));
  const auto change = [&](std::uint32_t offset, std::uint8_t now) {
    const int shift = (offset & 1) != 0 ? 8 : 0;
    sum += (static_cast<std::int64_t>(now) - backup.Data[offset]) * (std::int64_t{1} << shift);
  };
  // Each changed offset once: a table's byte where the last table that
  // covers it lies, a patch byte where no table does.
  for (int k = 0; k < 3; ++k) {
    const auto start = static_cast<std::uint32_t>(Env.Profile.*BankTables[k].Offset);
    const auto size = static_cast<std::uint32_t>(BankTables[k].Size);
    // Tables of every known build lie apart; the test per byte is for a
    // profile whose later table would cover part of this one.
    bool apart = true;
    for (int later = k + 1; later < 3; ++later) {
      const auto other = static_cast<std::uint32_t>(Env.Profile.*BankTables[later].Offset);
      apart = apart && (other >= start + size || other + static_cast<std::uint32_t>(BankTables[later].Size) <= start);
    }
    for (std::uint32_t i = 0; i < size; ++i) {
      if (apart || TableAt(start + i) == k) {
        change(start + i, plan.Tables[k][i]);
      }
    }
  }
  for (const PatchByte& entry : PatchListFor(Env.IsVxD)) {
    const auto offset = static_cast<std::uint32_t>(PatchByteOffset(Env.Profile, entry));
    if (TableAt(offset) < 0) {
      change(offset, entry.Value);
    }
  }
  const auto half = [&](std::uint32_t at) {
    return static_cast<std::uint16_t>(SwitchedByte(backup, plan, at) | (SwitchedByte(backup, plan, at + 1) << 8));
  };
  const std::uint32_t checksum =
      PeChecksumFromWordSum(static_cast<std::uint64_t>(sum), backup.Size, half(field), half(field + 2));
  plan.ChecksumField = field;
  for (int i = 0; i < 4; ++i) {
    plan.Checksum[i] = static_cast<std::uint8_t>(checksum >> (8 * i));
  }
  return true;
}

// Everything a switch to the bank needs, checked before anything is
// changed: the profile, the backup and its build, a backup driver long
// enough for every written byte and (WDM) with a checksum field, a readable
// bank with its three tables, and live files that can be replaced.
bool PrepareSwitch(const std::string& sourceBank, SwitchPlan& plan) {
  if (!Env.Profile.ProfileKnown) {
    return Fail(FailureKind::UnknownBuild, "The driver version '" + Env.Profile.VersionText +
                                               "' is not known, so its patch sites and tables cannot be located." +
                                               NothingChanged);
  }
  const BackupCheck check = CheckBackup(BackupCopies::DriverOnly);
  if (!RequireUsableBackup(check)) {
    return false;
  }
  if (check.VersionText != Env.Profile.VersionText) {
    return Fail(FailureKind::OtherBuild, OtherBuildText(check.VersionText, Env.Profile.VersionText) + NothingChanged);
  }
  const FileView& backup = *check.Driver;
  const std::int64_t extent = WrittenExtent(Env.Profile, Env.IsVxD);
  if (extent <= 0 || extent > static_cast<std::int64_t>(backup.Size)) {
    return Fail(
        FailureKind::ImageUnusable,
        "The backup driver is too short for the patch sites and tables of its build." + std::string(NothingChanged));
  }
  if (IsProtectedFile(sourceBank)) {
    return Fail(FailureKind::FileUnusable, "The bank " + sourceBank +
                                               " is the live driver or bank file or a file of the backup: it cannot be "
                                               "installed as a bank." +
                                               std::string(NothingChanged));
  }
  if (!CheckSourceBank(sourceBank, plan)) {
    return false;
  }
  if (!Env.IsVxD && !PlanChecksum(backup, plan)) {
    return Fail(FailureKind::ImageUnusable,
                "The driver image has no PE header whose checksum field can be located, so its checksum could not "
                "be kept right." +
                    std::string(NothingChanged));
  }
  // A live bank that cannot be replaced makes the first copy fail, which
  // changes nothing; a driver that cannot be must be found before it.
  return RequireReplaceable("driver file", Env.DriverPath, true);
}

// state: what the driver file is now ("unpatched", "partly patched").
bool StepFailed(const std::string& step, const char* state) {
  return Fail(FailureKind::StepFailed,
              "The switch stopped at " + step + ": the new bank is in place, the driver file is the original driver, " +
                  state + ".",
              true);
}

// Modes 2, 3 and User: the bank and the backup driver go into place, then
// the patch, the tables and (WDM) the checksum. After a failed step nothing
// more is written: the checksum of a half-switched driver is never
// recomputed.
bool SwitchToBank(const std::string& sourceBank) {
  SwitchPlan plan;
  if (!PrepareSwitch(sourceBank, plan) || !CopyBankAndDriver(sourceBank)) {
    return false;
  }
  FileHandle driver = InvalidFileHandle;
  if (!OpenWrite(Env.DriverPath, driver)) {
    return StepFailed("opening " + Env.DriverPath + " to write the code patch", "unpatched");
  }
  const char* failed = nullptr;
  if (!WritePatch(driver)) {
    failed = "writing the code patch into ";
  }
  for (int k = 1; k <= 3 && failed == nullptr; ++k) {
    if (!WriteTable(driver, k, plan.Tables[k - 1])) {
      failed = "writing the bank's tables into ";
    }
  }
  // The checksum of the image as the whole switch leaves it, written only
  // when every step before it succeeded.
  if (failed == nullptr && !Env.IsVxD &&
      !(SeekTo(driver, static_cast<std::int32_t>(plan.ChecksumField)) && WriteBlock(driver, plan.Checksum, 4))) {
    failed = "storing the image checksum of ";
  }
  CloseFile(driver);
  return failed == nullptr || StepFailed(failed + Env.DriverPath, "partly patched for the new bank");
}

bool DisableBank() {
  const BackupCheck check = CheckBackup();
  if (!RequireUsableBackup(check) || !RequireLiveDriverOfBackupBuild(check)) {
    return false;
  }
  if (!FileExists(Env.BankPath)) {
    return Fail(FailureKind::FileUnusable, "The bank file " + Env.BankPath + " is not found." + NothingChanged);
  }
  if (!RemoveFile(Env.BankPath)) {
    return Fail(FailureKind::FileUnusable, "The bank file " + Env.BankPath +
                                               " cannot be deleted: it is read-only, or another program has it open.");
  }
  return true;
}

bool RestoreDefaultBank() {
  const BackupCheck check = CheckBackup();
  return RequireUsableBackup(check) && RequireLiveDriverOfBackupBuild(check) && RequireLiveFilesReplaceable() &&
         CopyBankAndDriver(Env.BackupBankPath);
}

}  // namespace

std::string BankTablePath(const std::string& bankPath, int table) {
  if (bankPath.empty()) {
    return std::string();
  }
  return WithLastCharacter(bankPath, static_cast<char>('0' + table));
}

std::string SourceBankOfMode(std::int32_t mode, const std::string& userBankPath) {
  switch (mode) {
    case ModeDisabled:
      return std::string();
    case ModeDefault:
      return Env.BackupBankPath;
    case ModeExtended:
      return Env.ExtendedBankPath;
    case ModeDance:
      return Env.DanceBankPath;
    default:
      return userBankPath;
  }
}

bool SetBankMode(std::int32_t mode, const std::string& userBankPath) {
  return UnderDriverFilesLock([&] {
    if (Env.DriverPath.empty() || Env.BankPath.empty()) {
      return Fail(FailureKind::NoDriver, "");
    }
    // Without a usable backup the deleted bank or the driver patched for
    // another bank could never be brought back.
    bool set = false;
    if (mode == ModeDisabled) {
      set = DisableBank();
    } else if (mode == ModeDefault) {
      set = RestoreDefaultBank();
    } else {
      set = SwitchToBank(SourceBankOfMode(mode, userBankPath));
    }
    // The record names the set only while its bank is what the switch left
    // live; a switch that changed nothing leaves it as it was.
    if (set && BankKindOfMode(mode) == BankUser) {
      RecordUserBank(userBankPath);
    } else if (set || LastFailure().FilesChanged) {
      RemoveUserBankRecord();
    }
    return set;
  });
}
