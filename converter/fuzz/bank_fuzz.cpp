// libFuzzer target: any bytes as a bank file. A bank that parses must write
// back to the same bytes, and each of its samples must survive a trip
// through a WAV file unchanged.
#include <cstdlib>
#include <cstring>

#include "converter/bank_format.h"
#include "converter/sample.h"
#include "converter/testing/whole_files.h"
#include "converter/wav_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bank bank;
  if (!ParseBank(data, size, bank)) {
    return 0;
  }
  std::vector<std::uint8_t> out;
  if (!SerializeBank(bank, out) || out.size() != size || std::memcmp(out.data(), data, size) != 0) {
    std::abort();
  }
  for (const Sample& sample : bank.Samples) {
    const std::vector<std::uint8_t> wav = SerializeWav(sample);
    Sample back;
    back.Name = sample.Name;
    if (!ParseWav(wav.data(), wav.size(), back) || !SameSample(back, sample)) {
      std::abort();
    }
  }
  return 0;
}
