#include "app/test_tune.h"

#include <algorithm>

#include "platform/sound.h"

const char* const TestTuneFailed = "Cannot play the test tune";

namespace {

// MIDI channels as sent (0 based): the drums are channel 10.
constexpr std::uint8_t Piano = 0;
constexpr std::uint8_t Strings = 1;
constexpr std::uint8_t Bass = 2;
constexpr std::uint8_t Drums = 9;
const std::uint8_t UsedChannels[] = {Piano, Strings, Bass, Drums};

// The synthesizer needs a moment after XG System On before it takes more.
constexpr std::uint32_t QuietMs = 50;
constexpr std::uint32_t EighthMs = 250;  // 120 beats a minute
constexpr std::uint32_t PhraseMs = 16 * EighthMs;
constexpr std::uint32_t FinalMs = 1000;  // the last chord rings this long

struct Note {
  std::uint8_t Channel;
  std::uint8_t Key;
  std::uint8_t Velocity;
  std::uint32_t AtMs;  // from the start of the phrase
  std::uint32_t LengthMs;
};

std::vector<std::uint8_t> Message(std::uint8_t status, std::uint8_t first, std::uint8_t second) {
  return {status, first, second};
}

std::vector<TuneEvent> BuildTune() {
  std::vector<TuneEvent> tune;
  tune.push_back(TuneEvent{0, {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7}});
  // GM program numbers: Acoustic Grand Piano, String Ensemble 1, Fingered Bass.
  const std::uint8_t programs[][2] = {{Piano, 0}, {Strings, 48}, {Bass, 33}};
  for (const auto& program : programs) {
    tune.push_back(TuneEvent{QuietMs, {static_cast<std::uint8_t>(0xC0 | program[0]), program[1]}});
    tune.push_back(TuneEvent{QuietMs, Message(static_cast<std::uint8_t>(0xB0 | program[0]), 7, 100)});
  }
  // C, A minor, F, G: a chord a second, then C again to end on.
  const std::uint8_t chords[][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}, {60, 64, 67}};
  std::vector<Note> notes;
  for (std::uint32_t bar = 0; bar < 5; ++bar) {
    const std::uint8_t* chord = chords[bar];
    const std::uint32_t at = bar * 4 * EighthMs;
    const bool last = bar == 4;
    const std::uint32_t length = last ? FinalMs : 4 * EighthMs;
    for (int i = 0; i < 3; ++i) {
      notes.push_back(Note{Strings, chord[i], 70, at, length - 10});
    }
    notes.push_back(Note{Bass, static_cast<std::uint8_t>(chord[0] - 24), 100, at, last ? FinalMs : 2 * EighthMs - 20});
    if (last) {
      for (int i = 0; i < 3; ++i) {
        notes.push_back(Note{Piano, static_cast<std::uint8_t>(chord[i] + 12), 90, at, FinalMs});
      }
      notes.push_back(Note{Drums, 36, 110, at, 100});  // bass drum
      notes.push_back(Note{Drums, 49, 100, at, 100});  // crash cymbal
      break;
    }
    notes.push_back(Note{Bass, static_cast<std::uint8_t>(chord[2] - 24), 90, at + 2 * EighthMs, 2 * EighthMs - 20});
    // The piano runs up and down the chord in eighths.
    const std::uint8_t run[] = {chord[0], chord[1], chord[2], static_cast<std::uint8_t>(chord[0] + 12)};
    for (std::uint32_t eighth = 0; eighth < 4; ++eighth) {
      notes.push_back(
          Note{Piano, static_cast<std::uint8_t>(run[eighth] + 12), 85, at + eighth * EighthMs, EighthMs - 10});
      notes.push_back(Note{Drums, 42, 70, at + eighth * EighthMs, 100});  // closed hi-hat
    }
    notes.push_back(Note{Drums, 36, 110, at, 100});                 // bass drum
    notes.push_back(Note{Drums, 38, 110, at + 2 * EighthMs, 100});  // snare
  }
  const std::uint32_t phraseStart = QuietMs + 10;
  std::vector<TuneEvent> phrase;
  for (const Note& note : notes) {
    phrase.push_back(TuneEvent{phraseStart + note.AtMs,
                               Message(static_cast<std::uint8_t>(0x90 | note.Channel), note.Key, note.Velocity)});
    phrase.push_back(TuneEvent{phraseStart + note.AtMs + note.LengthMs,
                               Message(static_cast<std::uint8_t>(0x80 | note.Channel), note.Key, 64)});
  }
  // In time order; at one time the note-offs first, so that a key struck
  // again is not cut off by its own release.
  std::stable_sort(phrase.begin(), phrase.end(), [](const TuneEvent& a, const TuneEvent& b) {
    return a.AtMs != b.AtMs ? a.AtMs < b.AtMs : (a.Bytes[0] & 0xF0) < (b.Bytes[0] & 0xF0);
  });
  tune.insert(tune.end(), phrase.begin(), phrase.end());
  const std::uint32_t end = phraseStart + PhraseMs + FinalMs;
  for (std::uint8_t channel : UsedChannels) {
    tune.push_back(TuneEvent{end, Message(static_cast<std::uint8_t>(0xB0 | channel), 123, 0)});
  }
  return tune;
}

MidiOutputRef Output = 0;
std::uint32_t StartMs = 0;
std::size_t Next = 0;

bool Send(const std::vector<std::uint8_t>& bytes, std::string& why) {
  if (bytes[0] == 0xF0) {
    return SendMidiSysEx(Output, bytes, why);
  }
  std::uint32_t message = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    message |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
  }
  return SendMidiShort(Output, message, why);
}

void Close() {
  CloseMidiOutput(Output);
  Output = 0;
}

}  // namespace

const std::vector<TuneEvent>& TestTuneEvents() {
  static const std::vector<TuneEvent> tune = BuildTune();
  return tune;
}

bool StartTestTune(std::string& why) {
  StopTestTune();
  if (!OpenMidiOutput(Output, why)) {
    Output = 0;
    return false;
  }
  // XG System On (the first event) goes out at once; the quiet after it
  // counts from when it went out, since the synthesizer resets on it.
  if (!Send(TestTuneEvents().front().Bytes, why)) {
    Close();
    return false;
  }
  StartMs = SoundClockMs();
  Next = 1;
  std::uint32_t waitMs = 0;
  return StepTestTune(waitMs, why) || why.empty();
}

bool StepTestTune(std::uint32_t& waitMs, std::string& why) {
  why.clear();
  if (Output == 0) {
    return false;
  }
  const std::vector<TuneEvent>& tune = TestTuneEvents();
  const std::uint32_t elapsed = SoundClockMs() - StartMs;
  for (; Next < tune.size() && tune[Next].AtMs <= elapsed; ++Next) {
    if (!Send(tune[Next].Bytes, why)) {
      Close();
      return false;
    }
  }
  if (Next == tune.size()) {
    Close();
    return false;
  }
  waitMs = tune[Next].AtMs - elapsed;
  return true;
}

void StopTestTune() {
  if (Output == 0) {
    return;
  }
  std::string ignored;
  for (std::uint8_t channel : UsedChannels) {
    Send(Message(static_cast<std::uint8_t>(0xB0 | channel), 123, 0), ignored);
  }
  Close();
}

bool TestTunePlaying() { return Output != 0; }
