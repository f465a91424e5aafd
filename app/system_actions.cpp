#include "app/system_actions.h"

#include "app/startup.h"
#include "platform/restart.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "ymf/environment.h"

const char* const ShutdownPrivilege = "SeShutdownPrivilege";

namespace {

constexpr std::uint32_t PlatformWindowsNT = 2;  // VER_PLATFORM_WIN32_NT

// Windows 9x has no privileges; the NT family restarts only for a process
// whose token holds the shutdown privilege enabled.
bool EnableShutdownPrivilege() {
  TokenRef token = 0;
  if (!OpenOwnProcessToken(TokenAdjustAndQuery, token)) {
    return false;
  }
  PrivilegeId id;
  LookupPrivilegeId(ShutdownPrivilege, id);
  EnableTokenPrivilege(token, id);
  // AdjustTokenPrivileges succeeds for an account without the privilege
  // and leaves ERROR_NOT_ALL_ASSIGNED (1300): only the last error tells.
  const bool enabled = ThreadLastError() == 0;
  CloseTokenRef(token);
  return enabled;
}

}  // namespace

void RebootComputer() {
  if (GetWindowsVersion().PlatformId == PlatformWindowsNT && !EnableShutdownPrivilege()) {
    return;
  }
  RequestExitWindows(ExitReboot, 0);
}

void OpenDriverControlPanel(WindowRef owner) {
  ShellExecuteVerb(owner, "cplopen", Env.SystemDir + "DS1.cpl", ShellShow);
}

void OpenDocument(WindowRef owner, const std::string& path) { ShellExecuteVerb(owner, "open", path, ShellShow); }

void OpenHelp(WindowRef owner) { OpenDocument(owner, ExeDir + "Help\\index.html"); }
