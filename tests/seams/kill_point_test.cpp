// A failure at every step: through the file operation table, the Nth file
// operation of a first backup, of a switch to each bank mode and of a
// restore fails (and leaves a half-written file where it writes), or stops
// everything from there on as a killed process would, or meets a full
// disk. Whatever happened, a program started afresh must still bring back
// the original driver and bank byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>

#include "files/file_operations.h"
#include "files/fileops.h"
#include "files/native_files.h"
#include "platform/testing/scratch.h"
#include "tests/support/file_bytes.h"
#include "tests/support/patched_image.h"
#include "tools/fixture/fixture.h"
#include "ymf/backup.h"
#include "ymf/bank_mode.h"
#include "ymf/environment.h"
#include "ymf/installed_bank.h"
#include "ymf/operation_failure.h"

namespace {

enum class FaultKind { None, FailOne, StopAll, DiskFull };

// What the operation table does to the operation under test.
struct Faults {
  FaultKind Kind = FaultKind::None;
  int At = 0;                  // the operation (counted from 1) that fails, or from which all fail
  std::int64_t FreeBytes = 0;  // DiskFull: bytes the disk can still take
  int Count = 0;
  bool Tripped = false;
  std::vector<std::int64_t> Needs;  // bytes each growing operation needed, in order
  std::vector<std::string> LivePaths;
  std::map<FileHandle, std::string> LiveHandles;  // live files open for writing
  bool ByteWriteFailed = false;                   // the failed operation was a byte of the patch list
  std::vector<std::string> LaterWrites;           // writes to live files in a step after the failure
};

Faults& Active() {
  static Faults faults;
  return faults;
}

bool IsLive(const std::string& path) {
  for (const std::string& live : Active().LivePaths) {
    if (live == path) {
      return true;
    }
  }
  return false;
}

// Counts an operation; true when it is to fail.
bool Failing() {
  Faults& f = Active();
  ++f.Count;
  const bool fail =
      (f.Kind == FaultKind::FailOne && f.Count == f.At) || (f.Kind == FaultKind::StopAll && f.Count >= f.At);
  f.Tripped = f.Tripped || fail;
  return fail;
}

// Writes that a failed step must not be followed by: any change of a live
// file, except the rest of the patch list after one of its bytes failed
// (the list is written to its end and then read back).
void NoteLaterWrite(const std::string& what, const std::string& path, bool patchByte = false) {
  const Faults& f = Active();
  if (f.Tripped && f.Kind == FaultKind::FailOne && IsLive(path) && !(patchByte && f.ByteWriteFailed)) {
    Active().LaterWrites.push_back(what + " " + path);
  }
}

void NoteLaterWrite(const char* what, FileHandle file, bool patchByte) {
  const auto live = Active().LiveHandles.find(file);
  if (live != Active().LiveHandles.end()) {
    NoteLaterWrite(what, live->second, patchByte);
  }
}

std::int64_t SizeOnDisk(const std::string& path) {
  FileHandle file = InvalidFileHandle;
  if (!native_files::OpenRead(path, file)) {
    return 0;
  }
  const std::int64_t size = FileSizeOf(file);
  CloseFile(file);
  return size;
}

// On a full disk a write stops where the space ends; false when the disk
// cannot take needed more bytes. Counts the need of each growing write.
bool DiskTakes(std::int64_t needed, std::int64_t& allowed) {
  Faults& f = Active();
  f.Needs.push_back(needed);
  allowed = needed;
  if (f.Kind != FaultKind::DiskFull || needed <= f.FreeBytes) {
    f.FreeBytes -= needed > 0 ? needed : 0;
    return true;
  }
  allowed = f.FreeBytes;
  f.Tripped = true;
  return false;
}

// Writes the first part of a file, as a copy cut short leaves it.
void WritePart(const std::string& path, const Bytes& whole, std::int64_t part) {
  const std::size_t size =
      static_cast<std::size_t>(std::max<std::int64_t>(0, std::min<std::int64_t>(part, whole.size())));
  SystemFileOperations().WriteFileOver(path, {{whole.data(), size}});
}

const FileOperationTable Faulty = {
    [](const std::string& path, FileHandle& file) {
      file = InvalidFileHandle;
      return !Failing() && SystemFileOperations().OpenRead(path, file);
    },
    [](const std::string& path, FileHandle& file) {
      file = InvalidFileHandle;
      if (Failing() || !SystemFileOperations().OpenWrite(path, file)) {
        return false;
      }
      if (IsLive(path)) {
        Active().LiveHandles[file] = path;
      }
      return true;
    },
    [](FileHandle file, void* buffer, std::int32_t count) {
      return !Failing() && SystemFileOperations().ReadBlock(file, buffer, count);
    },
    [](FileHandle file, const void* buffer, std::int32_t count) {
      NoteLaterWrite("write into", file, false);
      if (Failing()) {
        SystemFileOperations().WriteBlock(file, buffer, count / 2);
        return false;
      }
      return SystemFileOperations().WriteBlock(file, buffer, count);
    },
    [](FileHandle file, std::uint8_t value) {
      NoteLaterWrite("patch byte into", file, true);
      if (Failing()) {
        Active().ByteWriteFailed = Active().Kind == FaultKind::FailOne;
        return false;
      }
      return SystemFileOperations().WriteByte(file, value);
    },
    [](const std::string& from, const std::string& to) {
      NoteLaterWrite("copy over", to);
      Bytes source;
      const bool readable = ReadWholeFile(from, source);
      std::int64_t allowed = 0;
      const bool fits = DiskTakes(static_cast<std::int64_t>(source.size()) - SizeOnDisk(to), allowed);
      if (Failing() || !fits) {
        if (readable) {
          WritePart(to, source, fits ? static_cast<std::int64_t>(source.size()) / 2 : allowed + SizeOnDisk(to));
        }
        return false;
      }
      return SystemFileOperations().CopyFileOver(from, to);
    },
    [](const std::string& from, const std::string& to) {
      NoteLaterWrite("move over", to);
      if (Failing()) {
        return false;
      }
      const std::int64_t replaced = SizeOnDisk(to);
      const bool moved = SystemFileOperations().MoveFileOver(from, to);
      Active().FreeBytes += moved ? replaced : 0;
      return moved;
    },
    [](const std::string& path) {
      NoteLaterWrite("delete", path);
      if (Failing()) {
        return false;
      }
      const std::int64_t size = SizeOnDisk(path);
      const bool removed = SystemFileOperations().RemoveFile(path);
      Active().FreeBytes += removed ? size : 0;
      return removed;
    },
    [](const std::string& path, const std::vector<FilePiece>& pieces) {
      NoteLaterWrite("write", path);
      Bytes whole;
      WritePieces(pieces, [&whole](const void* data, std::size_t size) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        whole.insert(whole.end(), bytes, bytes + size);
        return true;
      });
      const std::int64_t size = static_cast<std::int64_t>(whole.size());
      std::int64_t allowed = 0;
      const bool fits = DiskTakes(size - SizeOnDisk(path), allowed);
      if (Failing() || !fits) {
        WritePart(path, whole, fits ? size / 2 : allowed + SizeOnDisk(path));
        return false;
      }
      return SystemFileOperations().WriteFileOver(path, pieces);
    },
    [](const std::string& path, FileView& view) {
      view = FileView();
      return !Failing() && SystemFileOperations().OpenFileView(path, view);
    },
};

