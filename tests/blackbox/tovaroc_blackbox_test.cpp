// tovaroc.exe under Wine on a simulated WDM installation: what each command
// prints, its exit code, and the bytes and registry values it leaves.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <functional>

#include "files/fileops.h"
#include "files/files.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/system_lock.h"
#include "platform/testing/registry_keys.h"
#include "platform/testing/scratch.h"
#include "tests/blackbox/robot.h"
#include "tests/support/file_bytes.h"
#include "tests/support/settings_registry.h"
#include "tools/fixture/fixture.h"
#include "ymf/bank_mode.h"
#include "ymf/detect.h"
#include "ymf/driver_files_lock.h"

namespace {

const DWORD Patience = 60000;
// Table 2 and the first code patch site of build 5.12.01.5245.
const std::size_t Table2Offset = 0x1745A8;
const std::size_t PatchSite3 = 0x1450A;

// A folder and a bank name of the process's ANSI code page that a byte-wise
// split gets wrong: in 932 the second byte of 表 (95 5C) and of ソ (83 5C) is
// a backslash, in 936 that of 誠 (D5 5C); 1251 and 1252 have no lead bytes,
// but letters a console shows in another code page.
struct CodePageNames {
  unsigned CodePage;
  const char* Folder;
  const char* Bank;  // without ".yb0"
};
const CodePageNames NamesOfCodePage[] = {
    {932, "\x95\x5C", "\x83\x5C"},                       // 表, ソ
    {936, "\xD5\x5C", "\xD5\x5C\xD5\x5C"},               // 誠, 誠誠
    {1251, "\xCC\xF3\xE7\xFB\xEA\xE0", "\xEC\xEE\xE9"},  // Музыка, мой
    {1252, "Kl\xE4nge", "m\xFCsik"},
};

// The names of this process's code page. The runs under another locale
// (TOVARO_ANSI_CODE_PAGE) first make sure Wine gave them that code page.
const CodePageNames& ThisCodePage() {
  const char* expected = std::getenv("TOVARO_ANSI_CODE_PAGE");
  if (expected != nullptr) {
    EXPECT_EQ(GetACP(), std::strtoul(expected, nullptr, 10));
  }
  for (const CodePageNames& names : NamesOfCodePage) {
    if (names.CodePage == GetACP()) {
      return names;
    }
  }
  ADD_FAILURE() << "no names for code page " << GetACP();
  return NamesOfCodePage[3];
}

// The Program Files directory as the program finds it, without the backslash.
std::string ProgramFilesDir() {
  std::string dir;
  GetInstallDir(dir);
  EXPECT_FALSE(dir.empty());
  return dir.substr(0, dir.empty() ? 0 : dir.size() - 1);
}

class Tovaroc : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = MakeScratchDir("tovaroc");
    ASSERT_FALSE(scratch_.empty());
    where_.WindowsDir = WindowsDirectory();
    where_.SystemDir = SystemDirectory();
    where_.ProgramFilesDir = ProgramFilesDir();
    where_.ProgramDir = where_.ProgramFilesDir + "\\Nerulan\\Tovaro\\";
    key_ = DriverRegKeyFor(false, GetWindowsVersion().Major);
    CleanUp();
    ASSERT_TRUE(MakeDirectory(where_.ProgramFilesDir + "\\Nerulan"));
    ASSERT_TRUE(MakeDirectory(where_.ProgramDir));
    ASSERT_TRUE(MakeDirectory(where_.BanksDir()));
    ASSERT_TRUE(InstallBankSets(where_, 250000));
    DriverInstallSpec setup;
    setup.StockBankSize = 300000;
    ASSERT_TRUE(InstallDriver(where_, setup));
    DriverSettings settings;
    settings.ShowWaveout = true;
    settings.SRC = true;
    settings.LoadUIF = 2;
    settings.LoadGamePort = true;
    settings.MaxModVoices = 32;
    settings.MaxWodVoices = 16;
    settings.MaxDSVoices = 16;
    settings.Max3DVoices = 24;
    ASSERT_TRUE(WriteDriverRegistry(key_, false, settings));
    program_ = scratch_ + "Tovaro\\";
    ASSERT_TRUE(MakeDirectory(program_));
    ASSERT_TRUE(MakeDirectory(program_ + "Backup"));
    exe_ = program_ + "tovaroc.exe";
    ASSERT_TRUE(CopyFileOver(OwnDirectory() + "dist\\Tovaro\\tovaroc.exe", exe_));
    driver_ = InstalledDriverPath(where_, false);
    bank_ = InstalledBankPath(where_, false);
    originalDriver_ = ReadAll(driver_);
    originalBank_ = ReadAll(bank_);
  }
  void TearDown() override {
    CleanUp();
    RemoveTree(scratch_);
  }
  void CleanUp() {
    RemoveFile(InstalledDriverPath(where_, false));
    RemoveFile(InstalledBankPath(where_, false));
    RemoveTree(where_.ProgramFilesDir + "\\Nerulan\\");
    MachineKeyDeleteTree(key_);
  }
  ConsoleRun Run(const std::string& arguments) {
    ConsoleRun run = RunConsole(exe_, arguments, Patience);
    EXPECT_TRUE(run.Started);
    return run;
  }
  void ExpectUntouched() {
    EXPECT_EQ(ReadAll(driver_), originalDriver_);
    EXPECT_EQ(ReadAll(bank_), originalBank_);
  }
  std::string Backup(const char* name) const { return program_ + "Backup\\" + name; }
  void EditorWorkflow(const std::string& folder, const std::string& bank);

  std::string scratch_;
  Installation where_;
  std::string key_;
  std::string program_;
  std::string exe_;
  std::string driver_;
  std::string bank_;
  Bytes originalDriver_;
  Bytes originalBank_;
};

