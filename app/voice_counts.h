// The voice counts as the window and tovaroc read them: the text of a count
// field, the advisory total of the Voices tab and when it turns red.
#pragma once

#include <cstdint>
#include <string>

#include "ymf/voice_limits.h"

// The total above which the total field turns red; 88 itself is normal.
constexpr std::int64_t VoiceTotalLimit = 88;
// A stored limit as a spin position: the low 16 bits, taken as signed.
std::int16_t VoicePositionOf(std::int32_t limit);

// Converts a count field's text to an integer the way the window's edits
// expect: leading blanks (spaces, tabs) are skipped, then an optional '+' or
// '-' and at least one decimal digit, and nothing after the digits (a
// trailing blank is an error). The value must fit a signed 32-bit number.
// Returns false and leaves `value` alone for any other text.
bool TextToInteger(const std::string& text, std::int32_t& value);

// "'<text>' is not a valid integer value".
std::string InvalidIntegerMessage(const std::string& text);

// The outcome of recomputing the total from the four count texts.
struct VoiceTotal {
  bool Valid = false;      // all four texts converted
  std::string Text;        // the sum as decimal text (when Valid)
  bool OverLimit = false;  // the sum is above VoiceTotalLimit (when Valid)
  std::string Error;       // the conversion message for the first bad text (when not Valid)
};

// Converts the MIDI, Wave Out, Direct Sound and Direct Sound 3D texts in this
// order and adds them. The sum is exact (no 32-bit wrap-around). When a text
// does not convert, the window keeps the total's previous text and colour
// and reports Error.
VoiceTotal ComputeVoiceTotal(const std::string& midi, const std::string& waveOut, const std::string& directSound,
                             const std::string& directSound3D);
