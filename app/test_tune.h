// The test tune: after the bank was switched and Windows restarted, it lets
// the user hear that the synthesizer plays the bank. It goes out through
// the MIDI output as a schedule of timed messages, which the window steps
// through on a timer and tovaroc with waits: XG System On, 50 ms of quiet,
// a phrase of five seconds on piano, strings, bass and drums, then all notes
// off on every channel it used, and the device is closed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

extern const char* const TestTuneFailed;  // "Cannot play the test tune"

struct TuneEvent {
  std::uint32_t AtMs;               // from the start of the tune
  std::vector<std::uint8_t> Bytes;  // a channel message, or a system-exclusive one F0 ... F7
};

// The whole schedule, in the order it is sent.
const std::vector<TuneEvent>& TestTuneEvents();

// Opens the MIDI output and sends what is due at once. False, with the
// reason for a user, when no MIDI output takes it; nothing is sent then.
// A tune already playing is stopped first.
bool StartTestTune(std::string& why);
// Sends every message that is due by now. True while the tune goes on, with
// waitMs the time until the next message is due. False once it has ended
// and the device is closed: why is empty when it played to its end, else
// the reason a message could not be sent.
bool StepTestTune(std::uint32_t& waitMs, std::string& why);
// Ends the tune early: all notes off on every channel it uses, then the
// device is closed. Nothing happens when no tune is playing.
void StopTestTune();
bool TestTunePlaying();
