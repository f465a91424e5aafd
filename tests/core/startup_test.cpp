// Start-up: the questions, their order and the "-clean" restore.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/main_commands.h"
#include "app/startup.h"
#include "files/fileops.h"
#include "platform/fake.h"
#include "tests/core/simulated_system.h"

namespace {

const char* const BackupQuestion = "Cannot create backup of original driver files. Start the program anyway?";
const char* const DriverQuestion = "YMF7x4 driver is not found. Start the program anyway?";

DriverInstallSpec WdmDriver() {
  DriverInstallSpec setup;
  setup.StockBankSize = 32;
  return setup;
}

std::vector<std::string> Questions() {
  std::vector<std::string> texts;
  for (const ShownMessage& shown : Fake().Shown) {
    EXPECT_EQ(shown.Title, "Error");
    EXPECT_EQ(shown.Style, MsgYesNo | MsgIconQuestion);
    EXPECT_EQ(shown.Owner, 0u);
    // The question is the first paragraph; the reason may follow it.
    texts.push_back(shown.Text.substr(0, shown.Text.find("\n\n")));
  }
  return texts;
}

TEST(Startup, DriverAndBackupGiveNoQuestion) {
  SimulatedSystem sim;
  ASSERT_TRUE(sim.AddDriver(WdmDriver()));
  RebootPending = true;
  EXPECT_TRUE(PrepareStart(""));
  EXPECT_TRUE(Fake().Shown.empty());
  EXPECT_EQ(ExeDir, sim.Where().ProgramDir);
  EXPECT_EQ(ProductTitle, "Tovaro 2.0.1");
  EXPECT_FALSE(RebootPending);
  EXPECT_TRUE(FileExists(sim.BackupDir() + "Ds1.sys"));
  EXPECT_TRUE(FileExists(sim.BackupDir() + "dsxgwave.tbl"));
}

TEST(Startup, NoDriverAsksBothQuestionsBackupFirst) {
  SimulatedSystem sim;
  Fake().Answers = {AnswerYes, AnswerYes};
  EXPECT_TRUE(PrepareStart(""));
  EXPECT_EQ(Questions(), (std::vector<std::string>{BackupQuestion, DriverQuestion}));
}

TEST(Startup, NoDriverWithOldBackupStillAsksBothQuestions) {
  SimulatedSystem sim;
  WriteAll(sim.BackupDir() + "Ds1.sys", Bytes{'M', 'Z'});
  WriteAll(sim.BackupDir() + "dsxgwave.tbl", Bytes{0xAA});
  Fake().Answers = {AnswerYes, AnswerNo};
  EXPECT_FALSE(PrepareStart(""));
  EXPECT_EQ(Questions(), (std::vector<std::string>{BackupQuestion, DriverQuestion}));
}

TEST(Startup, DecliningTheBackupQuestionEndsAtOnce) {
  SimulatedSystem sim(false);
  ASSERT_TRUE(sim.AddDriver(WdmDriver()));
  // A file where the Backup folder belongs: the folder cannot be created.
  WriteAll(sim.BackupDir().substr(0, sim.BackupDir().size() - 1), Bytes{});
  Fake().Answers = {AnswerNo};
  EXPECT_THROW(PrepareStart(""), FakeProcessEnded);
  EXPECT_EQ(Fake().EndedWith, 0);
  EXPECT_EQ(Questions(), (std::vector<std::string>{BackupQuestion}));
}

TEST(Startup, BackupFailureAcceptedOpensTheWindow) {
  SimulatedSystem sim(false);
  ASSERT_TRUE(sim.AddDriver(WdmDriver()));
  // A file where the Backup folder belongs: the folder cannot be created.
  WriteAll(sim.BackupDir().substr(0, sim.BackupDir().size() - 1), Bytes{});
  Fake().Answers = {AnswerYes};
  EXPECT_TRUE(PrepareStart(""));
  EXPECT_EQ(Questions(), (std::vector<std::string>{BackupQuestion}));
}

TEST(Startup, CleanSwitchIsTheFirstArgumentInAnyCase) {
  EXPECT_TRUE(IsCleanSwitch("-clean"));
  EXPECT_TRUE(IsCleanSwitch("-CLEAN"));
  EXPECT_TRUE(IsCleanSwitch("-cLeAn"));
  EXPECT_FALSE(IsCleanSwitch("clean"));
  EXPECT_FALSE(IsCleanSwitch("-clean2"));
  EXPECT_FALSE(IsCleanSwitch("/clean"));
  EXPECT_FALSE(IsCleanSwitch(""));
}

TEST(Startup, CleanRestoresTheOriginalsAndOpensNoWindow) {
  SimulatedSystem sim;
  DriverInstallSpec setup = WdmDriver();
  setup.StockBankSize = 2424832;  // a plain pair must hold a bank of the stock size
  ASSERT_TRUE(sim.AddDriver(setup));
  const Bytes driver = ReadAll(sim.DriverPath(false));
  const Bytes bank = ReadAll(sim.BankPath(false));
  WriteAll(sim.BackupDir() + "Ds1.sys", driver);
  WriteAll(sim.BackupDir() + "dsxgwave.tbl", bank);
  WriteAll(sim.DriverPath(false), Bytes{'M', 'Z', 0x90});
  WriteAll(sim.BankPath(false), Bytes{0x00, 1, 2});
  EXPECT_FALSE(PrepareStart("-Clean"));
  EXPECT_TRUE(Fake().Shown.empty());
  EXPECT_EQ(ReadAll(sim.DriverPath(false)), driver);
  EXPECT_EQ(ReadAll(sim.BankPath(false)), bank);
  EXPECT_FALSE(FileExists(sim.BackupDir() + "Ds1.sys"));
  EXPECT_FALSE(FileExists(sim.BackupDir() + "dsxgwave.tbl"));
}

// The Start menu's restore asks first and says how it went; No changes nothing.
TEST(Startup, RestoreSwitchAsksThenRestoresAndSaysSo) {
  for (const int answer : {AnswerYes, AnswerNo}) {
    SCOPED_TRACE(answer);
    SimulatedSystem sim;
    DriverInstallSpec setup = WdmDriver();
    setup.StockBankSize = 2424832;
    ASSERT_TRUE(sim.AddDriver(setup));
    const Bytes driver = ReadAll(sim.DriverPath(false));
    WriteAll(sim.BackupDir() + "Ds1.sys", driver);
    WriteAll(sim.BackupDir() + "dsxgwave.tbl", ReadAll(sim.BankPath(false)));
    WriteAll(sim.DriverPath(false), Bytes{'M', 'Z', 0x90});
    Fake().Answers = {answer};
    EXPECT_FALSE(PrepareStart("-Restore"));
    ASSERT_EQ(Fake().Shown.size(), answer == AnswerYes ? 2u : 1u);
    EXPECT_EQ(Fake().Shown[0].Text, RestoreQuestion);
    EXPECT_EQ(ReadAll(sim.DriverPath(false)), answer == AnswerYes ? driver : Bytes({'M', 'Z', 0x90}));
    if (answer == AnswerYes) {
      EXPECT_EQ(Fake().Shown[1].Text.rfind("Original driver and bank files restored", 0), 0u) << Fake().Shown[1].Text;
    }
  }
}

// A backup that does not prove itself is neither restored nor overwritten:
// "-clean" keeps it and the live files, and says why in an error box after
// the backup question.
TEST(Startup, UnprovenBackupIsAskedAboutAndNeitherRestoredNorOverwritten) {
  const struct {
    const char* Name;
    const char* Copy;
    std::function<Bytes(const Bytes&)> Damage;
    bool RemoveManifest;
    const char* Problem;
    bool LiveBankSwitched = false;  // the live bank is not a Default bank
  } cases[] = {
      {"driver copy cut short", "Ds1.sys",
       [](const Bytes& whole) { return Bytes(whole.begin(), whole.begin() + 1000000); }, false, "not a complete copy"},
      {"plain pair with the bank cut to 1000 bytes", "dsxgwave.tbl",
       [](const Bytes& whole) { return Bytes(whole.begin(), whole.begin() + 1000); }, true, "not a complete copy"},
      {"plain pair with a 100000-byte Default bank after a switch", "dsxgwave.tbl",
       [](const Bytes& whole) {
         Bytes cut(100000, 0x5A);
         std::copy(whole.begin(), whole.end(), cut.begin());
         return cut;
       },
       true, "has 100000 bytes where the driver's stock Default bank has 2424832", true},
  };
  for (const auto& test : cases) {
    SimulatedSystem sim;
    DriverInstallSpec setup = WdmDriver();
    setup.StockBankSize = 40000;
    ASSERT_TRUE(sim.AddDriver(setup));
    ASSERT_TRUE(PrepareStart(""));
    if (test.RemoveManifest) {
      ASSERT_TRUE(RemoveFile(sim.BackupDir() + "manifest.txt"));
    }
    const std::string copy = sim.BackupDir() + test.Copy;
    const Bytes cut = test.Damage(ReadAll(copy));
    WriteAll(copy, cut);
    if (test.LiveBankSwitched) {
      WriteAll(sim.BankPath(false), Bytes{0x00, 1, 2});
    }
    const Bytes liveBank = ReadAll(sim.BankPath(false));
    WriteAll(sim.DriverPath(false), Bytes{'M', 'Z', 0x90});

    Fake().Shown.clear();
    Fake().Answers = {AnswerYes};
    EXPECT_FALSE(PrepareStart("-clean")) << test.Name;
    ASSERT_EQ(Fake().Shown.size(), 2u) << test.Name;
    EXPECT_EQ(Fake().Shown[0].Text.rfind(std::string(BackupQuestion) + "\n\n", 0), 0u) << Fake().Shown[0].Text;
    EXPECT_NE(Fake().Shown[0].Text.find(test.Problem), std::string::npos) << Fake().Shown[0].Text;
    EXPECT_EQ(Fake().Shown[1].Style, MsgOk | MsgIconError) << test.Name;
    EXPECT_EQ(Fake().Shown[1].Text.rfind(RestoreRefusedLine, 0), 0u) << Fake().Shown[1].Text;
    EXPECT_NE(Fake().Shown[1].Text.find(test.Problem), std::string::npos) << Fake().Shown[1].Text;
    EXPECT_EQ(ReadAll(copy), cut) << test.Name;
    EXPECT_EQ(ReadAll(sim.DriverPath(false)), (Bytes{'M', 'Z', 0x90})) << test.Name;
    EXPECT_EQ(ReadAll(sim.BankPath(false)), liveBank) << test.Name;
    const StartupFacts facts = RunStartupSteps();
    EXPECT_FALSE(facts.BackupMade) << test.Name;
    EXPECT_NE(facts.BackupProblem.find(test.Problem), std::string::npos) << facts.BackupProblem;
    EXPECT_EQ(ReadAll(copy), cut) << test.Name;
  }
}

TEST(Startup, CleanWithoutDriverFailsSilently) {
  SimulatedSystem sim;
  Fake().Answers = {AnswerYes, AnswerYes};
  EXPECT_FALSE(PrepareStart("-clean"));
  EXPECT_EQ(Fake().Shown.size(), 2u);
}

}  // namespace
