#include <windows.h>

#include "platform/system.h"

std::string SystemDirectory() {
  char buffer[260] = {};
  GetSystemDirectoryA(buffer, sizeof buffer);
  return buffer;
}

std::string WindowsDirectory() {
  char buffer[260] = {};
  GetWindowsDirectoryA(buffer, sizeof buffer);
  return buffer;
}

WindowsVersion GetWindowsVersion() {
  static const WindowsVersion version = [] {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    WindowsVersion result;
    if (GetVersionExA(&info)) {
      result.PlatformId = info.dwPlatformId;
      result.Major = info.dwMajorVersion;
      result.Minor = info.dwMinorVersion;
    }
    return result;
  }();
  return version;
}

std::string DecimalSeparator() {
  char buffer[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer) == 0 || buffer[0] == '\0') {
    return ".";
  }
  return buffer;
}

std::string ExecutablePath() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return std::string(buffer, length);
}

void EndProcess(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }
