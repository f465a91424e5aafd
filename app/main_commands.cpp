#include "app/main_commands.h"

#include <algorithm>

#include "app/editor_texts.h"
#include "app/startup.h"
#include "app/system_actions.h"
#include "files/fileops.h"
#include "files/files.h"
#include "files/path_parts.h"
#include "platform/cursor.h"
#include "ymf/backup.h"
#include "ymf/bank_convert.h"
#include "ymf/bank_kinds.h"
#include "ymf/bank_mode.h"
#include "ymf/bank_workspace.h"
#include "ymf/change_rules.h"
#include "ymf/detect.h"
#include "ymf/driver_verify.h"
#include "ymf/environment.h"
#include "ymf/installed_bank.h"
#include "ymf/operation_failure.h"
#include "ymf/settings_backup.h"

const char* const BankFileFilter = "Tovaro Banks (*.yb0)|*.yb0|All files (*.*)|*.*";
const char* const BankFileExtension = "yb0";
const char* const RebootQuestion = "To apply changes you should reboot your computer. Reboot now?";
const char* const RestoreQuestion =
    "Put the original driver and bank files from the Backup folder back in place? Every bank installed since is "
    "replaced by the original Default bank.";
const char* const RestoreSettingsQuestion =
    "Put the driver's settings back as well, as they were when Tovaro first made its backup? The pages' settings, "
    "voice limits included, then go back to those values.";

namespace {

// The mode Apply switches to for the checked radio; false when nothing is
// to be switched.
bool BankModeToApply(const WindowChoices& choices, std::int32_t& mode, std::string& userBankPath) {
  if (choices.CheckedRadio == BankRadio::None) {
    return false;
  }
  if (choices.CheckedRadio == BankRadio::User) {
    mode = ModeUser;
    userBankPath = choices.UserBankSetEdit;
    return !userBankPath.empty();
  }
  const BankRadio* radio = std::find(RadioOfKind, RadioOfKind + BankKindCount, choices.CheckedRadio);
  mode = BankKinds[radio - RadioOfKind].Mode;
  // The rule tovaroc follows: a mode is skipped only when its files verify,
  // so that choosing it again finishes a switch that stopped half way.
  return CheckBankMode(mode) != BankModeCheck::AlreadyInstalled;
}

// A settings group written by Apply, added to what Apply did so far.
void Settle(const GroupApplied& applied, MainWindowPort& window, GroupApplied& done) {
  if (applied.RebootNeeded) {
    RebootPending = true;
  }
  if (applied.Changed) {
    window.RefreshWindow();
  }
  done.Changed = done.Changed || applied.Changed;
  done.RebootNeeded = done.RebootNeeded || applied.RebootNeeded;
  done.Refused.insert(done.Refused.end(), applied.Refused.begin(), applied.Refused.end());
  done.LeftAlone.insert(done.LeftAlone.end(), applied.LeftAlone.begin(), applied.LeftAlone.end());
}

const char* const VoiceFieldNames[4] = {"MIDI", "Wave Out", "Direct Sound", "Direct Sound 3D"};

// A count as typed: a whole number from 0 to 64, or false.
bool VoiceCountInRange(const std::string& text) {
  if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  int value = 0;
  for (char digit : text) {
    value = value * 10 + (digit - '0');
  }
  return value <= VoiceCountMax;
}

std::string VoiceRangeMessage(int index, const std::string& text) {
  return std::string(VoiceFieldNames[index]) + " voices: '" + text +
         "' is not a count from 0 to 64. Type a whole number from 0 to 64.";
}

// The first count of the snapshot that is not from 0 to 64, or -1.
int FirstVoiceOutOfRange(const WindowChoices& choices) {
  for (int i = 0; i < 4; ++i) {
    if (!VoiceCountInRange(choices.VoiceTexts[i])) {
      return i;
    }
  }
  return -1;
}

// What the switch installed, for the result line.
std::string InstalledText(std::int32_t mode, const std::string& userBankPath) {
  if (mode == ModeDisabled) {
    return "XG bank disabled: the driver loads no bank.";
  }
  // The kind the About page shows for what is installed now, not the kind asked for.
  const std::int32_t kind = Env.BankKind;
  std::string text;
  if (kind == BankUser) {
    text = "User bank " + userBankPath + " installed";
  } else if (kind == BankDefault) {
    text = "Default bank installed";
  } else if (kind == BankExtended || kind == BankDance) {
    text = std::string(BankKinds[kind].Title) + " bank" + (mode == ModeUser ? " " + userBankPath : std::string()) +
           " installed";
  } else {
    text = "Bank " + userBankPath + " of unknown kind installed (the About page says \"Unknown bank\")";
  }
  const DriverVerification check = VerifyDriver(mode == ModeUser ? userBankPath : std::string());
  if (check.Exact) {
    return text + "; the driver verifies exact.";
  }
  return text + (check.Compared ? "; but the driver does not verify exact: 'tovaroc verify' says where it differs."
                                : "; the driver could not be verified against its backup.");
}

// Whether byte 0 of a bank file is this signature.
bool BankSignatureIs(const std::string& path, std::uint8_t signature) {
  FileHandle file = InvalidFileHandle;
  if (!OpenRead(path, file)) {
    return false;
  }
  std::uint8_t first = 0;
  const bool read = SeekStart(file) && ReadByte(file, first);
  CloseFile(file);
  return read && first == signature;
}

std::string UnmarkedBankQuestion(const std::string& path) {
  return path +
         " was built from WAV samples and carries no bank kind yet, so the About page and tovaroc would call it an "
         "unknown bank.\n\nMark it as a User bank before it is installed?";
}

// "Installed now: the Default bank." from Env.BankKind.
std::string InstalledNowText() {
  switch (Env.BankKind) {
    case BankNone:
      return "Installed now: no bank (the driver loads none).";
    case BankDefault:
      return "Installed now: the Default bank.";
    case BankExtended:
      return "Installed now: the Extended bank.";
    case BankDance:
      return "Installed now: the Dance bank.";
    case BankUser:
      return "Installed now: a User bank.";
    default:
      return "Installed now: a bank of unknown kind.";
  }
}

void Append(std::string& line, const std::string& sentence) {
  if (!sentence.empty()) {
    line += (line.empty() ? "" : " ") + sentence;
  }
}

void ShowOpenFailure(MainWindowPort& window, const std::string& what) {
  ShowMessage(window.ActiveWindow(),
              "Cannot open " + what + ".\n\nWindows found no file or no program to open it with.", "Error",
              MsgOk | MsgIconError);
}

const char* const AddBankSetFailed = "Cannot add the bank set.";

// The failure, its reason and what to do about it.
void ShowAddBankSetError(MainWindowPort& window, const std::string& reason) {
  std::string text = reason;
  Append(text, LastFailure().Kind == FailureKind::FileUnusable
                   ? "Choose the .yb0 of a complete Extended (signature 0x00) or Dance (0x01) bank set, with its "
                     "tables .yb1 to .yb3 beside it; the XG Bank Editor page can correct a bank's signature."
                   : "Check that the Banks folder exists and can be written to, then add the set again.");
  ShowMessage(window.ActiveWindow(), std::string(AddBankSetFailed) + "\n\n" + text, "Error", MsgOk | MsgIconError);
}

}  // namespace

