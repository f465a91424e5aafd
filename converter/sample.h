// One instrument sample as the converter keeps it between a bank and a WAV file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr std::size_t SampleNameMax = 27;  // characters; the bank stores 28 bytes, NUL-padded
constexpr std::uint32_t SampleRateMin = 1000;
constexpr std::uint32_t SampleRateMax = 384000;
constexpr int FineTuneMin = -50;  // cents
constexpr int FineTuneMax = 49;
// 16-bit values of one sample: it must fit a bank file below 2 GB.
constexpr std::size_t SampleValuesMax = 0x3FFFFFFF;

struct Sample {
  std::string Name;
  std::uint32_t SampleRate = 22050;
  std::uint8_t Channels = 1;  // 1 or 2; stereo frames are interleaved left, right
  std::uint8_t RootKey = 60;  // MIDI note played at the recorded pitch
  std::int8_t FineTune = 0;   // cents above (or below) the root key
  bool Looped = false;
  std::uint32_t LoopStart = 0;  // first frame of the loop
  std::uint32_t LoopEnd = 0;    // last frame of the loop (inclusive)
  std::vector<std::int16_t> Pcm;

  std::uint32_t Frames() const { return Channels == 0 ? 0 : static_cast<std::uint32_t>(Pcm.size() / Channels); }
};

// A character a sample name may hold: printable ASCII that Windows allows in
// file names, so that every name survives as part of a WAV file name.
// A table, so that a directory of 65535 names is checked in less time than
// it takes to read it.
struct SampleNameCharacters {
  bool Allowed[256] = {};
  constexpr SampleNameCharacters() {
    for (int c = 0x20; c <= 0x7E; ++c) {
      Allowed[c] =
          c != '\\' && c != '/' && c != ':' && c != '*' && c != '?' && c != '"' && c != '<' && c != '>' && c != '|';
    }
  }
};
inline constexpr SampleNameCharacters SampleNameTable;
inline bool SampleNameCharacter(char c) { return SampleNameTable.Allowed[static_cast<unsigned char>(c)]; }
// True when every field is inside the range the bank format allows for a
// sample of this many frames (at least one).
bool SampleFieldsValid(const Sample& sample, std::uint64_t frames);
// The same without the name.
bool SampleNumbersValid(const Sample& sample, std::uint64_t frames);
// The same for the frames that Pcm holds, which must be whole.
bool SampleValid(const Sample& sample);
// A WAV editor that drops the "smpl" chunk (sox, plain libsndfile writers)
// must not cost the sample its pitch and loop: root key and fine tune come
// from the sample it replaces, the loop only while it still fits the new
// length.
void KeepPitchAndLoop(const Sample& previous, Sample& sample);
