// The main window's commands on a snapshot of its controls: Apply with its
// bank switch and settings steps, the close question and browsing for a bank.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/main_commands.h"
#include "app/startup.h"
#include "platform/fake.h"
#include "platform/testing/scratch.h"
#include "tests/core/recording_window.h"
#include "tests/core/window_machine.h"
#include "ymf/bank_mode.h"
#include "ymf/installed_bank.h"
#include "ymf/operation_failure.h"

namespace {

using Registry = std::map<std::string, std::map<std::string, FakeValue>>;

bool SameRegistry(const Registry& a, const Registry& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const auto& x, const auto& y) {
           return x.first == y.first && x.second.size() == y.second.size() &&
                  std::equal(x.second.begin(), x.second.end(), y.second.begin(), [](const auto& v, const auto& w) {
                    return v.first == w.first && v.second.Type == w.second.Type && v.second.Data == w.second.Data;
                  });
         });
}

// Row of a setting in DriverSettingTable.
std::size_t Row(const char* name) {
  for (std::size_t row = 0; row < DriverSettingCount; ++row) {
    if (std::string(DriverSettingTable[row].Name) == name) {
      return row;
    }
  }
  ADD_FAILURE() << name;
  return 0;
}

class MainCommandsTest : public ::testing::Test {
 protected:
  // A known WDM build with the default bank, its backup, the shipped banks
  // and some settings; the snapshot holds what the window shows for them.
  void Start(bool driverInstalled = true) {
    MachineSpec machine;
    machine.DriverInstalled = driverInstalled;
    machine.Settings.ShowWaveout = true;
    machine.Settings.LoadUIF = 9;  // no entry in its list: the list shows no selection
    machine.Settings.LoadVSVL = true;
    machine.Settings.MaxModVoices = 32;
    StartMachine(sim_, machine);
    const MainView view = ComputeMainView();
    choices_.CheckedRadio = view.CheckedRadio;
    std::copy(view.SettingShown, view.SettingShown + DriverSettingCount, choices_.Settings);
    for (int i = 0; i < 4; ++i) {
      choices_.VoiceTexts[i] = std::to_string(view.SettingShown[Row("MaxModVoices") + i]);
    }
    if (!driverInstalled) {
      // What the untouched controls hold without a driver: lists without a selection.
      choices_.Settings[Row("LoadUIF")] = NoSelection;
      choices_.Settings[Row("LoadSpdifIn")] = NoSelection;
    }
    registry_ = Fake().Keys;
  }
  Bytes Live(const std::string& path) const {
    Bytes bytes;
    ReadWholeFile(path, bytes);
    return bytes;
  }
  bool RegistryUnchanged() const { return SameRegistry(Fake().Keys, registry_); }
  void ExpectOneBox(const std::string& text) const {
    ASSERT_EQ(Fake().Shown.size(), 1u);
    EXPECT_EQ(Fake().Shown[0].Text.substr(0, Fake().Shown[0].Text.find('\n')), text);
    EXPECT_EQ(Fake().Shown[0].Title, "Error");
    EXPECT_EQ(Fake().Shown[0].Style, MsgOk | MsgIconError);
    EXPECT_EQ(Fake().Shown[0].Owner, Active);
  }

  SimulatedSystem sim_;
  WindowChoices choices_;
  RecordingWindow window_;
  Registry registry_;
};

TEST_F(MainCommandsTest, ApplyWithNothingChangedWritesAndRefreshesNothing) {
  Start();
  const Bytes driver = Live(Env.DriverPath);
  const Bytes bank = Live(Env.BankPath);
  MainCommands::ApplyBtnClick(choices_, window_);
  EXPECT_EQ(window_.Refreshes, 0);
  EXPECT_FALSE(RebootPending);
  EXPECT_TRUE(RegistryUnchanged());
  EXPECT_EQ(Live(Env.DriverPath), driver);
  EXPECT_EQ(Live(Env.BankPath), bank);
  EXPECT_TRUE(Fake().Shown.empty());
  EXPECT_TRUE(Fake().CursorCalls.empty());
}

