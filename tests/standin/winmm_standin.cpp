// A recording stand-in for winmm.dll: put beside a program and loaded in
// place of the system's (WINEDLLOVERRIDES=winmm=n), it plays nothing and
// writes what it was asked to do into winmm-calls.txt beside itself, the
// wave bytes into winmm-wave.raw. Every device exists and every buffer is
// done at once. Only the calls Tovaro makes are here; the types are
// written out because mmsystem.h declares these functions as imports.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

using MMRESULT = UINT;
constexpr MMRESULT NoError = 0;
constexpr DWORD Done = 1;      // WHDR_DONE, MHDR_DONE
constexpr DWORD Prepared = 2;  // WHDR_PREPARED, MHDR_PREPARED

struct WaveFormat {
  WORD FormatTag;
  WORD Channels;
  DWORD SamplesPerSec;
  DWORD AvgBytesPerSec;
  WORD BlockAlign;
  WORD BitsPerSample;
};

// WAVEHDR and MIDIHDR begin alike.
struct Header {
  LPSTR Data;
  DWORD BufferLength;
  DWORD BytesRecorded;
  DWORD_PTR User;
  DWORD Flags;
};

HMODULE Self = nullptr;
DWORD OpenedAt = 0;

// Milliseconds by the performance counter: Wine's tick count moves in steps.
DWORD Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<DWORD>(count.QuadPart / frequency.QuadPart * 1000 +
                            count.QuadPart % frequency.QuadPart * 1000 / frequency.QuadPart);
}

std::string Beside(const char* name) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(Self, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

MMRESULT Record(const std::string& line) {
  if (FILE* file = std::fopen(Beside("winmm-calls.txt").c_str(), "ab")) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
  }
  return NoError;
}

// Prepares or unprepares a buffer.
MMRESULT Prepare(Header* header, bool prepared) {
  header->Flags = prepared ? header->Flags | Prepared : header->Flags & ~Prepared;
  return NoError;
}

std::string Hex(const unsigned char* bytes, std::size_t count) {
  std::string text;
  char byte[4];
  for (std::size_t i = 0; i < count; ++i) {
    std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", bytes[i]);
    text += byte;
  }
  return text;
}

std::string Since() { return "t=" + std::to_string(Now() - OpenedAt) + " "; }

MMRESULT CopyText(const char* text, char* buffer, UINT size) {
  if (buffer != nullptr && size > 0) {
    lstrcpynA(buffer, text, static_cast<int>(size));
  }
  return NoError;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    Self = instance;
  }
  return TRUE;
}

__declspec(dllexport) DWORD WINAPI timeGetTime() { return Now(); }

__declspec(dllexport) MMRESULT WINAPI
    waveOutOpen(HANDLE* out, UINT device, const WaveFormat* format, DWORD_PTR, DWORD_PTR, DWORD flags) {
  Record("waveOutOpen device=" + std::to_string(device) + " tag=" + std::to_string(format->FormatTag) +
         " channels=" + std::to_string(format->Channels) + " rate=" + std::to_string(format->SamplesPerSec) +
         " bytes/s=" + std::to_string(format->AvgBytesPerSec) + " align=" + std::to_string(format->BlockAlign) +
         " bits=" + std::to_string(format->BitsPerSample) + " flags=" + std::to_string(flags));
  *out = reinterpret_cast<HANDLE>(0x5A5A);
  return NoError;
}

__declspec(dllexport) MMRESULT WINAPI waveOutWrite(HANDLE, Header* header, UINT) {
  Record("waveOutWrite " + std::to_string(header->BufferLength) + (header->Flags & Prepared ? "" : " unprepared"));
  if (FILE* file = std::fopen(Beside("winmm-wave.raw").c_str(), "ab")) {
    std::fwrite(header->Data, 1, header->BufferLength, file);
    std::fclose(file);
  }
  header->Flags |= Done;
  return NoError;
}

__declspec(dllexport) MMRESULT WINAPI waveOutGetErrorTextA(MMRESULT, char* t, UINT n) {
  return CopyText("stand-in wave error", t, n);
}

__declspec(dllexport) UINT WINAPI waveOutGetNumDevs() { return 1; }
__declspec(dllexport) MMRESULT WINAPI waveOutPrepareHeader(HANDLE, Header* h, UINT) { return Prepare(h, true); }
__declspec(dllexport) MMRESULT WINAPI waveOutReset(HANDLE) { return Record("waveOutReset"); }
__declspec(dllexport) MMRESULT WINAPI waveOutUnprepareHeader(HANDLE, Header* h, UINT) { return Prepare(h, false); }
__declspec(dllexport) MMRESULT WINAPI waveOutClose(HANDLE) { return Record("waveOutClose"); }

__declspec(dllexport) MMRESULT WINAPI midiOutOpen(HANDLE* out, UINT device, DWORD_PTR, DWORD_PTR, DWORD flags) {
  OpenedAt = Now();
  Record("midiOutOpen device=" + std::to_string(device) + " flags=" + std::to_string(flags));
  *out = reinterpret_cast<HANDLE>(0x4D4D);
  return NoError;
}

__declspec(dllexport) MMRESULT WINAPI midiOutShortMsg(HANDLE, DWORD message) {
  const unsigned char bytes[3] = {static_cast<unsigned char>(message), static_cast<unsigned char>(message >> 8),
                                  static_cast<unsigned char>(message >> 16)};
  return Record(Since() + "midiOutShortMsg " + Hex(bytes, bytes[0] >= 0xC0 && bytes[0] < 0xE0 ? 2 : 3));
}

__declspec(dllexport) MMRESULT WINAPI midiOutLongMsg(HANDLE, Header* header, UINT) {
  Record(Since() + "midiOutLongMsg " + Hex(reinterpret_cast<unsigned char*>(header->Data), header->BufferLength) +
         (header->Flags & Prepared ? "" : " unprepared"));
  header->Flags |= Done;
  return NoError;
}

__declspec(dllexport) MMRESULT WINAPI midiOutGetErrorTextA(MMRESULT, char* t, UINT n) {
  return CopyText("stand-in MIDI error", t, n);
}

__declspec(dllexport) UINT WINAPI midiOutGetNumDevs() { return 1; }
__declspec(dllexport) MMRESULT WINAPI midiOutPrepareHeader(HANDLE, Header* h, UINT) { return Prepare(h, true); }
__declspec(dllexport) MMRESULT WINAPI midiOutUnprepareHeader(HANDLE, Header* h, UINT) { return Prepare(h, false); }
__declspec(dllexport) MMRESULT WINAPI midiOutReset(HANDLE) { return Record("midiOutReset"); }
__declspec(dllexport) MMRESULT WINAPI midiOutClose(HANDLE) { return Record("midiOutClose"); }

}  // extern "C"
