#include "ymf/driver_verify.h"

#include <algorithm>
#include <array>

#include "files/fileops.h"
#include "files/le_bytes.h"
#include "ymf/backup.h"
#include "ymf/bank_mode.h"
#include "ymf/code_patch.h"
#include "ymf/environment.h"
#include "ymf/file_contents.h"
#include "ymf/installed_bank.h"
#include "ymf/pe_checksum.h"

namespace {

constexpr std::size_t MaxStrayOffsets = 10;

bool RangeInside(const Bytes& image, std::int32_t offset, std::int32_t size) {
  return offset >= 0 && static_cast<std::size_t>(offset) + size <= image.size();
}

// Whether the image holds, at a table's range, the bytes of `source` from `sourceStart` on.
bool SameRange(const Bytes& image, const BankTable& table, const Bytes& source, std::size_t sourceStart) {
  const std::int32_t offset = Env.Profile.*table.Offset;
  return RangeInside(image, offset, table.Size) && sourceStart + table.Size <= source.size() &&
         std::equal(image.begin() + offset, image.begin() + offset + table.Size, source.begin() + sourceStart);
}

struct Candidate {
  const char* Name;
  std::string BankPath;
};

// Every source whose bytes each table range holds.
using TableMatches = std::array<std::vector<std::string>, 3>;

PatchState StateOf(std::int32_t applied, std::int32_t original, std::int32_t total) {
  if (applied == total) {
    return PatchState::Complete;
  }
  return original == total ? PatchState::Absent : PatchState::Partial;
}

// The driver and its backup, whole; Problem says what stood in the way.
bool ReadComparedFiles(Bytes& driver, Bytes& backup, std::string& problem, bool& driverMissing) {
  if (!Env.DriverFound) {
    driverMissing = true;
    return false;
  }
  if (!Env.Profile.ProfileKnown) {
    problem = "The driver build is not known, so its patch sites and tables cannot be located.";
    return false;
  }
  if (!ReadFileContents(Env.DriverPath, driver)) {
    problem = "Cannot read the driver file " + Env.DriverPath;
    return false;
  }
  // Only a backup that matches its manifest (or a plausible one from an
  // earlier version) tells what the original driver was.
  BackupCheck check = CheckBackup(BackupCopies::DriverOnly);
  if (check.State == BackupState::NotValid) {
    problem = check.Problem;
    return false;
  }
  if (check.State != BackupState::Verified && check.State != BackupState::Earlier) {
    problem = "Cannot read the backup driver " + Env.BackupDriverPath;
    return false;
  }
  backup.assign(check.Driver->Data, check.Driver->Data + check.Driver->Size);
  for (const BankTable& table : BankTables) {
    if (!RangeInside(backup, Env.Profile.*table.Offset, table.Size)) {
      problem = "The backup driver is too short for its build's table offsets.";
      return false;
    }
  }
  return true;
}

// Counts the patch bytes that hold the patch and those that hold the
// backup's bytes, and marks the sites as bytes a switch may change.
void CheckPatch(const Bytes& driver, const Bytes& backup, Bytes& mayChange, DriverVerification& result) {
  const PatchList list = PatchListFor(Env.IsVxD);
  result.PatchTotal = static_cast<std::int32_t>(list.Length);
  for (const PatchByte& entry : list) {
    const std::int32_t offset = PatchByteOffset(Env.Profile, entry);
    if (offset < 0 || static_cast<std::size_t>(offset) >= driver.size()) {
      continue;
    }
    mayChange[offset] = 1;
    result.PatchApplied += driver[offset] == entry.Value;
    result.PatchOriginal += static_cast<std::size_t>(offset) < backup.size() && driver[offset] == backup[offset];
  }
  result.Patch = StateOf(result.PatchApplied, result.PatchOriginal, result.PatchTotal);
}

// Marks the table ranges as bytes a switch may change and lists, per range,
// every source whose bytes it holds: the backup's own tables and the bank
// sets. Size tables of banks of the same size are identical, so one range
// may match several.
TableMatches FindTableSources(const Bytes& driver, const Bytes& backup, const std::string& userBankPath,
                              Bytes& mayChange) {
  std::vector<Candidate> candidates = {{TablesExtended, Env.ExtendedBankPath}, {TablesDance, Env.DanceBankPath}};
  if (!userBankPath.empty()) {
    candidates.push_back({TablesUser, userBankPath});
  }
  TableMatches matches;
  for (int k = 0; k < 3; ++k) {
    const BankTable& table = BankTables[k];
    const std::int32_t offset = Env.Profile.*table.Offset;
    if (RangeInside(driver, offset, table.Size)) {
      std::fill(mayChange.begin() + offset, mayChange.begin() + offset + table.Size, 1);
    }
    if (SameRange(driver, table, backup, static_cast<std::size_t>(offset))) {
      matches[k].push_back(TablesDefault);
    }
    for (const Candidate& candidate : candidates) {
      Bytes source;
      if (ReadFileContents(BankTablePath(candidate.BankPath, k + 1), source) && SameRange(driver, table, source, 0)) {
        matches[k].push_back(candidate.Name);
      }
    }
  }
  return matches;
}

// On a WDM driver that differs from its backup: the stored and the computed
// image checksum; the field counts as a byte a switch may change.
void CheckChecksum(const Bytes& driver, const Bytes& backup, Bytes& mayChange, DriverVerification& result) {
  if (Env.IsVxD || driver == backup) {
    return;
  }
  std::uint32_t fieldOffset = 0;
  const bool located = LocateChecksumField(driver.data(), static_cast<std::uint32_t>(driver.size()), fieldOffset);
  result.ChecksumChecked = true;
  if (!located) {
    return;
  }
  result.StoredChecksum = Le32(&driver[fieldOffset]);
  std::fill_n(mayChange.begin() + fieldOffset, 4, 1);
  result.ComputedChecksum = PeImageChecksum(driver.data(), static_cast<std::uint32_t>(driver.size()), fieldOffset);
  result.ChecksumCorrect = result.StoredChecksum == result.ComputedChecksum;
}

// Bytes that differ from the backup where no switch writes.
void CountStrayBytes(const Bytes& driver, const Bytes& backup, const Bytes& mayChange, DriverVerification& result) {
  const std::size_t common = std::min(driver.size(), backup.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (mayChange[i] == 0 && driver[i] != backup[i]) {
      if (result.StrayOffsets.size() < MaxStrayOffsets) {
        result.StrayOffsets.push_back(static_cast<std::uint32_t>(i));
      }
      ++result.StrayCount;
    }
  }
}

// What the installed bank needs: its tables and whether the patch is in.
// False when that cannot be told (a user bank without its bank set).
bool SetExpectation(const std::string& userBankPath, DriverVerification& result) {
  switch (Env.BankKind) {
    case BankDefault:
      result.ExpectedTables = TablesDefault;
      result.ExpectedPatch = PatchState::Absent;
      return true;
    case BankExtended:
      result.ExpectedTables = TablesExtended;
      result.ExpectedPatch = PatchState::Complete;
      return true;
    case BankDance:
      result.ExpectedTables = TablesDance;
      result.ExpectedPatch = PatchState::Complete;
      return true;
    case BankNone:
      // A disabled bank leaves the driver as the last switch made it; the
      // patch it needs follows from the tables found.
      result.ExpectedTables.clear();
      return true;
    default:
      result.ExpectedTables = TablesUser;
      result.ExpectedPatch = PatchState::Complete;
      if (userBankPath.empty()) {
        result.UserBankNeeded = true;
        return false;
      }
      return true;
  }
}

// Names one source per range: the needed one when it matches, otherwise the
// first match. A disabled bank needs whatever single set table 1 shows.
void NameTableSources(const TableMatches& matches, DriverVerification& result) {
  for (int k = 0; k < 3; ++k) {
    const std::string preferred =
        !result.ExpectedTables.empty() ? result.ExpectedTables : (k == 0 ? std::string() : result.Tables[0]);
    const bool hasPreferred =
        !preferred.empty() && std::find(matches[k].begin(), matches[k].end(), preferred) != matches[k].end();
    result.Tables[k] = hasPreferred ? preferred : (matches[k].empty() ? "" : matches[k].front());
  }
  if (Env.BankKind == BankNone) {
    result.ExpectedPatch = result.Tables[0] == TablesDefault ? PatchState::Absent : PatchState::Complete;
  }
}

bool IsExact(bool expectationKnown, const DriverVerification& result) {
  const std::string wanted = result.ExpectedTables.empty() ? result.Tables[0] : result.ExpectedTables;
  const bool tablesRight =
      !wanted.empty() && result.Tables[0] == wanted && result.Tables[1] == wanted && result.Tables[2] == wanted;
  const bool checksumRight = !result.ChecksumChecked || result.ChecksumCorrect;
  return expectationKnown && tablesRight && result.Patch == result.ExpectedPatch && checksumRight &&
         !result.LengthDiffers && result.StrayCount == 0;
}

}  // namespace

