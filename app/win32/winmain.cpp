// Program entry: start-up checks, then the "-clean" restore or the main window.
#include <windows.h>

#include <string>

#include "app/startup.h"
#include "app/win32/main_form.h"

namespace {

// The first argument of the command line, with Windows quoting rules for
// double quotes; empty when there is none.
std::string FirstArgument(const char* commandLine) {
  std::string argument;
  const char* p = commandLine;
  while (*p == ' ' || *p == '\t') {
    ++p;
  }
  bool quoted = false;
  for (; *p != '\0'; ++p) {
    if (*p == '"') {
      quoted = !quoted;
    } else if (!quoted && (*p == ' ' || *p == '\t')) {
      break;
    } else {
      argument += *p;
    }
  }
  return argument;
}

// One window: a second start brings the first window to the front and
// ends. The mutex lives as long as this process; Windows frees it when the
// process ends, however it ends.
bool FirstWindowBroughtForward() {
  CreateMutexA(nullptr, FALSE, "Nerulan.Tovaro.MainWindow");
  if (GetLastError() != ERROR_ALREADY_EXISTS) {
    return false;
  }
  HWND first = FindWindowA(MainFormClass, nullptr);
  if (first != nullptr) {
    if (IsIconic(first)) {
      ShowWindow(first, SW_RESTORE);
    }
    SetForegroundWindow(first);
  }
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
  const std::string argument = FirstArgument(commandLine);
  if (!IsCleanSwitch(argument) && !IsRestoreSwitch(argument) && FirstWindowBroughtForward()) {
    return 0;
  }
  if (PrepareStart(argument)) {
    static TMainForm MainForm;
    if (MainForm.Create(instance)) {
      ShowWindow(MainForm.Handle(), showCommand);
      UpdateWindow(MainForm.Handle());
      MSG message;
      while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!MainForm.IsFormMessage(message)) {
          TranslateMessage(&message);
          DispatchMessageA(&message);
        }
      }
    }
  }
  return 0;
}
