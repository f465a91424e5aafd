// Writing a bank as a SoundFont 2 file: one instrument and one preset per
// bank sample, the sample headers of its channels, every terminal record.
// Zones carry no key range: without one a zone plays every key, and each
// generator saved keeps the 16-bit generator indices in reach of larger
// banks.

#include <utility>

#include "converter/le_bytes.h"
#include "converter/sf2_format.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t FontNameMax = 20;
constexpr std::uint16_t GenPan = 17;
constexpr std::uint16_t GenInstrument = 41;
constexpr std::uint16_t LoopContinuously = 1;
constexpr std::uint16_t PanLeft = static_cast<std::uint16_t>(-500);  // 0.1 % units: hard left
constexpr std::uint16_t PanRight = 500;

void AppendName(Bytes& out, const std::string& name) {
  const std::size_t at = out.size();
  out.insert(out.end(), name.begin(), name.end());
  out.resize(at + FontNameMax, 0);
}

void AppendGen(Bytes& out, std::uint16_t op, std::uint16_t amount) {
  AppendLe16(out, op);
  AppendLe16(out, amount);
}

// "tag", size, body, pad byte.
void AppendChunk(Bytes& out, const char* tag, const Bytes& body) {
  AppendTag(out, tag);
  AppendLe32(out, static_cast<std::uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() % 2 != 0) {
    out.push_back(0);
  }
}

// A text chunk of INFO: NUL-terminated, padded to an even size.
Bytes Text(const std::string& text) {
  Bytes body(text.begin(), text.end());
  body.push_back(0);
  if (body.size() % 2 != 0) {
    body.push_back(0);
  }
  return body;
}

Bytes List(const char* type, const Bytes& chunks) {
  Bytes body;
  AppendTag(body, type);
  body.insert(body.end(), chunks.begin(), chunks.end());
  Bytes out;
  AppendChunk(out, "LIST", body);
  return out;
}

// Each channel's sample header: the points it takes in the sample data.
void AppendHeader(Bytes& out, const std::string& name, std::uint32_t start, std::uint32_t frames, const Sample& sample,
                  std::uint16_t link, std::uint16_t type) {
  AppendName(out, name);
  AppendLe32(out, start);
  AppendLe32(out, start + frames);  // the first point after the sample
  // A one-shot sample keeps its loop points on the sample's own bounds.
  AppendLe32(out, sample.Looped ? start + sample.LoopStart : start);
  AppendLe32(out, sample.Looped ? start + sample.LoopEnd + 1 : start + frames);  // the first point after the loop
  AppendLe32(out, sample.SampleRate);
  out.push_back(sample.RootKey);
  // The header's correction is what playback applies: the opposite of how
  // far the recording lies above its root key.
  out.push_back(static_cast<std::uint8_t>(static_cast<std::int8_t>(-sample.FineTune)));
  AppendLe16(out, link);
  AppendLe16(out, type);
}

// The names given out so far: a hash set of its own, as the shipped i686
// runtime's containers of the standard library use instructions a Pentium
// MMX lacks.
class NameSet {
 public:
  explicit NameSet(std::size_t most) {
    std::size_t capacity = 16;
    while (capacity < 2 * most) {
      capacity *= 2;
    }
    slots_.resize(capacity);
  }
  // False when the name was there already.
  bool Insert(const std::string& name) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (char c : name) {
      hash = (hash ^ static_cast<std::uint8_t>(c)) * 16777619u;
    }
    for (std::size_t at = hash & (slots_.size() - 1);; at = (at + 1) & (slots_.size() - 1)) {
      if (!slots_[at].first) {
        slots_[at] = {true, name};
        return true;
      }
      if (slots_[at].second == name) {
        return false;
      }
    }
  }

 private:
  std::vector<std::pair<bool, std::string>> slots_;
};

}  // namespace

std::vector<std::string> UniqueFontNames(const std::vector<std::string>& names) {
  std::vector<std::string> out;
  NameSet taken(names.size());
  for (const std::string& name : names) {
    std::string unique = name.substr(0, FontNameMax);
    for (std::size_t n = 2; !taken.Insert(unique); ++n) {
      const std::string suffix = "~" + std::to_string(n);
      unique = name.substr(0, FontNameMax - suffix.size()) + suffix;
    }
    out.push_back(unique);
  }
  return out;
}

