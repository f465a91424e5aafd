#include "ymf/driver_verify.h"

#include <algorithm>

#include "files/files.h"
#include "platform/pe_checksum.h"
#include "ymf/bank_mode.h"
#include "ymf/code_patch.h"
#include "ymf/environment.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t MaxStrayOffsets = 10;

bool ReadWholeFile(const std::string& path, Bytes& bytes) {
  FileHandle file = InvalidFileHandle;
  if (path.empty() || !OpenRead(path, file)) {
    return false;
  }
  const std::uint32_t size = FileSizeOf(file);
  bool ok = size != 0xFFFFFFFFu && size <= 0x7FFFFFFFu;
  if (ok) {
    bytes.assign(size, 0);
    ok = size == 0 || ReadBlock(file, bytes.data(), static_cast<std::int32_t>(size));
  }
  CloseFile(file);
  return ok;
}

struct TableRange {
  std::int32_t Offset;
  std::int32_t Size;
};

bool RangeInside(const Bytes& image, const TableRange& range) {
  return range.Offset >= 0 && static_cast<std::size_t>(range.Offset) + range.Size <= image.size();
}

bool SameRange(const Bytes& image, const TableRange& range, const Bytes& table, std::size_t tableStart) {
  return RangeInside(image, range) && tableStart + range.Size <= table.size() &&
         std::equal(image.begin() + range.Offset, image.begin() + range.Offset + range.Size,
                    table.begin() + tableStart);
}

struct Candidate {
  const char* Name;
  std::string BankPath;
};

PatchState StateOf(std::int32_t applied, std::int32_t original, std::int32_t total) {
  if (applied == total) {
    return PatchState::Complete;
  }
  return original == total ? PatchState::Absent : PatchState::Partial;
}

}  // namespace

