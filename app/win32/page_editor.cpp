// The XG Bank Editor page: the bank being edited, its "..." button (the
// same UserBankBtnClick as on the XG Bank Modes page), the signature list
// and the editor's command buttons.
#include "app/win32/main_form.h"
#include "app/win32/resource.h"

// The editor's commands by button. A command runs on a snapshot of the
// controls (WindowChoices) and the window writes back what it changed; one
// that closes the window calls Close() on its MainWindowPort. A button
// whose command is null is not connected yet and does nothing.
const TMainForm::PageButton TMainForm::EditorButtons[] = {
    {IDC_CopyFromBtn, nullptr},      // CopyFromBtnClick
    {IDC_BankExtractBtn, nullptr},   // BankExtractBtnClick
    {IDC_BankCreateBtn, nullptr},    // BankCreateBtnClick
    {IDC_EditorDelete, nullptr},     // EditorDeleteClick
    {IDC_EditSignCorrect, nullptr},  // EditSignCorrectClick
    {IDC_EditorSetBtn, nullptr},     // EditorSetBtnClick
    {0, nullptr},
};

void TMainForm::InitEditorPage() {
  FillList(IDC_EditorTypeCombo, EditorTypeComboItems, EditorTypeCount);
  CheckDlgButton(pages_[EditorTab], IDC_RebootCheck, BST_CHECKED);
}

void TMainForm::RefreshEditorPage(const MainView& view) {
  SendMessageA(Control(IDC_EditorTypeCombo), CB_SETCURSEL, static_cast<WPARAM>(view.EditorTypeSelection), 0);
}
