// The XG Bank Editor page's commands on a snapshot of its controls, with
// scripted dialogs and boxes and the recording converter.
#include <gtest/gtest.h>

#include "app/editor_commands.h"
#include "app/startup.h"
#include "files/fileops.h"
#include "files/path_parts.h"
#include "platform/fake.h"
#include "platform/fake_converter.h"
#include "platform/testing/scratch.h"
#include "tests/core/recording_window.h"
#include "tests/core/window_machine.h"
#include "ymf/bank_convert.h"
#include "ymf/bank_mode.h"
#include "ymf/installed_bank.h"

namespace {

using Command = void (*)(WindowChoices&, MainWindowPort&);

class EditorCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartMachine(sim_, MachineSpec());
    FakeConverterReset();
    choices_.RebootCheck = true;
    choices_.UserBankSetEdit = "before";
  }
  void TearDown() override { FakeConverterReset(); }
  // Runs a command on the edited path, with what the user sees cleared first.
  void Run(Command command, const std::string& edited) {
    Fake().Shown.clear();
    Fake().FileDialogs.clear();
    Fake().CursorCalls.clear();
    FakeConverter().Calls.clear();
    window_ = RecordingWindow();
    choices_.UserBankEdit = edited;
    command(choices_, window_);
  }
  // The one error box shown, or "" when none was.
  std::string Message() const {
    if (Fake().Shown.empty()) {
      return std::string();
    }
    EXPECT_EQ(Fake().Shown.size(), 1u);
    EXPECT_EQ(Fake().Shown[0].Title, "Error");
    EXPECT_EQ(Fake().Shown[0].Style, MsgOk | MsgIconError);
    EXPECT_EQ(Fake().Shown[0].Owner, Active);
    // The failure's own line; the reason below it is the operation's.
    const std::string& text = Fake().Shown[0].Text;
    return text.substr(0, text.find('\n'));
  }

  SimulatedSystem sim_;
  WindowChoices choices_;
  RecordingWindow window_;
};

TEST_F(EditorCommandsTest, CopyBank) {
  const std::string mine = AddUserBank(sim_, "mine.yb0");
  ASSERT_TRUE(WriteWholeFile(sim_.Root() + "lonely.yb0", Bytes{2, 1, 1}));  // no table files
  ASSERT_TRUE(MakeDirectory(sim_.Root() + "work"));
  const struct {
    const char* Name;
    std::string Source;
    std::vector<std::string> Answers;  // of the save dialog; none: cancelled
    bool DialogShown;
    std::string Message;
    std::string Copy;  // where both edits point afterwards; empty: unchanged
  } cases[] = {
      {"missing source: reported before any dialog", sim_.Root() + "none.yb0", {mine}, false, CopyBankFailed, ""},
      {"cancelled", mine, {}, true, "", ""},
      {"same path", mine, {mine}, true, "", ""},
      {"a name whose bank is the source itself", mine, {sim_.Root() + "mine.ybX"}, true, "", ""},
      {"tables missing", sim_.Root() + "lonely.yb0", {sim_.Root() + "work\\lonely.yb0"}, true, CopyBankFailed, ""},
      {"into the Backup folder", mine, {sim_.BackupDir() + "mine.yb0"}, true, CopyBankFailed, ""},
      {"another extension: the bank goes to its last character made 0",
       mine,
       {sim_.Root() + "work\\copy.abc"},
       true,
       "",
       sim_.Root() + "work\\copy.ab0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Fake().FileDialogAnswers.assign(c.Answers.begin(), c.Answers.end());
    Run(&EditorCommands::CopyFromBtnClick, c.Source);
    EXPECT_EQ(Message(), c.Message);
    ASSERT_EQ(Fake().FileDialogs.size(), c.DialogShown ? 1u : 0u);
    if (c.DialogShown) {
      EXPECT_EQ(Fake().FileDialogs[0].Kind, FileDialogKind::Save);
      EXPECT_EQ(Fake().FileDialogs[0].FileName, c.Source);
      EXPECT_EQ(Fake().FileDialogs[0].Owner, Active);
    }
    EXPECT_EQ(choices_.UserBankEdit, c.Copy.empty() ? c.Source : c.Copy);
    EXPECT_EQ(choices_.UserBankSetEdit, c.Copy.empty() ? "before" : c.Copy);
  }
  for (const char* name : {"copy.ab0", "copy.ab1", "copy.ab2", "copy.ab3"}) {
    std::string source = mine;
    source.back() = name[7];
    EXPECT_EQ(ReadAll(sim_.Root() + "work\\" + name), ReadAll(source)) << name;
  }
  EXPECT_FALSE(FileExists(sim_.BackupDir() + "mine.yb0"));
  EXPECT_FALSE(FileExists(sim_.Root() + "mine.ybX"));
}

TEST_F(EditorCommandsTest, CorrectSignatureByTheListsText) {
  const std::string mine = AddUserBank(sim_, "mine.yb0");
  const struct {
    const char* TypeText;
    std::uint8_t Signature;
  } cases[] = {{"Extended", 0x00}, {"Dance", 0x01}, {"User", 0x02}, {"", 0x02}, {"extended", 0x02}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.TypeText);
    ASSERT_TRUE(WriteWholeFile(mine, Bytes{0xAA, 7, 7}));
    choices_.EditorTypeText = c.TypeText;
    Run(&EditorCommands::EditSignCorrectClick, mine);
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(ReadAll(mine), (Bytes{c.Signature, 7, 7}));
  }
  Run(&EditorCommands::EditSignCorrectClick, sim_.Root() + "none.yb0");
  EXPECT_EQ(Message(), SignatureFailed);
  EXPECT_FALSE(FileExists(sim_.Root() + "none.yb0"));
}

