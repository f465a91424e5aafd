// Little-endian fields in byte buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

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

// 16-bit samples in file order; one resize, then plain stores.
inline void AppendPcm(std::vector<std::uint8_t>& out, const std::vector<std::int16_t>& pcm) {
  const std::size_t at = out.size();
  out.resize(at + 2 * pcm.size());
  std::uint8_t* to = out.data() + at;
  for (std::size_t k = 0; k < pcm.size(); ++k) {
    const auto value = static_cast<std::uint16_t>(pcm[k]);
    to[2 * k] = static_cast<std::uint8_t>(value);
    to[2 * k + 1] = static_cast<std::uint8_t>(value >> 8);
  }
}

inline void AppendTag(std::vector<std::uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) {
    out.push_back(static_cast<std::uint8_t>(tag[i]));
  }
}
