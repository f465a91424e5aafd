// The converter library linked into the program: a10.dll imported by name
// when the program loads (the loader refuses to start the program without
// it), or the native library on Linux.
#include "converter/a10.h"
#include "platform/converter.h"
#include "platform/converter_sample_info.h"

std::int32_t ConverterDeconstruct(const std::string& bankPath) { return Deconstruct(bankPath.c_str()); }

std::int32_t ConverterConstruct(const std::string& bankPath) { return Construct(bankPath.c_str()); }

bool ConverterAvailable(std::string& why) {
  why.clear();
  return true;
}

std::string ConverterProblem() { return ProblemText(); }

// A library linked at load time has every export the program was built with.
bool ConverterHasSampleTools() { return true; }

std::int32_t ConverterSampleCount(const std::string& path, std::int32_t& count) {
  return SampleCount(path.c_str(), &count);
}

std::int32_t ConverterReadSampleInfos(const std::string& path, std::int32_t first, std::int32_t count,
                                      std::vector<SampleInfo>& infos) {
  return ReadSampleInfosThrough(ReadSampleInfos, path, first, count, infos);
}

std::int32_t ConverterReadSamplePcm(const std::string& bankPath, std::int32_t index, std::vector<std::int16_t>& pcm) {
  return ReadSamplePcmThrough(ReadSampleInfos, ReadSamplePcm, bankPath, index, pcm);
}

std::int32_t ConverterSetSampleInfo(const std::string& bankPath, std::int32_t index, const SampleInfo& info) {
  A10SampleInfo raw;
  if (!A10SampleInfoOf(info, raw)) {
    return A10BadValue;
  }
  return SetSampleInfo(bankPath.c_str(), index, &raw);
}

std::int32_t ConverterReplaceSample(const std::string& bankPath, std::int32_t index, const std::string& sourcePath,
                                    std::int32_t fontSample) {
  return ReplaceSample(bankPath.c_str(), index, sourcePath.c_str(), fontSample);
}

std::int32_t ConverterExportSampleWav(const std::string& bankPath, std::int32_t index, const std::string& wavPath) {
  return ExportSampleWav(bankPath.c_str(), index, wavPath.c_str());
}

std::int32_t ConverterExportSoundFont(const std::string& bankPath, const std::string& fontPath) {
  return ExportSoundFont(bankPath.c_str(), fontPath.c_str());
}

std::string ConverterBuildReport() { return BuildReport(); }