enum class Operation { FirstBackup, Switch, Restore };

struct Scenario {
  const char* Name;
  Operation Run;
  bool IsVxD;
  std::int32_t Mode;       // Switch: the mode set
  std::int32_t StartMode;  // the mode installed before (ModeDefault: the originals)
};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.Name; }

const Scenario Scenarios[] = {
    {"FirstBackup", Operation::FirstBackup, false, 0, ModeDefault},
    {"FirstBackupVxD", Operation::FirstBackup, true, 0, ModeDefault},
    {"Extended", Operation::Switch, false, ModeExtended, ModeDefault},
    {"ExtendedVxD", Operation::Switch, true, ModeExtended, ModeDefault},
    {"DanceOverExtended", Operation::Switch, false, ModeDance, ModeExtended},
    {"User", Operation::Switch, false, ModeUser, ModeDance},
    {"DefaultOverExtended", Operation::Switch, false, ModeDefault, ModeExtended},
    {"DisabledOverDance", Operation::Switch, false, ModeDisabled, ModeDance},
    {"Restore", Operation::Restore, false, 0, ModeExtended},
    {"RestoreVxD", Operation::Restore, true, 0, ModeDance},
};

class KillPoint : public ::testing::TestWithParam<Scenario> {
 protected:
  void SetUp() override {
    root_ = MakeScratchDir("kill");
    ASSERT_FALSE(root_.empty());
    where_ = LayoutUnder(root_);
    ASSERT_TRUE(MakeLayoutDirectories(where_, true));
    DriverInstallSpec setup;
    setup.Image.IsVxD = GetParam().IsVxD;
    setup.Image.VersionText = GetParam().IsVxD ? "4.12.01.2020" : "5.12.01.5245";
    setup.StockBankSize = 30000;
    ASSERT_TRUE(InstallDriver(where_, setup));
    ASSERT_TRUE(InstallBankSets(where_, 40000));
    userBank_ = root_ + "mine.yb0";
    BankSetSpec user;
    user.Signature = 0x02;
    user.BankSize = 35001;
    user.Seed = 77;
    ASSERT_TRUE(WriteBankSet(userBank_, user));
    PointEnvAt(where_, GetParam().IsVxD);
    originalDriver_ = ReadAll(Env.DriverPath);
    originalBank_ = ReadAll(Env.BankPath);
  }
  void TearDown() override {
    FileOperations() = SystemFileOperations();
    Env = DriverEnvironment();
    RemoveTree(root_);
  }

