// Little-endian fields in byte buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// 16-bit PCM is kept in memory in its file byte order, so that it is copied
// and written in blocks: every host this builds for is little-endian.
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "16-bit PCM in memory is taken to be little-endian"
#endif

inline std::uint16_t Le16(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | (at[1] << 8)); }

inline std::uint32_t Le32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
         (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

inline void AppendLe16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void AppendLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  AppendLe16(out, value & 0xFFFFu);
  AppendLe16(out, value >> 16);
}

inline void AppendPcm(std::vector<std::uint8_t>& out, const std::vector<std::int16_t>& pcm) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(pcm.data());
  out.insert(out.end(), bytes, bytes + 2 * pcm.size());
}

inline void ReadPcm(const std::uint8_t* from, std::size_t count, std::int16_t* to) {
  if (count != 0) {  // an empty vector's data() may be null, which memcpy must not get
    std::memcpy(to, from, 2 * count);
  }
}

inline void AppendTag(std::vector<std::uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) {
    out.push_back(static_cast<std::uint8_t>(tag[i]));
  }
}
