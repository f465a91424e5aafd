#include <windows.h>

#include "platform/restart.h"

bool OpenOwnProcessToken(std::uint32_t access, TokenRef& token) {
  HANDLE handle = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), access, &handle)) {
    return false;
  }
  token = reinterpret_cast<TokenRef>(handle);
  return true;
}

bool LookupPrivilegeId(const std::string& name, PrivilegeId& id) {
  LUID luid = {};
  if (!LookupPrivilegeValueA(nullptr, name.c_str(), &luid)) {
    return false;
  }
  id.LowPart = luid.LowPart;
  id.HighPart = luid.HighPart;
  return true;
}

bool EnableTokenPrivilege(TokenRef token, const PrivilegeId& id) {
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Luid.LowPart = id.LowPart;
  privileges.Privileges[0].Luid.HighPart = id.HighPart;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  return AdjustTokenPrivileges(reinterpret_cast<HANDLE>(token), FALSE, &privileges, 0, nullptr, nullptr) != 0;
}

std::uint32_t ThreadLastError() { return GetLastError(); }

bool RequestExitWindows(std::uint32_t flags, std::uint32_t reserved) { return ExitWindowsEx(flags, reserved) != 0; }

void CloseTokenRef(TokenRef token) { CloseHandle(reinterpret_cast<HANDLE>(token)); }
