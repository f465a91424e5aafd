// Sound out of the machine: 16-bit PCM through the default wave output and
// MIDI through the MIDI mapper (winmm's waveOut* and midiOut* on Windows; a
// recording fake in the tests). Nothing here waits for the sound: the
// device plays on its own while the caller polls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using WaveOutputRef = std::intptr_t;  // 0: none open
using MidiOutputRef = std::intptr_t;  // 0: none open

// Opens the default wave output (the wave mapper) for 16-bit PCM of a rate
// and 1 or 2 channels. False, with the reason for a user, when there is no
// output, it refuses the format or another program holds it.
bool OpenWaveOutput(std::uint32_t rate, int channels, WaveOutputRef& output, std::string& why);
// Queues interleaved samples behind what is queued already. They must stay
// where they are until WaveOutputDone says so or the output is closed.
bool WriteWaveOutput(WaveOutputRef output, const std::int16_t* samples, std::size_t count, std::string& why);
// True once everything queued has been played.
bool WaveOutputDone(WaveOutputRef output);
// Stops at once (what is queued is dropped), releases the buffers and closes.
void CloseWaveOutput(WaveOutputRef output);

// Opens the MIDI mapper, or the first MIDI output when there is no mapper.
// False, with the reason for a user, when there is no MIDI output or it is busy.
bool OpenMidiOutput(MidiOutputRef& output, std::string& why);
// A channel message: status byte in the low byte, then the data bytes.
bool SendMidiShort(MidiOutputRef output, std::uint32_t message, std::string& why);
// A system-exclusive message, F0 to F7 included; the bytes are copied.
bool SendMidiSysEx(MidiOutputRef output, const std::vector<std::uint8_t>& bytes, std::string& why);
// Releases what was sent and closes.
void CloseMidiOutput(MidiOutputRef output);

// Milliseconds from an arbitrary start, for timing what is sent; wraps
// after 49 days, so compare differences.
std::uint32_t SoundClockMs();
// Waits, for a console program's pacing (the window uses a timer instead).
void SoundSleepMs(std::uint32_t ms);
