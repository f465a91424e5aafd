#include "platform/converter.h"
#include "platform/fake_converter.h"

namespace {

constexpr std::int32_t NoFile = 1;       // the library's "no readable file there"
constexpr std::int32_t NoSuchIndex = 9;  // the library's "a sample index outside the bank"

// sampleLevel: one of the exports an older library lacks.
std::int32_t Record(const std::string& call, bool sampleLevel = false) {
  FakeConverterState& fake = FakeConverter();
  fake.Calls.push_back(call);
  if (!fake.Available) {
    return ConverterMissing;
  }
  if (sampleLevel && !fake.SampleTools) {
    return ConverterLacks;
  }
  if (fake.Results.empty()) {
    return 0;
  }
  const std::int32_t result = fake.Results.front();
  fake.Results.pop_front();
  return result;
}

// The scripted list of path, or null with the result for a missing one.
std::vector<SampleInfo>* List(const std::string& path, std::int32_t& result) {
  auto found = FakeConverter().Samples.find(path);
  if (found == FakeConverter().Samples.end()) {
    result = NoFile;
    return nullptr;
  }
  return &found->second;
}

}  // namespace

FakeConverterState& FakeConverter() {
  static FakeConverterState state;
  return state;
}

void FakeConverterReset() { FakeConverter() = FakeConverterState(); }

std::int32_t ConverterDeconstruct(const std::string& bankPath) { return Record("Deconstruct " + bankPath); }

std::int32_t ConverterConstruct(const std::string& bankPath) { return Record("Construct " + bankPath); }

bool ConverterAvailable(std::string& why) {
  why = FakeConverter().Available ? std::string() : FakeConverter().MissingReason;
  return FakeConverter().Available;
}

std::string ConverterProblem() { return FakeConverter().Problem; }

bool ConverterHasSampleTools() { return FakeConverter().Available && FakeConverter().SampleTools; }

std::int32_t ConverterSampleCount(const std::string& path, std::int32_t& count) {
  std::int32_t result = Record("SampleCount " + path, true);
  const std::vector<SampleInfo>* list = result == 0 ? List(path, result) : nullptr;
  if (list != nullptr) {
    count = static_cast<std::int32_t>(list->size());
  }
  return result;
}

std::int32_t ConverterReadSampleInfos(const std::string& path, std::int32_t first, std::int32_t count,
                                      std::vector<SampleInfo>& infos) {
  infos.clear();
  std::int32_t result =
      Record("ReadSampleInfos " + path + " " + std::to_string(first) + " " + std::to_string(count), true);
  const std::vector<SampleInfo>* list = result == 0 ? List(path, result) : nullptr;
  if (list == nullptr) {
    return result;
  }
  if (first < 0 || count < 0 || static_cast<std::size_t>(first) + count > list->size()) {
    return NoSuchIndex;
  }
  infos.assign(list->begin() + first, list->begin() + first + count);
  return 0;
}

std::int32_t ConverterReadSamplePcm(const std::string& bankPath, std::int32_t index, std::vector<std::int16_t>& pcm) {
  pcm.clear();
  std::int32_t result = Record("ReadSamplePcm " + bankPath + " " + std::to_string(index), true);
  const std::vector<SampleInfo>* list = result == 0 ? List(bankPath, result) : nullptr;
  if (list == nullptr) {
    return result;
  }
  if (index < 0 || static_cast<std::size_t>(index) >= list->size()) {
    return NoSuchIndex;
  }
  const auto& scripted = FakeConverter().Pcm[bankPath];
  const auto found = scripted.find(index);
  const SampleInfo& info = (*list)[static_cast<std::size_t>(index)];
  pcm = found != scripted.end() ? found->second
                                : std::vector<std::int16_t>(static_cast<std::size_t>(info.Frames) * info.Channels);
  return 0;
}

std::int32_t ConverterSetSampleInfo(const std::string& bankPath, std::int32_t index, const SampleInfo& info) {
  FakeConverter().SetInfos.push_back(info);
  std::int32_t result = Record("SetSampleInfo " + bankPath + " " + std::to_string(index), true);
  std::vector<SampleInfo>* list = result == 0 ? List(bankPath, result) : nullptr;
  if (list != nullptr && index >= 0 && static_cast<std::size_t>(index) < list->size()) {
    (*list)[static_cast<std::size_t>(index)] = info;
  } else if (list != nullptr) {
    result = NoSuchIndex;
  }
  return result;
}

std::int32_t ConverterReplaceSample(const std::string& bankPath, std::int32_t index, const std::string& sourcePath,
                                    std::int32_t fontSample) {
  return Record(
      "ReplaceSample " + bankPath + " " + std::to_string(index) + " " + sourcePath + " " + std::to_string(fontSample),
      true);
}

std::int32_t ConverterExportSampleWav(const std::string& bankPath, std::int32_t index, const std::string& wavPath) {
  return Record("ExportSampleWav " + bankPath + " " + std::to_string(index) + " " + wavPath, true);
}

std::int32_t ConverterExportSoundFont(const std::string& bankPath, const std::string& fontPath) {
  return Record("ExportSoundFont " + bankPath + " " + fontPath, true);
}

std::string ConverterBuildReport() {
  return FakeConverter().Available && FakeConverter().SampleTools ? FakeConverter().BuildReport : std::string();
}
