// Entry point of our DLLs. Static objects of a DLL live as long as the DLL:
// their destructors and everything registered with atexit run when it is
// unloaded, not when the process ends.
#include <windows.h>

#include <cstdlib>

#include "runtime/process_start.h"

namespace {

// Plain array: a container with a destructor of its own would be torn down
// before the functions it holds have run.
StartupFunction* ExitFunctions = nullptr;
int ExitCount = 0;
int ExitCapacity = 0;

void RunExitFunctions() {
  while (ExitCount > 0) {
    ExitFunctions[--ExitCount]();
  }
  std::free(ExitFunctions);
  ExitFunctions = nullptr;
  ExitCapacity = 0;
}

}  // namespace

extern "C" {

int __cdecl atexit(StartupFunction function) {
  if (ExitCount == ExitCapacity) {
    const int capacity = ExitCapacity == 0 ? 16 : ExitCapacity * 2;
    void* grown = std::realloc(ExitFunctions, capacity * sizeof(StartupFunction));
    if (grown == nullptr) {
      return -1;
    }
    ExitFunctions = static_cast<StartupFunction*>(grown);
    ExitCapacity = capacity;
  }
  ExitFunctions[ExitCount++] = function;
  return 0;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

BOOL WINAPI DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    _initterm(__xi_a, __xi_z);
    _initterm(__xc_a, __xc_z);
    __main();
  }
  const BOOL result = DllMain(instance, reason, reserved);
  if (reason == DLL_PROCESS_DETACH || (reason == DLL_PROCESS_ATTACH && !result)) {
    RunExitFunctions();
  }
  return result;
}
}