#define EXPECT_HAS(text, part) \
  EXPECT_NE((text).find(part), std::string::npos) << "missing: " << (part) << "\n" << (text)

TEST_F(Tovaroc, StatusDescribesDriverBankBackupAndSettings) {
  const ConsoleRun run = Run("status");
  EXPECT_EQ(run.ExitCode, 0u);
  EXPECT_HAS(run.Out, "driver: found, WDM");
  EXPECT_HAS(run.Out, "driver path: " + driver_);
  EXPECT_HAS(run.Out, "version: 5.12.01.5245 (known build)");
  EXPECT_HAS(run.Out, "bank: Default bank 0.29 MB");
  EXPECT_HAS(run.Out, "backup: present");
  EXPECT_HAS(run.Out, "  ShowWaveout = 1\n  ShowMisc = 0\n  SRC = 1\n  LoadUIF = 2\n");
  EXPECT_HAS(run.Out, "  Max3DVoices = 24\n");
  EXPECT_HAS(run.Out, "voice total: 88 (up to 88)");
  EXPECT_EQ(ReadAll(Backup("Ds1.sys")), originalDriver_);
  ExpectUntouched();
}

TEST_F(Tovaroc, ExtendedSwitchVerifiesAndRestores) {
  ConsoleRun run = Run("bank extended");
  EXPECT_EQ(run.ExitCode, 0u) << run.Out;
  EXPECT_HAS(run.Out, "XG bank mode set: Extended XG bank 0.24 MB");
  EXPECT_HAS(run.Out, "Restart Windows for the changes to take effect.");
  EXPECT_EQ(ReadAll(bank_), ReadAll(where_.ExtendedBank()));
  const Bytes switched = ReadAll(driver_);

  run = Run("verify");
  EXPECT_EQ(run.ExitCode, 0u) << run.Out;
  EXPECT_HAS(run.Out, "code patch: complete (42 of 42 bytes patched)");
  EXPECT_HAS(run.Out, "tables: 1=Extended 2=Extended 3=Extended");
  EXPECT_HAS(run.Out, "checksum: correct");
  EXPECT_HAS(run.Out, "other bytes: 0 differ");

  run = Run("bank EXTENDED");
  EXPECT_EQ(run.ExitCode, 0u);
  EXPECT_HAS(run.Out, "already installed; nothing was changed");
  EXPECT_EQ(ReadAll(driver_), switched);

  run = Run("restore");
  EXPECT_EQ(run.ExitCode, 0u) << run.Out;
  EXPECT_HAS(run.Out, "backup pair removed");
  ExpectUntouched();
  EXPECT_FALSE(FileExists(Backup("Ds1.sys")));
  EXPECT_FALSE(FileExists(Backup("dsxgwave.tbl")));
}

