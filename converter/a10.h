// a10, the bank converter library: takes a bank apart into WAV files beside
// it and builds it again from them.
//
// Both functions take the bank file's full path, a NUL-terminated 8-bit
// (ANSI) string, and return 0 on success. On 32-bit Windows they use the
// stdcall convention (WINAPI) and are exported from a10.dll under their
// plain names, as system DLLs export theirs; on 64-bit Windows there is one
// convention and no decoration. Natively (the Linux tests) a10 is a plain
// static library with C linkage.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define A10_CALL __stdcall
#if defined(A10_BUILDING)
#define A10_API __declspec(dllexport)
#else
#define A10_API __declspec(dllimport)
#endif
#else
#define A10_CALL
#define A10_API
#endif

// Failure codes; anything but A10Ok is a failure.
constexpr std::int32_t A10Ok = 0;
constexpr std::int32_t A10NotAFile = 1;     // no path, or no readable (Construct: writable) file there
constexpr std::int32_t A10NotABank = 2;     // Deconstruct: not a bank of this format
constexpr std::int32_t A10NoWav = 3;        // Construct: no .wav file in the bank's directory
constexpr std::int32_t A10BadWav = 4;       // Construct: a .wav file cannot be read or is not supported
constexpr std::int32_t A10TooLarge = 5;     // Construct: too many samples, or a bank past 2 GB
constexpr std::int32_t A10WriteFailed = 6;  // a file could not be written or the bank not replaced
constexpr std::int32_t A10OutOfMemory = 7;
constexpr std::int32_t A10ForeignWav = 8;  // Deconstruct: the directory holds WAV files this bank does not write

// The type of both functions, for callers that look them up at run time.
typedef std::int32_t(A10_CALL* A10Function)(const char* bankPath);

extern "C" {
// Writes every sample of the bank as a 16-bit PCM WAV file into the bank's
// directory, named "000_<name>.wav", "001_<name>.wav", ... (more digits when
// there are more than 1000 samples). Refuses, writing nothing, when the
// directory holds another WAV file (Construct would take it in) or a file
// of those names cannot be replaced. Each file is written under a temporary
// name first and renamed over the old one only when all were written: a
// failure leaves the directory as it was.
A10_API std::int32_t A10_CALL Deconstruct(const char* bankPath);
// Rebuilds the bank from the directory's files ending in ".wav" (any letter
// case), taken in byte order of their names, keeping the bank's signature
// byte. A WAV file without a "smpl" chunk keeps the root key, fine tune and
// loop of the sample of its name in the bank being rebuilt. The new bank is
// written beside the old one and replaces it only when complete; on failure
// the bank is unchanged.
A10_API std::int32_t A10_CALL Construct(const char* bankPath);
// Why the last call of this thread's program failed, naming the file: a
// NUL-terminated text that stays valid until the next call; "" after a
// success.
A10_API const char* A10_CALL ProblemText();
}
