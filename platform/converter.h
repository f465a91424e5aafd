// The bank converter library a10 (Deconstruct, Construct), chosen at link
// time: tovaro.exe imports it from a10.dll when it loads; a program that must
// run without the library loads a10.dll from its own directory on first use;
// the Linux build calls the native library; tests use a recording fake.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The library's results: 0 for success. ConverterMissing when the library
// cannot be loaded.
constexpr std::int32_t ConverterMissing = -1;
std::int32_t ConverterDeconstruct(const std::string& bankPath);
std::int32_t ConverterConstruct(const std::string& bankPath);
// Why the last call failed, naming the file, as the library says it; empty
// when it said nothing (a library without ProblemText, or a success).
std::string ConverterProblem();
// False, with the reason for a user, when the library cannot be used; the
// two calls then return nonzero without doing anything.
bool ConverterAvailable(std::string& why);

// One sample of a bank (or one sample header of a SoundFont) as the library
// lists it.
struct SampleInfo {
  std::string Name;
  std::uint32_t Rate = 0;
  int Channels = 1;
  int RootKey = 60;
  int FineTune = 0;  // cents
  bool Looped = false;
  std::uint32_t Frames = 0;
  std::uint32_t LoopStart = 0;  // first frame of the loop
  std::uint32_t LoopEnd = 0;    // last frame of the loop (inclusive)
};

// ConverterLacks: the library loaded is older and lacks the export asked for.
constexpr std::int32_t ConverterLacks = -2;
// True when the library has every sample-level export below; the window
// hides what an older a10.dll cannot do.
bool ConverterHasSampleTools();
std::int32_t ConverterSampleCount(const std::string& path, std::int32_t& count);
std::int32_t ConverterReadSampleInfos(const std::string& path, std::int32_t first, std::int32_t count,
                                      std::vector<SampleInfo>& infos);
std::int32_t ConverterReadSamplePcm(const std::string& bankPath, std::int32_t index, std::vector<std::int16_t>& pcm);
std::int32_t ConverterSetSampleInfo(const std::string& bankPath, std::int32_t index, const SampleInfo& info);
// fontSample -1: source is a WAV file; otherwise that sample of a SoundFont.
std::int32_t ConverterReplaceSample(const std::string& bankPath, std::int32_t index, const std::string& sourcePath,
                                    std::int32_t fontSample);
std::int32_t ConverterExportSampleWav(const std::string& bankPath, std::int32_t index, const std::string& wavPath);
std::int32_t ConverterExportSoundFont(const std::string& bankPath, const std::string& fontPath);
// What the last successful Construct took, as the library's BuildReport says.
std::string ConverterBuildReport();
