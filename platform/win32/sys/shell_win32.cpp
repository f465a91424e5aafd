#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "platform/shell.h"

bool ShellExecuteVerb(WindowRef owner, const std::string& verb, const std::string& file, int showCommand) {
  // The result is an instance handle only for 16-bit compatibility: above 32
  // means success, 32 or below is an error code.
  return reinterpret_cast<INT_PTR>(ShellExecuteA(reinterpret_cast<HWND>(owner), verb.c_str(), file.c_str(), nullptr,
                                                 nullptr, showCommand)) > 32;
}