bool PlanSoundFont(const std::vector<Sample>& samples, const std::vector<std::uint32_t>& frames,
                   const std::string& title, std::vector<std::uint8_t>& head, std::vector<std::uint8_t>& tail) {
  if (samples.empty() || samples.size() != frames.size() || samples.size() > 0xFFFF) {
    return false;
  }
  std::vector<std::string> sampleNames;
  std::vector<std::string> bankNames;
  for (const Sample& sample : samples) {
    const std::string name = sample.Name.empty() ? "Sample" : sample.Name;
    bankNames.push_back(name);
    if (sample.Channels == 2) {
      sampleNames.push_back(name.substr(0, FontNameMax - 2) + "_L");
      sampleNames.push_back(name.substr(0, FontNameMax - 2) + "_R");
    } else {
      sampleNames.push_back(name);
    }
  }
  sampleNames = UniqueFontNames(sampleNames);
  bankNames = UniqueFontNames(bankNames);
  if (sampleNames.size() >= 0xFFFF) {
    return false;  // each stereo sample takes two headers; their indices are 16-bit
  }

  Bytes phdr, pbag, pgen, inst, ibag, igen, shdr;
  std::uint64_t point = 0;  // in the sample data, of the next channel
  std::size_t header = 0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const Sample& sample = samples[i];
    AppendName(phdr, bankNames[i]);
    AppendLe16(phdr, static_cast<std::uint32_t>(i % 128));  // program
    AppendLe16(phdr, static_cast<std::uint32_t>(i / 128));  // bank
    AppendLe16(phdr, static_cast<std::uint32_t>(i));        // its one zone
    AppendLe32(phdr, 0);
    AppendLe32(phdr, 0);
    AppendLe32(phdr, 0);
    AppendLe16(pbag, static_cast<std::uint32_t>(pgen.size() / 4));
    AppendLe16(pbag, 0);
    AppendGen(pgen, GenInstrument, static_cast<std::uint16_t>(i));

    AppendName(inst, bankNames[i]);
    AppendLe16(inst, static_cast<std::uint32_t>(ibag.size() / 4));
    for (std::size_t channel = 0; channel < sample.Channels; ++channel) {
      const std::size_t self = header + channel;
      AppendLe16(ibag, static_cast<std::uint32_t>(igen.size() / 4));
      AppendLe16(ibag, 0);
      if (sample.Channels == 2) {
        AppendGen(igen, GenPan, channel == 0 ? PanLeft : PanRight);
      }
      if (sample.Looped) {
        AppendGen(igen, GenSampleModes, LoopContinuously);
      }
      AppendGen(igen, GenSampleId, static_cast<std::uint16_t>(self));  // it must come last
      const std::uint16_t type = sample.Channels == 1 ? FontMono : (channel == 0 ? FontLeft : FontRight);
      const std::size_t link = sample.Channels == 1 ? 0 : (channel == 0 ? self + 1 : self - 1);
      if (point + frames[i] + FontZeroFrames > 0xFFFFFFFFu) {
        return false;
      }
      AppendHeader(shdr, sampleNames[self], static_cast<std::uint32_t>(point), frames[i], sample,
                   static_cast<std::uint16_t>(link), type);
      point += frames[i] + FontZeroFrames;
    }
    header += sample.Channels;
  }
  // The terminal records: "EOP", "EOI", "EOS", and a bag, a generator and
  // a modulator of zeros after the last of each.
  AppendName(phdr, "EOP");
  AppendLe16(phdr, 0);
  AppendLe16(phdr, 0);
  AppendLe16(phdr, static_cast<std::uint32_t>(samples.size()));
  AppendLe32(phdr, 0);
  AppendLe32(phdr, 0);
  AppendLe32(phdr, 0);
  AppendLe16(pbag, static_cast<std::uint32_t>(pgen.size() / 4));
  AppendLe16(pbag, 0);
  AppendGen(pgen, 0, 0);
  AppendName(inst, "EOI");
  AppendLe16(inst, static_cast<std::uint32_t>(ibag.size() / 4));
  AppendLe16(ibag, static_cast<std::uint32_t>(igen.size() / 4));
  AppendLe16(ibag, 0);
  AppendGen(igen, 0, 0);
  AppendName(shdr, "EOS");
  shdr.resize(shdr.size() + 26, 0);
  const Bytes modulators(10, 0);

  // Bag and generator indices are 16-bit: the terminal record's is the largest.
  if (ibag.size() > 0x10000 * 4ull || pgen.size() > 0x10000 * 4ull || igen.size() > 0x10000 * 4ull) {
    return false;
  }
  Bytes pdta;
  AppendTag(pdta, "pdta");
  AppendChunk(pdta, "phdr", phdr);
  AppendChunk(pdta, "pbag", pbag);
  AppendChunk(pdta, "pmod", modulators);
  AppendChunk(pdta, "pgen", pgen);
  AppendChunk(pdta, "inst", inst);
  AppendChunk(pdta, "ibag", ibag);
  AppendChunk(pdta, "imod", modulators);
  AppendChunk(pdta, "igen", igen);
  AppendChunk(pdta, "shdr", shdr);
  tail.clear();
  AppendTag(tail, "LIST");
  AppendLe32(tail, static_cast<std::uint32_t>(pdta.size()));
  tail.insert(tail.end(), pdta.begin(), pdta.end());

  Bytes info;
  AppendChunk(info, "ifil", Bytes{2, 0, 1, 0});  // version 2.01
  AppendChunk(info, "isng", Text("EMU8000"));
  AppendChunk(info, "INAM", Text(title.substr(0, 255)));
  AppendChunk(info, "ISFT", Text("Tovaro a10"));
  const Bytes infoList = List("INFO", info);
  const std::uint64_t smplBytes = point * 2;
  const std::uint64_t riffSize = 4 + infoList.size() + 12 + 8 + smplBytes + tail.size();
  if (riffSize > 0xFFFFFFFFu) {
    return false;
  }
  head.clear();
  AppendTag(head, "RIFF");
  AppendLe32(head, static_cast<std::uint32_t>(riffSize));
  AppendTag(head, "sfbk");
  head.insert(head.end(), infoList.begin(), infoList.end());
  AppendTag(head, "LIST");
  AppendLe32(head, static_cast<std::uint32_t>(4 + 8 + smplBytes));
  AppendTag(head, "sdta");
  AppendTag(head, "smpl");
  AppendLe32(head, static_cast<std::uint32_t>(smplBytes));
  return true;
}
