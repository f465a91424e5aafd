#include "app/main_commands.h"

#include "app/startup.h"
#include "app/system_actions.h"
#include "platform/cursor.h"
#include "ymf/bank_mode.h"
#include "ymf/change_rules.h"
#include "ymf/environment.h"
#include "ymf/installed_bank.h"

const char* const BankFileFilter = "Tovaro Banks (*.yb0)|*.yb0|All files (*.*)|*.*";
const char* const BankFileExtension = "yb0";
const char* const SetBankModeFailed = "Cannot set XG Bank Mode";
const char* const RebootQuestion = "To apply changes you should reboot your computer. Reboot now?";

namespace {

// The mode Apply switches to for the checked radio; false when nothing is
// to be switched.
bool BankModeToApply(const WindowChoices& choices, std::int32_t& mode, std::string& userBankPath) {
  switch (choices.CheckedRadio) {
    case BankRadio::Default:
      mode = ModeDefault;
      break;
    case BankRadio::Disabled:
      mode = ModeDisabled;
      break;
    case BankRadio::Extended:
      mode = ModeExtended;
      break;
    case BankRadio::Dance:
      mode = ModeDance;
      break;
    case BankRadio::User:
      mode = ModeUser;
      userBankPath = choices.UserBankSetEdit;
      return !userBankPath.empty();
    case BankRadio::None:
      return false;
  }
  // The rule tovaroc follows: a mode is skipped only when its files verify,
  // so that choosing it again finishes a switch that stopped half way.
  return CheckBankMode(mode) != BankModeCheck::AlreadyInstalled;
}

void Settle(const GroupApplied& applied, MainWindowPort& window) {
  if (applied.RebootNeeded) {
    RebootPending = true;
  }
  if (applied.Changed) {
    window.RefreshWindow();
  }
}

}  // namespace

FileDialogRequest BankFileDialog(FileDialogKind kind, WindowRef owner, const std::string& fileName) {
  FileDialogRequest request;
  request.Kind = kind;
  request.Owner = owner;
  request.Filter = BankFileFilter;
  request.DefaultExtension = BankFileExtension;
  request.FileName = fileName;
  return request;
}

void ShowCommandError(MainWindowPort& window, const std::string& text) {
  ShowMessage(window.ActiveWindow(), text, "Error", MsgOk | MsgIconError);
}

bool SwitchBank(std::int32_t mode, const std::string& userBankPath, MainWindowPort& window) {
  const CursorRef previous = ShowBusyCursor();
  const bool switched = SetBankMode(mode, userBankPath);
  RestoreCursor(previous);
  if (!switched) {
    ShowCommandError(window, SetBankModeFailed);
    return false;
  }
  RebootPending = true;
  IdentifyInstalledBank();
  window.RefreshWindow();
  return true;
}

DriverSettings SettingsChoicesOf(const WindowChoices& choices, const DriverSettings& stored) {
  // A list without a selection stands for the stored index, which keeps it.
  DriverSettings wanted = stored;
  for (std::size_t row = 0; row < DriverSettingCount; ++row) {
    const DriverSetting& setting = DriverSettingTable[row];
    if (setting.Kind != SettingKind::Index || choices.Settings[row] != NoSelection) {
      setting.Set(wanted, choices.Settings[row]);
    }
  }
  return wanted;
}

namespace MainCommands {

void ApplyBtnClick(WindowChoices& choices, MainWindowPort& window) {
  // Every choice is taken before the first refresh replaces the controls.
  const DriverSettings wanted = SettingsChoicesOf(choices, Env.Settings);
  std::int32_t mode = 0;
  std::string userBankPath;
  if (BankModeToApply(choices, mode, userBankPath)) {
    SwitchBank(mode, userBankPath, window);
  }
  for (SettingGroup group : SettingGroups) {
    Settle(ApplySettingsGroup(group, wanted), window);
  }
}

void OkBtnClick(WindowChoices& choices, MainWindowPort& window) {
  ApplyBtnClick(choices, window);
  window.Close();
}

void CancelBtnClick(WindowChoices&, MainWindowPort& window) { window.Close(); }

void UserBankBtnClick(WindowChoices& choices, MainWindowPort& window) {
  const std::string start = choices.UserBankEdit.empty() ? Env.ExtendedBankPath : choices.UserBankEdit;
  std::string chosen;
  if (!AskFileName(BankFileDialog(FileDialogKind::Open, window.ActiveWindow(), start), chosen)) {
    return;
  }
  choices.UserBankEdit = chosen;
  choices.UserBankSetEdit = chosen;
  choices.CheckedRadio = BankRadio::User;
}

void CPanelBtnClick(WindowChoices&, MainWindowPort& window) { OpenDriverControlPanel(window.ApplicationWindow()); }

void HelpBtnClick(WindowChoices&, MainWindowPort& window) { OpenHelp(window.ApplicationWindow()); }

bool FormCloseQuery(MainWindowPort& window) {
  if (RebootPending &&
      ShowMessage(window.ActiveWindow(), RebootQuestion, "Information", MsgYesNo | MsgIconQuestion) == AnswerYes) {
    RebootComputer();
  }
  return true;
}

VoiceTotal VoiceEditsChange(const std::string counts[4], MainWindowPort& window) {
  const VoiceTotal total = ComputeVoiceTotal(counts[0], counts[1], counts[2], counts[3]);
  if (!total.Valid) {
    ShowMessage(window.ActiveWindow(), total.Error, ProductTitle, MsgOk | MsgIconError);
  }
  return total;
}

}  // namespace MainCommands
