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
constexpr std::int32_t A10BadIndex = 9;    // a sample index outside the bank or the SoundFont
constexpr std::int32_t A10BadValue = 10;   // a sample property outside the format's range
constexpr std::int32_t A10NotAFont = 11;   // not a SoundFont 2 file this library reads (ROM, SF3, malformed)

// The type of both functions, for callers that look them up at run time.
typedef std::int32_t(A10_CALL* A10Function)(const char* bankPath);

// One sample's properties as the bank's directory holds them (48 bytes, no
// padding: the same layout on every compiler that builds for Windows).
struct A10SampleInfo {
  char Name[28];          // 0 to 27 characters, NUL-terminated
  std::uint32_t Rate;     // Hz
  std::uint8_t Channels;  // 1 or 2
  std::uint8_t RootKey;   // MIDI note 0 to 127
  std::int8_t FineTune;   // cents -50 to +49
  std::uint8_t Looped;    // 1 when looped
  std::uint32_t Frames;
  std::uint32_t LoopStart;  // first frame of the loop
  std::uint32_t LoopEnd;    // last frame of the loop (inclusive); both 0 when not looped
};
static_assert(sizeof(A10SampleInfo) == 48, "A10SampleInfo is part of the DLL's ABI");

// Every function that changes a bank keeps its signature byte and writes a
// whole new file beside it, renamed over the bank only when complete: a
// failure leaves the bank as it was.
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

// The number of samples of a bank, or of sample headers of a SoundFont 2
// file (its terminal record not counted), reading only the header and the
// directory (never the sample data).
A10_API std::int32_t A10_CALL SampleCount(const char* path, std::int32_t* count);
// Properties of samples first .. first + count - 1 of a bank or a SoundFont
// into infos[0 .. count - 1], reading only the directory.
A10_API std::int32_t A10_CALL ReadSampleInfos(const char* path, std::int32_t first, std::int32_t count,
                                              A10SampleInfo* infos);
// One sample's PCM, 16-bit, frames interleaved left, right when stereo:
// writes min(capacity, frames x channels) values into pcm and the number of
// values written into written.
A10_API std::int32_t A10_CALL ReadSamplePcm(const char* bankPath, std::int32_t index, std::int16_t* pcm,
                                            std::uint32_t capacity, std::uint32_t* written);
// Sets name, root key, fine tune and loop of one sample; rate, channels and
// frames must be those the bank holds. Every value is checked before
// anything is written (A10BadValue, ProblemText names the value and why).
A10_API std::int32_t A10_CALL SetSampleInfo(const char* bankPath, std::int32_t index, const A10SampleInfo* info);
// Replaces one sample's sound with a WAV file (fontSample -1) or sample
// fontSample of a SoundFont 2 file. Root key, fine tune and loop come from
// the source when it has them, else the old ones are kept where the loop
// still fits; the name is kept.
A10_API std::int32_t A10_CALL ReplaceSample(const char* bankPath, std::int32_t index, const char* sourcePath,
                                            std::int32_t fontSample);
// One sample as a WAV file, as Deconstruct writes it.
A10_API std::int32_t A10_CALL ExportSampleWav(const char* bankPath, std::int32_t index, const char* wavPath);
// The whole bank as a SoundFont 2 file.
A10_API std::int32_t A10_CALL ExportSoundFont(const char* bankPath, const char* fontPath);
// What the last successful Construct of this program took: lines
// "new\t<file name>" (a WAV file Deconstruct did not write), "kept\t<file
// name>" (no smpl chunk: root key, fine tune and loop kept) and one line
// "changed\t<count>" (samples whose sound or properties differ from the old
// bank's); "" before the first Construct or after a failure.
A10_API const char* A10_CALL BuildReport();
}
