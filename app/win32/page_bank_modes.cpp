// The XG Bank Modes page: the five bank-mode radio buttons, the user bank
// path and its "..." button (UserBankBtnClick), and the System Restore note.
#include "app/win32/main_form.h"
#include "app/win32/resource.h"

namespace {

// The radio of each BankRadio after None, in page order.
const int BankRadioIds[] = {IDC_DefaultRadio, IDC_DisabledRadio, IDC_ExtendedRadio, IDC_DanceRadio, IDC_UserRadio};

}  // namespace

void TMainForm::RefreshBankModesPage(const MainView& view) {
  ShowWindow(Control(IDC_LabelSysRes), view.SysResVisible ? SW_SHOW : SW_HIDE);
  EnableWindow(Control(IDC_ExtendedRadio), view.ExtendedEnabled);
  EnableWindow(Control(IDC_DanceRadio), view.DanceEnabled);
  SetCheckedRadio(view.CheckedRadio);
}

void TMainForm::SetCheckedRadio(BankRadio radio) {
  for (int i = 0; i < 5; ++i) {
    const bool checked = static_cast<int>(radio) == i + 1;
    SendMessageA(Control(BankRadioIds[i]), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

BankRadio TMainForm::CheckedRadio() const {
  for (int i = 0; i < 5; ++i) {
    if (SendMessageA(Control(BankRadioIds[i]), BM_GETCHECK, 0, 0) == BST_CHECKED) {
      return static_cast<BankRadio>(i + 1);
    }
  }
  return BankRadio::None;
}
