#include "app/win32/main_form.h"

#include "app/startup.h"

namespace {

const char* const MainFormClass = "TMainForm";

}  // namespace

bool TMainForm::Create(HINSTANCE instance) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = &TMainForm::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = MainFormClass;
  if (RegisterClassA(&windowClass) == 0) {
    return false;
  }
  // A fixed-size window: no sizing border, no maximize box.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  handle_ = CreateWindowExA(0, MainFormClass, ProductTitle.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, 480, 400,
                            nullptr, nullptr, instance, this);
  return handle_ != nullptr;
}

LRESULT CALLBACK TMainForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TMainForm* form = reinterpret_cast<TMainForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    form = static_cast<TMainForm*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    form->handle_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  return form != nullptr ? form->OnMessage(message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT TMainForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(handle_, message, wParam, lParam);
  }
}
