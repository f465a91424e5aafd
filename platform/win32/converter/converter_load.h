// Loading a10.dll at run time, reachable on its own for tests.
#pragma once

#include <string>

#include "converter/a10.h"

struct ConverterEntries {
  A10Function Deconstruct = nullptr;
  A10Function Construct = nullptr;
  // Optional: a library without it reports no reasons.
  const char*(A10_CALL* ProblemText)() = nullptr;
  // The sample-level exports, each optional: an older library lacks them.
  std::int32_t(A10_CALL* SampleCount)(const char*, std::int32_t*) = nullptr;
  std::int32_t(A10_CALL* ReadSampleInfos)(const char*, std::int32_t, std::int32_t, A10SampleInfo*) = nullptr;
  std::int32_t(A10_CALL* ReadSamplePcm)(const char*, std::int32_t, std::int16_t*, std::uint32_t,
                                        std::uint32_t*) = nullptr;
  std::int32_t(A10_CALL* SetSampleInfo)(const char*, std::int32_t, const A10SampleInfo*) = nullptr;
  std::int32_t(A10_CALL* ReplaceSample)(const char*, std::int32_t, const char*, std::int32_t) = nullptr;
  std::int32_t(A10_CALL* ExportSampleWav)(const char*, std::int32_t, const char*) = nullptr;
  std::int32_t(A10_CALL* ExportSoundFont)(const char*, const char*) = nullptr;
  const char*(A10_CALL* BuildReport)() = nullptr;
};

// Loads the library at dllPath and finds both functions by name; false with
// a sentence for the user naming the path otherwise. The library stays
// loaded for the rest of the process. The optional exports it lacks stay
// null.
bool LoadConverter(const std::string& dllPath, ConverterEntries& entries, std::string& why);
// True when every sample-level export was found.
bool HasSampleTools(const ConverterEntries& entries);