  std::string Source(std::int32_t mode) const {
    return mode == ModeExtended ? where_.ExtendedBank() : mode == ModeDance ? where_.DanceBank() : userBank_;
  }
  std::string BackupDir() const { return where_.ProgramDir + "Backup\\"; }
  std::string LiveDir() const { return GetParam().IsVxD ? where_.SystemDir + "\\" : where_.DriversDir(); }

  // The state before the operation, made once with the system's own
  // operations (the originals, their backup unless this is the first one,
  // and the scenario's starting bank) and put back before every run.
  void Prepare() {
    FileOperations() = SystemFileOperations();
    if (start_.empty()) {
      MakeStartingState();
      for (const std::string& dir : {BackupDir(), LiveDir()}) {
        for (const std::string& name : ListFiles(dir + "*")) {
          start_[dir + name] = ReadAll(dir + name);
        }
      }
    }
    for (const std::string& dir : {BackupDir(), LiveDir()}) {
      for (const std::string& name : ListFiles(dir + "*")) {
        ASSERT_TRUE(RemoveFile(dir + name));
      }
    }
    for (const auto& file : start_) {
      WriteAll(file.first, file.second);
    }
    PointEnvAt(where_, GetParam().IsVxD);
  }

  void MakeStartingState() {
    PointEnvAt(where_, GetParam().IsVxD);
    if (GetParam().Run == Operation::FirstBackup) {
      return;
    }
    ASSERT_TRUE(BackupDriverFiles());
    if (GetParam().StartMode != ModeDefault) {
      ASSERT_TRUE(SetBankMode(GetParam().StartMode, userBank_)) << LastFailure().Text;
    }
  }

  bool RunOperation() {
    switch (GetParam().Run) {
      case Operation::FirstBackup:
        return BackupDriverFiles();
      case Operation::Switch:
        return SetBankMode(GetParam().Mode, GetParam().Mode == ModeUser ? userBank_ : std::string());
      case Operation::Restore:
        break;
    }
    return RestoreDriverFiles();
  }

  // Runs the operation with the given faults; returns its result.
  bool RunWith(Faults faults) {
    Prepare();
    faults.LivePaths = {Env.DriverPath, Env.BankPath};
    Active() = faults;
    FileOperations() = Faulty;
    const bool result = RunOperation();
    FileOperations() = SystemFileOperations();
    return result;
  }

  // What a success must have left.
  void ExpectDone(const std::string& when) {
    PointEnvAt(where_, GetParam().IsVxD);
    switch (GetParam().Run) {
      case Operation::FirstBackup: {
        const BackupCheck check = CheckBackup();
        EXPECT_EQ(check.State, BackupState::Verified) << when;
        ASSERT_NE(check.Driver, nullptr) << when;
        EXPECT_EQ(Bytes(check.Driver->Data, check.Driver->Data + check.Driver->Size), originalDriver_) << when;
        ASSERT_NE(check.Bank, nullptr) << when;
        EXPECT_EQ(Bytes(check.Bank->Data, check.Bank->Data + check.Bank->Size), originalBank_) << when;
        return;
      }
      case Operation::Switch: {
        const std::int32_t mode = GetParam().Mode;
        if (mode == ModeDefault) {
          EXPECT_EQ(ReadAll(Env.DriverPath), originalDriver_) << when;
          EXPECT_EQ(ReadAll(Env.BankPath), originalBank_) << when;
          return;
        }
        if (mode == ModeDisabled) {
          // The bank is gone; the driver stays as the bank before left it.
          EXPECT_FALSE(FileExists(Env.BankPath)) << when;
          EXPECT_EQ(ReadAll(Env.DriverPath),
                    SwitchedImage(originalDriver_, Source(GetParam().StartMode), Env.Profile, Env.IsVxD))
              << when;
          return;
        }
        EXPECT_EQ(ReadAll(Env.BankPath), ReadAll(Source(mode))) << when;
        EXPECT_EQ(ReadAll(Env.DriverPath), SwitchedImage(originalDriver_, Source(mode), Env.Profile, Env.IsVxD))
            << when;
        return;
      }
      case Operation::Restore:
        EXPECT_EQ(ReadAll(Env.DriverPath), originalDriver_) << when;
        EXPECT_EQ(ReadAll(Env.BankPath), originalBank_) << when;
        EXPECT_TRUE(ListFiles(BackupDir() + "*").empty()) << when;
        return;
    }
  }

