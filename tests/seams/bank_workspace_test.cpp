// The bank editor's file operations on real files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "files/fileops.h"
#include "files/path_parts.h"
#ifndef _WIN32
#include "files/posix/ansi_code_page.h"
#endif
#include "files/wav_file_name.h"
#include "platform/testing/scratch.h"
#include "tests/support/file_bytes.h"
#include "tools/fixture/fixture.h"
#include "ymf/bank_mode.h"
#include "ymf/bank_workspace.h"
#include "ymf/environment.h"
#include "ymf/operation_failure.h"

namespace {

class Workspace : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = MakeScratchDir("workspace");
    ASSERT_FALSE(dir_.empty());
  }
  void TearDown() override { RemoveTree(dir_); }
  // Bank and tables with distinct contents; the bank's path ends in '0'.
  void WriteSet(const std::string& bank, int files = 4) {
    for (int k = 0; k < files; ++k) {
      std::string path = bank;
      path.back() = static_cast<char>('0' + k);
      WriteAll(path, PatternBytes(100 + k, k + 1));
    }
  }
  std::string dir_;
};

// Natively paths split as under the code page chosen; under Wine as under
// the process's own, 1252 (the editor's runs under 932, 936 and 1251 are
// tovaroc's).
bool SplitsAs(unsigned codePage) {
#ifdef _WIN32
  return codePage == 1252;
#else
  return SelectAnsiCodePage(codePage);
#endif
}

// In 932 the second byte of 表 (95 5C) and of ソ (83 5C) is a backslash, and
// 41 (A) is the second byte of ア (83 41); in 936 that of 誠 (D5 5C).
TEST(WorkspacePaths, TablePathsAndDirectories) {
  const struct {
    unsigned CodePage;
    const char* Path;
    const char* Directory;
    const char* Table3;  // BankTablePath 3: the last character replaced
  } cases[] = {
      {1252, "C:\\Banks\\my.yb0", "C:\\Banks\\", "C:\\Banks\\my.yb3"},
      {1252, "C:\\Banks\\my.tbl", "C:\\Banks\\", "C:\\Banks\\my.tb3"},
      {1252, "C:my.yb0", "C:", "C:my.yb3"},
      {1252, "my.yb0", "", "my.yb3"},
      {1252, "abcd", "", "abc3"},
      {1252, "abc", "", "ab3"},
      {1252, "", "", ""},
      {1252, "C:\\\x95\x5C\x83\x5C.yb0", "C:\\\x95\x5C\x83\x5C", "C:\\\x95\x5C\x83\x5C.yb3"},
      {932, "C:\\\x95\x5C\\\x83\x5C.yb0", "C:\\\x95\x5C\\", "C:\\\x95\x5C\\\x83\x5C.yb3"},
      {932, "C:\\\x95\x5C\\\x83\x5C\x83\x5C", "C:\\\x95\x5C\\",
       "C:\\\x95\x5C\\\x83\x5C"
       "3"},
      {932, "\x83\x5C\x83\x41", "",
       "\x83\x5C"
       "3"},
      {932, "\x95\x5C:a", "", "\x95\x5C:3"},
      {932, "C:\\a\x95", "C:\\", "C:\\a3"},
      {936, "C:\\\xD5\x5C\\\xD5\x5C.yb0", "C:\\\xD5\x5C\\", "C:\\\xD5\x5C\\\xD5\x5C.yb3"},
  };
  for (const auto& c : cases) {
    if (!SplitsAs(c.CodePage)) {
      continue;
    }
    SCOPED_TRACE(std::to_string(c.CodePage) + " " + c.Path);
    EXPECT_EQ(DirectoryPart(c.Path), c.Directory);
    EXPECT_EQ(DirectoryPart(c.Path) + FileNamePart(c.Path), c.Path);
    EXPECT_EQ(BankTablePath(c.Path, 3), c.Table3);
  }
  // Letter case as the system folds it: never inside a two-byte character.
  const struct {
    unsigned CodePage;
    const char* Name;
    bool Wav;
  } names[] = {
      {1252, "a.WAV", true},       {1252, "a.wave", false},  {1252, ".wav", true},
      {932, "\x83\x41.Wav", true}, {932, "\x83.wav", false},  // 83 takes the dot as its second byte, as CharNextA does
  };
  for (const auto& n : names) {
    if (SplitsAs(n.CodePage)) {
      EXPECT_EQ(IsWavFileName(n.Name), n.Wav) << n.Name;
    }
  }
  if (SplitsAs(932)) {
    EXPECT_FALSE(SameNameIgnoringCase("\x83\x41", "\x83\x61"));  // ア and another character
    EXPECT_TRUE(SameNameIgnoringCase("\x83\x41x", "\x83\x41X"));
  }
  SplitsAs(1252);
}

