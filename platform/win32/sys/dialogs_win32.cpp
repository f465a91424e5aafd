#include <windows.h>

#include "platform/dialogs.h"

int ShowMessage(WindowRef owner, const std::string& text, const std::string& title, std::uint32_t style) {
  return MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), title.c_str(), style);
}
