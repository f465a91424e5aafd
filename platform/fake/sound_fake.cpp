#include "platform/fake_sound.h"
#include "platform/sound.h"

FakeSoundState& FakeSound() {
  static FakeSoundState state;
  return state;
}

void FakeSoundReset() { FakeSound() = FakeSoundState(); }

bool OpenWaveOutput(std::uint32_t rate, int channels, WaveOutputRef& output, std::string& why) {
  FakeSoundState& fake = FakeSound();
  fake.Calls.push_back("waveOut open " + std::to_string(rate) + " " + std::to_string(channels));
  if (!fake.WaveRefusal.empty() || fake.WaveOpen) {
    why = fake.WaveOpen ? "busy: opened twice" : fake.WaveRefusal;
    return false;
  }
  fake.WaveOpen = true;
  fake.WaveRate = rate;
  fake.WaveChannels = channels;
  fake.WaveSamples.clear();
  output = 1;
  return true;
}

bool WriteWaveOutput(WaveOutputRef, const std::int16_t* samples, std::size_t count, std::string&) {
  FakeSoundState& fake = FakeSound();
  fake.Calls.push_back("waveOut write " + std::to_string(count));
  if (fake.WaveSamples.empty()) {
    fake.WaveStartMs = fake.NowMs;
  }
  fake.WaveSamples.insert(fake.WaveSamples.end(), samples, samples + count);
  return true;
}

bool WaveOutputDone(WaveOutputRef) {
  const FakeSoundState& fake = FakeSound();
  const std::uint64_t frames = fake.WaveSamples.size() / static_cast<std::size_t>(fake.WaveChannels);
  return static_cast<std::uint64_t>(fake.NowMs - fake.WaveStartMs) * fake.WaveRate >= frames * 1000;
}

void CloseWaveOutput(WaveOutputRef) {
  FakeSound().Calls.push_back("waveOut close");
  FakeSound().WaveOpen = false;
}

bool OpenMidiOutput(MidiOutputRef& output, std::string& why) {
  FakeSoundState& fake = FakeSound();
  fake.Calls.push_back("midiOut open");
  if (!fake.MidiRefusal.empty() || fake.MidiOpen) {
    why = fake.MidiOpen ? "busy: opened twice" : fake.MidiRefusal;
    return false;
  }
  fake.MidiOpen = true;
  output = 1;
  return true;
}

bool SendMidiShort(MidiOutputRef, std::uint32_t message, std::string&) {
  const std::uint8_t status = message & 0xFF;
  const std::size_t length = status >= 0xC0 && status < 0xE0 ? 2 : 3;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < length; ++i) {
    bytes.push_back(static_cast<std::uint8_t>(message >> (8 * i)));
  }
  FakeSound().Midi.push_back(FakeMidiMessage{FakeSound().NowMs, bytes});
  return true;
}

bool SendMidiSysEx(MidiOutputRef, const std::vector<std::uint8_t>& bytes, std::string&) {
  FakeSound().Midi.push_back(FakeMidiMessage{FakeSound().NowMs, bytes});
  return true;
}

void CloseMidiOutput(MidiOutputRef) {
  FakeSound().Calls.push_back("midiOut close");
  FakeSound().MidiOpen = false;
}

std::uint32_t SoundClockMs() { return FakeSound().NowMs; }

void SoundSleepMs(std::uint32_t ms) { FakeSound().NowMs += ms; }
