// _vscprintf, the length a printf would write. snprintf calls it when the
// buffer is too small, but Windows 98's msvcrt.dll lacks it (XP's has it);
// MinGW's stand-in looks msvcrt up with GetModuleHandleW, a stub that always
// fails on 98. This one counts with _vsnprintf, which every msvcrt has.
// stdio.h declares _vscprintf as imported from msvcrt, so the definition
// takes the linker names (the function and its import pointer) directly.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

extern "C" int __cdecl CountPrintf(const char* format, va_list arguments) __asm__("__vscprintf");
extern "C" int(__cdecl* const CountPrintfPointer)(const char*, va_list) __asm__("__imp___vscprintf");

int __cdecl CountPrintf(const char* format, va_list arguments) {
  for (std::size_t size = 256; size <= (std::size_t(1) << 28); size *= 2) {
    char* buffer = static_cast<char*>(std::malloc(size));
    if (buffer == nullptr) {
      return -1;
    }
    va_list copy;
    va_copy(copy, arguments);
    const int length = _vsnprintf(buffer, size, format, copy);  // -1 when it does not fit
    va_end(copy);
    std::free(buffer);
    if (length >= 0 && static_cast<std::size_t>(length) < size) {
      return length;
    }
  }
  return -1;
}

int(__cdecl* const CountPrintfPointer)(const char*, va_list) = &CountPrintf;
