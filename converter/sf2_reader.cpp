// Reading SoundFont 2 files: the chunk walk, the sample headers and the
// loop mode of the zones that play them.
#include <cstring>

#include "converter/le_bytes.h"
#include "converter/sf2_format.h"

namespace {

constexpr std::size_t HeaderRecord = 46;
constexpr std::size_t InstRecord = 22;
constexpr std::size_t BagRecord = 4;
constexpr std::size_t GenRecord = 4;

struct ChunkAt {
  std::uint64_t Offset = 0;  // of the body
  std::uint64_t Size = 0;
  bool Found = false;
};

bool Tag(const std::uint8_t* at, const char* tag) { return std::memcmp(at, tag, 4) == 0; }

// The chunks from begin to end: id, size, body, pad byte. found(tag, body)
// for each; false when one runs past end.
template <typename Found>
bool WalkChunks(const FontSource& source, std::uint64_t begin, std::uint64_t end, Found found) {
  std::uint64_t at = begin;
  while (at + 8 <= end) {
    std::uint8_t head[8];
    if (!source.Read(at, head, 8)) {
      return false;
    }
    const std::uint64_t size = Le32(head + 4);
    if (size > end - at - 8) {
      return false;
    }
    if (!found(head, ChunkAt{at + 8, size, true})) {
      return false;
    }
    at += 8 + size + (size & 1);
  }
  return true;
}

// A record list read whole: its size a multiple of the record and at least
// one record (the terminal one); the size was checked against the file.
bool ReadRecords(const FontSource& source, const ChunkAt& chunk, std::size_t record, std::vector<std::uint8_t>& out) {
  if (!chunk.Found || chunk.Size % record != 0 || chunk.Size < record) {
    return false;
  }
  out.resize(static_cast<std::size_t>(chunk.Size));
  return source.Read(chunk.Offset, out.data(), out.size());
}

// The loop mode of the first zone playing each sample; a global zone (the
// first of an instrument, without a sample) gives its zones' default.
bool FindLoopModes(const std::vector<std::uint8_t>& inst, const std::vector<std::uint8_t>& ibag,
                   const std::vector<std::uint8_t>& igen, std::vector<FontHeader>& headers, std::string& why) {
  const std::size_t instruments = inst.size() / InstRecord;
  const std::size_t bags = ibag.size() / BagRecord;
  const std::size_t gens = igen.size() / GenRecord;
  for (std::size_t i = 0; i + 1 < instruments; ++i) {
    const std::size_t firstBag = Le16(&inst[i * InstRecord + 20]);
    const std::size_t endBag = Le16(&inst[(i + 1) * InstRecord + 20]);
    if (firstBag > endBag || endBag >= bags) {
      why = "its instrument list points past its zones";
      return false;
    }
    int globalMode = 0;
    for (std::size_t bag = firstBag; bag < endBag; ++bag) {
      const std::size_t firstGen = Le16(&ibag[bag * BagRecord]);
      const std::size_t endGen = Le16(&ibag[(bag + 1) * BagRecord]);
      if (firstGen > endGen || endGen >= gens) {
        why = "its instrument zones point past their generators";
        return false;
      }
      int mode = globalMode;
      long sample = -1;
      for (std::size_t gen = firstGen; gen < endGen; ++gen) {
        const std::uint16_t op = Le16(&igen[gen * GenRecord]);
        const std::uint16_t amount = Le16(&igen[gen * GenRecord + 2]);
        if (op == GenSampleModes) {
          mode = amount & 3;
        } else if (op == GenSampleId) {
          sample = amount;
        }
      }
      if (sample < 0 && bag == firstBag) {
        globalMode = mode;
      } else if (sample >= 0 && static_cast<std::size_t>(sample) < headers.size() &&
                 headers[static_cast<std::size_t>(sample)].LoopMode < 0) {
        headers[static_cast<std::size_t>(sample)].LoopMode = mode;
      }
    }
  }
  return true;
}

}  // namespace

bool MemoryFontSource::Read(std::uint64_t offset, void* to, std::size_t count) const {
  if (offset > size_ || count > size_ - offset) {
    return false;
  }
  if (count != 0) {
    std::memcpy(to, data_ + offset, count);
  }
  return true;
}

