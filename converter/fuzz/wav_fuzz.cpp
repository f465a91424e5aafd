// libFuzzer target: any bytes as a WAV file. What parses must be a sample a
// bank can hold, and must read back unchanged from the WAV file written
// for it.
#include <cstdlib>

#include "converter/sample.h"
#include "converter/testing/whole_files.h"
#include "converter/wav_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Sample sample;
  if (!ParseWav(data, size, sample)) {
    return 0;
  }
  if (!SampleValid(sample)) {
    std::abort();
  }
  const std::vector<std::uint8_t> wav = SerializeWav(sample);
  Sample back;
  if (!ParseWav(wav.data(), wav.size(), back) || !SameSample(back, sample)) {
    std::abort();
  }
  return 0;
}
