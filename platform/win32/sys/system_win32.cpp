#include <windows.h>

#include "platform/system.h"

namespace {

std::string UpToNul(const char* text) { return std::string(text); }

}  // namespace

std::string SystemDirectory() {
  char buffer[260] = {};
  GetSystemDirectoryA(buffer, sizeof buffer);
  return UpToNul(buffer);
}

std::string WindowsDirectory() {
  char buffer[260] = {};
  GetWindowsDirectoryA(buffer, sizeof buffer);
  return UpToNul(buffer);
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

std::string ExecutablePath() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return std::string(buffer, length);
}

void EndProcess(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }
