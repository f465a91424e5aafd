// Writes the fuzz targets' starting corpora: a small bank, WAV files of
// every accepted kind and the bank as a SoundFont.
//   make_seeds BANK_DIR WAV_DIR FONT_DIR
#include <cstdio>
#include <string>

#include "converter/bank_format.h"
#include "converter/le_bytes.h"
#include "converter/sf2_format.h"
#include "converter/testing/riff_builder.h"
#include "converter/testing/whole_files.h"
#include "converter/wav_format.h"

namespace {

bool Write(const std::string& path, const Bytes& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    return false;
  }
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

// The bank as ExportSoundFont writes it: each channel, then zero frames.
Bytes Font(const Bank& bank) {
  std::vector<std::uint32_t> frames;
  for (const Sample& sample : bank.Samples) {
    frames.push_back(sample.Frames());
  }
  Bytes head;
  Bytes tail;
  if (!PlanSoundFont(bank.Samples, frames, "seed", head, tail)) {
    return Bytes();
  }
  for (const Sample& sample : bank.Samples) {
    for (std::size_t channel = 0; channel < sample.Channels; ++channel) {
      for (std::size_t i = channel; i < sample.Pcm.size(); i += sample.Channels) {
        AppendLe16(head, static_cast<std::uint16_t>(sample.Pcm[i]));
      }
      head.resize(head.size() + 2 * FontZeroFrames, 0);
    }
  }
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_seeds BANK_DIR WAV_DIR FONT_DIR\n");
    return 2;
  }
  const std::string banks = std::string(argv[1]) + "/";
  const std::string wavs = std::string(argv[2]) + "/";
  const std::string fonts = std::string(argv[3]) + "/";
  Bank bank;
  Sample mono;
  mono.Name = "Lead";
  mono.RootKey = 64;
  mono.FineTune = -7;
  mono.Looped = true;
  mono.LoopStart = 1;
  mono.LoopEnd = 3;
  mono.Pcm = {0, 1000, -1000, 32767};
  Sample stereo;
  stereo.Name = "Pad";
  stereo.Channels = 2;
  stereo.SampleRate = 44100;
  stereo.Pcm = {1, 2, 3, 4};
  bank.Samples = {mono, stereo};
  Bytes bankBytes;
  bool ok = SerializeBank(bank, bankBytes) && Write(banks + "two_samples", bankBytes);
  ok = ok && Write(fonts + "two_samples.sf2", Font(bank));
  ok = ok && Write(wavs + "pcm16_smpl", SerializeWav(mono));
  ok = ok && Write(wavs + "pcm8", SimpleWav(1, 1, 8, Bytes{0, 128, 255, 1}));
  ok = ok && Write(wavs + "pcm24_stereo", SimpleWav(1, 2, 24, Bytes(12, 0x40)));
  ok = ok && Write(wavs + "pcm32", SimpleWav(1, 1, 32, Bytes(8, 0x11)));
  ok = ok && Write(wavs + "float", SimpleWav(3, 2, 32, FloatBytes({0.5f, -0.5f, 1.5f, 0.0f})));
  ok = ok && Write(wavs + "extensible24", SimpleWav(1, 1, 24, Bytes(9, 0x7F), true));
  if (!ok) {
    std::fprintf(stderr, "make_seeds: cannot write the corpora\n");
    return 1;
  }
  return 0;
}
