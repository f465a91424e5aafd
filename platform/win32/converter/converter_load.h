// Loading a10.dll at run time, reachable on its own for tests.
#pragma once

#include <string>

#include "converter/a10.h"

struct ConverterEntries {
  A10Function Deconstruct = nullptr;
  A10Function Construct = nullptr;
  // Optional: a library without it reports no reasons.
  const char*(A10_CALL* ProblemText)() = nullptr;
};

// Loads the library at dllPath and finds both functions by name; false with
// a sentence for the user naming the path otherwise. The library stays
// loaded for the rest of the process.
bool LoadConverter(const std::string& dllPath, ConverterEntries& entries, std::string& why);
