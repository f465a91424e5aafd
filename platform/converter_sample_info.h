// SampleInfo as the library's A10SampleInfo and back: one spelling for the
// linked and the loaded library.
#pragma once

#include <cstring>
#include <string>
#include <vector>

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

// The seam's list and data calls over the library's ReadSampleInfos and
// ReadSamplePcm, however the program reaches them.
template <typename ReadInfos>
std::int32_t ReadSampleInfosThrough(ReadInfos read, const std::string& path, std::int32_t first, std::int32_t count,
                                    std::vector<SampleInfo>& infos) {
  infos.clear();
  if (count <= 0) {
    return count == 0 ? A10Ok : A10BadIndex;
  }
  std::vector<A10SampleInfo> raw(static_cast<std::size_t>(count));
  const std::int32_t result = read(path.c_str(), first, count, raw.data());
  if (result == A10Ok) {
    for (const A10SampleInfo& one : raw) {
      infos.push_back(SampleInfoOf(one));
    }
  }
  return result;
}

template <typename ReadInfos, typename ReadPcm>
std::int32_t ReadSamplePcmThrough(ReadInfos readInfos, ReadPcm readPcm, const std::string& path, std::int32_t index,
                                  std::vector<std::int16_t>& pcm) {
  pcm.clear();
  A10SampleInfo info;
  std::int32_t result = readInfos(path.c_str(), index, 1, &info);
  if (result != A10Ok) {
    return result;
  }
  pcm.resize(static_cast<std::size_t>(info.Frames) * info.Channels);
  std::uint32_t written = 0;
  result = readPcm(path.c_str(), index, pcm.data(), static_cast<std::uint32_t>(pcm.size()), &written);
  pcm.resize(result == A10Ok ? written : 0);
  return result;
}
