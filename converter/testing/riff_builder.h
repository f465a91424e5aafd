// WAVE files put together chunk by chunk, well-formed or not.
#pragma once

#include <cstdint>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

struct SmplLoop {
  std::uint32_t Start = 0;
  std::uint32_t End = 0;
};

// A chunk: tag, size (the body's unless given), body, pad byte when odd.
Bytes Chunk(const char* tag, const Bytes& body);
Bytes ChunkWithSize(const char* tag, std::uint32_t size, const Bytes& body);
// "RIFF", the size of what follows, "WAVE", the chunks.
Bytes Riff(const std::vector<Bytes>& chunks);
// A "fmt " body; extensible writes WAVE_FORMAT_EXTENSIBLE with the format
// as the sub-format's tag.
Bytes FmtBody(std::uint16_t format, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
              bool extensible = false);
Bytes SmplBody(std::uint32_t note, std::uint32_t fraction, const std::vector<SmplLoop>& loops, std::uint32_t loopCount);
Bytes SmplBody(std::uint32_t note, std::uint32_t fraction, const std::vector<SmplLoop>& loops);
// A plain WAVE file of the given sample bytes.
Bytes SimpleWav(std::uint16_t format, std::uint16_t channels, std::uint16_t bits, const Bytes& data,
                bool extensible = false);
Bytes Le32Bytes(std::uint32_t value);
Bytes FloatBytes(const std::vector<float>& values);
