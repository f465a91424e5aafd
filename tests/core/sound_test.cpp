// The sample preview and the test tune, through the recording sound double:
// what reached the wave output and the MIDI output, and when.
#include <gtest/gtest.h>

#include <set>

#include "app/sample_sound.h"
#include "app/test_tune.h"
#include "platform/fake_sound.h"

namespace {

std::vector<std::int16_t> Ramp(std::size_t count) {
  std::vector<std::int16_t> values;
  for (std::size_t i = 0; i < count; ++i) {
    values.push_back(static_cast<std::int16_t>(i));
  }
  return values;
}

SampleInfo Sample(std::uint32_t rate, int channels, std::uint32_t frames, bool looped = false, std::uint32_t start = 0,
                  std::uint32_t end = 0) {
  return SampleInfo{"", rate, channels, 60, 0, looped, frames, start, end};
}

TEST(PlaySampleSound, PlaysTheWholeSampleWithItsLoopRepeatedForThreeSeconds) {
  const struct {
    const char* Name;
    SampleInfo Info;
    std::size_t Values;  // given, a ramp 0, 1, 2, ...
    std::vector<std::int16_t> Played;
  } cases[] = {
      {"one shot, mono", Sample(8000, 1, 5), 5, {0, 1, 2, 3, 4}},
      // 4 Hz: three seconds are 12 frames, six passes of the 2-frame loop.
      {"loop 2-3 of 6 frames", Sample(4, 1, 6, true, 2, 3), 6, {0, 1, 2, 3, 2, 3, 2, 3, 2, 3, 2, 3, 2, 3, 4, 5}},
      {"stereo loop 1-1 at 2 Hz", Sample(2, 2, 3, true, 1, 1), 6, {0, 1, 2, 3, 2, 3, 2, 3, 2, 3, 2, 3, 2, 3, 4, 5}},
      {"loop longer than three seconds sounds twice", Sample(1, 1, 5, true, 0, 3), 5, {0, 1, 2, 3, 0, 1, 2, 3, 4}},
      {"loop to the last frame", Sample(1, 1, 3, true, 1, 2), 3, {0, 1, 2, 1, 2}},
  };
  for (const auto& c : cases) {
    FakeSoundReset();
    std::string why;
    ASSERT_TRUE(PlaySampleSound(c.Info, Ramp(c.Values), why)) << c.Name << ": " << why;
    EXPECT_EQ(FakeSound().WaveRate, c.Info.Rate) << c.Name;
    EXPECT_EQ(FakeSound().WaveChannels, c.Info.Channels) << c.Name;
    EXPECT_EQ(FakeSound().WaveSamples, c.Played) << c.Name;
    StopSampleSound();
    EXPECT_FALSE(FakeSound().WaveOpen) << c.Name;
  }
}

TEST(PlaySampleSound, RefusesWhatItCannotPlayAndLeavesNoDeviceOpen) {
  const struct {
    const char* Name;
    SampleInfo Info;
    std::size_t Values;
    const char* Refusal;  // the device's
    const char* Reason;   // a part of what the user is told
    bool Opened;
  } cases[] = {
      {"data shorter than the header says", Sample(22050, 2, 4), 7, "", "does not match its length", false},
      {"loop past the end", Sample(22050, 1, 4, true, 1, 4), 4, "", "lies outside its 4 frames", false},
      {"loop start after its end", Sample(22050, 1, 4, true, 3, 2), 4, "", "loop 3-2", false},
      {"empty", Sample(22050, 1, 0), 0, "", "empty", false},
      {"three channels", Sample(22050, 3, 1), 3, "", "3 channels", false},
      {"device refuses", Sample(384000, 1, 4), 4, "The wave output cannot play", "The wave output cannot play", true},
  };
  for (const auto& c : cases) {
    FakeSoundReset();
    FakeSound().WaveRefusal = c.Refusal;
    std::string why;
    EXPECT_FALSE(PlaySampleSound(c.Info, Ramp(c.Values), why)) << c.Name;
    EXPECT_NE(why.find(c.Reason), std::string::npos) << c.Name << ": " << why;
    EXPECT_EQ(FakeSound().Calls.size(), c.Opened ? 1u : 0u) << c.Name;
    EXPECT_FALSE(FakeSound().WaveOpen || SampleSoundPlaying()) << c.Name;
  }
}

TEST(PlaySampleSound, PlayingUntilTheSoundHasEndedThenTheDeviceIsLetGo) {
  FakeSoundReset();
  std::string why;
  // 1000 frames at 1000 Hz: one second.
  ASSERT_TRUE(PlaySampleSound(Sample(1000, 1, 1000), Ramp(1000), why)) << why;
  FakeSound().NowMs += 999;
  EXPECT_TRUE(SampleSoundPlaying());
  FakeSound().NowMs += 1;
  EXPECT_FALSE(SampleSoundPlaying());
  EXPECT_FALSE(FakeSound().WaveOpen);
  // A second play replaces the first at once.
  ASSERT_TRUE(PlaySampleSound(Sample(1000, 1, 1000), Ramp(1000), why));
  ASSERT_TRUE(PlaySampleSound(Sample(2000, 1, 10), Ramp(10), why)) << why;
  EXPECT_EQ(FakeSound().Calls, (std::vector<std::string>{"waveOut open 1000 1", "waveOut write 1000", "waveOut close",
                                                         "waveOut open 1000 1", "waveOut write 1000", "waveOut close",
                                                         "waveOut open 2000 1", "waveOut write 10"}));
  StopSampleSound();
}

// Plays the tune to its end as tovaroc does, waiting as long as it says.
void PlayWholeTune() {
  std::string why;
  ASSERT_TRUE(StartTestTune(why)) << why;
  std::uint32_t wait = 0;
  while (StepTestTune(wait, why)) {
    ASSERT_GT(wait, 0u);
    FakeSound().NowMs += wait;
  }
  ASSERT_EQ(why, "");
}

TEST(TestTune, SystemOnThenQuietThenAPhraseOnFourInstrumentsThenAllNotesOff) {
  FakeSoundReset();
  PlayWholeTune();
  const std::vector<FakeMidiMessage>& sent = FakeSound().Midi;
  ASSERT_GT(sent.size(), 20u);
  const std::uint32_t start = sent.front().AtMs;
  EXPECT_EQ(sent.front().Bytes, (std::vector<std::uint8_t>{0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7}));
  EXPECT_GE(sent[1].AtMs - start, 50u) << "quiet after XG System On";
  EXPECT_LE(sent[1].AtMs - start, 100u);
  std::set<std::uint32_t> programs;  // channel * 128 + program
  std::set<int> sounding[16];        // keys down per channel
  std::set<int> played;              // channels with notes
  for (std::size_t i = 1; i < sent.size(); ++i) {
    const std::vector<std::uint8_t>& m = sent[i].Bytes;
    ASSERT_NE(m[0], 0xF0) << i;
    const int kind = m[0] & 0xF0;
    const int channel = m[0] & 0x0F;
    EXPECT_GE(sent[i].AtMs, sent[i - 1].AtMs) << i;
    if (kind == 0xC0) {
      programs.insert(static_cast<std::uint32_t>(channel * 128 + m[1]));
      EXPECT_TRUE(played.empty()) << "program change " << i << " after the first note";
    } else if (kind == 0x90 && m[2] > 0) {
      EXPECT_TRUE(sounding[channel].insert(m[1]).second) << "key struck twice without release at " << i;
      played.insert(channel);
    } else if (kind == 0x80) {
      EXPECT_EQ(sounding[channel].erase(m[1]), 1u) << "release of a key not down at " << i;
    }
  }
  // Piano, strings and fingered bass (GM 1, 49, 34), drums on channel 10.
  EXPECT_EQ(programs, (std::set<std::uint32_t>{0 * 128 + 0, 1 * 128 + 48, 2 * 128 + 33}));
  EXPECT_EQ(played, (std::set<int>{0, 1, 2, 9}));
  for (const std::set<int>& keys : sounding) {
    EXPECT_TRUE(keys.empty());
  }
  const std::uint32_t length = sent.back().AtMs - start;
  EXPECT_GE(length, 3000u);
  EXPECT_LE(length, 8000u);
  std::set<int> allNotesOff;
  for (std::size_t i = sent.size() - 4; i < sent.size(); ++i) {
    EXPECT_EQ(sent[i].Bytes[1], 123) << "all notes off";
    EXPECT_EQ(sent[i].AtMs, sent.back().AtMs);
    allNotesOff.insert(sent[i].Bytes[0]);
  }
  EXPECT_EQ(allNotesOff, (std::set<int>{0xB0, 0xB1, 0xB2, 0xB9}));
  EXPECT_EQ(FakeSound().Calls, (std::vector<std::string>{"midiOut open", "midiOut close"}));
}

TEST(TestTune, StoppedEarlyReleasesEveryChannelAndClosesWithoutAnOutputSaysWhy) {
  FakeSoundReset();
  std::string why;
  ASSERT_TRUE(StartTestTune(why));
  std::uint32_t wait = 0;
  FakeSound().NowMs += 1000;
  ASSERT_TRUE(StepTestTune(wait, why));
  const std::size_t before = FakeSound().Midi.size();
  StopTestTune();
  EXPECT_FALSE(TestTunePlaying());
  ASSERT_EQ(FakeSound().Midi.size(), before + 4);
  for (std::size_t i = before; i < before + 4; ++i) {
    EXPECT_EQ(FakeSound().Midi[i].Bytes[1], 123);
  }
  EXPECT_EQ(FakeSound().Calls.back(), "midiOut close");

  FakeSoundReset();
  FakeSound().MidiRefusal = "No MIDI output is installed.";
  EXPECT_FALSE(StartTestTune(why));
  EXPECT_EQ(why, "No MIDI output is installed.");
  EXPECT_FALSE(TestTunePlaying());
  EXPECT_TRUE(FakeSound().Midi.empty());
}

}  // namespace
