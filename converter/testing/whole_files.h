// The converter's formats as whole files in memory, for the fixture, the
// fuzz targets and the tests: the programs read and write banks and WAV
// files piecewise (converter/a10.cpp) and never link this.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "converter/bank_format.h"
#include "converter/sample.h"
#include "converter/wav_format.h"

// Reads a whole bank file, as ParseBankLayout checks it, with every
// sample's data.
bool ParseBank(const std::uint8_t* data, std::size_t size, Bank& bank);
// The bank file's bytes; false when a sample is not valid or the bank would
// be empty or too large.
bool SerializeBank(const Bank& bank, std::vector<std::uint8_t>& out);
// A 16-bit PCM WAVE file with "fmt ", "data" and "smpl" chunks.
std::vector<std::uint8_t> SerializeWav(const Sample& sample);
// Field-by-field equality.
bool SameSample(const Sample& a, const Sample& b);
