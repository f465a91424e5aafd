// SoundFont 2 files on disk for the exports: listing their sample headers
// and reading one sample, with the converter's results and reasons.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "converter/sample.h"

// True when the file starts as a SoundFont ("RIFF" ... "sfbk").
bool LooksLikeSoundFont(const std::string& path);

struct FontSampleInfo {
  Sample Properties;  // no data
  std::uint32_t Frames = 0;
};
// Every sample header (A10NotAFile, A10NotAFont with the reason otherwise).
std::int32_t ReadFontSampleList(const std::string& path, std::vector<FontSampleInfo>& samples);
// Sample index with its data (A10BadIndex, A10NotAFont for a ROM or
// compressed sample or one a bank cannot hold).
std::int32_t ReadFontSample(const std::string& path, std::int32_t index, Sample& sample);
