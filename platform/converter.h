// The bank converter library a10 (Deconstruct, Construct), chosen at link
// time: tovaro.exe imports it from a10.dll when it loads; a program that must
// run without the library loads a10.dll from its own directory on first use;
// the Linux build calls the native library; tests use a recording fake.
#pragma once

#include <cstdint>
#include <string>

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
