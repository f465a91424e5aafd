// RIFF/WAVE files as the converter reads and writes them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "converter/sample.h"

// Reads a WAVE file of 8-, 16-, 24- or 32-bit integer PCM or 32-bit float,
// mono or stereo, also in WAVE_FORMAT_EXTENSIBLE form, into 16-bit samples,
// with the root key, fine tune and first loop of its "smpl" chunk. The name
// is left alone. False for anything else, and for any chunk that runs past
// the end of the data. hasSmpl, when given, tells whether the file had a
// "smpl" chunk (without one the root key is 60, no fine tune, no loop).
bool ParseWav(const std::uint8_t* data, std::size_t size, Sample& sample, bool* hasSmpl = nullptr);
// The bytes of a 16-bit PCM WAVE file with "fmt ", "data" and "smpl" chunks
// before and after the sample's PCM, which takes pcmBytes bytes.
void WavFileParts(const Sample& sample, std::size_t pcmBytes, std::vector<std::uint8_t>& head,
                  std::vector<std::uint8_t>& tail);