TEST_F(EditorCommandsTest, ExtractBuildAndDeleteCallTheConverterUnderTheHourglass) {
  const std::string mine = AddUserBank(sim_, "mine.yb0");
  const std::string none = sim_.Root() + "none.yb0";
  const std::vector<std::string> busy = {"busy", "restore"};
  const struct {
    const char* Name;
    Command Run;
    std::string Path;
    std::int32_t Result;  // of the converter
    std::vector<std::string> Calls;
    std::string Message;
  } cases[] = {
      {"extract, empty path passed on", &EditorCommands::BankExtractBtnClick, "", 1, {"Deconstruct "}, ExtractFailed},
      {"extract", &EditorCommands::BankExtractBtnClick, mine, 0, {"Deconstruct " + mine}, ""},
      {"build of a missing bank", &EditorCommands::BankCreateBtnClick, none, 0, {}, BuildFailed},
      {"build the converter fails", &EditorCommands::BankCreateBtnClick, mine, 3, {"Construct " + mine}, BuildFailed},
      {"build", &EditorCommands::BankCreateBtnClick, mine, 0, {"Construct " + mine}, ""},
      {"delete beside a missing bank", &EditorCommands::EditorDeleteClick, none, 0, {}, DeleteWavFailed},
      {"delete", &EditorCommands::EditorDeleteClick, mine, 0, {}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    FakeConverter().Results = {c.Result};
    Run(c.Run, c.Path);
    EXPECT_EQ(Message(), c.Message);
    EXPECT_EQ(FakeConverter().Calls, c.Calls);
    EXPECT_EQ(Fake().CursorCalls, c.Calls.empty() ? std::vector<std::string>() : busy);
    EXPECT_EQ(choices_.UserBankEdit, c.Path);
    EXPECT_EQ(window_.Refreshes + window_.Closes, 0);
  }
  EXPECT_EQ(ReadAll(mine)[0], BuiltBankSignature) << "the build that succeeded";
}

// The folder may hold recordings of the user's own: Delete WAV files asks
// first, naming the count and the folder, with No as the default, and then
// deletes every name ending in ".wav" in any letter case.
TEST_F(EditorCommandsTest, DeleteWavFilesAsksFirst) {
  const std::string folder = sim_.Root() + "work\\";
  const struct {
    const char* Name;
    std::vector<std::string> Wavs;
    int Answer;
    bool Asked;
    std::vector<std::string> Left;
  } cases[] = {
      {"answered No",
       {"000_Piano.wav", "my song.WAV"},
       AnswerNo,
       true,
       {"000_Piano.wav", "mine.yb0", "my song.WAV", "notes.txt"}},
      {"answered Yes", {"000_Piano.wav", "my song.WAV"}, AnswerYes, true, {"mine.yb0", "notes.txt"}},
      {"no WAV file", {}, AnswerYes, false, {"mine.yb0", "notes.txt"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    RemoveTree(folder);
    ASSERT_TRUE(MakeDirectory(folder));
    ASSERT_TRUE(WriteWholeFile(folder + "mine.yb0", Bytes{2, 1}));
    ASSERT_TRUE(WriteWholeFile(folder + "notes.txt", Bytes{1}));
    for (const std::string& name : c.Wavs) {
      ASSERT_TRUE(WriteWholeFile(folder + name, Bytes{1}));
    }
    Fake().Answers = {c.Answer};
    Run(&EditorCommands::EditorDeleteClick, folder + "mine.yb0");
    ASSERT_EQ(Fake().Shown.size(), c.Asked ? 1u : 0u);
    if (c.Asked) {
      EXPECT_EQ(Fake().Shown[0].Style, MsgYesNo | MsgIconQuestion | MsgDefaultSecond);
      EXPECT_EQ(Fake().Shown[0].Owner, Active);
      EXPECT_NE(Fake().Shown[0].Text.find("Delete the 2 WAV files in " + folder + "?"), std::string::npos)
          << Fake().Shown[0].Text;
    }
    EXPECT_EQ(ListFiles(folder + "*"), c.Left);
  }
}

TEST_F(EditorCommandsTest, SetThisBankInstallsAndClosesOnlyWithAndReboot) {
  const std::string mine = AddUserBank(sim_, "mine.yb0");
  const struct {
    bool RebootCheck;
    std::string Path;
    bool Installed;
  } cases[] = {{true, mine, true}, {false, mine, true}, {true, sim_.Root() + "none.yb0", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.RebootCheck ? "And Reboot " : "") + c.Path);
    RebootPending = false;
    ASSERT_TRUE(WriteWholeFile(Env.BankPath, Bytes{0xAA, 1}));
    IdentifyInstalledBank();
    choices_.RebootCheck = c.RebootCheck;
    choices_.UserBankSetEdit = "before";
    Run(&EditorCommands::EditorSetBtnClick, c.Path);
    EXPECT_EQ(Message(), c.Installed ? "" : "Cannot set XG Bank Mode");
    EXPECT_EQ(Env.BankKind, c.Installed ? BankUser : BankDefault);
    EXPECT_EQ(ReadAll(Env.BankPath), c.Installed ? ReadAll(mine) : Bytes({0xAA, 1}));
    EXPECT_EQ(RebootPending, c.Installed);
    EXPECT_EQ(window_.Refreshes, 1) << "the bank modes show what is installed either way";
    EXPECT_EQ(window_.Closes, c.Installed && c.RebootCheck ? 1 : 0);
    EXPECT_EQ(choices_.UserBankSetEdit, c.Installed ? c.Path : "before");
  }
}

// The live driver and bank, and the originals in the Backup folder, given
// table files beside them so that nothing but their being what they are
// stands in the way: neither "Set this bank" nor writing a signature or a
// rebuilt bank takes them, and not one byte of them changes.
TEST_F(EditorCommandsTest, TheDriversFilesAndTheBackupAreNeverTaken) {
  const std::string protectedFiles[] = {Env.BankPath, Env.DriverPath, Env.BackupBankPath, Env.BackupDriverPath};
  std::vector<Bytes> before;
  for (const std::string& path : protectedFiles) {
    ASSERT_TRUE(WriteWholeFile(DirectoryPart(path) + "sample.wav", Bytes{1}));
    for (int k = 1; k <= 3; ++k) {
      ASSERT_TRUE(WriteWholeFile(BankTablePath(path, k), PatternBytes(BankTables[k - 1].Size, k)));
    }
    before.push_back(ReadAll(path));
  }
  const struct {
    const char* Name;
    Command Run;
    std::string Message;
  } commands[] = {{"set this bank", &EditorCommands::EditorSetBtnClick, "Cannot set XG Bank Mode"},
                  {"signature", &EditorCommands::EditSignCorrectClick, SignatureFailed},
                  {"build", &EditorCommands::BankCreateBtnClick, BuildFailed},
                  // Their folders: no WAV file is written or deleted there.
                  {"extract", &EditorCommands::BankExtractBtnClick, ExtractFailed},
                  {"delete WAV files", &EditorCommands::EditorDeleteClick, DeleteWavFailed}};
  for (const auto& command : commands) {
    for (const std::string& path : protectedFiles) {
      // Spelt with a slash before the name: the files are known however they are named.
      std::string spelt = path;
      spelt[spelt.find_last_of('\\')] = '/';
      SCOPED_TRACE(std::string(command.Name) + " " + spelt);
      Run(command.Run, spelt);
      EXPECT_EQ(Message(), command.Message);
      EXPECT_TRUE(FakeConverter().Calls.empty());
      EXPECT_FALSE(RebootPending);
      EXPECT_EQ(window_.Closes, 0);
      for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(ReadAll(protectedFiles[i]), before[i]) << protectedFiles[i];
        EXPECT_TRUE(FileExists(DirectoryPart(protectedFiles[i]) + "sample.wav"));
      }
    }
  }
}

}  // namespace
