#include "converter/testing/riff_builder.h"

#include <cstring>

#include "converter/le_bytes.h"

Bytes ChunkWithSize(const char* tag, std::uint32_t size, const Bytes& body) {
  Bytes out;
  AppendTag(out, tag);
  AppendLe32(out, size);
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() % 2 != 0) {
    out.push_back(0);
  }
  return out;
}

Bytes Chunk(const char* tag, const Bytes& body) {
  return ChunkWithSize(tag, static_cast<std::uint32_t>(body.size()), body);
}

Bytes Riff(const std::vector<Bytes>& chunks) {
  Bytes body;
  AppendTag(body, "WAVE");
  for (const Bytes& chunk : chunks) {
    body.insert(body.end(), chunk.begin(), chunk.end());
  }
  return Chunk("RIFF", body);
}

Bytes FmtBody(std::uint16_t format, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, bool extensible) {
  const std::uint32_t block = channels * bits / 8u;
  Bytes out;
  AppendLe16(out, extensible ? 0xFFFE : format);
  AppendLe16(out, channels);
  AppendLe32(out, rate);
  AppendLe32(out, rate * block);
  AppendLe16(out, block);
  AppendLe16(out, bits);
  if (extensible) {
    static const std::uint8_t tail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    AppendLe16(out, 22);                     // cbSize
    AppendLe16(out, bits);                   // valid bits
    AppendLe32(out, channels == 2 ? 3 : 4);  // channel mask
    AppendLe32(out, format);                 // the sub-format GUID's first field
    out.insert(out.end(), tail, tail + 12);
  }
  return out;
}

Bytes SmplBody(std::uint32_t note, std::uint32_t fraction, const std::vector<SmplLoop>& loops,
               std::uint32_t loopCount) {
  Bytes out;
  for (std::uint32_t field : {0u, 0u, 45351u, note, fraction, 0u, 0u, loopCount, 0u}) {
    AppendLe32(out, field);
  }
  for (const SmplLoop& loop : loops) {
    for (std::uint32_t field : {0u, 0u, loop.Start, loop.End, 0u, 0u}) {
      AppendLe32(out, field);
    }
  }
  return out;
}

Bytes SmplBody(std::uint32_t note, std::uint32_t fraction, const std::vector<SmplLoop>& loops) {
  return SmplBody(note, fraction, loops, static_cast<std::uint32_t>(loops.size()));
}

Bytes SimpleWav(std::uint16_t format, std::uint16_t channels, std::uint16_t bits, const Bytes& data, bool extensible) {
  return Riff({Chunk("fmt ", FmtBody(format, channels, 22050, bits, extensible)), Chunk("data", data)});
}

Bytes Le32Bytes(std::uint32_t value) {
  Bytes out;
  AppendLe32(out, value);
  return out;
}

Bytes FloatBytes(const std::vector<float>& values) {
  Bytes out;
  for (float value : values) {
    std::uint32_t raw = 0;
    std::memcpy(&raw, &value, sizeof raw);
    AppendLe32(out, raw);
  }
  return out;
}
