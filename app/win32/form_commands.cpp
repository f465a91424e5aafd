// How the window runs its commands: every button and the portable command
// it runs, in one table. A command runs on a snapshot of the controls
// (WindowChoices) and the window writes back what it changed; one that
// closes the window calls Close() on its MainWindowPort.
#include "app/win32/main_form.h"

#include <algorithm>

#include "app/editor_commands.h"
#include "app/main_commands.h"
#include "app/win32/resource.h"

const TMainForm::WindowButton TMainForm::Buttons[] = {
    {IDC_ApplyBtn, &MainCommands::ApplyBtnClick},
    {IDC_OkBtn, &MainCommands::OkBtnClick},
    {IDC_CancelBtn, &MainCommands::CancelBtnClick},
    {IDC_HelpBtn, &MainCommands::HelpBtnClick},
    // The "..." of the XG Bank Modes page and of the XG Bank Editor page.
    {IDC_UserBankPathBtn, &MainCommands::UserBankBtnClick},
    {IDC_UserBankBtn, &MainCommands::UserBankBtnClick},
    {IDC_CPanelBtn, &MainCommands::CPanelBtnClick},
    {IDC_RestoreBtn, &MainCommands::RestoreBtnClick},
    {IDC_AddBankSetBtn, &MainCommands::AddBankSetBtnClick},
    {IDC_CopyFromBtn, &EditorCommands::CopyFromBtnClick},
    {IDC_BankExtractBtn, &EditorCommands::BankExtractBtnClick},
    {IDC_BankCreateBtn, &EditorCommands::BankCreateBtnClick},
    {IDC_EditorDelete, &EditorCommands::EditorDeleteClick},
    {IDC_EditSignCorrect, &EditorCommands::EditSignCorrectClick},
    {IDC_EditorSetBtn, &EditorCommands::EditorSetBtnClick},
    {IDC_SamplesBtn, nullptr, &TMainForm::SamplesBtnClick},
    {IDC_TestTuneBtn, nullptr, &TMainForm::TestTuneBtnClick},
    {0, nullptr},
};

const int TMainForm::VoiceEditIds[4] = {IDC_ModEdit, IDC_WodEdit, IDC_DSEdit, IDC_DS3DEdit};

void TMainForm::OnCommand(int id, int code) {
  if (!ready_) {
    return;
  }
  const int* voice = std::find(VoiceEditIds, VoiceEditIds + 4, id);
  if (voice != VoiceEditIds + 4 && code == EN_CHANGE) {
    VoiceEditsChange();
    return;
  }
  if (voice != VoiceEditIds + 4 && code == EN_KILLFOCUS) {
    // No box while the focus moves: it is checked once the focus has settled.
    PostMessageA(handle_, WM_VoiceEditLeft, static_cast<WPARAM>(voice - VoiceEditIds), 0);
    return;
  }
  // A click on a static with SS_NOTIFY (InfoLabel) is STN_CLICKED, which is BN_CLICKED's number.
  if (code != BN_CLICKED) {
    return;
  }
  if (id == IDC_InfoLabel) {
    InfoLabelClick();
    return;
  }
  for (const WindowButton* button = Buttons; button->ControlId != 0; ++button) {
    if (button->ControlId == id) {
      if (button->Command != nullptr) {
        RunCommand(button->Command);
      } else {
        (this->*button->Own)();
      }
      return;
    }
  }
}

void TMainForm::RunCommand(WindowCommand command) {
  const WindowChoices before = ReadChoices();
  WindowChoices after = before;
  command(after, *this);
  if (!IsWindow(handle_)) {
    return;
  }
  WriteChangedChoices(before, after);
  if (closeRequested_) {
    closeRequested_ = false;
    SendMessageA(handle_, WM_CLOSE, 0, 0);
  }
}

WindowChoices TMainForm::ReadChoices() const {
  WindowChoices choices;
  choices.CheckedRadio = CheckedRadio();
  choices.UserBankSetEdit = ControlText(IDC_UserBankSetEdit);
  choices.UserBankEdit = ControlText(IDC_UserBankEdit);
  choices.RebootCheck = IsDlgButtonChecked(pages_[EditorTab], IDC_RebootCheck) == BST_CHECKED;
  choices.EditorTypeText = ControlText(IDC_EditorTypeCombo);
  for (std::size_t row = 0; row < DriverSettingCount; ++row) {
    choices.Settings[row] = SettingControlValue(row);
  }
  for (int i = 0; i < 4; ++i) {
    choices.VoiceTexts[i] = ControlText(VoiceEditIds[i]);
  }
  choices.ResultLine = ResultLine();
  return choices;
}

void TMainForm::WriteChangedChoices(const WindowChoices& before, const WindowChoices& after) {
  if (after.CheckedRadio != before.CheckedRadio) {
    SetCheckedRadio(after.CheckedRadio);
  }
  if (after.UserBankSetEdit != before.UserBankSetEdit) {
    SetControlText(IDC_UserBankSetEdit, after.UserBankSetEdit);
  }
  if (after.UserBankEdit != before.UserBankEdit) {
    SetControlText(IDC_UserBankEdit, after.UserBankEdit);
  }
  if (after.RebootCheck != before.RebootCheck) {
    CheckDlgButton(pages_[EditorTab], IDC_RebootCheck, after.RebootCheck ? BST_CHECKED : BST_UNCHECKED);
  }
  for (std::size_t row = 0; row < DriverSettingCount; ++row) {
    if (after.Settings[row] != before.Settings[row]) {
      SetSettingControl(row, after.Settings[row]);
    }
  }
  if (after.ResultLine != before.ResultLine) {
    SetResultLine(after.ResultLine);
  }
}

namespace {

// The result line of every page that changes something; each shows the same text.
const int ResultLineIds[] = {IDC_BankResult,  IDC_EditorResult, IDC_CPanelResult,
                             IDC_AudioResult, IDC_LoadResult,   IDC_VoicesResult};

}  // namespace

std::string TMainForm::ResultLine() const { return ControlText(ResultLineIds[0]); }

void TMainForm::SetResultLine(const std::string& text) {
  for (int id : ResultLineIds) {
    SetControlText(id, text);
  }
}
