// libFuzzer target: any bytes as a SoundFont. Every header must give
// properties a bank can hold (when its rate and length fit a bank), and
// every sample that reads must be a valid bank sample of that length.
#include <cstdlib>

#include "converter/sample.h"
#include "converter/sf2_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const MemoryFontSource source(data, size);
  FontLayout layout;
  std::string why;
  if (!ParseFontLayout(source, layout, why)) {
    return 0;
  }
  for (std::size_t i = 0; i < layout.Headers.size() && i < 64; ++i) {
    const FontHeader& header = layout.Headers[i];
    std::uint32_t frames = 0;
    const Sample properties = FontHeaderProperties(header, frames);
    const bool fits =
        frames > 0 && frames <= SampleValuesMax && header.Rate >= SampleRateMin && header.Rate <= SampleRateMax;
    if (fits && !SampleFieldsValid(properties, frames)) {
      std::abort();
    }
    Sample sample;
    if (ReadFontSampleData(source, layout, i, sample, why) && (!SampleValid(sample) || sample.Frames() != frames)) {
      std::abort();
    }
  }
  return 0;
}
