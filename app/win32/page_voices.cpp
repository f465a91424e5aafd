// The Voices page: the total of the four voice counts, red above 88.
#include "app/win32/main_form.h"
// after windows.h, which it needs
#include <commctrl.h>

#include "app/win32/resource.h"

void TMainForm::InitVoicesPage() {
  // The up-downs of a resource script start with the range 100 to 0.
  for (int upDown : {IDC_ModUpDown, IDC_WodUpDown, IDC_DSUpDown, IDC_DS3DUpDown}) {
    SendMessageA(Control(upDown), UDM_SETRANGE32, VoiceCountMin, VoiceCountMax);
    SendMessageA(Control(upDown), UDM_SETPOS32, 0, 0);
  }
  for (int edit : VoiceEditIds) {
    SetControlText(edit, "0");
  }
  SetControlText(IDC_TotallyEdit, "0");
}

void TMainForm::VoiceEditsChange() {
  std::string counts[4];
  for (int i = 0; i < 4; ++i) {
    counts[i] = ControlText(VoiceEditIds[i]);
  }
  ShowVoiceTotal(MainCommands::VoiceEditsChange(counts, *this));
}

void TMainForm::ShowVoiceTotal(const VoiceTotal& total) {
  if (!total.Valid) {
    return;  // the total keeps its text and colour
  }
  totalOverLimit_ = total.OverLimit;
  SetControlText(IDC_TotallyEdit, total.Text);
  InvalidateRect(Control(IDC_TotallyEdit), nullptr, TRUE);
}

HBRUSH TMainForm::OnPageColor(HDC dc, HWND control) {
  if (control != Control(IDC_TotallyEdit)) {
    return nullptr;
  }
  // A read-only or disabled edit asks with WM_CTLCOLORSTATIC.
  SetBkColor(dc, totalOverLimit_ ? RGB(255, 0, 0) : GetSysColor(COLOR_WINDOW));
  return totalOverLimit_ ? redBrush_ : GetSysColorBrush(COLOR_WINDOW);
}
