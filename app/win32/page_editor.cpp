// The XG Bank Editor page: the bank being edited, its "..." button (the
// same UserBankBtnClick as on the XG Bank Modes page), the signature list
// and the editor's command buttons.
#include "app/editor_commands.h"
#include "app/win32/main_form.h"
#include "app/win32/resource.h"

// The editor's commands by button. A command runs on a snapshot of the
// controls (WindowChoices) and the window writes back what it changed; one
// that closes the window calls Close() on its MainWindowPort.
const TMainForm::PageButton TMainForm::EditorButtons[] = {
    {IDC_CopyFromBtn, &EditorCommands::CopyFromBtnClick},
    {IDC_BankExtractBtn, &EditorCommands::BankExtractBtnClick},
    {IDC_BankCreateBtn, &EditorCommands::BankCreateBtnClick},
    {IDC_EditorDelete, &EditorCommands::EditorDeleteClick},
    {IDC_EditSignCorrect, &EditorCommands::EditSignCorrectClick},
    {IDC_EditorSetBtn, &EditorCommands::EditorSetBtnClick},
    {0, nullptr},
};

void TMainForm::InitEditorPage() {
  FillList(IDC_EditorTypeCombo, EditorTypeComboItems, EditorTypeCount);
  CheckDlgButton(pages_[EditorTab], IDC_RebootCheck, BST_CHECKED);
}

void TMainForm::RefreshEditorPage(const MainView& view) {
  SendMessageA(Control(IDC_EditorTypeCombo), CB_SETCURSEL, static_cast<WPARAM>(view.EditorTypeSelection), 0);
}
