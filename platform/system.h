// System facts the core needs from Windows: directories, version, own path.
#pragma once

#include <cstdint>
#include <string>

struct WindowsVersion {
  std::uint32_t PlatformId = 0;
  std::uint32_t Major = 0;
  std::uint32_t Minor = 0;
};

// The system directory without a trailing backslash (GetSystemDirectoryA).
std::string SystemDirectory();
// The Windows directory without a trailing backslash (GetWindowsDirectoryA).
std::string WindowsDirectory();
// The version reported by the system, read once per process.
WindowsVersion GetWindowsVersion();
// The decimal separator of the user's locale ("." when it cannot be read).
std::string DecimalSeparator();
// Full path of the running executable.
std::string ExecutablePath();
// Ends the process at once with the given exit code.
[[noreturn]] void EndProcess(int exitCode);