TEST_F(Tovaroc, VerifySpotsEverySingleFlippedByte) {
  ASSERT_EQ(Run("bank dance").ExitCode, 0u);
  const Bytes switched = ReadAll(driver_);
  const struct {
    std::size_t offset;
    const char* finding;
  } flips[] = {{Table2Offset + 100, "tables: 1=Dance 2=none 3=Dance"},
               {PatchSite3 + 4, "code patch: partial (41 of 42 bytes patched)"},
               {0x1000, "other bytes: 1 differ from the backup 0x00001000"}};
  for (const auto& flip : flips) {
    Bytes changed = switched;
    changed[flip.offset] ^= 0x01;
    WriteAll(driver_, changed);
    const ConsoleRun run = Run("verify");
    EXPECT_EQ(run.ExitCode, 1u) << run.Out;
    EXPECT_HAS(run.Out, flip.finding);
    EXPECT_HAS(run.Out, "checksum: wrong");
    EXPECT_HAS(run.Out, "result: the driver is NOT what the installed bank needs");
  }
  WriteAll(driver_, switched);
  EXPECT_EQ(Run("verify").ExitCode, 0u);
}

TEST_F(Tovaroc, SwitchThatCannotCompleteLeavesBothFilesUntouched) {
  ASSERT_EQ(Run("status").ExitCode, 0u);
  ASSERT_TRUE(RemoveFile(BankTablePath(where_.ExtendedBank(), 2)));
  const ConsoleRun run = Run("bank extended");
  EXPECT_EQ(run.ExitCode, 1u);
  EXPECT_HAS(run.Out, "Cannot set XG Bank Mode");
  ExpectUntouched();
}

TEST_F(Tovaroc, SetWritesWholeGroupsAsApplyDoes) {
  ConsoleRun run = Run("set ShowWaveout=0 loadgameport=0");
  EXPECT_EQ(run.ExitCode, 0u) << run.Out;
  EXPECT_HAS(run.Out, "ShowWaveout: 1 -> 0");
  EXPECT_HAS(run.Out, "LoadGamePort: 1 -> 0");
  EXPECT_HAS(run.Out, "panel settings written, load modules written");
  EXPECT_HAS(run.Out, "Restart Windows");
  EXPECT_EQ(GetValue(key_, "ShowWaveout"), Binary({0, 0, 0, 0}));
  EXPECT_EQ(GetValue(key_, "LoadUIF"), Binary({2, 0, 0, 0}));
  EXPECT_EQ(GetValue(key_, "LoadGamePort"), Binary({0, 0, 0, 0}));

  run = Run("set ShowWaveout=1");
  EXPECT_EQ(run.ExitCode, 0u);
  EXPECT_EQ(run.Out.find("Restart Windows"), std::string::npos) << "Show Wave Out alone needs no restart";

  run = Run("set SRC=1");
  EXPECT_HAS(run.Out, "nothing was written");
}

TEST_F(Tovaroc, VoicesAboveTheTotalAreStoredWithAWarning) {
  const ConsoleRun run = Run("voices 64 24 1 0");
  EXPECT_EQ(run.ExitCode, 0u) << run.Out;
  EXPECT_HAS(run.Out, "warning: the total of 89 voices is above 88");
  EXPECT_EQ(GetValue(key_, "MaxModVoices"), Binary({64, 0, 0, 0}));
  EXPECT_EQ(GetValue(key_, "Max3DVoices"), Binary({0, 0, 0, 0}));
}

TEST_F(Tovaroc, UsageErrorsWriteNothing) {
  const std::string extended = "\"" + where_.ExtendedBank() + "\"";
  const Bytes extendedBytes = ReadAll(where_.ExtendedBank());
  const std::string wrong[] = {"",
                               "frobnicate",
                               "set Bogus=1",
                               "set LoadUIF=7",
                               "set SRC",
                               "voices 1 2 3",
                               "voices 1 2 3 65",
                               "voices a 1 1 1",
                               "bank sideways",
                               "bank user",
                               "status extra",
                               "verify --bank",
                               "copy " + extended,
                               "copy " + extended + " \"\"",
                               "extract",
                               "build " + extended + " again",
                               "sign " + extended + " purple",
                               "wavclean"};
  for (const std::string& arguments : wrong) {
    const ConsoleRun run = Run(arguments);
    EXPECT_EQ(run.ExitCode, 2u) << arguments << "\n" << run.Out;
  }
  EXPECT_FALSE(FileExists(Backup("Ds1.sys"))) << "not even the backup was made";
  EXPECT_EQ(GetValue(key_, "LoadUIF"), Binary({2, 0, 0, 0}));
  EXPECT_EQ(GetValue(key_, "MaxModVoices"), Binary({32, 0, 0, 0}));
  ExpectUntouched();
  EXPECT_EQ(ReadAll(where_.ExtendedBank()), extendedBytes);
  EXPECT_EQ(Run("set --help").ExitCode, 0u);
  EXPECT_HAS(Run("sign --help").Out, "usage: tovaroc sign BANK extended|dance|user");
  EXPECT_HAS(Run("--help").Out, "usage: tovaroc");
  EXPECT_HAS(Run("--help").Out, "  wavclean BANK ");
}

TEST_F(Tovaroc, FailedBackupStopsChangesUnlessWaived) {
  RemoveTree(program_ + "Backup");
  ConsoleRun run = Run("voices 1 1 1 1");
  EXPECT_EQ(run.ExitCode, 1u);
  EXPECT_HAS(run.Out, "Cannot create backup of original driver files.");
  EXPECT_EQ(GetValue(key_, "MaxModVoices"), Binary({32, 0, 0, 0}));
  EXPECT_EQ(Run("status").ExitCode, 0u);
  run = Run("--no-backup voices 1 1 1 1");
  EXPECT_EQ(run.ExitCode, 0u) << run.Out;
  EXPECT_EQ(GetValue(key_, "MaxModVoices"), Binary({1, 0, 0, 0}));
}

// The bank editor from the command line, as the XG Bank Editor page: copy
// the Extended bank, take it apart, change one sample, build it, mark it as
// a user bank and install it; the driver is then exactly what it needs.
// None of the editor commands makes the backup. Once with ASCII names, once
// in a folder and under a name of the code page.
TEST_F(Tovaroc, EditorWorkflowEndsInAnExactDriver) {
  EditorWorkflow("My Banks", "mine");
  TearDown();
  SetUp();
  EditorWorkflow(ThisCodePage().Folder, ThisCodePage().Bank);
}