TEST_F(MainCommandsTest, ExtendedBankAndGamePortInOneApply) {
  Start();
  choices_.CheckedRadio = BankRadio::Extended;
  choices_.Settings[Row("LoadGamePort")] = 1;
  MainCommands::ApplyBtnClick(choices_, window_);
  EXPECT_EQ(Env.BankKind, BankExtended);
  EXPECT_EQ(Live(Env.BankPath), Live(sim_.Where().ExtendedBank()));
  EXPECT_TRUE(Env.Settings.LoadGamePort) << "stored and read back";
  EXPECT_TRUE(Env.Settings.LoadVSVL) << "the rest of the group as it was";
  EXPECT_TRUE(RebootPending);
  EXPECT_EQ(window_.Refreshes, 2) << "after the switch and after the load modules";
  EXPECT_EQ(Fake().CursorCalls, (std::vector<std::string>{"busy", "restore"}));
  EXPECT_TRUE(Fake().Shown.empty());
}

// Apply skips a chosen mode only when tovaroc's check finds it installed and
// verified: a switch that stopped half way is done again, whatever the bank
// file's first byte says.
TEST_F(MainCommandsTest, ApplySkipsOnlyAVerifiedMode) {
  const struct {
    const char* Name;
    bool DriverLeftUnpatched;
    bool Switched;
  } cases[] = {
      {"Extended switched completely", false, false},
      {"Extended bank beside the unpatched driver", true, true},
  };
  for (const auto& test : cases) {
    Start();
    ASSERT_TRUE(SetBankMode(ModeExtended, ""));
    const Bytes switched = Live(Env.DriverPath);
    if (test.DriverLeftUnpatched) {
      ASSERT_TRUE(WriteWholeFile(Env.DriverPath, Live(Env.BackupDriverPath)));
    }
    IdentifyInstalledBank();
    choices_.CheckedRadio = BankRadio::Extended;
    window_.Refreshes = 0;
    MainCommands::ApplyBtnClick(choices_, window_);
    EXPECT_EQ(Live(Env.DriverPath), switched) << test.Name;
    EXPECT_EQ(window_.Refreshes, test.Switched ? 1 : 0) << test.Name;
    EXPECT_EQ(RebootPending, test.Switched) << test.Name;
    RebootPending = false;
  }
}

TEST_F(MainCommandsTest, FailedSwitchIsReportedAndTheSettingsStepsStillRun) {
  Start();
  const Bytes driver = Live(Env.DriverPath);
  const Bytes bank = Live(Env.BankPath);
  choices_.CheckedRadio = BankRadio::User;
  choices_.UserBankSetEdit = sim_.Root() + "missing.yb0";
  choices_.Settings[Row("SRC")] = 1;
  MainCommands::ApplyBtnClick(choices_, window_);
  ExpectOneBox("Cannot set XG Bank Mode");
  EXPECT_EQ(Live(Env.DriverPath), driver);
  EXPECT_EQ(Live(Env.BankPath), bank);
  EXPECT_EQ(Env.BankKind, BankDefault);
  EXPECT_TRUE(Env.Settings.SRC);
  EXPECT_EQ(Env.Settings.LoadUIF, 9) << "an index without a list entry is written back as it was";
  EXPECT_TRUE(RebootPending) << "by the high quality mode, not by the switch";
  EXPECT_EQ(window_.Refreshes, 2) << "the radios show what is installed, then the settings what is stored";
}

// The floors below say what a failed step left; the window names the way
// back once, and only when a live file was changed.
TEST_F(MainCommandsTest, TheWayBackIsNamedOnceAfterAStepChangedAFile) {
  const std::string left = "The switch stopped at writing the tables: the new bank is in place.";
  for (bool changed : {false, true}) {
    ClearFailure();
    Fail(FailureKind::StepFailed, left, changed);
    EXPECT_EQ(FailureReason(), changed ? left +
                                             " \"Restore original driver files...\" on the XG Bank Modes page brings "
                                             "back the original driver and bank files."
                                       : left);
  }
  ClearFailure();
}

