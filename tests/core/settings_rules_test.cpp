// The comparison and restart rules of the settings groups, and the voice total.
#include <gtest/gtest.h>

#include "ymf/settings_apply.h"
#include "ymf/voice_limits.h"

namespace {

DriverSettings Stored() {
  DriverSettings s;
  s.ShowWaveout = true;
  s.SRC = true;
  s.LoadUIF = 4;
  s.LoadSpdifIn = 2;
  s.LoadC3D = true;
  s.LoadPower = true;
  s.MaxModVoices = 64;
  s.MaxWodVoices = 24;
  s.MaxDSVoices = 1;
  s.Max3DVoices = 0;
  return s;
}

TEST(PanelRules, OnlyHighQualityModeAndSpdifInputNeedReboot) {
  const DriverSettings stored = Stored();
  const PanelChoices same = ChoicesFromSettings(stored).Panel;
  EXPECT_FALSE(PanelDiffers(same, stored));
  EXPECT_FALSE(PanelNeedsReboot(same, stored));

  struct Case {
    const char* What;
    void (*Change)(PanelChoices&);
    bool Reboot;
  };
  const Case cases[] = {
      {"show wave out", [](PanelChoices& c) { c.ShowWaveout = !c.ShowWaveout; }, false},
      {"show misc", [](PanelChoices& c) { c.ShowMisc = !c.ShowMisc; }, false},
      {"features", [](PanelChoices& c) { c.FeaturesIndex = 2; }, false},
      {"high quality mode", [](PanelChoices& c) { c.SRC = !c.SRC; }, true},
      {"s/pdif input", [](PanelChoices& c) { c.SpdifInIndex = 3; }, true},
      {"s/pdif input to 0", [](PanelChoices& c) { c.SpdifInIndex = 0; }, true},
  };
  for (const Case& test : cases) {
    PanelChoices choices = same;
    test.Change(choices);
    EXPECT_TRUE(PanelDiffers(choices, stored)) << test.What;
    EXPECT_EQ(PanelNeedsReboot(choices, stored), test.Reboot) << test.What;
  }
}

TEST(PanelRules, NoSelectionStandsForTheStoredIndex) {
  DriverSettings stored = Stored();
  stored.LoadUIF = 7;
  stored.LoadSpdifIn = 4;
  const PanelChoices choices = ChoicesFromSettings(stored).Panel;
  EXPECT_EQ(choices.FeaturesIndex, NoSelection);
  EXPECT_EQ(choices.SpdifInIndex, NoSelection);
  EXPECT_FALSE(PanelDiffers(choices, stored));
  EXPECT_FALSE(PanelNeedsReboot(choices, stored));
  EXPECT_EQ(IndexToWrite(NoSelection, 7), 7);
  EXPECT_EQ(IndexToWrite(NoSelection, 255), 255);
  EXPECT_EQ(IndexToWrite(6, 7), 6);
  EXPECT_EQ(IndexToWrite(0, 4), 0);
}

TEST(PanelRules, ListsShowOnlyIndicesTheyHave) {
  EXPECT_EQ(ListSelectionFor(0, FeaturesListCount), 0);
  EXPECT_EQ(ListSelectionFor(4, FeaturesListCount), 4);
  EXPECT_EQ(ListSelectionFor(6, FeaturesListCount), 6);
  EXPECT_EQ(ListSelectionFor(7, FeaturesListCount), NoSelection);
  EXPECT_EQ(ListSelectionFor(3, SpdifInListCount), 3);
  EXPECT_EQ(ListSelectionFor(4, SpdifInListCount), NoSelection);
  EXPECT_EQ(ListSelectionFor(255, SpdifInListCount), NoSelection);
}

TEST(LoadModuleRules, EachBoxIsCompared) {
  const DriverSettings stored = Stored();
  const LoadModuleChoices same = ChoicesFromSettings(stored).Modules;
  EXPECT_FALSE(LoadModulesDiffer(same, stored));
  bool LoadModuleChoices::*const boxes[] = {&LoadModuleChoices::C3D,    &LoadModuleChoices::GamePort,
                                            &LoadModuleChoices::Legacy, &LoadModuleChoices::Spdif,
                                            &LoadModuleChoices::VSVL,   &LoadModuleChoices::Power};
  for (std::size_t i = 0; i < 6; ++i) {
    LoadModuleChoices choices = same;
    choices.*boxes[i] = !(choices.*boxes[i]);
    EXPECT_TRUE(LoadModulesDiffer(choices, stored)) << "box " << i;
  }
}

TEST(VoiceRules, PositionsAreComparedWidenedWithTheirSign) {
  DriverSettings stored = Stored();
  const VoiceChoices same = ChoicesFromSettings(stored).Voices;
  EXPECT_FALSE(VoiceLimitsDiffer(same, stored));
  std::int16_t VoiceChoices::*const counts[] = {&VoiceChoices::Mod, &VoiceChoices::Wod, &VoiceChoices::DS,
                                                &VoiceChoices::DS3D};
  for (std::size_t i = 0; i < 4; ++i) {
    VoiceChoices choices = same;
    choices.*counts[i] = static_cast<std::int16_t>(choices.*counts[i] + 1);
    EXPECT_TRUE(VoiceLimitsDiffer(choices, stored)) << "count " << i;
  }
  stored.Max3DVoices = -1;
  VoiceChoices negative = same;
  negative.DS3D = -1;
  EXPECT_FALSE(VoiceLimitsDiffer(negative, stored));
  stored.Max3DVoices = 0xFFFF;  // same low 16 bits, different number
  EXPECT_TRUE(VoiceLimitsDiffer(negative, stored));
}

TEST(VoiceRules, StoredLimitShowsAsItsLow16BitsSigned) {
  EXPECT_EQ(VoicePositionOf(0), 0);
  EXPECT_EQ(VoicePositionOf(64), 64);
  EXPECT_EQ(VoicePositionOf(-1), -1);
  EXPECT_EQ(VoicePositionOf(0x10005), 5);
  EXPECT_EQ(VoicePositionOf(0x8000), -32768);
  EXPECT_EQ(VoicePositionOf(0x7FFF), 32767);
}

TEST(VoiceTotal, RedOnlyAbove88) {
  const VoiceTotal at = ComputeVoiceTotal("22", "22", "22", "22");
  ASSERT_TRUE(at.Valid);
  EXPECT_EQ(at.Text, "88");
  EXPECT_FALSE(at.OverLimit);

  const VoiceTotal above = ComputeVoiceTotal("64", "24", "1", "0");
  ASSERT_TRUE(above.Valid);
  EXPECT_EQ(above.Text, "89");
  EXPECT_TRUE(above.OverLimit);

  const VoiceTotal full = ComputeVoiceTotal("64", "64", "64", "64");
  EXPECT_EQ(full.Text, "256");
  EXPECT_TRUE(full.OverLimit);

  const VoiceTotal zero = ComputeVoiceTotal("0", "0", "0", "0");
  EXPECT_EQ(zero.Text, "0");
  EXPECT_FALSE(zero.OverLimit);

  const VoiceTotal negative = ComputeVoiceTotal("100", "-20", "+5", "3");
  EXPECT_EQ(negative.Text, "88");
  EXPECT_FALSE(negative.OverLimit);
}

TEST(VoiceTotal, SumDoesNotWrapAround) {
  const VoiceTotal huge = ComputeVoiceTotal("2147483647", "2147483647", "1", "0");
  ASSERT_TRUE(huge.Valid);
  EXPECT_EQ(huge.Text, "4294967295");
  EXPECT_TRUE(huge.OverLimit);
  const VoiceTotal low = ComputeVoiceTotal("-2147483648", "-2147483648", "0", "0");
  EXPECT_EQ(low.Text, "-4294967296");
  EXPECT_FALSE(low.OverLimit);
}

TEST(VoiceTotal, FirstTextThatIsNoNumberIsReported) {
  const VoiceTotal typed = ComputeVoiceTotal("22", "abc", "x", "1");
  EXPECT_FALSE(typed.Valid);
  EXPECT_EQ(typed.Error, "'abc' is not a valid integer value");
  EXPECT_TRUE(typed.Text.empty());

  const VoiceTotal empty = ComputeVoiceTotal("22", "22", "22", "");
  EXPECT_FALSE(empty.Valid);
  EXPECT_EQ(empty.Error, "'' is not a valid integer value");
}

TEST(TextToInteger, AcceptsSignedDecimalAfterLeadingBlanks) {
  const std::pair<const char*, std::int32_t> good[] = {{"0", 0},
                                                       {"64", 64},
                                                       {"007", 7},
                                                       {"+5", 5},
                                                       {"-5", -5},
                                                       {"  12", 12},
                                                       {"\t3", 3},
                                                       {" -0", 0},
                                                       {"2147483647", 2147483647},
                                                       {"-2147483648", -2147483647 - 1}};
  for (const auto& test : good) {
    std::int32_t value = 99;
    EXPECT_TRUE(TextToInteger(test.first, value)) << test.first;
    EXPECT_EQ(value, test.second) << test.first;
  }
  const char* const bad[] = {"",    " ",   "+",   "-",   "12 ", "1 2",        "1.0",         "0x10",
                             "$10", "abc", "+-1", "--1", "1e3", "2147483648", "-2147483649", "99999999999999999999"};
  for (const char* text : bad) {
    std::int32_t value = 99;
    EXPECT_FALSE(TextToInteger(text, value)) << "'" << text << "'";
    EXPECT_EQ(value, 99) << "'" << text << "'";
  }
}

}  // namespace