  // A program started afresh makes or keeps its backup and restores the
  // originals byte for byte; nothing but the two files is left beside them.
  void ExpectOriginalsComeBack(const std::string& when) {
    PointEnvAt(where_, GetParam().IsVxD);
    ASSERT_TRUE(BackupDriverFiles()) << when << ": " << LastFailure().Text;
    // The restore puts back what the backup holds and checks it: live files
    // equal to the originals also show that the backup held them.
    ASSERT_TRUE(RestoreDriverFiles()) << when << ": " << LastFailure().Text;
    EXPECT_EQ(ReadAll(Env.DriverPath), originalDriver_) << when;
    EXPECT_EQ(ReadAll(Env.BankPath), originalBank_) << when;
    EXPECT_TRUE(ListFiles(BackupDir() + "*").empty()) << when;
    std::vector<std::string> live = {FileNameOf(Env.DriverPath), FileNameOf(Env.BankPath)};
    std::sort(live.begin(), live.end());
    EXPECT_EQ(ListFiles(LiveDir() + "*"), live) << when;
  }

  static std::string FileNameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

  void Check(const Faults& faults, const std::string& when) {
    Faults plan = faults;
    const bool result = RunWith(plan);
    const Faults seen = Active();
    if (result) {
      ExpectDone(when);
    } else {
      EXPECT_NE(LastFailure().Kind, FailureKind::None) << when;
      EXPECT_FALSE(LastFailure().Text.empty()) << when;
      EXPECT_TRUE(seen.LaterWrites.empty()) << when << ": " << seen.LaterWrites.front();
      // What a failure left is said as it is, never guessed: a copy cut
      // short is not "as it was". The way back is each front end's to name.
      const std::string& text = LastFailure().Text;
      EXPECT_EQ(text.find("as it was"), std::string::npos) << when << ": " << text;
      EXPECT_EQ(text.find("brings back"), std::string::npos) << when << ": " << text;
    }
    ExpectOriginalsComeBack(when);
  }

  std::string root_;
  Installation where_;
  std::string userBank_;
  std::map<std::string, Bytes> start_;
  Bytes originalDriver_;
  Bytes originalBank_;
};

TEST_P(KillPoint, OriginalsSurviveAFailureAtEveryStep) {
  // A run without faults counts the operations and what the disk must take.
  ASSERT_TRUE(RunWith(Faults())) << LastFailure().Text;
  const Faults counted = Active();
  ExpectDone("without faults");
  std::printf("kill points: %s, %d file operations\n", GetParam().Name, counted.Count);
  for (int at = 1; at <= counted.Count; ++at) {
    for (FaultKind kind : {FaultKind::FailOne, FaultKind::StopAll}) {
      Faults faults;
      faults.Kind = kind;
      faults.At = at;
      Check(faults, std::string(kind == FaultKind::FailOne ? "operation " : "stop at operation ") + std::to_string(at) +
                        " of " + std::to_string(counted.Count));
    }
  }
  // A disk that is full just before each growing write, and at the start.
  std::int64_t total = 0;
  std::vector<std::int64_t> limits = {0};
  for (std::int64_t need : counted.Needs) {
    if (need > 0) {
      limits.push_back(total + need - 1);
      total += need;
    }
  }
  for (std::int64_t limit : limits) {
    Faults faults;
    faults.Kind = FaultKind::DiskFull;
    faults.FreeBytes = limit;
    Check(faults, "disk with " + std::to_string(limit) + " bytes free");
  }
}

INSTANTIATE_TEST_SUITE_P(Operations, KillPoint, ::testing::ValuesIn(Scenarios),
                         [](const ::testing::TestParamInfo<Scenario>& info) { return std::string(info.param.Name); });

}  // namespace
