// The four voice limits: the range the driver takes for each.
#pragma once

#include <cstdint>

// Range of each count (and of its spin button).
constexpr std::int16_t VoiceCountMin = 0;
constexpr std::int16_t VoiceCountMax = 64;