bool ParseFontLayout(const FontSource& source, FontLayout& layout, std::string& why) {
  std::uint8_t riff[12];
  if (source.Size() < 12 || !source.Read(0, riff, 12) || !Tag(riff, "RIFF") || !Tag(riff + 8, "sfbk")) {
    why = "it is not a SoundFont (no RIFF sfbk header)";
    return false;
  }
  const std::uint64_t end = 8 + static_cast<std::uint64_t>(Le32(riff + 4));
  if (end > source.Size()) {
    why = "it is cut off: its RIFF size runs past the end of the file";
    return false;
  }
  ChunkAt ifil, smpl, inst, ibag, igen, shdr;
  const bool walked = WalkChunks(source, 12, end, [&](const std::uint8_t* head, const ChunkAt& list) {
    std::uint8_t type[4];
    if (!Tag(head, "LIST") || list.Size < 4 || !source.Read(list.Offset, type, 4)) {
      return true;  // chunks other than the three lists are skipped
    }
    return WalkChunks(source, list.Offset + 4, list.Offset + list.Size, [&](const std::uint8_t* sub, const ChunkAt& c) {
      ChunkAt* slot = nullptr;
      if (Tag(type, "INFO") && Tag(sub, "ifil")) {
        slot = &ifil;
      } else if (Tag(type, "sdta") && Tag(sub, "smpl")) {
        slot = &smpl;
      } else if (Tag(type, "pdta")) {
        slot = Tag(sub, "inst")   ? &inst
               : Tag(sub, "ibag") ? &ibag
               : Tag(sub, "igen") ? &igen
               : Tag(sub, "shdr") ? &shdr
                                  : nullptr;
      }
      if (slot != nullptr && !slot->Found) {
        *slot = c;
      }
      return true;
    });
  });
  if (!walked) {
    why = "it is malformed: a chunk runs past the end of its list";
    return false;
  }
  std::uint8_t version[4] = {};
  if (!ifil.Found || ifil.Size < 4 || !source.Read(ifil.Offset, version, 4)) {
    why = "it has no version (ifil)";
    return false;
  }
  if (Le16(version) != 2) {
    why = "it is a SoundFont of version " + std::to_string(Le16(version)) +
          (Le16(version) == 3 ? " (compressed samples, SF3)" : "") + "; only version 2 is read";
    return false;
  }
  std::vector<std::uint8_t> headers, instruments, bags, gens;
  if (!ReadRecords(source, shdr, HeaderRecord, headers)) {
    why = "it is malformed: its sample headers (shdr) are missing or cut";
    return false;
  }
  FontLayout parsed;
  parsed.SmplOffset = smpl.Offset;
  parsed.SmplBytes = smpl.Found ? smpl.Size : 0;
  const std::size_t count = headers.size() / HeaderRecord - 1;  // the last is the terminal record
  parsed.Headers.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* at = &headers[i * HeaderRecord];
    FontHeader& header = parsed.Headers[i];
    std::size_t length = 0;
    while (length < 20 && at[length] != 0) {
      ++length;
    }
    header.Name.assign(reinterpret_cast<const char*>(at), length);
    header.Start = Le32(at + 20);
    header.End = Le32(at + 24);
    header.StartLoop = Le32(at + 28);
    header.EndLoop = Le32(at + 32);
    header.Rate = Le32(at + 36);
    header.OriginalPitch = at[40];
    header.PitchCorrection = static_cast<std::int8_t>(at[41]);
    header.Link = Le16(at + 42);
    header.Type = Le16(at + 44);
  }
  // The zones matter only for the loop mode: a file without instruments
  // still lists its samples.
  if (inst.Found || ibag.Found || igen.Found) {
    if (!ReadRecords(source, inst, InstRecord, instruments) || !ReadRecords(source, ibag, BagRecord, bags) ||
        !ReadRecords(source, igen, GenRecord, gens)) {
      why = "it is malformed: its instrument lists (inst, ibag, igen) are cut";
      return false;
    }
    std::string bad;
    if (!FindLoopModes(instruments, bags, gens, parsed.Headers, bad)) {
      why = "it is malformed: " + bad;
      return false;
    }
  }
  layout = std::move(parsed);
  return true;
}