TEST_F(Workspace, CopyBankSetReplacesTheLastCharacter) {
  struct Case {
    const char* Target;
    const char* Copies[4];
  };
  const Case cases[] = {
      {"work\\mine.yb0", {"work\\mine.yb0", "work\\mine.yb1", "work\\mine.yb2", "work\\mine.yb3"}},
      {"my.abc", {"my.ab0", "my.ab1", "my.ab2", "my.ab3"}},
  };
  ASSERT_TRUE(MakeDirectory(dir_ + "work"));
  WriteSet(dir_ + "extended.yb0");
  WriteAll(dir_ + "work\\mine.yb2", Bytes{1, 2, 3});  // overwritten
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Target);
    EXPECT_TRUE(CopyBankSet(dir_ + "extended.yb0", dir_ + c.Target));
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(ReadAll(dir_ + c.Copies[k]), PatternBytes(100 + k, k + 1)) << k;
    }
  }
}

TEST_F(Workspace, CopyBankSetWithoutTablesCopiesTheBankAndFails) {
  WriteSet(dir_ + "lone.yb0", 1);
  EXPECT_FALSE(CopyBankSet(dir_ + "lone.yb0", dir_ + "copy.yb0"));
  EXPECT_EQ(ReadAll(dir_ + "copy.yb0"), ReadAll(dir_ + "lone.yb0"));
  EXPECT_FALSE(FileExists(dir_ + "copy.yb1"));
}

// A set is checked whole before anything lands in Banks; a refused one
// leaves an existing set there as it was.
TEST_F(Workspace, AddBankSetChecksTheWholeSetBeforeWriting) {
  const struct {
    const char* Name;
    std::uint8_t Signature;
    std::size_t Table2;
    std::int32_t Kind;   // BankSetKindOf
    const char* Reason;  // empty: added
  } cases[] = {
      {"good Dance set", 0x01, Table2Size, BankDance, ""},
      {"table 2 one byte short", 0x00, Table2Size - 1, BankExtended, "has 9089 bytes, fewer than the 9090"},
      {"a user bank", 0x02, Table2Size, BankUnknown, "has the signature 0x02 (User), not 0x00"},
  };
  ASSERT_TRUE(MakeDirectory(dir_ + "Banks"));
  const std::string banks = dir_ + "Banks\\";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    BankSetSpec setup;
    setup.Signature = c.Signature;
    setup.BankSize = 5000;
    setup.Table2 = c.Table2;
    ASSERT_TRUE(WriteBankSet(dir_ + "set.yb0", setup));
    WriteSet(banks + "dance.yb0");  // an earlier set, replaced only by a good one
    ClearFailure();
    EXPECT_EQ(BankSetKindOf(dir_ + "set.yb0"), c.Kind);
    const std::int32_t kind = c.Kind == BankUnknown ? BankDance : c.Kind;
    EXPECT_EQ(AddBankSet(dir_ + "set.yb0", kind, banks + "dance.yb0"), *c.Reason == '\0');
    EXPECT_NE(LastFailure().Text.find(c.Reason), std::string::npos) << LastFailure().Text;
    for (int k = 0; k < 4; ++k) {
      const std::string target = BankTablePath(banks + "dance.yb0", k);
      EXPECT_EQ(ReadAll(target),
                *c.Reason == '\0' ? ReadAll(BankTablePath(dir_ + "set.yb0", k)) : PatternBytes(100 + k, k + 1))
          << k;
      EXPECT_FALSE(FileExists(target + ".new"));
    }
  }
}

