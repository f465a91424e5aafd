// The test double behind sound.h: a clock the test moves, scripted
// refusals, and a record of everything sent to the devices.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FakeMidiMessage {
  std::uint32_t AtMs;
  std::vector<std::uint8_t> Bytes;  // a channel message's 2 or 3 bytes, or F0 ... F7
};

struct FakeSoundState {
  std::uint32_t NowMs = 1000;  // SoundSleepMs moves it on
  std::string WaveRefusal;     // when set, opening the wave output fails with it
  std::string MidiRefusal;     // the same for the MIDI output
  // "waveOut open RATE CHANNELS", "waveOut write COUNT", "waveOut close",
  // "midiOut open", "midiOut close", in order.
  std::vector<std::string> Calls;
  std::uint32_t WaveRate = 0;
  int WaveChannels = 0;
  std::vector<std::int16_t> WaveSamples;  // everything written since the last open
  std::uint32_t WaveStartMs = 0;          // when the first write came
  std::vector<FakeMidiMessage> Midi;
  bool WaveOpen = false;
  bool MidiOpen = false;
};

FakeSoundState& FakeSound();
void FakeSoundReset();
