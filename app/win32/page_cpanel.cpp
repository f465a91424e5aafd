// The Control Panel page: the feature set and S/PDIF input lists (their
// selections are bound in settings_controls.cpp) and the button that opens
// the driver's own control panel (CPanelBtnClick).
#include "app/win32/main_form.h"
#include "app/win32/resource.h"

void TMainForm::InitCPanelPage() {
  FillList(IDC_FeaturesCombo, FeaturesComboItems, FeaturesListCount);
  FillList(IDC_SPDIFInCombo, SPDIFInComboItems, SpdifInListCount);
}
