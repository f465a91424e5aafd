#include "app/voice_counts.h"

#include <initializer_list>

std::int16_t VoicePositionOf(std::int32_t limit) {
  const std::uint16_t low = static_cast<std::uint16_t>(static_cast<std::uint32_t>(limit) & 0xFFFFu);
  return low < 0x8000u ? static_cast<std::int16_t>(low) : static_cast<std::int16_t>(static_cast<int>(low) - 0x10000);
}

bool TextToInteger(const std::string& text, std::int32_t& value) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
    ++pos;
  }
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  if (pos == text.size()) {
    return false;
  }
  // Accumulate the magnitude; 2147483648 is allowed only with a minus sign.
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c < '0' || c > '9') {
      return false;
    }
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit) {
      return false;
    }
  }
  value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
  return true;
}

std::string InvalidIntegerMessage(const std::string& text) { return "'" + text + "' is not a valid integer value"; }

VoiceTotal ComputeVoiceTotal(const std::string& midi, const std::string& waveOut, const std::string& directSound,
                             const std::string& directSound3D) {
  VoiceTotal total;
  std::int64_t sum = 0;
  for (const std::string* text : {&midi, &waveOut, &directSound, &directSound3D}) {
    std::int32_t count = 0;
    if (!TextToInteger(*text, count)) {
      total.Error = InvalidIntegerMessage(*text);
      return total;
    }
    sum += count;
  }
  total.Valid = true;
  total.Text = std::to_string(sum);
  total.OverLimit = sum > VoiceTotalLimit;
  return total;
}
