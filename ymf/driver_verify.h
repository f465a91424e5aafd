// Compares the live driver with the backup driver and tells whether it is
// exactly what the installed bank needs: code patch, per-bank tables, image
// checksum, and no other byte changed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Names of table sources: the original driver's own tables, or a bank set's.
constexpr const char* TablesDefault = "Default";
constexpr const char* TablesExtended = "Extended";
constexpr const char* TablesDance = "Dance";
constexpr const char* TablesUser = "User";

enum class PatchState { Absent, Complete, Partial };

struct DriverVerification {
  // False when the comparison could not be made; Problem says why, or one
  // of the flags below, which each front end puts in its own words.
  bool Compared = false;
  std::string Problem;
  bool DriverMissing = false;
  bool UserBankNeeded = false;  // a user bank is installed and no bank set to compare with was named

  std::int32_t PatchTotal = 0;     // bytes the patch list writes
  std::int32_t PatchApplied = 0;   // of those, bytes holding the patch value
  std::int32_t PatchOriginal = 0;  // of those, bytes holding the backup's value
  PatchState Patch = PatchState::Partial;

  // Source of each table range ("" when it matches none).
  std::string Tables[3];
  // The tables the installed bank needs ("" when any one consistent set will do).
  std::string ExpectedTables;
  PatchState ExpectedPatch = PatchState::Absent;

  bool ChecksumChecked = false;  // a WDM driver that differs from its backup
  bool ChecksumCorrect = false;
  std::uint32_t StoredChecksum = 0;
  std::uint32_t ComputedChecksum = 0;

  bool LengthDiffers = false;
  std::uint32_t StrayCount = 0;             // differing bytes outside patch sites, tables and checksum
  std::vector<std::uint32_t> StrayOffsets;  // the first few of them

  // The driver is exactly what the installed bank needs.
  bool Exact = false;
};

// Verifies Env.DriverPath against Env.BackupDriverPath for Env.BankKind.
// userBankPath, when not empty, names a user bank set whose tables count as
// "User"; it is needed to judge an installed user bank.
DriverVerification VerifyDriver(const std::string& userBankPath);

// Whether a mode is installed and nothing is left to do: for Disabled the
// bank file is gone; for Default, Extended and Dance the installed bank is
// of that kind, equals its source (the backup bank, or the bank that comes
// with the program) byte for byte, and the driver is exactly what it needs.
// A half-done switch is therefore never taken as installed. False for a
// user bank, which is installed every time.
bool BankModeInstalled(std::int32_t mode);
