// The Windows calls a restart is made of, one by one. Which of them run and
// when (the NT family first enables the shutdown privilege) is decided by
// RebootComputer in app/, so that tests can follow it through the test double.
#pragma once

#include <cstdint>
#include <string>

using TokenRef = std::uintptr_t;  // an access token HANDLE

// A locally unique identifier (LUID) of a privilege.
struct PrivilegeId {
  std::uint32_t LowPart = 0;
  std::int32_t HighPart = 0;
};

constexpr std::uint32_t TokenAdjustAndQuery = 0x28;  // TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY
constexpr std::uint32_t ExitReboot = 0x02;           // EWX_REBOOT

// OpenProcessToken of the current process with the given access.
bool OpenOwnProcessToken(std::uint32_t access, TokenRef& token);
// LookupPrivilegeValueA on the local system.
bool LookupPrivilegeId(const std::string& name, PrivilegeId& id);
// AdjustTokenPrivileges with one entry, the privilege with
// SE_PRIVILEGE_ENABLED; the other privileges stay as they are, no previous
// state is returned. The call succeeds even when the account lacks the
// privilege: only the thread's last error (1300) tells.
bool EnableTokenPrivilege(TokenRef token, const PrivilegeId& id);
// The calling thread's last-error code (GetLastError).
std::uint32_t ThreadLastError();
// ExitWindowsEx; applications are asked to close, not forced.
bool RequestExitWindows(std::uint32_t flags, std::uint32_t reserved);
void CloseTokenRef(TokenRef token);
