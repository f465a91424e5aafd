#include <io.h>
#include <windows.h>

#include <vector>

#include "files/console_text.h"

namespace {

// The text in the console's own code page, through UTF-16 rather than
// CharToOemBuffA: chcp may have made it other than the OEM one.
bool InConsoleCodePage(const std::string& text, std::string& shown) {
  const int size = static_cast<int>(text.size());
  const int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  if (wide <= 0) {
    return false;
  }
  std::vector<wchar_t> unicode(static_cast<std::size_t>(wide));
  const UINT page = GetConsoleOutputCP();
  if (MultiByteToWideChar(CP_ACP, 0, text.data(), size, unicode.data(), wide) != wide) {
    return false;
  }
  const int bytes = WideCharToMultiByte(page, 0, unicode.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) {
    return false;
  }
  shown.assign(static_cast<std::size_t>(bytes), '\0');
  return WideCharToMultiByte(page, 0, unicode.data(), wide, &shown[0], bytes, nullptr, nullptr) == bytes;
}

}  // namespace

void WriteText(std::FILE* stream, const std::string& text) {
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  std::string shown;
  if (text.empty() || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode) ||
      !InConsoleCodePage(text, shown)) {
    std::fwrite(text.data(), 1, text.size(), stream);
    return;
  }
  // Past the C library, whose console output differs between runtimes (some
  // widen each byte on their own); what it holds goes first.
  std::fflush(stream);
  DWORD written = 0;
  WriteConsoleA(handle, shown.data(), static_cast<DWORD>(shown.size()), &written, nullptr);
}
