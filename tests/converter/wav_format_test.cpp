// How WAV files of every accepted kind become 16-bit samples, and what the
// "smpl" chunk gives.
#include <gtest/gtest.h>

#include <limits>

#include "converter/testing/riff_builder.h"
#include "converter/wav_format.h"

namespace {

using Values = std::vector<std::int16_t>;

struct Conversion {
  const char* Case;
  Bytes Wav;
  std::uint8_t Channels;
  Values Expected;
};

Bytes Ints24(const std::vector<std::int32_t>& values) {
  Bytes out;
  for (std::int32_t v : values) {
    for (int i = 0; i < 3; ++i) {
      out.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
    }
  }
  return out;
}

Bytes Ints32(const std::vector<std::int64_t>& values) {
  Bytes out;
  for (std::int64_t v : values) {
    const Bytes one = Le32Bytes(static_cast<std::uint32_t>(v));
    out.insert(out.end(), one.begin(), one.end());
  }
  return out;
}

const float NaN = std::numeric_limits<float>::quiet_NaN();

// Rounding is to nearest with halves going up for integers and away from
// zero for floats; float full scale is 32768, clamped.
const Conversion Conversions[] = {
    {"8-bit unsigned", SimpleWav(1, 1, 8, Bytes{0x00, 0x80, 0xFF, 0x7F}), 1, {-32768, 0, 32512, -256}},
    {"16-bit stereo",
     SimpleWav(1, 2, 16, Bytes{0x01, 0x00, 0xFF, 0xFF, 0x00, 0x80, 0xFF, 0x7F, 0x09}),
     2,
     {1, -1, -32768, 32767}},
    {"24-bit",
     SimpleWav(1, 1, 24, Ints24({0x7FFFFF, 0x80, 0x7F, -0x80, -0x81, -0x800000, 0x17F})),
     1,
     {32767, 1, 0, 0, -1, -32768, 1}},
    {"24-bit extensible stereo", SimpleWav(1, 2, 24, Ints24({0x123456, -0x123456}), true), 2, {0x1234, -0x1234}},
    {"32-bit",
     SimpleWav(1, 1, 32, Ints32({0x7FFFFFFF, 0x8000, 0x7FFF, -0x8000, -0x8001, -0x80000000LL})),
     1,
     {32767, 1, 0, 0, -1, -32768}},
    {"float",
     SimpleWav(3, 1, 32, FloatBytes({1.0f, -1.0f, 0.5f, 1.0f / 65536, -1.0f / 65536, 2.0f, -3.0f, NaN})),
     1,
     {32767, -32768, 16384, 1, -1, 32767, -32768, 0}},
    {"float extensible", SimpleWav(3, 1, 32, FloatBytes({0.25f, -0.25f}), true), 1, {8192, -8192}},
};

TEST(WavFormat, ConvertsEveryAcceptedKindTo16Bit) {
  for (const Conversion& conversion : Conversions) {
    SCOPED_TRACE(conversion.Case);
    Sample sample;
    sample.Name = "kept";
    ASSERT_TRUE(ParseWav(conversion.Wav.data(), conversion.Wav.size(), sample));
    EXPECT_EQ(sample.Name, "kept");
    EXPECT_EQ(sample.Channels, conversion.Channels);
    EXPECT_EQ(sample.SampleRate, 22050u);
    EXPECT_EQ(sample.Pcm, conversion.Expected);
  }
}

struct SmplCase {
  const char* Case;
  Bytes Smpl;  // empty: no "smpl" chunk
  std::uint8_t RootKey;
  std::int8_t FineTune;
  bool Looped;
  std::uint32_t LoopStart;
  std::uint32_t LoopEnd;
};

// Ten frames. The pitch fraction counts upward from the unity note; a
// fraction of half a semitone or more belongs to the next note.
const SmplCase SmplCases[] = {
    {"no smpl chunk", {}, 60, 0, false, 0, 0},
    {"quarter semitone up", SmplBody(61, 0x40000000, {}), 61, 25, false, 0, 0},
    {"half semitone up", SmplBody(61, 0x80000000, {}), 62, -50, false, 0, 0},
    {"almost a semitone up", SmplBody(0, 0xFFFFFFFF, {}), 1, 0, false, 0, 0},
    {"half semitone above the top note", SmplBody(127, 0x80000000, {}), 127, 49, false, 0, 0},
    {"loop", SmplBody(60, 0, {{2, 7}}), 60, 0, true, 2, 7},
    {"first of two loops", SmplBody(60, 0, {{1, 3}, {4, 8}}), 60, 0, true, 1, 3},
    {"loop past the end is cut", SmplBody(60, 0, {{4, 99}}), 60, 0, true, 4, 9},
    {"loop starting past the end is dropped", SmplBody(60, 0, {{10, 12}}), 60, 0, false, 0, 0},
    {"reversed loop is dropped", SmplBody(60, 0, {{5, 4}}), 60, 0, false, 0, 0},
};

TEST(WavFormat, SmplChunkGivesRootKeyFineTuneAndFirstLoop) {
  for (const SmplCase& c : SmplCases) {
    SCOPED_TRACE(c.Case);
    std::vector<Bytes> chunks = {Chunk("fmt ", FmtBody(1, 1, 44100, 16)), Chunk("data", Bytes(20, 0))};
    if (!c.Smpl.empty()) {
      chunks.push_back(Chunk("smpl", c.Smpl));
    }
    const Bytes wav = Riff(chunks);
    Sample sample;
    ASSERT_TRUE(ParseWav(wav.data(), wav.size(), sample));
    EXPECT_EQ(sample.RootKey, c.RootKey);
    EXPECT_EQ(sample.FineTune, c.FineTune);
    EXPECT_EQ(sample.Looped, c.Looped);
    EXPECT_EQ(sample.LoopStart, c.LoopStart);
    EXPECT_EQ(sample.LoopEnd, c.LoopEnd);
  }
  Bytes badNote =
      Riff({Chunk("fmt ", FmtBody(1, 1, 44100, 16)), Chunk("data", Bytes(20, 0)), Chunk("smpl", SmplBody(128, 0, {}))});
  Sample sample;
  EXPECT_FALSE(ParseWav(badNote.data(), badNote.size(), sample));
}

}  // namespace
