// Writes the fuzz targets' starting corpora: a small bank and WAV files of
// every accepted kind.
//   make_seeds BANK_DIR WAV_DIR
#include <cstdio>
#include <string>

#include "converter/bank_format.h"
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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_seeds BANK_DIR WAV_DIR\n");
    return 2;
  }
  const std::string banks = std::string(argv[1]) + "/";
  const std::string wavs = std::string(argv[2]) + "/";
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