TEST_F(MainCommandsTest, OnlyShowWaveOutIsStoredAndClosingAsksNothing) {
  Start();
  choices_.Settings[Row("ShowWaveout")] = 0;
  MainCommands::ApplyBtnClick(choices_, window_);
  EXPECT_FALSE(Env.Settings.ShowWaveout);
  EXPECT_FALSE(RebootPending);
  EXPECT_TRUE(MainCommands::FormCloseQuery(window_));
  EXPECT_TRUE(Fake().Shown.empty());
  EXPECT_TRUE(Fake().RestartCalls.empty());
}

TEST_F(MainCommandsTest, ApplySaysWhatItStoredAndWhetherARestartIsPending) {
  Start();
  const struct {
    const char* Setting;  // changed before this Apply, or null
    const char* Line;
    bool Denied = false;  // the driver's key refuses writing, as for a limited account
  } applies[] = {
      {nullptr, "Nothing to apply: the pages show what is installed and stored."},
      {"ShowWaveout", "Settings stored."},
      {"LoadLegacy", "Settings stored. Restart Windows for the changes to take effect."},
      {nullptr,
       "Nothing to apply: the pages show what is installed and stored. A restart of Windows is still pending."},
      {"LoadGamePort", "Settings not stored: 1 value(s) were refused by the registry.", true},
  };
  for (const auto& apply : applies) {
    if (apply.Setting != nullptr) {
      choices_.Settings[Row(apply.Setting)] ^= 1;
    }
    if (apply.Denied) {
      Fake().WriteDeniedKeys.insert(FakeKeyName(Env.DriverRegKey));
      RebootPending = false;
    }
    MainCommands::ApplyBtnClick(choices_, window_);
    EXPECT_EQ(choices_.ResultLine, apply.Line);
    EXPECT_EQ(Fake().Shown.size(), apply.Denied ? 1u : 0u);
  }
  EXPECT_EQ(Fake().Shown[0].Text.find("Cannot store LoadGamePort under HKEY_LOCAL_MACHINE\\" + Env.DriverRegKey), 0u);
  EXPECT_NE(Fake().Shown[0].Text.find("A limited account cannot write"), std::string::npos);
  EXPECT_FALSE(RebootPending) << "a group that was not stored needs no restart";
}

TEST_F(MainCommandsTest, UserRadioWithAnEmptyPathSwitchesNothing) {
  Start();
  const Bytes bank = Live(Env.BankPath);
  choices_.CheckedRadio = BankRadio::User;
  MainCommands::ApplyBtnClick(choices_, window_);
  EXPECT_EQ(Live(Env.BankPath), bank);
  EXPECT_EQ(window_.Refreshes, 0);
  EXPECT_TRUE(Fake().Shown.empty());
  EXPECT_FALSE(RebootPending);
}

TEST_F(MainCommandsTest, EveryApplyWithAUserPathInstallsTheBankAgain) {
  Start();
  const std::string user = AddUserBank(sim_, "mine.yb0");
  choices_.CheckedRadio = BankRadio::User;
  choices_.UserBankSetEdit = user;
  MainCommands::ApplyBtnClick(choices_, window_);
  EXPECT_EQ(Env.BankKind, BankUser);
  EXPECT_EQ(Live(Env.BankPath), Live(user));
  ASSERT_TRUE(WriteWholeFile(Env.BankPath, Bytes{0xAA, 1, 2}));
  IdentifyInstalledBank();  // as the window reads it when it is activated
  MainCommands::ApplyBtnClick(choices_, window_);
  EXPECT_EQ(Live(Env.BankPath), Live(user)) << "installed again";
  EXPECT_TRUE(RebootPending);
  EXPECT_EQ(window_.Refreshes, 2);
  EXPECT_TRUE(Fake().Shown.empty());
}

