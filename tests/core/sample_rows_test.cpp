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
  SampleInfo looped;
  looped.Name = "Piano";
  looped.Rate = 44100;
  looped.Channels = 2;
  looped.RootKey = 60;
  looped.FineTune = 25;
  looped.Looped = true;
  looped.LoopStart = 1000;
  looped.LoopEnd = 3999;
  looped.Frames = 22050;
  SampleInfo oneShot = looped;
  oneShot.Channels = 1;
  oneShot.FineTune = -7;
  oneShot.Looped = false;
  oneShot.Rate = 1000;
  oneShot.Frames = 1;
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

TEST(SampleRows, ValuesCheckedBeforeAnythingIsWritten) {
  SampleInfo before;
  before.Name = "Old";
  before.RootKey = 60;
  before.Frames = 4000;
  const auto with = [](void (*set)(SampleChanges&)) {
    SampleChanges changes;
    set(changes);
    return changes;
  };
  const struct {
    const char* Name;
    SampleChanges Changes;
    const char* Why;  // the start of the reason; empty: accepted
  } cases[] = {
      {"every field", with([](SampleChanges& c) {
         c = ChangesShowing(SampleInfo());
         c.Name = "Strings 27 characters long.";
         c.RootKey = "F#3";
         c.FineTune = "-50";
         c.LoopChange = SampleChanges::Loop::Set;
         c.LoopStart = "0";
         c.LoopEnd = "3999";
       }),
       ""},
      {"name too long", with([](SampleChanges& c) { c.SetName = true, c.Name = std::string(28, 'x'); }), "Name: "},
      {"name with a colon", with([](SampleChanges& c) { c.SetName = true, c.Name = "a:b"; }), "Name: "},
      {"root key", with([](SampleChanges& c) { c.SetRootKey = true, c.RootKey = "200"; }), "Root key: '200'"},
      {"tune above", with([](SampleChanges& c) { c.SetFineTune = true, c.FineTune = "50"; }), "Fine tune: '50'"},
      {"tune not a number", with([](SampleChanges& c) { c.SetFineTune = true, c.FineTune = "1.5"; }), "Fine tune: "},
      {"tuned below C-1",
       with([](SampleChanges& c) { c.SetRootKey = c.SetFineTune = true, c.RootKey = "0", c.FineTune = "-1"; }),
       "Fine tune: a sample on the lowest note"},
      {"loop end past the sample",
       with([](SampleChanges& c) { c.LoopChange = SampleChanges::Loop::Set, c.LoopStart = "0", c.LoopEnd = "4000"; }),
       "Loop end: '4000'"},
      {"loop start empty", with([](SampleChanges& c) { c.LoopChange = SampleChanges::Loop::Set, c.LoopEnd = "9"; }),
       "Loop start: ''"},
      {"loop backwards",
       with([](SampleChanges& c) { c.LoopChange = SampleChanges::Loop::Set, c.LoopStart = "9", c.LoopEnd = "8"; }),
       "Loop end: 8 comes before"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SampleInfo info = before;
    std::string why;
    const bool ok = ApplySampleChanges(c.Changes, info, why);
    EXPECT_EQ(ok, *c.Why == '\0') << why;
    if (!ok) {
      EXPECT_EQ(why.rfind(c.Why, 0), 0u) << why;
      EXPECT_EQ(info.Name, "Old") << "unchanged";
      continue;
    }
    EXPECT_EQ(info.Name, "Strings 27 characters long.");
    EXPECT_EQ(info.RootKey, 54);
    EXPECT_EQ(info.FineTune, -50);
    EXPECT_TRUE(info.Looped && info.LoopStart == 0 && info.LoopEnd == 3999);
  }
  SampleInfo looped = before;
  looped.Looped = true;
  looped.LoopEnd = 5;
  std::string why;
  ASSERT_TRUE(ApplySampleChanges(with([](SampleChanges& c) { c.LoopChange = SampleChanges::Loop::Off; }), looped, why));
  EXPECT_TRUE(!looped.Looped && looped.LoopStart == 0 && looped.LoopEnd == 0) << "no loop is stored as 0-0";
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
