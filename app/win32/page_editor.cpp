// The XG Bank Editor page: the bank being edited, its "..." button (the
// same UserBankBtnClick as on the XG Bank Modes page), the signature list
// and the editor's command buttons.
#include "app/win32/main_form.h"
#include "app/win32/resource.h"

void TMainForm::InitEditorPage() {
  FillList(IDC_EditorTypeCombo, EditorTypeComboItems, EditorTypeCount);
  CheckDlgButton(pages_[EditorTab], IDC_RebootCheck, BST_CHECKED);
}

void TMainForm::RefreshEditorPage(const MainView& view) {
  SendMessageA(Control(IDC_EditorTypeCombo), CB_SETCURSEL, static_cast<WPARAM>(view.EditorTypeSelection), 0);
}