bool InstalledBankChangedUnseen() {
  const std::int32_t kind = Env.BankKind;
  const std::int32_t size = Env.BankSize;
  IdentifyInstalledBank();
  return Env.BankKind != kind || (kind != BankNone && Env.BankSize != size);
}

FileDialogRequest BankFileDialog(FileDialogKind kind, WindowRef owner, const std::string& fileName) {
  FileDialogRequest request;
  request.Kind = kind;
  request.Owner = owner;
  request.Filter = BankFileFilter;
  request.DefaultExtension = BankFileExtension;
  request.FileName = fileName;
  return request;
}

std::string FailureReason() {
  const OperationFailure& failure = LastFailure();
  if (failure.Kind == FailureKind::None) {
    return std::string();
  }
  std::string reason = FailureFacts(failure);
  if (failure.FilesChanged) {
    Append(reason, WindowRestoreHint);
  }
  return reason;
}

void ShowCommandError(MainWindowPort& window, const std::string& text) {
  const std::string reason = FailureReason();
  ShowMessage(window.ActiveWindow(), reason.empty() ? text : text + "\n\n" + reason, "Error", MsgOk | MsgIconError);
}

std::string RestartPendingText() { return RestartLine; }

bool SwitchBank(std::int32_t mode, const std::string& userBankPath, MainWindowPort& window, std::string& resultLine) {
  ClearFailure();
  if (mode == ModeUser && BankSignatureIs(userBankPath, BuiltBankSignature) &&
      ShowMessage(window.ActiveWindow(), UnmarkedBankQuestion(userBankPath), "Set this bank",
                  MsgYesNo | MsgIconQuestion) == AnswerYes &&
      !SetBankSignature(userBankPath, SignatureOfType("User"))) {
    ShowCommandError(window, SignatureFailed);
    resultLine = "The bank was not changed.";
    return false;
  }
  const CursorRef previous = ShowBusyCursor();
  const bool switched = SetBankMode(mode, userBankPath);
  RestoreCursor(previous);
  if (!switched) {
    const bool halfDone = LastFailure().FilesChanged;
    ShowCommandError(window, SetBankModeFailed);
    // The radio buttons go back to what is installed, not what was asked for.
    IdentifyInstalledBank();
    window.RefreshWindow();
    resultLine = (halfDone ? "The bank switch stopped half way; restore the original driver files to go back. "
                           : "The bank was not changed. ") +
                 InstalledNowText();
    return false;
  }
  RebootPending = true;
  IdentifyInstalledBank();
  window.RefreshWindow();
  resultLine = InstalledText(mode, userBankPath);
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
  const int badVoice = FirstVoiceOutOfRange(choices);
  std::int32_t mode = 0;
  std::string userBankPath;
  std::string line;
  GroupApplied done;
  if (InstalledBankChangedUnseen()) {
    // Another program (tovaroc, a second window) switched the bank since
    // the page was drawn: the radios show a state that is no longer
    // installed, and switching from it would undo that change unasked.
    window.RefreshWindow();
    line = "The installed bank was changed by another program; nothing was switched. " + InstalledNowText() +
           " Choose the bank again and apply.";
  } else if (BankModeToApply(choices, mode, userBankPath)) {
    done.RebootNeeded = SwitchBank(mode, userBankPath, window, line);
  }
  GroupApplied settingsDone;
  for (SettingGroup group : SettingGroups) {
    if (group == SettingGroup::VoiceLimits && badVoice >= 0) {
      // The up-down keeps its last position for a text it cannot take: the
      // count shown is not what would be stored, so none of the four is.
      ShowMessage(window.ActiveWindow(),
                  VoiceRangeMessage(badVoice, choices.VoiceTexts[badVoice]) + "\n\nThe voice limits were not stored.",
                  "Error", MsgOk | MsgIconError);
      continue;
    }
    Settle(ApplySettingsGroup(group, wanted), window, settingsDone);
  }
  if (!settingsDone.Refused.empty()) {
    ShowMessage(window.ActiveWindow(), RefusedSettingsText(settingsDone.Refused), "Error", MsgOk | MsgIconError);
    Append(line, "Settings not stored: " + std::to_string(settingsDone.Refused.size()) +
                     " value(s) were refused by the registry.");
  } else if (settingsDone.Changed) {
    Append(line, "Settings stored.");
  }
  Append(line, LeftAloneSettingsText(settingsDone.LeftAlone));
  if (line.empty()) {
    line = "Nothing to apply: the pages show what is installed and stored.";
  }
  if (done.RebootNeeded && !settingsDone.Changed) {
    Append(line, "Restart Windows to load it.");
  } else if (done.RebootNeeded || settingsDone.RebootNeeded) {
    Append(line, RestartPendingText());
  } else if (RebootPending) {
    Append(line, "A restart of Windows is still pending.");
  }
  choices.ResultLine = line;
}

