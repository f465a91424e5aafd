// Changing one sample of a bank in place, and writing a bank's samples out
// as a WAV file or a SoundFont, through the converter library. The library
// writes every changed bank as a whole new file renamed over the old one
// and keeps its signature byte; these operations add the checks of the
// bank editor and refresh the set's size table afterwards. Nothing here
// shows a message; the window and tovaroc say why a false result failed
// (the converter's ConverterProblem, or their own checks).
#pragma once

#include <cstdint>
#include <string>

#include "platform/converter.h"

// True when a sample edit may write the bank: neither the bank nor its size
// table (the bank's last character made '3') is a protected file, and the
// bank's folder is not the driver's or a Backup folder.
bool SampleEditAllowed(const std::string& bankPath);
// Sets name, root key, fine tune and loop of sample `index` (rate, channels
// and frames as the bank holds them), then writes the size table. False,
// calling nothing, when SampleEditAllowed says no; false with the bank as it
// was when the library refuses or fails.
bool SetSampleProperties(const std::string& bankPath, std::int32_t index, const SampleInfo& info);
// Replaces sample `index`'s sound with a WAV file (fontSample -1) or with
// sample fontSample of a SoundFont, then writes the size table; false as
// SetSampleProperties.
bool ReplaceBankSample(const std::string& bankPath, std::int32_t index, const std::string& sourcePath,
                       std::int32_t fontSample);
// Writes sample `index` as a WAV file, or the whole bank as a SoundFont 2
// file. False, writing nothing, when the target is a protected file, is in
// a protected folder or is the bank itself.
bool ExportBankSampleWav(const std::string& bankPath, std::int32_t index, const std::string& wavPath);
bool ExportBankSoundFont(const std::string& bankPath, const std::string& fontPath);
