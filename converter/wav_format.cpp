#include "converter/wav_format.h"

#include <cstring>

#include "converter/le_bytes.h"

namespace {

constexpr std::uint16_t FormatPcm = 1;
constexpr std::uint16_t FormatFloat = 3;
constexpr std::uint16_t FormatExtensible = 0xFFFE;
// KSDATAFORMAT_SUBTYPE_PCM and _IEEE_FLOAT share every byte after their
// first 32-bit field, which holds the plain format tag.
const std::uint8_t SubFormatTail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr std::uint32_t SmplHeaderSize = 36;
constexpr std::uint32_t SmplLoopSize = 24;
constexpr std::uint16_t DefaultRootKey = 60;

struct Chunk {
  const std::uint8_t* Data = nullptr;
  std::uint32_t Size = 0;
};

struct Encoding {
  std::uint16_t Format = 0;  // FormatPcm or FormatFloat
  std::uint16_t Channels = 0;
  std::uint32_t SampleRate = 0;
  std::uint16_t Bits = 0;
};

std::int16_t Clamp16(std::int64_t value) {
  return static_cast<std::int16_t>(value < -32768 ? -32768 : (value > 32767 ? 32767 : value));
}

// value / 2^bits, rounded to nearest with halves going up.
std::int16_t RoundShift(std::int64_t value, int bits) {
  const std::int64_t biased = value + (std::int64_t{1} << (bits - 1));
  const std::int64_t unit = std::int64_t{1} << bits;
  const std::int64_t quotient = biased >= 0 ? biased / unit : -((-biased + unit - 1) / unit);
  return Clamp16(quotient);
}

// Full scale 1.0 maps to 32768 (clamped to 32767); halves round away from
// zero; NaN gives 0. x87 arithmetic is enough: the product is exact.
std::int16_t FromFloat(float value) {
  const double scaled = static_cast<double>(value) * 32768.0;
  if (!(scaled == scaled)) {
    return 0;
  }
  if (scaled >= 32767.0) {
    return 32767;
  }
  if (scaled <= -32768.0) {
    return -32768;
  }
  return static_cast<std::int16_t>(static_cast<std::int32_t>(scaled + (scaled >= 0 ? 0.5 : -0.5)));
}

std::int16_t ConvertOne(const std::uint8_t* at, const Encoding& encoding) {
  switch (encoding.Bits) {
    case 8:
      return static_cast<std::int16_t>((at[0] - 128) * 256);
    case 16:
      return static_cast<std::int16_t>(Le16(at));
    case 24: {
      std::int32_t value = at[0] | (at[1] << 8) | (at[2] << 16);
      if (value & 0x800000) {
        value -= 0x1000000;
      }
      return RoundShift(value, 8);
    }
    default: {
      const std::uint32_t raw = Le32(at);
      if (encoding.Format == FormatFloat) {
        float value = 0;
        std::memcpy(&value, &raw, sizeof value);
        return FromFloat(value);
      }
      return RoundShift(static_cast<std::int32_t>(raw), 16);
    }
  }
}

bool ParseFormat(const Chunk& fmt, Encoding& encoding) {
  if (fmt.Size < 16) {
    return false;
  }
  std::uint16_t format = Le16(fmt.Data);
  encoding.Channels = Le16(fmt.Data + 2);
  encoding.SampleRate = Le32(fmt.Data + 4);
  const std::uint16_t blockAlign = Le16(fmt.Data + 12);
  encoding.Bits = Le16(fmt.Data + 14);
  if (format == FormatExtensible) {
    if (fmt.Size < 40 || Le16(fmt.Data + 16) < 22 || std::memcmp(fmt.Data + 28, SubFormatTail, 12) != 0 ||
        Le32(fmt.Data + 24) > 0xFFFFu) {
      return false;
    }
    format = static_cast<std::uint16_t>(Le32(fmt.Data + 24));
  }
  encoding.Format = format;
  const bool pcm =
      format == FormatPcm && (encoding.Bits == 8 || encoding.Bits == 16 || encoding.Bits == 24 || encoding.Bits == 32);
  const bool floats = format == FormatFloat && encoding.Bits == 32;
  return (pcm || floats) && (encoding.Channels == 1 || encoding.Channels == 2) &&
         encoding.SampleRate >= SampleRateMin && encoding.SampleRate <= SampleRateMax &&
         blockAlign == encoding.Channels * (encoding.Bits / 8);
}

// Unity note and pitch fraction give the root key and the fine tune in
// [-50, 49] cents; a pitch that rounds to the next note belongs to it.
bool ParseSmpl(const Chunk& smpl, Sample& sample) {
  if (smpl.Size < SmplHeaderSize) {
    return false;
  }
  const std::uint32_t note = Le32(smpl.Data + 12);
  const std::uint64_t fraction = Le32(smpl.Data + 16);
  const std::uint32_t loops = Le32(smpl.Data + 28);
  if (note > 127 || static_cast<std::uint64_t>(loops) * SmplLoopSize > smpl.Size - SmplHeaderSize) {
    return false;
  }
  const int cents = static_cast<int>((fraction * 100 + (std::uint64_t{1} << 31)) >> 32);
  if (cents < 50) {
    sample.RootKey = static_cast<std::uint8_t>(note);
    sample.FineTune = static_cast<std::int8_t>(cents);
  } else if (note < 127) {
    sample.RootKey = static_cast<std::uint8_t>(note + 1);
    sample.FineTune = static_cast<std::int8_t>(cents - 100);
  } else {
    sample.RootKey = 127;
    sample.FineTune = FineTuneMax;
  }
  if (loops == 0) {
    return true;
  }
  // Only the first loop is kept; one that reaches past the sample is cut
  // at its last frame, one that starts past it is dropped.
  const std::uint8_t* loop = smpl.Data + SmplHeaderSize;
  const std::uint32_t last = sample.Frames() - 1;
  const std::uint32_t start = Le32(loop + 8);
  const std::uint32_t end = Le32(loop + 12) > last ? last : Le32(loop + 12);
  if (start <= end) {
    sample.Looped = true;
    sample.LoopStart = start;
    sample.LoopEnd = end;
  }
  return true;
}

void AppendChunkHeader(std::vector<std::uint8_t>& out, const char* tag, std::uint32_t size) {
  AppendTag(out, tag);
  AppendLe32(out, size);
}

}  // namespace