// A bank just built from WAV samples (signature 04) has no kind: asked
// once, Yes marks the working copy as a User bank before it is installed,
// and the result line names the kind the About page shows.
TEST_F(MainCommandsTest, ABuiltBankIsMarkedAsAUserBankWhenTheUserSaysYes) {
  const struct {
    int Answer;
    std::int32_t Kind;
    std::uint8_t Signature;
    const char* LineStart;
  } cases[] = {{AnswerYes, BankUser, 0x02, "User bank "}, {AnswerNo, BankUnknown, 0x04, "Bank "}};
  for (const auto& c : cases) {
    Start();
    const std::string user = AddUserBank(sim_, "built.yb0");
    Bytes built = Live(user);
    built[0] = 0x04;
    ASSERT_TRUE(WriteWholeFile(user, built));
    Fake().Shown.clear();
    Fake().Answers = {c.Answer};
    choices_.CheckedRadio = BankRadio::User;
    choices_.UserBankSetEdit = user;
    MainCommands::ApplyBtnClick(choices_, window_);
    ASSERT_EQ(Fake().Shown.size(), 1u);
    EXPECT_EQ(Fake().Shown[0].Style, MsgYesNo | MsgIconQuestion);
    EXPECT_EQ(Env.BankKind, c.Kind);
    EXPECT_EQ(Live(user)[0], c.Signature);
    EXPECT_EQ(Live(Env.BankPath), Live(user));
    EXPECT_EQ(choices_.ResultLine.rfind(c.LineStart + user + " ", 0), 0u) << choices_.ResultLine;
  }
}

// tovaroc installs Extended while the window still shows Default: an
// Apply of another setting switches nothing back, and the page is redrawn.
TEST_F(MainCommandsTest, ApplyDoesNotUndoASwitchTheWindowDidNotSee) {
  Start();
  ASSERT_EQ(choices_.CheckedRadio, BankRadio::Default);
  ASSERT_TRUE(SetBankMode(ModeExtended, ""));
  const Bytes extended = Live(Env.BankPath);
  choices_.Settings[Row("ShowWaveout")] = 0;
  MainCommands::ApplyBtnClick(choices_, window_);
  EXPECT_EQ(Live(Env.BankPath), extended);
  EXPECT_EQ(Env.BankKind, BankExtended);
  EXPECT_FALSE(Env.Settings.ShowWaveout) << "the settings are still stored";
  EXPECT_EQ(choices_.ResultLine.rfind("The installed bank was changed by another program", 0), 0u)
      << choices_.ResultLine;
}

TEST_F(MainCommandsTest, WithoutADriverApplyWritesNothingAnywhereAndOkCloses) {
  Start(false);
  ASSERT_FALSE(Env.DriverFound);
  choices_.Settings[Row("LoadGamePort")] = 1;
  choices_.Settings[Row("MaxDSVoices")] = 20;
  MainCommands::OkBtnClick(choices_, window_);
  EXPECT_TRUE(RegistryUnchanged());
  EXPECT_FALSE(RebootPending);
  EXPECT_EQ(window_.Refreshes, 0);
  EXPECT_EQ(window_.Closes, 1);
}

TEST_F(MainCommandsTest, CloseQuestionWhileARebootIsPending) {
  Start();
  const struct {
    int Answer;
    std::vector<std::string> Restart;
  } answers[] = {
      {AnswerNo, {}},
      {AnswerYes,
       {"OpenProcessToken 0x28", "LookupPrivilegeValue SeShutdownPrivilege", "AdjustTokenPrivileges", "GetLastError",
        "CloseHandle", "ExitWindowsEx 2 0"}},
  };
  for (const auto& answer : answers) {
    Fake().Shown.clear();
    Fake().RestartCalls.clear();
    Fake().Answers = {answer.Answer};
    RebootPending = true;
    EXPECT_TRUE(MainCommands::FormCloseQuery(window_)) << "closing is always allowed";
    ASSERT_EQ(Fake().Shown.size(), 1u);
    EXPECT_EQ(Fake().Shown[0].Text, "To apply changes you should reboot your computer. Reboot now?");
    EXPECT_EQ(Fake().Shown[0].Title, "Information");
    EXPECT_EQ(Fake().Shown[0].Style, MsgYesNo | MsgIconQuestion);
    EXPECT_EQ(Fake().Shown[0].Owner, Active);
    EXPECT_EQ(Fake().RestartCalls, answer.Restart);
  }
}

