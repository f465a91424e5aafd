// The Samples window's texts and value checks: note names, cells, the
// build report's sentences, and the checks of a sample's new values.
#include <gtest/gtest.h>

#include "app/sample_edits.h"
#include "app/sample_rows.h"

namespace {

TEST(SampleRows, NotesReadAndWritten) {
  const struct {
    const char* Typed;
    int Key;  // -1: refused
  } notes[] = {{"60", 60},  {"C4", 60},  {"c#4", 61},     {"Db4", 61},     {"C-1", 0},      {"G9", 127},
               {"B3", 59},  {"Bb3", 58}, {"C4 (60)", 60}, {"A4 (69)", 69}, {"C4 (61)", -1}, {"G#9", -1},
               {"128", -1}, {"-1", -1},  {"+60", -1},     {"H4", -1},      {"C10", -1},     {"Cb-1", -1},
               {"", -1},    {" 60", -1}, {"C+4", -1},     {"C", -1}};
  for (const auto& note : notes) {
    int key = -1;
    EXPECT_EQ(ParseNote(note.Typed, key), note.Key >= 0) << note.Typed;
    if (note.Key >= 0) {
      EXPECT_EQ(key, note.Key) << note.Typed;
      EXPECT_TRUE(ParseNote(NoteName(key), key) && key == note.Key) << NoteName(key) << " reads back";
    }
  }
  EXPECT_EQ(NoteName(0), "C-1 (0)");
  EXPECT_EQ(NoteName(60), "C4 (60)");
  EXPECT_EQ(NoteName(70), "A#4 (70)");
  EXPECT_EQ(NoteName(127), "G9 (127)");
}

TEST(SampleRows, CellsOfOneRow) {
  // Name, rate, channels, root key, fine tune, looped, frames, loop start and end.
  const SampleInfo looped{"Piano", 44100, 2, 60, 25, true, 22050, 1000, 3999};
  const SampleInfo oneShot{"Piano", 1000, 1, 60, -7, false, 1, 1000, 3999};
  const std::vector<std::string> cells[] = {
      {"007", "Piano", "44100", "stereo", "C4 (60)", "+25", "1000-3999", "22050", "0.500"},
      {"0007", "Piano", "1000", "mono", "C4 (60)", "-7", "none", "1", "0.001"}};
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < SampleColumnCount; ++column) {
      EXPECT_EQ(SampleCellText(row == 0 ? looped : oneShot, 7, row == 0 ? 1000 : 1001, column), cells[row][column])
          << SampleColumnTitles[column];
    }
  }
  EXPECT_EQ(SampleIndexText(12345, 65535), "12345");
}

// Changes of the fields named, each typed as given ("loop" takes "S-E").
SampleChanges Typed(std::initializer_list<std::pair<std::string, std::string>> fields) {
  SampleChanges c;
  for (const auto& f : fields) {
    if (f.first == "name") {
      c.SetName = true, c.Name = f.second;
    } else if (f.first == "root") {
      c.SetRootKey = true, c.RootKey = f.second;
    } else if (f.first == "tune") {
      c.SetFineTune = true, c.FineTune = f.second;
    } else {
      const std::size_t dash = f.second.find('-');
      c.LoopChange = f.first == "loop" ? SampleChanges::Loop::Set : SampleChanges::Loop::Off;
      c.LoopStart = f.second.substr(0, dash);
      c.LoopEnd = dash == std::string::npos ? std::string() : f.second.substr(dash + 1);
    }
  }
  return c;
}

TEST(SampleRows, ValuesCheckedBeforeAnythingIsWritten) {
  SampleInfo before;
  before.Name = "Old";
  before.Frames = 4000;
  before.Looped = true;
  before.LoopEnd = 5;
  const struct {
    SampleChanges Changes;
    const char* Why;  // the start of the reason; empty: accepted
  } cases[] = {
      {Typed({{"name", "Strings 27 characters long."}, {"root", "F#3"}, {"tune", "-50"}, {"loop", "0-3999"}}), ""},
      {Typed({{"name", std::string(28, 'x')}}), "Name: "},
      {Typed({{"name", "a:b"}}), "Name: 'a:b' holds"},
      {Typed({{"root", "200"}}), "Root key: '200'"},
      {Typed({{"tune", "50"}}), "Fine tune: '50'"},
      {Typed({{"tune", "1.5"}}), "Fine tune: '1.5'"},
      {Typed({{"root", "0"}, {"tune", "-1"}}), "Fine tune: a sample on the lowest note"},
      {Typed({{"loop", "0-4000"}}), "Loop end: '4000'"},
      {Typed({{"loop", "-9"}}), "Loop start: ''"},
      {Typed({{"loop", "9-8"}}), "Loop end: 8 comes before"},
      {Typed({{"noloop", ""}}), ""},
  };
  for (const auto& c : cases) {
    SampleInfo info = before;
    std::string why;
    const bool ok = ApplySampleChanges(c.Changes, info, why);
    EXPECT_EQ(ok, *c.Why == '\0') << why;
    if (!ok) {
      EXPECT_EQ(why.rfind(c.Why, 0), 0u) << why;
      EXPECT_EQ(info.Name, "Old") << "unchanged";
    } else if (c.Changes.SetName) {
      EXPECT_EQ(info.Name, "Strings 27 characters long.");
      EXPECT_TRUE(info.RootKey == 54 && info.FineTune == -50 && info.LoopStart == 0 && info.LoopEnd == 3999);
    } else {
      EXPECT_TRUE(!info.Looped && info.LoopStart == 0 && info.LoopEnd == 0) << "no loop is stored as 0-0";
    }
  }
}

TEST(SampleRows, BuildReportSaysWhatWentIn) {
  const struct {
    const char* Report;
    std::size_t Shown;
    std::vector<std::string> Lines;
  } reports[] = {
      {"", 0, {}},
      {"changed\t1\n", 0, {"1 sample changed."}},
      {"new\tx.wav\nkept\t001_A.wav\nnew\ty.wav\nchanged\t3\n",
       0,
       {"New samples from x.wav, y.wav.", "3 samples changed.",
        "Kept root key, fine tune and loop (no smpl chunk): 001_A.wav."}},
      {"kept\ta\nkept\tb\nkept\tc\nchanged\t3",
       2,
       {"3 samples changed.", "Kept root key, fine tune and loop (no smpl chunk): a, b and 1 more."}},
  };
  for (const auto& report : reports) {
    EXPECT_EQ(BuildReportLines(report.Report, report.Shown), report.Lines) << report.Report;
  }
}

}  // namespace
