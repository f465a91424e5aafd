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
  infos.clear();
  if (count <= 0) {
    return count == 0 ? A10Ok : A10BadIndex;
  }
  std::vector<A10SampleInfo> raw(static_cast<std::size_t>(count));
  const std::int32_t result = ReadSampleInfos(path.c_str(), first, count, raw.data());
  if (result == A10Ok) {
    for (const A10SampleInfo& one : raw) {
      infos.push_back(SampleInfoOf(one));
    }
  }
  return result;
}

std::int32_t ConverterReadSamplePcm(const std::string& bankPath, std::int32_t index, std::vector<std::int16_t>& pcm) {
  pcm.clear();
  A10SampleInfo info;
  std::int32_t result = ReadSampleInfos(bankPath.c_str(), index, 1, &info);
  if (result != A10Ok) {
    return result;
  }
  pcm.resize(static_cast<std::size_t>(info.Frames) * info.Channels);
  std::uint32_t written = 0;
  result = ReadSamplePcm(bankPath.c_str(), index, pcm.data(), static_cast<std::uint32_t>(pcm.size()), &written);
  pcm.resize(result == A10Ok ? written : 0);
  return result;
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
