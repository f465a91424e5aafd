// The sample-level bank editor operations as the Samples window and
// tovaroc run them: each checks what it can before anything is written and
// says why it failed in words for the user (the converter's own reason
// when the converter refused).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/converter.h"

// Why the sample tools cannot be used (no converter, or an older a10.dll
// without them); empty when they can.
std::string SampleToolsMissing();
// Every sample of a bank or SoundFont, from its directory alone.
bool ReadSampleList(const std::string& path, std::vector<SampleInfo>& samples, std::string& why);
// Writes name, root key, fine tune and loop of sample `index` of the bank.
bool ChangeSample(const std::string& bank, std::int32_t index, const SampleInfo& info, std::string& why);
// Replaces sample `index` with a WAV file (fontSample -1) or sample
// fontSample of a SoundFont.
bool ReplaceSampleWith(const std::string& bank, std::int32_t index, const std::string& source, std::int32_t fontSample,
                       std::string& why);
bool ExportSampleTo(const std::string& bank, std::int32_t index, const std::string& wavPath, std::string& why);
bool ExportFontTo(const std::string& bank, const std::string& fontPath, std::string& why);

// What a build took, from the converter's report ("new\tx.wav",
// "kept\ty.wav", "changed\t3" lines), one sentence a line: "New samples
// from x.wav.", "3 samples changed.", "Kept root key, fine tune and loop
// (no smpl chunk): y.wav."; empty for an empty report. Lists longer than
// namesShown end in "and 5 more" (0: every name).
std::vector<std::string> BuildReportLines(const std::string& report, std::size_t namesShown);