TEST_F(MainCommandsTest, BrowseStartsAtTheEditedBankOrTheExtendedOne) {
  Start();
  const struct {
    const char* Edited;
    const char* Answer;  // null: the user cancels
    std::string Start;
  } cases[] = {
      {"", "C:\\banks\\chosen.yb0", Env.ExtendedBankPath},
      {"C:\\work\\edited.yb0", "C:\\banks\\other.yb0", "C:\\work\\edited.yb0"},
      {"C:\\work\\edited.yb0", nullptr, "C:\\work\\edited.yb0"},
  };
  for (const auto& c : cases) {
    Fake().FileDialogs.clear();
    Fake().FileDialogAnswers.clear();
    if (c.Answer != nullptr) {
      Fake().FileDialogAnswers.push_back(c.Answer);
    }
    WindowChoices choices = choices_;
    choices.UserBankEdit = c.Edited;
    choices.UserBankSetEdit = "C:\\before.yb0";
    MainCommands::UserBankBtnClick(choices, window_);
    ASSERT_EQ(Fake().FileDialogs.size(), 1u);
    const FileDialogRequest& shown = Fake().FileDialogs[0];
    EXPECT_EQ(shown.Kind, FileDialogKind::Open);
    EXPECT_EQ(shown.Owner, Active);
    EXPECT_EQ(shown.FileName, c.Start);
    EXPECT_EQ(shown.Filter, "Tovaro Banks (*.yb0)|*.yb0|All files (*.*)|*.*");
    EXPECT_EQ(shown.DefaultExtension, "yb0");
    const std::string edited = c.Answer != nullptr ? c.Answer : c.Edited;
    EXPECT_EQ(choices.UserBankEdit, edited);
    EXPECT_EQ(choices.UserBankSetEdit, c.Answer != nullptr ? c.Answer : "C:\\before.yb0");
    EXPECT_EQ(choices.CheckedRadio, c.Answer != nullptr ? BankRadio::User : BankRadio::Default);
  }
}

// The shipped Extended set is replaced only on Yes; a bank of another kind
// is refused, saying why and what to do, and nothing is asked.
TEST_F(MainCommandsTest, AddBankSetAsksBeforeReplacingAndSaysWhyItRefuses) {
  Start();
  BankSetSpec setup;
  setup.BankSize = 5000;
  const std::string mine = sim_.Root() + "mine.yb0";
  ASSERT_TRUE(WriteBankSet(mine, setup));
  const Bytes shipped = Live(Env.ExtendedBankPath);
  const char* const question = "The Banks folder already holds the Extended bank set (extended.yb0 to .yb3). Replace";
  const struct {
    std::string Chosen;
    int Answer;
    const char* Box;  // how it starts, or a part of the refusal
  } cases[] = {
      {mine, AnswerNo, question},
      {AddUserBank(sim_, "user.yb0"), AnswerYes,
       "(User), not 0x00 (Extended) or 0x01 (Dance). Nothing was added. Choose"},
      {mine, AnswerYes, question},
  };
  for (const auto& c : cases) {
    Fake().Shown.clear();
    Fake().Answers = {c.Answer};
    Fake().FileDialogAnswers = {c.Chosen};
    MainCommands::AddBankSetBtnClick(choices_, window_);
    ASSERT_EQ(Fake().Shown.size(), 1u);
    EXPECT_NE(Fake().Shown[0].Text.find(c.Box), std::string::npos) << Fake().Shown[0].Text;
    EXPECT_EQ(Live(Env.ExtendedBankPath), &c == &cases[2] ? Live(mine) : shipped);
  }
}

}  // namespace
