// What the Samples window's buttons do, on a bank the recording converter
// lists, with scripted dialogs: the calls that go out, the boxes, the rows.
#include <gtest/gtest.h>

#include "app/samples_commands.h"
#include "platform/fake.h"
#include "platform/fake_converter.h"
#include "platform/fake_sound.h"
#include "platform/testing/scratch.h"
#include "tests/core/window_machine.h"

namespace {

// The Samples window as the commands see it: the Properties dialog and the
// SoundFont's list answer from scripts.
class ScriptedSamplesWindow : public SamplesWindowPort {
 public:
  WindowRef Owner() override { return 0x51; }
  bool AskProperties(const std::string&, SampleChanges& fields) override {
    Shown.push_back(fields.FineTune);
    if (Typed.empty()) {
      return false;
    }
    fields.FineTune = Typed.front();
    Typed.erase(Typed.begin());
    return true;
  }
  // The list of a SoundFont's samples is cancelled (the window test picks one).
  bool AskFontSample(const std::string&, const std::vector<SampleInfo>&, int&) override { return false; }
  std::vector<std::string> Typed;  // the fine tune typed at each showing; none left: Cancel
  std::vector<std::string> Shown;  // the fine tune each showing started with
};

class SamplesCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartMachine(sim_, MachineSpec());
    FakeConverterReset();
    FakeSoundReset();
    state_.Bank = AddUserBank(sim_, "mine.yb0");
    const SampleInfo piano{"Piano", 22050, 1, 60, 0, false, 8000, 0, 0};
    FakeConverter().Samples[state_.Bank] = {piano, piano};
    FakeConverter().Samples[state_.Bank][1].Name = "Strings";
    font_ = sim_.Root() + "font.sf2";
    ASSERT_TRUE(WriteWholeFile(font_, Bytes{1}));
    FakeConverter().Samples[font_] = {piano, piano, piano};
    ASSERT_TRUE(SamplesCommands::OpenSamples(state_, 0x50));
  }
  void TearDown() override {
    FakeConverterReset();
    FakeSoundReset();
  }
  // Runs a button with the calls and boxes cleared first; the calls that
  // change or write something, and the first line of each box.
  std::vector<std::string> Click(void (*command)(SamplesWindowState&, SamplesWindowPort&)) {
    FakeConverter().Calls.clear();
    Fake().Shown.clear();
    command(state_, window_);
    std::vector<std::string> seen;
    for (const std::string& call : FakeConverter().Calls) {
      if (call.rfind("Sample", 0) != 0 && call.rfind("Read", 0) != 0) {
        seen.push_back(call);
      }
    }
    for (const ShownMessage& box : Fake().Shown) {
      seen.push_back(box.Text.substr(0, box.Text.find('\n')));
    }
    return seen;
  }

  SimulatedSystem sim_;
  SamplesWindowState state_;
  ScriptedSamplesWindow window_;
  std::string font_;
};