bool ParseWav(const std::uint8_t* data, std::size_t size, Sample& sample, bool* hasSmpl) {
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
    return false;
  }
  const std::uint32_t riffSize = Le32(data + 4);
  if (riffSize < 4 || riffSize > size - 8) {
    return false;
  }
  const std::size_t end = 8 + static_cast<std::size_t>(riffSize);
  Chunk fmt;
  Chunk pcm;
  Chunk smpl;
  std::size_t at = 12;
  // Chunks are word-aligned; a missing pad byte after the last one is
  // common and allowed, as are stray bytes too few for a chunk header.
  while (end - at >= 8) {
    const std::uint32_t chunkSize = Le32(data + at + 4);
    if (chunkSize > end - at - 8) {
      return false;
    }
    const Chunk chunk{data + at + 8, chunkSize};
    if (std::memcmp(data + at, "fmt ", 4) == 0 && fmt.Data == nullptr) {
      fmt = chunk;
    } else if (std::memcmp(data + at, "data", 4) == 0 && pcm.Data == nullptr) {
      pcm = chunk;
    } else if (std::memcmp(data + at, "smpl", 4) == 0 && smpl.Data == nullptr) {
      smpl = chunk;
    }
    const std::size_t next = at + 8 + chunkSize + (chunkSize & 1);
    if (next >= end) {
      break;
    }
    at = next;
  }
  Encoding encoding;
  if (fmt.Data == nullptr || pcm.Data == nullptr || !ParseFormat(fmt, encoding)) {
    return false;
  }
  const std::size_t frameBytes = static_cast<std::size_t>(encoding.Channels) * (encoding.Bits / 8);
  // A partial frame at the end of the data is left out.
  const std::size_t frames = pcm.Size / frameBytes;
  if (frames == 0) {
    return false;
  }
  Sample parsed;
  parsed.Name = sample.Name;
  parsed.SampleRate = encoding.SampleRate;
  parsed.Channels = static_cast<std::uint8_t>(encoding.Channels);
  parsed.Pcm.resize(frames * encoding.Channels);
  const std::size_t step = encoding.Bits / 8;
  if (encoding.Bits == 16) {
    ReadPcm(pcm.Data, parsed.Pcm.size(), parsed.Pcm.data());
  } else {
    for (std::size_t k = 0; k < parsed.Pcm.size(); ++k) {
      parsed.Pcm[k] = ConvertOne(pcm.Data + step * k, encoding);
    }
  }
  parsed.RootKey = DefaultRootKey;
  if (smpl.Data != nullptr && !ParseSmpl(smpl, parsed)) {
    return false;
  }
  sample = std::move(parsed);
  if (hasSmpl != nullptr) {
    *hasSmpl = smpl.Data != nullptr;
  }
  return true;
}

void WavFileParts(const Sample& sample, std::size_t pcmBytes, std::vector<std::uint8_t>& head,
                  std::vector<std::uint8_t>& tail) {
  const auto dataBytes = static_cast<std::uint32_t>(pcmBytes);
  const std::uint32_t loops = sample.Looped ? 1 : 0;
  const std::uint32_t smplBytes = SmplHeaderSize + loops * SmplLoopSize;
  head.clear();
  AppendChunkHeader(head, "RIFF", 4 + (8 + 16) + (8 + dataBytes) + (8 + smplBytes));
  AppendTag(head, "WAVE");
  AppendChunkHeader(head, "fmt ", 16);
  AppendLe16(head, FormatPcm);
  AppendLe16(head, sample.Channels);
  AppendLe32(head, sample.SampleRate);
  AppendLe32(head, sample.SampleRate * sample.Channels * 2);
  AppendLe16(head, sample.Channels * 2u);
  AppendLe16(head, 16);
  AppendChunkHeader(head, "data", dataBytes);

  // A negative fine tune is written as the note below plus an upward fraction.
  const bool below = sample.FineTune < 0;
  const std::uint64_t cents = below ? 100 + sample.FineTune : sample.FineTune;
  tail.clear();
  AppendChunkHeader(tail, "smpl", smplBytes);
  AppendLe32(tail, 0);                                                          // manufacturer
  AppendLe32(tail, 0);                                                          // product
  AppendLe32(tail, (1000000000u + sample.SampleRate / 2) / sample.SampleRate);  // sample period, ns
  AppendLe32(tail, sample.RootKey - (below ? 1u : 0u));                         // MIDI unity note
  AppendLe32(tail, static_cast<std::uint32_t>(((cents << 32) + 50) / 100));     // pitch fraction
  AppendLe32(tail, 0);                                                          // SMPTE format
  AppendLe32(tail, 0);                                                          // SMPTE offset
  AppendLe32(tail, loops);
  AppendLe32(tail, 0);  // sampler data
  if (sample.Looped) {
    AppendLe32(tail, 0);  // cue point
    AppendLe32(tail, 0);  // forward loop
    AppendLe32(tail, sample.LoopStart);
    AppendLe32(tail, sample.LoopEnd);
    AppendLe32(tail, 0);  // fraction
    AppendLe32(tail, 0);  // endless
  }
}
