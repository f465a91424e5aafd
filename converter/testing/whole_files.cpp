#include "converter/testing/whole_files.h"

#include <utility>

#include "converter/le_bytes.h"

bool ParseBank(const std::uint8_t* data, std::size_t size, Bank& bank) {
  Bank parsed;
  std::vector<PcmSpan> spans;
  if (!ParseBankLayout(data, size, parsed, spans)) {
    return false;
  }
  for (std::size_t i = 0; i < spans.size(); ++i) {
    std::vector<std::int16_t>& pcm = parsed.Samples[i].Pcm;
    pcm.resize(spans[i].Bytes / 2);
    ReadPcm(data + spans[i].Offset, pcm.size(), pcm.data());
  }
  bank = std::move(parsed);
  return true;
}

bool SerializeBank(const Bank& bank, std::vector<std::uint8_t>& out) {
  if (!SerializeBankHead(bank, out)) {
    return false;
  }
  for (const Sample& sample : bank.Samples) {
    AppendPcm(out, sample.Pcm);
  }
  return true;
}

std::vector<std::uint8_t> SerializeWav(const Sample& sample) {
  std::vector<std::uint8_t> out;
  std::vector<std::uint8_t> tail;
  WavFileParts(sample, sample.Pcm.size() * 2, out, tail);
  AppendPcm(out, sample.Pcm);
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

bool SameSample(const Sample& a, const Sample& b) {
  return a.Name == b.Name && a.SampleRate == b.SampleRate && a.Channels == b.Channels && a.RootKey == b.RootKey &&
         a.FineTune == b.FineTune && a.Looped == b.Looped && a.LoopStart == b.LoopStart && a.LoopEnd == b.LoopEnd &&
         a.Pcm == b.Pcm;
}
