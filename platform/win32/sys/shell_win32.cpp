#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "platform/shell.h"

void ShellExecuteVerb(WindowRef owner, const std::string& verb, const std::string& file, int showCommand) {
  ShellExecuteA(reinterpret_cast<HWND>(owner), verb.c_str(), file.c_str(), nullptr, nullptr, showCommand);
}