TEST_F(Workspace, SignatureChangesByteZeroOnly) {
  const std::string bank = dir_ + "bank.yb0";
  Bytes bytes = PatternBytes(5000, 3);
  bytes[0] = 0xAA;
  WriteAll(bank, bytes);
  EXPECT_TRUE(SetBankSignature(bank, 0x01));
  bytes[0] = 0x01;
  EXPECT_EQ(ReadAll(bank), bytes);

  const std::string empty = dir_ + "empty.yb0";
  WriteAll(empty, Bytes{});
  EXPECT_FALSE(SetBankSignature(empty, 0x02)) << "an empty file has no signature byte";
  EXPECT_EQ(ReadAll(empty), Bytes{});
  EXPECT_FALSE(SetBankSignature(dir_ + "missing.yb0", 0x02));
  EXPECT_FALSE(FileExists(dir_ + "missing.yb0"));
  ASSERT_TRUE(SetReadOnly(bank, true));
  EXPECT_FALSE(SetBankSignature(bank, 0x02));
  ASSERT_TRUE(SetReadOnly(bank, false));
  EXPECT_EQ(ReadAll(bank), bytes);
}

TEST_F(Workspace, SizeTableGoesIntoAnExistingThirdTableOnly) {
  const std::string bank = dir_ + "bank.yb0";
  WriteAll(bank, Bytes(65536, 0x11));
  WriteAll(dir_ + "bank.yb3", Bytes(3000, 0xEE));
  EXPECT_TRUE(WriteSizeTable(bank));
  Bytes expected(2096, 0);
  expected[2094] = 0x01;        // 65536 in the last word
  expected.resize(3000, 0xEE);  // a longer file keeps its tail
  EXPECT_EQ(ReadAll(dir_ + "bank.yb3"), expected);

  // The table is named as the switch and the copy name it, by the bank's
  // last character: mine.tb0 has its size table in mine.tb3.
  WriteAll(dir_ + "mine.tb0", Bytes(7, 0));
  WriteAll(dir_ + "mine.tb3", Bytes(2096, 0xEE));
  WriteAll(dir_ + "mine.yb3", Bytes(2096, 0xEE));
  EXPECT_TRUE(WriteSizeTable(dir_ + "mine.tb0"));
  Bytes seven(2096, 0);
  seven[2092] = 7;
  EXPECT_EQ(ReadAll(dir_ + "mine.tb3"), seven);
  EXPECT_EQ(ReadAll(dir_ + "mine.yb3"), Bytes(2096, 0xEE));
  WriteAll(dir_ + "live.tbl", Bytes(7, 0));
  EXPECT_TRUE(WriteSizeTable(dir_ + "live.tbl"));
  EXPECT_FALSE(FileExists(dir_ + "live.tb3")) << "no table file is created";
  EXPECT_FALSE(WriteSizeTable(dir_ + "missing.yb0"));
}

TEST_F(Workspace, DeleteWavSamplesTakesWavNamesInAnyCase) {
  for (const char* name :
       {"a.wav", "b.wav", "C.WAV", "d.Wav", "song.wave", "bank.yb0", "notes.txt", "locked.wav", ".hidden.wav"}) {
    WriteAll(dir_ + name, Bytes{1});
  }
  ASSERT_TRUE(SetReadOnly(dir_ + "locked.wav", true));
  ASSERT_TRUE(MakeDirectory(dir_ + "folder.wav"));
  EXPECT_TRUE(DeleteWavSamples(dir_ + "bank.yb0"));
  EXPECT_EQ(ListFiles(dir_ + "*"), (std::vector<std::string>{"bank.yb0", "locked.wav", "notes.txt", "song.wave"}));
  EXPECT_TRUE(DirectoryExists(dir_ + "folder.wav"));
  SetReadOnly(dir_ + "locked.wav", false);
}

