// Selects a page of the running Tovaro window, as a click on its tab does,
// and prints the window's place on the screen as WIDTHxHEIGHT+X+Y (the
// geometry ImageMagick's import crops to). Used by "./dev demo" to take one
// screenshot per page.
//
//   showpage N          N = 0 for the first tab
//   showpage extended   checks "Extended 4.61MB Bank" and presses Apply, so
//                       that the pages show a result line
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/win32/resource.h"

namespace {

HWND FindControl(HWND form, int id) {
  for (HWND page = GetWindow(form, GW_CHILD); page != nullptr; page = GetWindow(page, GW_HWNDNEXT)) {
    if (HWND control = GetDlgItem(page, id)) {
      return control;
    }
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: showpage N\n");
    return 2;
  }
  HWND form = nullptr;
  for (int waited = 0; form == nullptr && waited < 15000; waited += 100) {
    form = FindWindowA("TMainForm", nullptr);
    if (form == nullptr || !IsWindowVisible(form)) {
      form = nullptr;
      Sleep(100);
    }
  }
  if (form == nullptr) {
    std::fprintf(stderr, "showpage: no Tovaro window\n");
    return 1;
  }
  HWND tabs = GetDlgItem(form, IDC_PageControl);
  if (std::strcmp(argv[1], "extended") == 0) {
    SendMessageA(tabs, TCM_SETCURFOCUS, 1, 0);
    HWND radio = FindControl(form, IDC_ExtendedRadio);
    if (radio == nullptr) {
      std::fprintf(stderr, "showpage: no XG Bank Modes page\n");
      return 1;
    }
    SendMessageA(radio, BM_CLICK, 0, 0);
    // Returns once Apply has run.
    SendMessageA(GetDlgItem(form, IDC_ApplyBtn), BM_CLICK, 0, 0);
    return 0;
  }
  const int page = std::atoi(argv[1]);
  if (page < 0 || page >= SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0)) {
    std::fprintf(stderr, "showpage: no tab %d\n", page);
    return 1;
  }
  // TCM_SETCURFOCUS notifies the window as a click does; TCM_SETCURSEL would not.
  SendMessageA(tabs, TCM_SETCURFOCUS, page, 0);
  RECT frame;
  GetWindowRect(form, &frame);
  std::printf("%ldx%ld+%ld+%ld\n", frame.right - frame.left, frame.bottom - frame.top, frame.left, frame.top);
  return 0;
}
