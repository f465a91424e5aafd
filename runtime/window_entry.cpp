// Entry point of the window program.
#include <windows.h>

#include <cstdlib>

#include "runtime/process_start.h"

namespace {

// The command line after the program name, as Windows hands it to WinMain:
// the name may be quoted and contain spaces; blanks after it are skipped.
char* CommandTail(char* line) {
  bool quoted = false;
  while (*line != '\0' && (quoted || (*line != ' ' && *line != '\t'))) {
    if (*line == '"') {
      quoted = !quoted;
    }
    ++line;
  }
  while (*line == ' ' || *line == '\t') {
    ++line;
  }
  return line;
}

}  // namespace

extern "C" void WinMainCRTStartup(void) {
  StartProgram(2);  // _GUI_APP
  __main();
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
  std::exit(WinMain(GetModuleHandleA(nullptr), nullptr, CommandTail(GetCommandLineA()), show));
}