DriverVerification VerifyDriver(const std::string& userBankPath) {
  DriverVerification result;
  Bytes driver;
  Bytes backup;
  if (!ReadComparedFiles(driver, backup, result.Problem, result.DriverMissing)) {
    return result;
  }
  result.Compared = true;
  result.LengthDiffers = driver.size() != backup.size();
  // Bytes that a bank switch may change: patch sites, table ranges and, on
  // the WDM driver, the CheckSum field.
  Bytes mayChange(driver.size(), 0);
  CheckPatch(driver, backup, mayChange, result);
  const TableMatches matches = FindTableSources(driver, backup, userBankPath, mayChange);
  CheckChecksum(driver, backup, mayChange, result);
  CountStrayBytes(driver, backup, mayChange, result);
  const bool known = SetExpectation(userBankPath, result);
  NameTableSources(matches, result);
  result.Exact = IsExact(known, result);
  return result;
}

bool BankModeInstalled(std::int32_t mode) {
  if (mode == ModeDisabled) {
    return Env.BankKind == BankNone && !Env.BankPath.empty() && !FileExists(Env.BankPath);
  }
  if (mode != ModeDefault && mode != ModeExtended && mode != ModeDance) {
    return false;
  }
  const std::string source = SourceBankOfMode(mode, std::string());
  Bytes bank;
  Bytes wanted;
  if (Env.BankKind != BankKindOfMode(mode) || !ReadFileContents(Env.BankPath, bank) ||
      !ReadFileContents(source, wanted) || bank != wanted) {
    return false;
  }
  return VerifyDriver("").Exact;
}
