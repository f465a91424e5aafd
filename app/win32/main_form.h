// The main window.
#pragma once

#include <windows.h>

class TMainForm {
 public:
  // Registers the window class and creates the window; false on failure.
  bool Create(HINSTANCE instance);
  HWND Handle() const { return handle_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
};