void Tovaroc::EditorWorkflow(const std::string& folder, const std::string& bank) {
  ASSERT_TRUE(CopyFileOver(OwnDirectory() + "dist\\Tovaro\\a10.dll", program_ + "a10.dll"));
  ASSERT_TRUE(InstallBankSets(where_, 250000, true));
  const std::string work = scratch_ + folder + "\\";
  ASSERT_TRUE(MakeDirectory(work));
  const std::string mine = work + bank + ".yb0";
  const std::string quoted = "\"" + mine + "\"";

  ConsoleRun run = Run("copy \"" + where_.ExtendedBank() + "\" " + quoted);
  EXPECT_EQ(run.ExitCode, 0u) << run.Out;
  EXPECT_HAS(run.Out, "-> " + work + bank + ".yb3");
  run = Run("extract " + quoted);
  EXPECT_EQ(run.ExitCode, 0u) << run.Out;
  EXPECT_HAS(run.Out, "samples extracted: 16 WAV files in " + work);
  const std::vector<std::string> wavs = ListFiles(work + "*.wav");
  ASSERT_EQ(wavs.size(), 16u);
  EXPECT_TRUE(ListFiles(scratch_ + "*.wav").empty());
  Bytes wav = ReadAll(work + wavs[3]);
  const std::size_t data = std::string(wav.begin(), wav.end()).find("data");
  ASSERT_NE(data, std::string::npos);
  for (std::size_t i = data + 8; i < data + 8 + 64; ++i) {
    wav[i] = static_cast<std::uint8_t>(wav[i] ^ 0x5A);
  }
  WriteAll(work + wavs[3], wav);
  run = Run("build " + quoted);
  EXPECT_EQ(run.ExitCode, 0u) << run.Out;
  EXPECT_HAS(run.Out, "size table written: " + work + bank + ".yb3");
  const Bytes built = ReadAll(mine);
  ASSERT_EQ(built.size(), ReadAll(where_.ExtendedBank()).size());
  EXPECT_NE(built, ReadAll(where_.ExtendedBank()));
  EXPECT_EQ(built[0], 0x04);
  run = Run("sign " + quoted + " USER");
  EXPECT_EQ(run.ExitCode, 0u) << run.Out;
  EXPECT_HAS(run.Out, "set to User (0x02)");
  EXPECT_FALSE(FileExists(Backup("Ds1.sys"))) << "no editor command makes the backup";

  run = Run("bank user " + quoted);
  EXPECT_EQ(run.ExitCode, 0u) << run.Out;
  EXPECT_HAS(run.Out, "XG bank mode set: User bank");
  EXPECT_EQ(ReadAll(bank_), ReadAll(mine));
  for (const std::string& verify : {"verify --bank " + quoted, std::string("verify")}) {
    run = Run(verify);
    EXPECT_EQ(run.ExitCode, 0u) << verify << "\n" << run.Out;
    EXPECT_HAS(run.Out, "result: the driver is exactly what the installed bank needs");
  }
  EXPECT_HAS(Run("status").Out, "user bank set: " + mine + "\n");
  run = Run("wavclean " + quoted);
  EXPECT_EQ(run.ExitCode, 0u) << run.Out;
  EXPECT_HAS(run.Out, "16 WAV files deleted");
  EXPECT_TRUE(ListFiles(work + "*.wav").empty());
}

TEST_F(Tovaroc, WithoutTheConverterOnlyExtractAndBuildFail) {
  const std::string mine = scratch_ + "mine.yb0";
  BankSetSpec setup;
  setup.Samples = true;
  setup.BankSize = 250000;
  ASSERT_TRUE(WriteBankSet(mine, setup));
  EXPECT_EQ(Run("status").ExitCode, 0u);
  for (const char* command : {"extract ", "build "}) {
    const ConsoleRun run = Run(command + ("\"" + mine + "\""));
    EXPECT_EQ(run.ExitCode, 1u) << run.Out;
    EXPECT_HAS(run.Out, program_ + "a10.dll is missing or cannot be loaded.");
  }
  EXPECT_TRUE(ListFiles(scratch_ + "*.wav").empty());
  EXPECT_EQ(Run("sign \"" + mine + "\" dance").ExitCode, 0u);
  EXPECT_EQ(ReadAll(mine)[0], 0x01);
}