Sample FontHeaderProperties(const FontHeader& header, std::uint32_t& frames) {
  Sample sample;
  sample.Name = header.Name.substr(0, SampleNameMax);
  for (char& c : sample.Name) {
    if (!SampleNameCharacter(c)) {
      c = '_';
    }
  }
  sample.SampleRate = header.Rate;
  sample.Channels = 1;
  // A recording the header corrects by c cents lies -c cents off its key.
  int root = header.OriginalPitch <= 127 ? header.OriginalPitch : 60;
  int tune = -header.PitchCorrection;
  while (tune > FineTuneMax && root < 127) {
    tune -= 100;
    ++root;
  }
  while (tune < FineTuneMin && root > 0) {
    tune += 100;
    --root;
  }
  tune = tune > FineTuneMax ? FineTuneMax : tune;
  tune = (tune < 0 && root == 0) ? 0 : (tune < FineTuneMin ? FineTuneMin : tune);
  sample.RootKey = static_cast<std::uint8_t>(root);
  sample.FineTune = static_cast<std::int8_t>(tune);
  frames = header.End > header.Start ? header.End - header.Start : 0;
  const bool loops = header.LoopMode == 1 || header.LoopMode == 3;
  if (loops && header.StartLoop >= header.Start && header.StartLoop < header.EndLoop && header.EndLoop <= header.End) {
    sample.Looped = true;
    sample.LoopStart = header.StartLoop - header.Start;
    sample.LoopEnd = header.EndLoop - header.Start - 1;
  }
  return sample;
}

bool ReadFontSampleData(const FontSource& source, const FontLayout& layout, std::size_t index, Sample& sample,
                        std::string& why) {
  if (index >= layout.Headers.size()) {
    why = "there is no such sample";
    return false;
  }
  const FontHeader& header = layout.Headers[index];
  if ((header.Type & FontRom) != 0) {
    why = "sample " + std::to_string(index) + " is a ROM sample: its sound is not in the file";
    return false;
  }
  if ((header.Type & FontCompressed) != 0) {
    why = "sample " + std::to_string(index) + " is compressed (SF3); only 16-bit samples are read";
    return false;
  }
  std::uint32_t frames = 0;
  Sample read = FontHeaderProperties(header, frames);
  const FontHeader* right = nullptr;
  if ((header.Type & FontLeft) != 0 && header.Link < layout.Headers.size()) {
    const FontHeader& other = layout.Headers[header.Link];
    if ((other.Type & (FontRight | FontRom | FontCompressed)) == FontRight && other.Rate == header.Rate &&
        other.End > other.Start && other.End - other.Start == frames) {
      right = &other;
    }
  }
  const std::uint64_t points = layout.SmplBytes / 2;
  if (frames == 0 || header.End > points || (right != nullptr && right->End > points)) {
    why = "sample " + std::to_string(index) + " lies outside the file's sample data";
    return false;
  }
  if (header.Rate < SampleRateMin || header.Rate > SampleRateMax) {
    why = "sample " + std::to_string(index) + " has the rate " + std::to_string(header.Rate) +
          " Hz; a bank takes 1000 to 384000 Hz";
    return false;
  }
  const std::uint64_t values = static_cast<std::uint64_t>(frames) * (right != nullptr ? 2 : 1);
  if (values > SampleValuesMax) {
    why = "sample " + std::to_string(index) + " is too long for a bank";
    return false;
  }
  std::vector<std::int16_t> left(frames);
  if (!source.Read(layout.SmplOffset + 2ull * header.Start, left.data(), 2ull * frames)) {
    why = "sample " + std::to_string(index) + " cannot be read";
    return false;
  }
  if (right != nullptr) {
    std::vector<std::int16_t> other(frames);
    if (!source.Read(layout.SmplOffset + 2ull * right->Start, other.data(), 2ull * frames)) {
      why = "sample " + std::to_string(index) + " cannot be read";
      return false;
    }
    read.Channels = 2;
    read.Pcm.resize(2ull * frames);
    for (std::size_t i = 0; i < frames; ++i) {
      read.Pcm[2 * i] = left[i];
      read.Pcm[2 * i + 1] = other[i];
    }
  } else {
    read.Pcm = std::move(left);
  }
  sample = std::move(read);
  return true;
}
