// Recording doubles of the shell, the restart calls, the file dialogs and
// the cursor.
#include <cstdio>

#include "platform/cursor.h"
#include "platform/fake.h"
#include "platform/file_dialogs.h"
#include "platform/restart.h"
#include "platform/shell.h"

bool ShellExecuteVerb(WindowRef owner, const std::string& verb, const std::string& file, int showCommand) {
  Fake().ShellCalls.push_back(ShellCall{owner, verb, file, showCommand});
  return Fake().ShellOpens;
}

bool AskFileName(const FileDialogRequest& request, std::string& chosen) {
  Fake().FileDialogs.push_back(request);
  if (Fake().FileDialogAnswers.empty()) {
    return false;
  }
  chosen = Fake().FileDialogAnswers.front();
  Fake().FileDialogAnswers.pop_front();
  return true;
}

bool OpenOwnProcessToken(std::uint32_t access, TokenRef& token) {
  char call[40];
  std::snprintf(call, sizeof call, "OpenProcessToken 0x%X", static_cast<unsigned>(access));
  Fake().RestartCalls.push_back(call);
  token = 1;
  return Fake().TokenOpens;
}

bool LookupPrivilegeId(const std::string& name, PrivilegeId& id) {
  Fake().RestartCalls.push_back("LookupPrivilegeValue " + name);
  id = PrivilegeId{19, 0};
  return true;
}

bool EnableTokenPrivilege(TokenRef, const PrivilegeId&) {
  Fake().RestartCalls.push_back("AdjustTokenPrivileges");
  return true;
}

std::uint32_t ThreadLastError() {
  Fake().RestartCalls.push_back("GetLastError");
  return Fake().LastErrorAfterAdjust;
}

bool RequestExitWindows(std::uint32_t flags, std::uint32_t reserved) {
  Fake().RestartCalls.push_back("ExitWindowsEx " + std::to_string(flags) + " " + std::to_string(reserved));
  return true;
}

void CloseTokenRef(TokenRef) { Fake().RestartCalls.push_back("CloseHandle"); }

CursorRef ShowBusyCursor() {
  Fake().CursorCalls.push_back("busy");
  return 7;
}

void RestoreCursor(CursorRef previous) { Fake().CursorCalls.push_back(previous == 7 ? "restore" : "restore other"); }
