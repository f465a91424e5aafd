// The controls of the driver settings on the Control Panel, Audio Settings,
// Load Modules and Voices pages, bound to the rows of DriverSettingTable.
#include "app/win32/main_form.h"
// after windows.h, which it needs
#include <commctrl.h>

#include "app/main_view.h"
#include "app/win32/resource.h"

namespace {

// The control of each row, in table order: the check box of a flag, the
// drop-down list of an index, the up-down of a voice limit.
const int SettingControlIds[DriverSettingCount] = {
    IDC_WaveOutCheck,  IDC_MiscCheck,   IDC_HiFiCheck,  IDC_FeaturesCombo, IDC_C3DCheck,
    IDC_GamePortCheck, IDC_LegacyCheck, IDC_SpdifCheck, IDC_SPDIFInCombo,  IDC_VSVLCheck,
    IDC_PowerCheck,    IDC_ModUpDown,   IDC_WodUpDown,  IDC_DSUpDown,      IDC_DS3DUpDown,
};

}  // namespace

void TMainForm::RefreshSettingControls(const MainView& view) {
  for (std::size_t row = 0; row < DriverSettingCount; ++row) {
    SetSettingControl(row, view.SettingShown[row]);
    EnableWindow(Control(SettingControlIds[row]), view.SettingEnabled[row]);
  }
}

void TMainForm::SetSettingControl(std::size_t row, std::int32_t value) {
  HWND control = Control(SettingControlIds[row]);
  switch (DriverSettingTable[row].Kind) {
    case SettingKind::Flag:
      SendMessageA(control, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case SettingKind::Index:
      // -1 (NoSelection) clears the selection.
      SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
      break;
    case SettingKind::VoiceLimit:
      // The bound edit shows the position, and its change notification
      // recomputes the total.
      SendMessageA(control, UDM_SETPOS32, 0, value);
      break;
  }
}

std::int32_t TMainForm::SettingControlValue(std::size_t row) const {
  HWND control = Control(SettingControlIds[row]);
  switch (DriverSettingTable[row].Kind) {
    case SettingKind::Flag:
      return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    case SettingKind::Index: {
      const LRESULT selection = SendMessageA(control, CB_GETCURSEL, 0, 0);
      return selection == CB_ERR ? NoSelection : static_cast<std::int32_t>(selection);
    }
    case SettingKind::VoiceLimit:
      break;
  }
  // A signed 16-bit spin position; a text that is not a count in range
  // leaves the last position.
  return static_cast<std::int16_t>(SendMessageA(control, UDM_GETPOS32, 0, 0));
}
