// a10.dll loaded on first use from the program's own directory, so that a
// program can start, and do everything else, without it.
#include <windows.h>

#include "platform/converter.h"
#include "platform/converter_sample_info.h"
#include "platform/win32/converter/converter_load.h"

namespace {

std::string OwnDirectory() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, length);
  return dir.substr(0, dir.find_last_of('\\') + 1);
}

// Loaded once; a missing library is looked for again at the next call.
const ConverterEntries* Entries(std::string& why) {
  static ConverterEntries entries;
  if (entries.Deconstruct == nullptr && !LoadConverter(OwnDirectory() + "a10.dll", entries, why)) {
    return nullptr;
  }
  why.clear();
  return &entries;
}

// GetProcAddress hands back a generic FARPROC; the library's own type is the real one.
template <typename Function>
void Find(HMODULE module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The loaded library's export, or null with the result to return: the
// library is missing (ConverterMissing) or older and lacks it (ConverterLacks).
template <typename Function>
Function Export(Function ConverterEntries::*member, std::int32_t& result) {
  std::string why;
  const ConverterEntries* entries = Entries(why);
  result = entries == nullptr ? ConverterMissing : ConverterLacks;
  return entries == nullptr ? nullptr : entries->*member;
}

}  // namespace

bool LoadConverter(const std::string& dllPath, ConverterEntries& entries, std::string& why) {
  // No "cannot find the DLL" box from Windows 9x: the caller reports it.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA(dllPath.c_str());
  SetErrorMode(oldMode);
  if (module == nullptr) {
    why = "The bank converter library " + dllPath + " is missing or cannot be loaded.";
    return false;
  }
  ConverterEntries found;
  Find(module, "Deconstruct", found.Deconstruct);
  Find(module, "Construct", found.Construct);
  if (found.Deconstruct == nullptr || found.Construct == nullptr) {
    FreeLibrary(module);
    why = "The bank converter library " + dllPath + " lacks the functions Deconstruct and Construct.";
    return false;
  }
  Find(module, "ProblemText", found.ProblemText);
  Find(module, "SampleCount", found.SampleCount);
  Find(module, "ReadSampleInfos", found.ReadSampleInfos);
  Find(module, "ReadSamplePcm", found.ReadSamplePcm);
  Find(module, "SetSampleInfo", found.SetSampleInfo);
  Find(module, "ReplaceSample", found.ReplaceSample);
  Find(module, "ExportSampleWav", found.ExportSampleWav);
  Find(module, "ExportSoundFont", found.ExportSoundFont);
  Find(module, "BuildReport", found.BuildReport);
  entries = found;
  return true;
}

bool HasSampleTools(const ConverterEntries& entries) {
  return entries.SampleCount != nullptr && entries.ReadSampleInfos != nullptr && entries.ReadSamplePcm != nullptr &&
         entries.SetSampleInfo != nullptr && entries.ReplaceSample != nullptr && entries.ExportSampleWav != nullptr &&
         entries.ExportSoundFont != nullptr && entries.BuildReport != nullptr;
}

std::int32_t ConverterDeconstruct(const std::string& bankPath) {
  std::string why;
  const ConverterEntries* entries = Entries(why);
  return entries == nullptr ? ConverterMissing : entries->Deconstruct(bankPath.c_str());
}

std::int32_t ConverterConstruct(const std::string& bankPath) {
  std::string why;
  const ConverterEntries* entries = Entries(why);
  return entries == nullptr ? ConverterMissing : entries->Construct(bankPath.c_str());
}

bool ConverterAvailable(std::string& why) { return Entries(why) != nullptr; }

std::string ConverterProblem() {
  std::string why;
  const ConverterEntries* entries = Entries(why);
  const char* text = entries == nullptr || entries->ProblemText == nullptr ? nullptr : entries->ProblemText();
  return text == nullptr ? std::string() : std::string(text);
}

bool ConverterHasSampleTools() {
  std::string why;
  const ConverterEntries* entries = Entries(why);
  return entries != nullptr && HasSampleTools(*entries);
}

std::int32_t ConverterSampleCount(const std::string& path, std::int32_t& count) {
  std::int32_t result = 0;
  const auto function = Export(&ConverterEntries::SampleCount, result);
  return function == nullptr ? result : function(path.c_str(), &count);
}

std::int32_t ConverterReadSampleInfos(const std::string& path, std::int32_t first, std::int32_t count,
                                      std::vector<SampleInfo>& infos) {
  infos.clear();
  std::int32_t result = 0;
  const auto function = Export(&ConverterEntries::ReadSampleInfos, result);
  return function == nullptr ? result : ReadSampleInfosThrough(function, path, first, count, infos);
}

std::int32_t ConverterReadSamplePcm(const std::string& bankPath, std::int32_t index, std::vector<std::int16_t>& pcm) {
  pcm.clear();
  std::int32_t result = 0;
  const auto infos = Export(&ConverterEntries::ReadSampleInfos, result);
  const auto function = Export(&ConverterEntries::ReadSamplePcm, result);
  return infos == nullptr || function == nullptr ? result : ReadSamplePcmThrough(infos, function, bankPath, index, pcm);
}

std::int32_t ConverterSetSampleInfo(const std::string& bankPath, std::int32_t index, const SampleInfo& info) {
  std::int32_t result = 0;
  const auto function = Export(&ConverterEntries::SetSampleInfo, result);
  A10SampleInfo raw;
  if (function == nullptr) {
    return result;
  }
  return A10SampleInfoOf(info, raw) ? function(bankPath.c_str(), index, &raw) : A10BadValue;
}

std::int32_t ConverterReplaceSample(const std::string& bankPath, std::int32_t index, const std::string& sourcePath,
                                    std::int32_t fontSample) {
  std::int32_t result = 0;
  const auto function = Export(&ConverterEntries::ReplaceSample, result);
  return function == nullptr ? result : function(bankPath.c_str(), index, sourcePath.c_str(), fontSample);
}

std::int32_t ConverterExportSampleWav(const std::string& bankPath, std::int32_t index, const std::string& wavPath) {
  std::int32_t result = 0;
  const auto function = Export(&ConverterEntries::ExportSampleWav, result);
  return function == nullptr ? result : function(bankPath.c_str(), index, wavPath.c_str());
}

std::int32_t ConverterExportSoundFont(const std::string& bankPath, const std::string& fontPath) {
  std::int32_t result = 0;
  const auto function = Export(&ConverterEntries::ExportSoundFont, result);
  return function == nullptr ? result : function(bankPath.c_str(), fontPath.c_str());
}

std::string ConverterBuildReport() {
  std::int32_t result = 0;
  const auto function = Export(&ConverterEntries::BuildReport, result);
  const char* text = function == nullptr ? nullptr : function();
  return text == nullptr ? std::string() : std::string(text);
}