// The live bank and the original in the Backup folder, each with table files
// beside it and spelt in capitals, are never installed as a user bank.
TEST_F(Tovaroc, BankUserRefusesTheLiveBankAndTheBackup) {
  ASSERT_EQ(Run("status").ExitCode, 0u);
  const Bytes backupDriver = ReadAll(Backup("Ds1.sys"));
  for (std::string path : {bank_, Backup("dsxgwave.tbl")}) {
    for (int k = 1; k <= 3; ++k) {
      WriteAll(BankTablePath(path, k), PatternBytes(BankTables[k - 1].Size, k));
    }
    for (char& c : path) {
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const ConsoleRun run = Run("bank user \"" + path + "\"");
    EXPECT_EQ(run.ExitCode, 1u) << run.Out;
    EXPECT_HAS(run.Out, "Cannot set XG Bank Mode");
    ExpectUntouched();
    EXPECT_EQ(ReadAll(Backup("dsxgwave.tbl")), originalBank_);
    EXPECT_EQ(ReadAll(Backup("Ds1.sys")), backupDriver);
  }
}

// Two programs at once, as a user with two consoles (or the window and a
// console) could start them: whatever order the lock lets them run in, the
// driver afterwards is exactly what the installed bank needs, or it is the
// original, and the backup still matches its manifest.
TEST_F(Tovaroc, TwoProcessesAtOnceLeaveAConsistentDriver) {
  const std::pair<const char*, const char*> rounds[] = {
      {"bank extended", "bank dance"}, {"bank dance", "restore"},    {"restore", "bank extended"},
      {"bank dance", "bank extended"}, {"bank extended", "restore"}, {"restore", "bank dance"},
  };
  const std::string drivers = where_.DriversDir();
  const std::vector<std::string> listed = ListFiles(drivers + "*");
  for (const auto& round : rounds) {
    ConsoleProcess first = StartConsole(exe_, round.first);
    ConsoleProcess second = StartConsole(exe_, round.second);
    const ConsoleRun one = FinishConsole(first, Patience);
    const ConsoleRun two = FinishConsole(second, Patience);
    const std::string what = std::string(round.first) + " against " + round.second + "\n" + one.Out + two.Out;
    EXPECT_LE(one.ExitCode, 1u) << what;
    EXPECT_LE(two.ExitCode, 1u) << what;
    EXPECT_EQ(ListFiles(drivers + "*"), listed) << what;
    if (FileExists(Backup("Ds1.sys"))) {
      const ConsoleRun status = Run("status");
      EXPECT_HAS(status.Out, "backup: present, both copies match the manifest");
      const ConsoleRun verify = Run("verify");
      EXPECT_EQ(verify.ExitCode, 0u) << what << verify.Out;
      const Bytes bank = ReadAll(bank_);
      EXPECT_TRUE(bank == ReadAll(where_.ExtendedBank()) || bank == ReadAll(where_.DanceBank()) ||
                  bank == originalBank_)
          << what;
    } else {
      ExpectUntouched();
      EXPECT_TRUE(ListFiles(program_ + "Backup\\*").empty()) << what;
    }
  }
}

// What a refused or failed command says, and that it changed nothing.
TEST_F(Tovaroc, TextsSayWhatHappened) {
  const std::string emptyBank = where_.BanksDir() + "empty.yb0";
  // A working folder with a bank of the converter's format, and the
  // converter beside tovaroc.
  // Below Program Files, which every SetUp keeps and every TearDown clears.
  const std::string work = where_.ProgramFilesDir + "\\Nerulan\\My Banks\\";
  const std::string mine = work + "mine.yb0";
  const auto workBank = [this, work, mine] {
    ASSERT_TRUE(CopyFileOver(OwnDirectory() + "dist\\Tovaro\\a10.dll", program_ + "a10.dll"));
    ASSERT_TRUE(MakeDirectory(work));
    BankSetSpec setup;
    setup.Samples = true;
    setup.BankSize = 250000;
    ASSERT_TRUE(WriteBankSet(mine, setup));
  };
  const std::string installedBackup = where_.ProgramDir + "Backup\\";
  const std::string codePageBank = std::string(ThisCodePage().Bank) + ".yb0";
  const struct {
    const char* Name;
    std::function<void()> Before;  // after a first run made the backup
    std::string Arguments;
    DWORD Exit;
    std::vector<std::string> Says;
  } cases[] = {
      {"driver held open by another program",
       [] {},
       "bank extended",
       1,
       {"Cannot set XG Bank Mode", "could not be read (another program has it open, or access is denied)"}},
      {"bank held open by another program",
       [] {},
       "status",
       0,
       {"bank: bank file cannot be read (another program has it open, or access is denied)"}},
      {"empty user bank",
       [&] {
         BankSetSpec empty;
         empty.BankSize = 0;
         ASSERT_TRUE(WriteBankSet(emptyBank, empty));
       },
       "bank user \"" + emptyBank + "\"",
       1,
       {"Cannot set XG Bank Mode", "is empty. Nothing was changed."}},
      {"backup cut short",
       [this] {
         const Bytes copy = ReadAll(Backup("Ds1.sys"));
         WriteAll(Backup("Ds1.sys"), Bytes(copy.begin(), copy.begin() + 1000000));
       },
       "--no-backup bank extended",
       1,
       {"Cannot create backup of original driver files.", "has 1000000 bytes where its manifest lists",
        "Cannot set XG Bank Mode", "The backup is not used; nothing was changed."}},
      {"backup of another build",
       [this] {
         DriverImageSpec other;
         other.VersionText = "5.12.01.5244";
         WriteAll(Backup("Ds1.sys"), MakeDriverImage(other));
         ASSERT_TRUE(RemoveFile(Backup("manifest.txt")));
       },
       "status",
       0,
       {"backup: NOT USABLE", "is version 5.12.01.5244, the installed driver is version 5.12.01.5245"}},
      {"patched driver and no backup",
       [this] {
         ASSERT_EQ(Run("bank dance").ExitCode, 0u);
         for (const char* name : {"Ds1.sys", "dsxgwave.tbl", "manifest.txt"}) {
           ASSERT_TRUE(RemoveFile(Backup(name)));
         }
       },
       "status",
       0,
       {"backup: missing", "carries the code patch of a bank switch"}},
      {"status without the driver's registry key",
       [this] { MachineKeyDeleteTree(key_); },
       "status",
       0,
       {"does not exist or cannot be read; no setting is stored there"}},
      {"another program changing the driver files",
       [] {},
       "bank extended",
       1,
       {"in use by another program that changes them (tovaroc or a second Tovaro); the backup was not checked"}},
      {"restore of a plain pair whose bank was cut to 1000 bytes",
       [this] {
         const Bytes copy = ReadAll(Backup("dsxgwave.tbl"));
         WriteAll(Backup("dsxgwave.tbl"), Bytes(copy.begin(), copy.begin() + 1000));
         ASSERT_TRUE(RemoveFile(Backup("manifest.txt")));
       },
       "restore",
       1,
       {"has 1000 bytes where the installed Default bank", "not a complete copy of the original"}},
      {"signing the installed program's backup bank from a tovaroc copied elsewhere",
       [&] {
         ASSERT_TRUE(MakeDirectory(installedBackup));
         WriteAll(installedBackup + "dsxgwave.tbl", originalBank_);
       },
       "sign \"" + installedBackup + "dsxgwave.tbl\" user",
       1,
       {"Cannot set a bank signature", "the editor never writes there"}},
      {"copying a bank into the installed program's Backup folder under a name of the code page",
       [&] { ASSERT_TRUE(MakeDirectory(installedBackup)); },
       "copy \"" + where_.ExtendedBank() + "\" \"" + installedBackup + codePageBank + "\"",
       1,
       {"Cannot make copy of bank", "the editor never writes there"}},
      {"extracting a bank in the installed program's Backup folder under a name of the code page",
       [&] {
         workBank();
         ASSERT_TRUE(MakeDirectory(installedBackup));
         ASSERT_TRUE(CopyFileOver(mine, installedBackup + codePageBank));
       },
       "extract \"" + installedBackup + codePageBank + "\"",
       1,
       {"Cannot extract WAV sample(s) from the selected bank",
        installedBackup + " is the driver's own folder or a Backup folder"}},
      {"build through a size table that is a hard link to the backup driver",
       [&] {
         workBank();
         // One sample the converter takes: a build would get as far as the size table.
         WriteAll(work + "000_Tone.wav",
                  Bytes{'R', 'I', 'F', 'F', 38,  0,   0,   0,   'W',  'A',  'V', 'E', 'f',  'm',  't', ' ',
                        16,  0,   0,   0,   1,   0,   1,   0,   0x22, 0x56, 0,   0,   0x44, 0xAC, 0,   0,
                        2,   0,   16,  0,   'd', 'a', 't', 'a', 2,    0,    0,   0,   1,    0});
         ASSERT_TRUE(RemoveFile(work + "mine.yb3"));
         ASSERT_TRUE(MakeHardLink(Backup("Ds1.sys"), work + "mine.yb3"));
       },
       "build \"" + mine + "\"",
       1,
       {"Cannot make a bank from WAV samples: " + work + "mine.yb3 is the driver's own file or in the Backup folder"}},
      {"extract of the live bank",
       [&] { workBank(); },
       "extract \"" + bank_ + "\"",
       1,
       {"Cannot extract WAV sample(s) from the selected bank", "is the driver's own folder"}},
      {"extract into a folder holding another bank's WAV files",
       [&] {
         workBank();
         WriteAll(work + "999_Other.wav", Bytes{1});
       },
       "extract \"" + mine + "\"",
       1,
       {"Cannot extract WAV sample(s) from the selected bank", "999_Other.wav", "does not write"}},
      {"build refusing a WAV file names it",
       [&] {
         workBank();
         WriteAll(work + "bad take.wav", Bytes{'R', 'I', 'F', 'F'});
       },
       "build \"" + mine + "\"",
       1,
       {"Cannot make a bank from WAV samples: " + work + "bad take.wav is not a WAV file the converter takes"}},
      {"wavclean lists what it deletes, in any letter case",
       [&] {
         workBank();
         WriteAll(work + "a.wav", Bytes{1});
         WriteAll(work + "B.WAV", Bytes{1});
       },
       "wavclean \"" + mine + "\"",
       0,
       {"deleted " + work + "B.WAV", "deleted " + work + "a.wav", "2 WAV files deleted"}},
  };
  for (const auto& test : cases) {
    TearDown();
    SetUp();
    ASSERT_EQ(Run("status").ExitCode, 0u) << test.Name;
    test.Before();
    const Bytes driver = ReadAll(driver_);
    const Bytes bank = ReadAll(bank_);
    FileHandle held = InvalidFileHandle;
    SystemLock lock = 0;
    const std::string name = test.Name;
    if (name == "driver held open by another program") {
      ASSERT_TRUE(OpenWrite(driver_, held));
    } else if (name == "bank held open by another program") {
      ASSERT_TRUE(OpenWrite(bank_, held));
    } else if (name == "another program changing the driver files") {
      ASSERT_EQ(TakeSystemLock(DriverFilesLockName, 1000, lock), SystemLockResult::Taken);
    }
    const ConsoleRun run = Run(test.Arguments);
    if (held != InvalidFileHandle) {
      CloseFile(held);
    }
    if (lock != 0) {
      ReleaseSystemLock(lock);
    }
    EXPECT_EQ(run.ExitCode, test.Exit) << test.Name << "\n" << run.Out;
    for (const std::string& part : test.Says) {
      EXPECT_HAS(run.Out, part) << test.Name;
    }
    EXPECT_EQ(ReadAll(driver_), driver) << test.Name;
    EXPECT_EQ(ReadAll(bank_), bank) << test.Name;
    EXPECT_TRUE(ListFiles(where_.DriversDir() + "*.wav").empty()) << test.Name;
    EXPECT_TRUE(ListFiles(installedBackup + "*.wav").empty()) << test.Name;
    EXPECT_EQ(FileExists(installedBackup + codePageBank), name.rfind("extracting", 0) == 0) << test.Name;
    if (name == "build through a size table that is a hard link to the backup driver") {
      EXPECT_EQ(ReadAll(Backup("Ds1.sys")), originalDriver_);
    }
    if (name == "extract into a folder holding another bank's WAV files") {
      EXPECT_EQ(ListFiles(work + "*.wav"), std::vector<std::string>{"999_Other.wav"});
    }
  }
}

}  // namespace
