// The XG Bank Modes page: the five bank-mode radio buttons, the user bank
// path and its "..." button (UserBankBtnClick), why Extended or Dance is
// greyed beside "Add bank set...", the System Restore note, and
// "Play test tune", which plays on a timer so that the window stays usable.
#include "app/test_tune.h"
#include "app/win32/main_form.h"
#include "app/win32/resource.h"
#include "platform/dialogs.h"

namespace {

// The radio of each BankRadio after None, in page order.
const int BankRadioIds[] = {IDC_DefaultRadio, IDC_DisabledRadio, IDC_ExtendedRadio, IDC_DanceRadio, IDC_UserRadio};

}  // namespace

void TMainForm::RefreshBankModesPage(const MainView& view) {
  ShowWindow(Control(IDC_LabelSysRes), view.SysResVisible ? SW_SHOW : SW_HIDE);
  EnableWindow(Control(IDC_ExtendedRadio), view.ExtendedEnabled);
  EnableWindow(Control(IDC_DanceRadio), view.DanceEnabled);
  SetControlText(IDC_BankSetsLabel, view.MissingBankSetsText);
  ShowWindow(Control(IDC_BankSetsLabel), view.MissingBankSetsText.empty() ? SW_HIDE : SW_SHOW);
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

namespace {

// The window timer that steps the test tune: it fires when the next message is due.
constexpr UINT_PTR TestTuneTimer = 1;
const char* const PlayTestTuneCaption = "Play &test tune";
const char* const StopTestTuneCaption = "S&top test tune";

void ShowTestTuneError(HWND form, const std::string& why) {
  HWND active = GetActiveWindow();
  ShowMessage(reinterpret_cast<WindowRef>(active != nullptr ? active : form),
              std::string(TestTuneFailed) + "\n\n" + why, "Error", MsgOk | MsgIconError);
}

void CALLBACK TestTuneTick(HWND form, UINT, UINT_PTR, DWORD) {
  std::uint32_t waitMs = 0;
  std::string why;
  if (StepTestTune(waitMs, why)) {
    // The same timer again, now with the time to the next message.
    SetTimer(form, TestTuneTimer, waitMs, &TestTuneTick);
    return;
  }
  KillTimer(form, TestTuneTimer);
  const TMainForm* self = reinterpret_cast<const TMainForm*>(GetWindowLongPtrA(form, DWLP_USER));
  SetWindowTextA(self->Control(IDC_TestTuneBtn), PlayTestTuneCaption);
  if (!why.empty()) {
    ShowTestTuneError(form, why);
  }
}

}  // namespace

void TMainForm::TestTuneBtnClick() {
  if (TestTunePlaying()) {
    KillTimer(handle_, TestTuneTimer);
    StopTestTune();
    SetControlText(IDC_TestTuneBtn, PlayTestTuneCaption);
    return;
  }
  std::string why;
  if (!StartTestTune(why)) {
    ShowTestTuneError(handle_, why);
    return;
  }
  SetControlText(IDC_TestTuneBtn, StopTestTuneCaption);
  TestTuneTick(handle_, WM_TIMER, TestTuneTimer, 0);
}
