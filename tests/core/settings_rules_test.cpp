// The comparison and restart rules of the settings groups, and the voice total.
#include <gtest/gtest.h>

#include <iterator>

#include "app/main_view.h"
#include "app/voice_counts.h"
#include "ymf/settings_apply.h"

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

TEST(GroupRules, EachRowIsComparedInItsGroupAndKnowsWhetherItNeedsARestart) {
  const DriverSettings stored = Stored();
  for (SettingGroup group : SettingGroups) {
    EXPECT_FALSE(GroupDiffers(group, stored, stored));
  }
  // Every row by its registry value name: its group and whether the driver
  // takes a new value only after a restart (the panel's SRC and S/PDIF
  // input, every load module and voice limit).
  struct Case {
    const char* Name;
    SettingGroup Group;
    bool Restart;
  };
  const Case cases[] = {
      {"ShowWaveout", SettingGroup::Panel, false},
      {"ShowMisc", SettingGroup::Panel, false},
      {"SRC", SettingGroup::Panel, true},
      {"LoadUIF", SettingGroup::Panel, false},
      {"LoadC3D", SettingGroup::LoadModules, true},
      {"LoadGamePort", SettingGroup::LoadModules, true},
      {"LoadLegacy", SettingGroup::LoadModules, true},
      {"LoadSpdif", SettingGroup::LoadModules, true},
      {"LoadSpdifIn", SettingGroup::Panel, true},
      {"LoadVSVL", SettingGroup::LoadModules, true},
      {"LoadPower", SettingGroup::LoadModules, true},
      {"MaxModVoices", SettingGroup::VoiceLimits, true},
      {"MaxWodVoices", SettingGroup::VoiceLimits, true},
      {"MaxDSVoices", SettingGroup::VoiceLimits, true},
      {"Max3DVoices", SettingGroup::VoiceLimits, true},
  };
  ASSERT_EQ(std::size(cases), DriverSettingCount);
  for (std::size_t row = 0; row < DriverSettingCount; ++row) {
    const DriverSetting& setting = DriverSettingTable[row];
    const Case& test = cases[row];
    ASSERT_STREQ(setting.Name, test.Name);
    // A flag turned over, an index or a limit one up (an index to 0 as well).
    for (std::int32_t delta : {1, -setting.Get(stored)}) {
      DriverSettings wanted = stored;
      const std::int32_t value =
          setting.Kind == SettingKind::Flag ? 1 - setting.Get(stored) : setting.Get(stored) + delta;
      if (value == setting.Get(stored)) {
        continue;
      }
      setting.Set(wanted, value);
      for (SettingGroup group : SettingGroups) {
        EXPECT_EQ(GroupDiffers(group, wanted, stored), group == test.Group) << test.Name;
      }
      EXPECT_EQ(setting.NeedsRestart, test.Restart) << test.Name;
    }
  }
}

TEST(GroupRules, ListsShowOnlyIndicesTheyHave) {
  EXPECT_EQ(ListSelectionFor(0, FeaturesListCount), 0);
  EXPECT_EQ(ListSelectionFor(4, FeaturesListCount), 4);
  EXPECT_EQ(ListSelectionFor(6, FeaturesListCount), 6);
  EXPECT_EQ(ListSelectionFor(7, FeaturesListCount), NoSelection);
  EXPECT_EQ(ListSelectionFor(3, SpdifInListCount), 3);
  EXPECT_EQ(ListSelectionFor(4, SpdifInListCount), NoSelection);
  EXPECT_EQ(ListSelectionFor(255, SpdifInListCount), NoSelection);
}

TEST(GroupRules, VoiceLimitsAreComparedAsWholeNumbers) {
  DriverSettings stored = Stored();
  stored.Max3DVoices = 0xFFFF;
  DriverSettings wanted = stored;
  wanted.Max3DVoices = -1;  // the same low 16 bits, another number
  EXPECT_TRUE(GroupDiffers(SettingGroup::VoiceLimits, wanted, stored));
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
