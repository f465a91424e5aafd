// a10.dll loaded on first use from the program's own directory, so that a
// program can start, and do everything else, without it.
#include <windows.h>

#include "files/path_parts.h"
#include "platform/converter.h"
#include "platform/win32/converter/converter_load.h"

namespace {

std::string OwnDirectory() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, length);
  return DirectoryPart(dir);
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
  // GetProcAddress hands back a generic FARPROC; the library's own type is the real one.
  const auto deconstruct =
      reinterpret_cast<A10Function>(reinterpret_cast<void*>(GetProcAddress(module, "Deconstruct")));
  const auto construct = reinterpret_cast<A10Function>(reinterpret_cast<void*>(GetProcAddress(module, "Construct")));
  if (deconstruct == nullptr || construct == nullptr) {
    FreeLibrary(module);
    why = "The bank converter library " + dllPath + " lacks the functions Deconstruct and Construct.";
    return false;
  }
  entries.Deconstruct = deconstruct;
  entries.Construct = construct;
  entries.ProblemText =
      reinterpret_cast<const char*(A10_CALL*)()>(reinterpret_cast<void*>(GetProcAddress(module, "ProblemText")));
  return true;
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
