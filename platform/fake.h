// The test double behind system.h, registry.h (with the key set-up of
// testing/registry_keys.h), dialogs.h, file_dialogs.h, shell.h, restart.h,
// cursor.h and system_lock.h: tests set the directories, the version and the
// registry, script the answers of message boxes, file dialogs and the restart
// calls, and read back what was shown and called.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/file_dialogs.h"
#include "platform/system.h"

struct FakeValue {
  std::uint32_t Type = 0;
  std::vector<std::uint8_t> Data;
};

struct ShownMessage {
  WindowRef Owner = 0;
  std::string Text;
  std::string Title;
  std::uint32_t Style = 0;
};

struct ShellCall {
  WindowRef Owner = 0;
  std::string Verb;
  std::string File;
  int ShowCommand = 0;
};

struct FakePlatform {
  std::string SystemDir;   // without trailing backslash
  std::string WindowsDir;  // without trailing backslash
  std::string ExePath;
  WindowsVersion Version{2, 5, 1};
  // Keys by lower-cased path below HKEY_LOCAL_MACHINE ("" is the root);
  // values by lower-cased name.
  std::map<std::string, std::map<std::string, FakeValue>> Keys;
  std::set<std::string> WriteDeniedKeys;  // lower-cased paths that refuse write access
  std::deque<int> Answers;                // answers for the next message boxes; AnswerNo when empty
  std::vector<ShownMessage> Shown;
  int EndedWith = -1;  // exit code passed to EndProcess, -1 if none
  std::string DecimalSeparator = ".";
  // File dialogs: the requests in order, and the paths the next ones
  // return; a dialog with no answer left is cancelled.
  std::vector<FileDialogRequest> FileDialogs;
  std::deque<std::string> FileDialogAnswers;
  std::vector<ShellCall> ShellCalls;
  bool ShellOpens = true;  // what the shell answers: false as for a missing file or handler
  // The restart calls in order, as text: "OpenProcessToken 0x28",
  // "LookupPrivilegeValue SeShutdownPrivilege", "AdjustTokenPrivileges",
  // "GetLastError", "ExitWindowsEx 2 0", "CloseHandle".
  std::vector<std::string> RestartCalls;
  bool TokenOpens = true;                  // OpenProcessToken succeeds
  std::uint32_t LastErrorAfterAdjust = 0;  // 1300: the account lacks the privilege
  // "busy" and "restore", in the order the cursor changed.
  std::vector<std::string> CursorCalls;
  // The system lock: another process holds it (every take is Busy) or ended
  // while holding it (the next take is TakenOver); Held while this process has it.
  bool LockHeldElsewhere = false;
  bool LockAbandoned = false;
  bool LockHeld = false;
  int LockTakes = 0;
};

// The one test double instance; FakeReset brings it back to its start state.
FakePlatform& Fake();
void FakeReset();
// Lower-case form used for key and value names (the registry ignores case).
std::string FakeKeyName(const std::string& path);
// Thrown by the fake EndProcess so that a test can see the process end.
struct FakeProcessEnded {
  int ExitCode;
};
