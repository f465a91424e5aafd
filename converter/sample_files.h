// How samples and WAV file names map onto each other.
#pragma once

#include <cstddef>
#include <string>

#include "files/wav_file_name.h"

// "007_Piano.wav": the index zero-padded to at least three digits, more
// when count needs them, so that name order is bank order.
std::string WavFileName(std::size_t index, std::size_t count, const std::string& sampleName);
// The sample name a WAV file gives: the file name without ".wav" and
// without a leading "<digits>_", characters a name may not hold replaced by
// '_', cut to the longest name.
std::string SampleNameOfFile(const std::string& fileName);
