// The converter library linked into the program: a10.dll imported by name
// when the program loads (the loader refuses to start the program without
// it), or the native library on Linux.
#include "converter/a10.h"
#include "platform/converter.h"

std::int32_t ConverterDeconstruct(const std::string& bankPath) { return Deconstruct(bankPath.c_str()); }

std::int32_t ConverterConstruct(const std::string& bankPath) { return Construct(bankPath.c_str()); }

bool ConverterAvailable(std::string& why) {
  why.clear();
  return true;
}

std::string ConverterProblem() { return ProblemText(); }
