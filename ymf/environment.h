// The process-wide driver environment: paths, flags, registry key, version
// profile, installed bank and driver settings. One instance, zero-filled at start.
#pragma once

#include <cstdint>
#include <string>

// Kinds of installed bank, from the bank file's signature byte.
constexpr std::int32_t BankNone = 0;
constexpr std::int32_t BankDefault = 1;
constexpr std::int32_t BankExtended = 2;
constexpr std::int32_t BankDance = 3;
constexpr std::int32_t BankUser = 4;
constexpr std::int32_t BankUnknown = -1;

// Bank modes of the bank mode switch; any other value means a user bank.
constexpr std::int32_t ModeDisabled = 0;
constexpr std::int32_t ModeDefault = 1;
constexpr std::int32_t ModeExtended = 2;
constexpr std::int32_t ModeDance = 3;
constexpr std::int32_t ModeUser = -1;

// Byte counts of the three per-bank tables.
constexpr std::int32_t Table1Size = 17568;
constexpr std::int32_t Table2Size = 9090;
constexpr std::int32_t Table3Size = 2096;

struct VersionProfile {
  std::string VersionText;
  bool ProfileKnown = false;
  std::int32_t TableOffset1 = 0;
  std::int32_t TableOffset2 = 0;
  std::int32_t TableOffset3 = 0;
  std::int32_t PatchOffset1 = 0;
  std::int32_t PatchOffset2 = 0;
  std::int32_t PatchOffset3 = 0;
  std::int32_t PatchOffset4 = 0;
};

struct DriverSettings {
  bool ShowWaveout = false;
  bool ShowMisc = false;
  bool SRC = false;
  std::uint8_t LoadUIF = 0;
  bool LoadC3D = false;
  bool LoadGamePort = false;
  bool LoadLegacy = false;
  bool LoadSpdif = false;
  std::uint8_t LoadSpdifIn = 0;
  bool LoadVSVL = false;
  bool LoadPower = false;
  std::int32_t MaxModVoices = 0;
  std::int32_t MaxWodVoices = 0;
  std::int32_t MaxDSVoices = 0;
  std::int32_t Max3DVoices = 0;
};

struct DriverEnvironment {
  std::string SystemDir;
  std::string DriversDir;
  std::string InstallDir;
  bool DriverFound = false;
  bool IsVxD = false;
  std::string DriverPath;
  std::string BankPath;
  std::string BackupDriverPath;
  std::string BackupBankPath;
  std::string ExtendedBankPath;
  bool ExtendedBankExists = false;
  std::string DanceBankPath;
  bool DanceBankExists = false;
  std::string DriverRegKey;
  VersionProfile Profile;
  std::int32_t BankKind = 0;
  std::int32_t BankSize = 0;
  DriverSettings Settings;
};

// The one record of the process.
extern DriverEnvironment Env;
