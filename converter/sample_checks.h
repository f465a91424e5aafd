// The check of a sample's new properties before a bank is changed: each
// wrong value named, with why.
#pragma once

#include <cstdint>
#include <string>

#include "converter/a10.h"
#include "converter/sample.h"

// False with the reason when info cannot replace the properties of current
// (frames long): rate, channels and frames must stay, every other value
// must lie in the bank format's range. On success, sample holds current's
// properties with info's name, root key, fine tune and loop.
bool CheckSampleInfo(const A10SampleInfo& info, const Sample& current, std::uint32_t frames, Sample& sample,
                     std::string& why);
