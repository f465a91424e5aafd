// The About page: the program, its maker, and what start-up found.
#include "app/win32/main_form.h"
#include "app/win32/resource.h"

void TMainForm::RefreshAboutPage(const MainView& view) {
  SetControlText(IDC_NameLabel, view.Title);
  SetControlText(IDC_InfoLabel, view.InfoText);
  SetControlText(IDC_FoundLabel, view.FoundText);
  SetControlText(IDC_DriverLabel, view.DriverText);
  SetControlText(IDC_BankLabel, view.BankText);
}

void TMainForm::SetAboutImage() {
  // The icon at 32 x 32 whatever the system's large icon size.
  aboutIcon_ =
      static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_Tovaro), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  SendMessageA(Control(IDC_AboutImage), STM_SETICON, reinterpret_cast<WPARAM>(aboutIcon_), 0);
}
