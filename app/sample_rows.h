// What the Samples window and 'tovaroc samples' show of a bank's samples,
// and how the values a user types for one sample are read and checked
// against the bank format's ranges before anything is written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/converter.h"

// The ranges of the bank format for one sample.
constexpr std::size_t SampleNameLimit = 27;  // characters
constexpr int RootKeyLowest = 0;             // C-1
constexpr int RootKeyHighest = 127;          // G9
constexpr int FineTuneLowest = -50;          // cents
constexpr int FineTuneHighest = 49;

// The list's columns, left to right.
enum SampleColumn : int {
  IndexColumn,
  NameColumn,
  RateColumn,
  ChannelsColumn,
  RootKeyColumn,
  FineTuneColumn,
  LoopColumn,
  FramesColumn,
  SecondsColumn,
};
constexpr int SampleColumnCount = 9;
extern const char* const SampleColumnTitles[SampleColumnCount];

// A MIDI note as "C4 (60)", note 60 being C4 and 0 C-1; sharps as "C#4".
std::string NoteName(int key);
// The note of "60", "C4", "c#4", "Db4" or "C4 (60)"; false for anything
// else or a note outside 0 to 127.
bool ParseNote(const std::string& text, int& key);
// The index as the extracted WAV file names write it: "007" in a bank of
// up to 1000 samples, "0007" up to 10000, and so on.
std::string SampleIndexText(std::size_t index, std::size_t count);
// One cell of the list: "000", "Piano", "44100", "stereo", "C4 (60)",
// "+25", "1000-3999" or "none", "22050", "0.500".
std::string SampleCellText(const SampleInfo& info, std::size_t index, std::size_t count, int column);

// What a user asks to change in one sample, each field as typed; a field
// whose flag is clear keeps its value.
struct SampleChanges {
  bool SetName = false;
  std::string Name;
  bool SetRootKey = false;
  std::string RootKey;
  bool SetFineTune = false;
  std::string FineTune;
  enum class Loop { Keep, Set, Off } LoopChange = Loop::Keep;
  std::string LoopStart;
  std::string LoopEnd;
};
// The fields of the Properties dialog for a sample as it is: every flag set.
SampleChanges ChangesShowing(const SampleInfo& info);
// Applies the changes to info when every value is inside the format's
// ranges. Otherwise false with `why` naming the value and the reason
// ("Fine tune: '60' is not from -50 to +49 cents. ..."), info unchanged.
bool ApplySampleChanges(const SampleChanges& changes, SampleInfo& info, std::string& why);
