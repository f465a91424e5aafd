#include <io.h>
#include <windows.h>

#include <vector>

#include "files/console_text.h"

std::string ConsoleBytes(std::FILE* stream, const std::string& text) {
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  if (text.empty() || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) {
    return text;
  }
  // Through UTF-16 rather than CharToOemBuffA: the console's own code page,
  // which chcp may have made other than the OEM one, with kernel32 alone.
  const int size = static_cast<int>(text.size());
  const int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::vector<wchar_t> unicode(static_cast<std::size_t>(wide > 0 ? wide : 1));
  if (wide <= 0 || MultiByteToWideChar(CP_ACP, 0, text.data(), size, unicode.data(), wide) != wide) {
    return text;
  }
  const UINT page = GetConsoleOutputCP();
  const int bytes = WideCharToMultiByte(page, 0, unicode.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string shown(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes <= 0 || WideCharToMultiByte(page, 0, unicode.data(), wide, &shown[0], bytes, nullptr, nullptr) != bytes) {
    return text;
  }
  return shown;
}