void FormActivated(MainWindowPort& window) {
  if (InstalledBankChangedUnseen()) {
    ReadDriverSettings();
    window.RefreshWindow();
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

void CPanelBtnClick(WindowChoices&, MainWindowPort& window) {
  if (!OpenDriverControlPanel(window.ApplicationWindow())) {
    ShowOpenFailure(window, "the driver's control panel " + DriverControlPanelPath());
  }
}

void HelpBtnClick(WindowChoices&, MainWindowPort& window) {
  if (!OpenHelp(window.ApplicationWindow())) {
    ShowOpenFailure(window, "the help " + HelpPagePath("index.html"));
  }
}

void HelpForPage(MainPage page, MainWindowPort& window) {
  const std::string path = HelpPagePath(HelpPageOf(page));
  if (!OpenDocument(window.ApplicationWindow(), path)) {
    ShowOpenFailure(window, "the help " + path);
  }
}

void WebLinkClick(WindowChoices&, MainWindowPort& window) {
  if (!OpenDocument(window.ApplicationWindow(), MakerWebPage)) {
    ShowOpenFailure(window, std::string("the web page ") + MakerWebPage);
  }
}

void MailLinkClick(WindowChoices&, MainWindowPort& window) {
  if (!OpenDocument(window.ApplicationWindow(), std::string("mailto:") + MakerEmail)) {
    ShowOpenFailure(window, std::string("a mail to ") + MakerEmail);
  }
}

void RestoreBtnClick(WindowChoices& choices, MainWindowPort& window) {
  if (ShowMessage(window.ActiveWindow(), RestoreQuestion, "Restore original driver files",
                  MsgYesNo | MsgIconQuestion) != AnswerYes) {
    return;
  }
  ClearFailure();
  const CursorRef previous = ShowBusyCursor();
  const bool restored = RestoreDriverFiles();
  RestoreCursor(previous);
  IdentifyInstalledBank();
  window.RefreshWindow();
  if (!restored) {
    ShowCommandError(window, RestoreFailed);
    choices.ResultLine = RestoreRefusedLine;
    return;
  }
  RebootPending = true;
  choices.ResultLine = "Original driver and bank files restored from the Backup folder. " + RestartPendingText();
  // The restore removed the backup pair; what is live now is the
  // originals, backed up again so that the next bank change can start from them.
  ClearFailure();
  if (!BackupDriverFiles()) {
    ShowCommandError(window,
                     "The original driver files are back, but no new backup of them could be made: "
                     "no bank can be changed until Tovaro is started again.");
    choices.ResultLine += " No new backup could be made.";
  }
  if (SettingsRecordPresent() &&
      ShowMessage(window.ActiveWindow(), RestoreSettingsQuestion, "Restore original driver files",
                  MsgYesNo | MsgIconQuestion) == AnswerYes) {
    ClearFailure();
    if (RestoreDriverSettings()) {
      choices.ResultLine += " The driver settings are as they were before Tovaro changed them.";
    } else {
      ShowCommandError(window, "Cannot put back the driver settings.");
    }
    window.RefreshWindow();
  }
}

void AddBankSetBtnClick(WindowChoices& choices, MainWindowPort& window) {
  if (Env.ExtendedBankPath.empty()) {
    ShowMessage(window.ActiveWindow(), std::string(AddBankSetFailed) + "\n\n" + NoBanksFolderLine, "Error",
                MsgOk | MsgIconError);
    return;
  }
  std::string chosen;
  if (!AskFileName(BankFileDialog(FileDialogKind::Open, window.ActiveWindow(), choices.UserBankEdit), chosen)) {
    return;
  }
  ClearFailure();
  const std::int32_t kind = BankSetKindOf(chosen);
  if (kind == BankUnknown) {
    ShowAddBankSetError(window, FailureReason());
    return;
  }
  const std::string title = BankKindRowOf(kind)->Title;
  const std::string target = kind == BankExtended ? Env.ExtendedBankPath : Env.DanceBankPath;
  const std::string last = FileNamePart(BankTablePath(target, 3));
  const std::string names = FileNamePart(target) + " to " + last.substr(last.rfind('.'));
  bool present = false;
  for (int k = 0; k <= 3; ++k) {
    present = present || FileExists(BankTablePath(target, k));
  }
  if (present && ShowMessage(window.ActiveWindow(),
                             "The Banks folder already holds the " + title + " bank set (" + names +
                                 "). Replace it with " + chosen + " and its tables?",
                             "Add bank set", MsgYesNo | MsgIconQuestion) != AnswerYes) {
    return;
  }
  ClearFailure();
  const CursorRef previous = ShowBusyCursor();
  const bool added = AddBankSet(chosen, kind, target);
  RestoreCursor(previous);
  LookForBankSets();
  window.RefreshWindow();
  if (!added) {
    ShowAddBankSetError(window, FailureReason());
    choices.ResultLine = "The bank set was not added.";
    return;
  }
  choices.ResultLine =
      title + " bank set added to the Banks folder as " + names + ". Select " + title + " and Apply to install it.";
}

bool FormCloseQuery(MainWindowPort& window) {
  if (RebootPending &&
      ShowMessage(window.ActiveWindow(), RebootQuestion, "Information", MsgYesNo | MsgIconQuestion) == AnswerYes) {
    RebootComputer();
  }
  return true;
}

VoiceTotal VoiceEditsChange(const std::string counts[4], MainWindowPort&) {
  return ComputeVoiceTotal(counts[0], counts[1], counts[2], counts[3]);
}

void VoiceEditLeft(int index, const std::string& text, MainWindowPort& window) {
  if (!text.empty() && !VoiceCountInRange(text)) {
    ShowMessage(window.ActiveWindow(), VoiceRangeMessage(index, text), "Error", MsgOk | MsgIconError);
  }
}

}  // namespace MainCommands
