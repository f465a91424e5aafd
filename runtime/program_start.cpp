#include "runtime/process_start.h"

#include <cstdlib>

extern "C" {
// Destructors of static objects and everything else a program registers run
// in msvcrt's exit(), as with msvcrt's own start-up code.
int __cdecl atexit(void(__cdecl* function)(void)) {
  return _onexit(reinterpret_cast<_onexit_t>(function)) != nullptr ? 0 : -1;
}
}

ProgramArguments StartProgram(int appType) {
  __set_app_type(appType);
  _initterm(__xi_a, __xi_z);
  ProgramArguments arguments;
  StartupInfo info = {0};
  // No wildcard expansion: "bank user C:\*.tbl" stays one argument.
  __getmainargs(&arguments.Count, &arguments.Values, &arguments.Environment, 0, &info);
  _initterm(__xc_a, __xc_z);
  return arguments;
}
