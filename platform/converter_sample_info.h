// SampleInfo as the library's A10SampleInfo and back: one spelling for the
// linked and the loaded library.
#pragma once

#include <cstring>

#include "converter/a10.h"
#include "platform/converter.h"

inline SampleInfo SampleInfoOf(const A10SampleInfo& raw) {
  SampleInfo info;
  info.Name.assign(raw.Name, strnlen(raw.Name, sizeof raw.Name));
  info.Rate = raw.Rate;
  info.Channels = raw.Channels;
  info.RootKey = raw.RootKey;
  info.FineTune = raw.FineTune;
  info.Looped = raw.Looped != 0;
  info.Frames = raw.Frames;
  info.LoopStart = raw.LoopStart;
  info.LoopEnd = raw.LoopEnd;
  return info;
}

// False when a value does not fit the library's fields at all (a name too
// long for them, a key or tune past a byte): the library never sees it.
inline bool A10SampleInfoOf(const SampleInfo& info, A10SampleInfo& raw) {
  std::memset(&raw, 0, sizeof raw);
  if (info.Name.size() >= sizeof raw.Name || info.Channels < 0 || info.Channels > 255 || info.RootKey < 0 ||
      info.RootKey > 255 || info.FineTune < -128 || info.FineTune > 127) {
    return false;
  }
  std::memcpy(raw.Name, info.Name.data(), info.Name.size());
  raw.Rate = info.Rate;
  raw.Channels = static_cast<std::uint8_t>(info.Channels);
  raw.RootKey = static_cast<std::uint8_t>(info.RootKey);
  raw.FineTune = static_cast<std::int8_t>(info.FineTune);
  raw.Looped = info.Looped ? 1 : 0;
  raw.Frames = info.Frames;
  raw.LoopStart = info.LoopStart;
  raw.LoopEnd = info.LoopEnd;
  return true;
}
