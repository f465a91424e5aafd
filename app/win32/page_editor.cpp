// The XG Bank Editor page: the bank being edited, its "..." button (the
// same UserBankBtnClick as on the XG Bank Modes page), the signature list,
// the editor's command buttons and "Samples...", which opens the Samples
// window on the bank.
#include "app/win32/main_form.h"
#include "app/win32/resource.h"
#include "app/win32/samples_window.h"
#include "platform/converter.h"

void TMainForm::InitEditorPage() {
  FillList(IDC_EditorTypeCombo, EditorTypeComboItems, EditorTypeCount);
  CheckDlgButton(pages_[EditorTab], IDC_RebootCheck, BST_CHECKED);
  // An older a10.dll has no sample tools: the button that needs them is not offered.
  ShowWindow(Control(IDC_SamplesBtn), ConverterHasSampleTools() ? SW_SHOW : SW_HIDE);
}

void TMainForm::SamplesBtnClick() { ShowSamplesWindow(instance_, handle_, ControlText(IDC_UserBankEdit)); }

void TMainForm::RefreshEditorPage(const MainView& view) {
  SendMessageA(Control(IDC_EditorTypeCombo), CB_SETCURSEL, static_cast<WPARAM>(view.EditorTypeSelection), 0);
}
