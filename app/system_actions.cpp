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

std::string DriverControlPanelPath() { return Env.SystemDir + "DS1.cpl"; }

bool OpenDriverControlPanel(WindowRef owner) {
  return ShellExecuteVerb(owner, "cplopen", DriverControlPanelPath(), ShellShow);
}

bool OpenDocument(WindowRef owner, const std::string& path) { return ShellExecuteVerb(owner, "open", path, ShellShow); }

std::string HelpPagePath(const std::string& page) { return ExeDir + "Help\\" + page; }

const char* HelpPageOf(MainPage page) {
  static const char* const pages[MainPageCount] = {"about.html", "bankmodes.html", "editor.html", "controlpanel.html",
                                                   "audio.html", "modules.html",   "voices.html"};
  return pages[page];
}

bool OpenHelp(WindowRef owner) { return OpenDocument(owner, HelpPagePath("index.html")); }