// The editor writes nothing through another name of a protected file: a
// hard or symbolic link beside the working bank that leads to the live
// driver or bank or into the installed program's Backup folder (a tovaroc
// copied elsewhere has its own Backup folder, which is not that one), and
// deletes nothing in the driver's folder or a Backup folder.
TEST_F(Workspace, NothingIsWrittenThroughLinksToProtectedFiles) {
  const std::string drivers = dir_ + "drivers\\";
  const std::string backup = dir_ + "Program Files\\Nerulan\\Tovaro\\Backup\\";
  const std::string work = dir_ + "work\\";
  for (const std::string& folder : {drivers, dir_ + "Program Files\\", dir_ + "Program Files\\Nerulan\\",
                                    dir_ + "Program Files\\Nerulan\\Tovaro\\", backup, work}) {
    ASSERT_TRUE(MakeDirectory(folder));
  }
  Env = DriverEnvironment();
  Env.DriverPath = drivers + "Ds1.sys";
  Env.BankPath = drivers + "dsxgwave.tbl";
  Env.InstallDir = dir_ + "Program Files\\";
  const std::string originals[] = {Env.DriverPath, Env.BankPath, backup + "Ds1.sys", backup + "dsxgwave.tbl"};
  for (const std::string& path : originals) {
    WriteAll(path, PatternBytes(4000, 7));
  }
  WriteAll(drivers + "x.wav", Bytes{1});
  WriteAll(backup + "x.wav", Bytes{1});
  const struct {
    const char* Name;
    bool Symbolic;
    std::string Target;
    const char* Link;  // in the work folder
    bool (*Write)(const std::string& bank);
    // Below the work folder, beside the link: a name of exactly 260
    // characters resolves to no full path on Windows, yet opens.
    std::string Folder = "";
  } cases[] = {
      {"size table hard-linked to the installed backup driver", false, backup + "Ds1.sys", "my.yb3", WriteSizeTable},
      {"size table as a symbolic link to the live driver", true, Env.DriverPath, "my.yb3", WriteSizeTable},
      {"bank hard-linked to the live bank", false, Env.BankPath, "my.yb0",
       [](const std::string& bank) { return SetBankSignature(bank, 2); }},
      {"copy onto a hard link to the installed backup bank", false, backup + "dsxgwave.tbl", "my.yb0",
       [](const std::string& bank) { return CopyBankSet(bank.substr(0, bank.size() - 6) + "src.yb0", bank); }},
      {"bank hard-linked to the live bank under a 260-character name", false, Env.BankPath, "my.yb0",
       [](const std::string& bank) { return SetBankSignature(bank, 2); },
       std::string(260 - work.size() - 7, 'p') + "\\"},
  };
  WriteSet(work + "src.yb0");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string folder = work + c.Folder;
    ASSERT_TRUE(MakeDirectory(folder));
    RemoveFile(folder + "my.yb0");
    RemoveFile(folder + "my.yb3");
    WriteAll(folder + "my.yb0", PatternBytes(3000, 3));
    RemoveFile(folder + c.Link);
    const bool made =
        c.Symbolic ? MakeSymbolicLink(c.Target, folder + c.Link) : MakeHardLink(c.Target, folder + c.Link);
    if (!made) {
      std::printf("skipped (no %s link here): %s\n", c.Symbolic ? "symbolic" : "hard", c.Name);
      continue;
    }
    EXPECT_FALSE(c.Write(folder + "my.yb0"));
    for (const std::string& path : originals) {
      EXPECT_EQ(ReadAll(path), PatternBytes(4000, 7)) << path;
    }
  }
  for (const std::string& folder : {drivers, backup}) {
    EXPECT_FALSE(DeleteWavSamples(folder + "dsxgwave.tbl")) << folder;
    EXPECT_TRUE(FileExists(folder + "x.wav")) << folder;
  }
  Env = DriverEnvironment();
}

TEST_F(Workspace, BankPathWithoutFolderUsesTheCurrentDirectory) {
  WriteAll(dir_ + "a.wav", Bytes{1});
  WriteAll(dir_ + "bank.yb0", Bytes{1});
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir_.substr(0, dir_.size() - 1));  // without the trailing backslash
  EXPECT_TRUE(DeleteWavSamples("bank.yb0"));
  std::filesystem::current_path(previous);
  EXPECT_EQ(ListFiles(dir_ + "*"), std::vector<std::string>{"bank.yb0"});
}

}  // namespace