DriverVerification VerifyDriver(const std::string& userBankPath) {
  DriverVerification result;
  if (!Env.DriverFound) {
    result.Problem = "YMF7x4 driver is not found.";
    return result;
  }
  if (!Env.Profile.ProfileKnown) {
    result.Problem = "The driver build is not known, so its patch sites and tables cannot be located.";
    return result;
  }
  Bytes driver;
  Bytes backup;
  if (!ReadWholeFile(Env.DriverPath, driver)) {
    result.Problem = "Cannot read the driver file " + Env.DriverPath;
    return result;
  }
  if (!ReadWholeFile(Env.BackupDriverPath, backup)) {
    result.Problem = "Cannot read the backup driver " + Env.BackupDriverPath;
    return result;
  }
  const VersionProfile& profile = Env.Profile;
  const TableRange ranges[3] = {
      {profile.TableOffset1, Table1Size}, {profile.TableOffset2, Table2Size}, {profile.TableOffset3, Table3Size}};
  if (!RangeInside(backup, ranges[0]) || !RangeInside(backup, ranges[1]) || !RangeInside(backup, ranges[2])) {
    result.Problem = "The backup driver is too short for its build's table offsets.";
    return result;
  }
  result.Compared = true;
  result.LengthDiffers = driver.size() != backup.size();

  // Bytes that a bank switch may change: patch sites, table ranges and, on
  // the WDM driver, the CheckSum field.
  Bytes expected(driver.size(), 0);
  const PatchByte* list = Env.IsVxD ? VxdPatch : WdmPatch;
  const std::size_t length = Env.IsVxD ? VxdPatchLength : WdmPatchLength;
  result.PatchTotal = static_cast<std::int32_t>(length);
  for (std::size_t i = 0; i < length; ++i) {
    const std::int32_t offset = PatchByteOffset(profile, list[i]);
    if (offset < 0 || static_cast<std::size_t>(offset) >= driver.size()) {
      continue;
    }
    expected[offset] = 1;
    result.PatchApplied += driver[offset] == list[i].Value;
    result.PatchOriginal += static_cast<std::size_t>(offset) < backup.size() && driver[offset] == backup[offset];
  }
  result.Patch = StateOf(result.PatchApplied, result.PatchOriginal, result.PatchTotal);
  for (const TableRange& range : ranges) {
    if (RangeInside(driver, range)) {
      std::fill(expected.begin() + range.Offset, expected.begin() + range.Offset + range.Size, 1);
    }
  }

  std::vector<Candidate> candidates = {{TablesExtended, Env.ExtendedBankPath}, {TablesDance, Env.DanceBankPath}};
  if (!userBankPath.empty()) {
    candidates.push_back({TablesUser, userBankPath});
  }
  // Every source whose bytes a table range holds; size tables of banks of
  // the same size are identical, so one range may match several.
  std::vector<std::string> matches[3];
  for (int k = 0; k < 3; ++k) {
    if (SameRange(driver, ranges[k], backup, static_cast<std::size_t>(ranges[k].Offset))) {
      matches[k].push_back(TablesDefault);
    }
    for (const Candidate& candidate : candidates) {
      Bytes table;
      if (ReadWholeFile(BankTablePath(candidate.BankPath, k + 1), table) && SameRange(driver, ranges[k], table, 0)) {
        matches[k].push_back(candidate.Name);
      }
    }
  }

  std::uint32_t fieldOffset = 0;
  const bool differs = driver != backup;
  if (!Env.IsVxD && differs) {
    FileHandle file = InvalidFileHandle;
    bool located = false;
    if (OpenRead(Env.DriverPath, file)) {
      located = LocateChecksumField(file, static_cast<std::uint32_t>(driver.size()), fieldOffset);
      CloseFile(file);
    }
    result.ChecksumChecked = true;
    if (located) {
      for (int i = 0; i < 4; ++i) {
        result.StoredChecksum |= static_cast<std::uint32_t>(driver[fieldOffset + i]) << (8 * i);
        expected[fieldOffset + i] = 1;
      }
      result.ComputedChecksum = PeImageChecksum(driver.data(), static_cast<std::uint32_t>(driver.size()), fieldOffset);
      result.ChecksumCorrect = result.StoredChecksum == result.ComputedChecksum;
    }
  }

  const std::size_t common = std::min(driver.size(), backup.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (expected[i] == 0 && driver[i] != backup[i]) {
      if (result.StrayOffsets.size() < MaxStrayOffsets) {
        result.StrayOffsets.push_back(static_cast<std::uint32_t>(i));
      }
      ++result.StrayCount;
    }
  }

  // What the installed bank needs.
  bool known = true;
  switch (Env.BankKind) {
    case BankDefault:
      result.ExpectedTables = TablesDefault;
      result.ExpectedPatch = PatchState::Absent;
      break;
    case BankExtended:
      result.ExpectedTables = TablesExtended;
      result.ExpectedPatch = PatchState::Complete;
      break;
    case BankDance:
      result.ExpectedTables = TablesDance;
      result.ExpectedPatch = PatchState::Complete;
      break;
    case BankNone:
      // A disabled bank leaves the driver as the last switch made it.
      result.ExpectedTables.clear();
      break;
    default:
      if (userBankPath.empty()) {
        known = false;
        result.Problem = "A user bank is installed: give --bank PATH to compare its tables.";
      }
      result.ExpectedTables = TablesUser;
      result.ExpectedPatch = PatchState::Complete;
      break;
  }
  // A range counts as the needed source when that source matches it; a
  // disabled bank needs whatever single set table 1 shows.
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
  const std::string wanted = result.ExpectedTables.empty() ? result.Tables[0] : result.ExpectedTables;
  const bool tablesRight =
      !wanted.empty() && result.Tables[0] == wanted && result.Tables[1] == wanted && result.Tables[2] == wanted;
  const bool checksumRight = !result.ChecksumChecked || result.ChecksumCorrect;
  result.Exact = known && tablesRight && result.Patch == result.ExpectedPatch && checksumRight &&
                 !result.LengthDiffers && result.StrayCount == 0;
  return result;
}