TEST_F(SamplesCommandsTest, OpeningListsTheRowsOrSaysWhyNot) {
  EXPECT_EQ(state_.Samples.size(), 2u);
  EXPECT_EQ(state_.Selected, 0);
  EXPECT_EQ(SamplesWindowTitle(state_), "Samples of " + state_.Bank + " (2)");
  for (bool tools : {false, true}) {
    FakeConverter().SampleTools = tools;
    Fake().Shown.clear();
    SamplesWindowState other;
    other.Bank = tools ? sim_.Root() + "none.yb0" : state_.Bank;
    EXPECT_FALSE(SamplesCommands::OpenSamples(other, 0x50));
    ASSERT_EQ(Fake().Shown.size(), 1u);
    EXPECT_EQ(Fake().Shown[0].Owner, 0x50u);
    EXPECT_NE(Fake().Shown[0].Text.find(tools ? "There is no file" : "older one without the sample tools"),
              std::string::npos)
        << Fake().Shown[0].Text;
  }
  // A long list opens on its count; a page of rows is read when one of them is first shown.
  FakeConverter().Samples[state_.Bank].resize(200);
  FakeConverter().Samples[state_.Bank][130].Name = "Row 130";
  FakeConverter().Calls.clear();
  ASSERT_TRUE(SamplesCommands::OpenSamples(state_, 0x50));
  EXPECT_EQ(FakeConverter().Calls, std::vector<std::string>{"SampleCount " + state_.Bank});
  EXPECT_EQ(state_.Samples[130].Name, "Row 130");
  EXPECT_EQ(state_.Samples[131].Name, "");
  EXPECT_EQ(state_.Samples[199].Name, "");
  EXPECT_EQ(FakeConverter().Calls,
            (std::vector<std::string>{"SampleCount " + state_.Bank, "ReadSampleInfos " + state_.Bank + " 128 64",
                                      "ReadSampleInfos " + state_.Bank + " 192 8"}));
}

TEST_F(SamplesCommandsTest, PropertiesSayAWrongValueAndAskAgain) {
  window_.Typed = {"60", "+12"};
  EXPECT_EQ(Click(&SamplesCommands::PropertiesClick),
            (std::vector<std::string>{"SetSampleInfo " + state_.Bank + " 0", "Cannot change the sample"}));
  EXPECT_EQ(window_.Shown, (std::vector<std::string>{"0", "60"})) << "shown again with what was typed";
  ASSERT_EQ(FakeConverter().SetInfos.size(), 1u);
  EXPECT_EQ(FakeConverter().SetInfos[0].FineTune, 12);
  EXPECT_EQ(state_.Samples[0].FineTune, 12) << "the row shows the change";
  window_.Typed.clear();
  EXPECT_EQ(Click(&SamplesCommands::PropertiesClick), std::vector<std::string>{}) << "cancelled";
}

// Replacing from a WAV file and from a SoundFont's sample is the window
// test's (tests/ui/samples_window_test.cpp), through the real dialogs.
TEST_F(SamplesCommandsTest, ReplaceExportAndPlay) {
  const std::string wav = sim_.Root() + "new.wav";
  ASSERT_TRUE(WriteWholeFile(wav, Bytes{1}));
  state_.Selected = 1;
  const struct {
    const char* Name;
    void (*Command)(SamplesWindowState&, SamplesWindowPort&);
    std::deque<std::string> Answers;  // of the file dialog
    std::vector<std::string> Seen;
  } cases[] = {
      {"SoundFont list cancelled", &SamplesCommands::ReplaceClick, {font_}, {}},
      {"the bank itself", &SamplesCommands::ReplaceClick, {state_.Bank}, {"Cannot replace the sample"}},
      {"export WAV", &SamplesCommands::ExportWavClick, {wav}, {"ExportSampleWav " + state_.Bank + " 1 " + wav}},
      {"into Backup", &SamplesCommands::ExportWavClick, {sim_.BackupDir() + "x.wav"}, {"Cannot export the sample"}},
      {"SoundFont", &SamplesCommands::ExportSoundFontClick, {font_}, {"ExportSoundFont " + state_.Bank + " " + font_}},
      {"over the bank", &SamplesCommands::ExportSoundFontClick, {state_.Bank}, {"Cannot export the SoundFont"}},
      {"play", &SamplesCommands::PlayClick, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Fake().FileDialogAnswers = c.Answers;
    EXPECT_EQ(Click(c.Command), c.Seen);
  }
  EXPECT_EQ(FakeSound().WaveRate, 22050u);
  EXPECT_EQ(state_.StatusLine, "Playing Sample 001 (Strings).");
  FakeSound().WaveRefusal = "No wave output device is installed.";
  EXPECT_EQ(Click(&SamplesCommands::PlayClick), std::vector<std::string>{"Cannot play the sample"});
}

}  // namespace
