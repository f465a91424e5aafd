// What the main window does when the user acts: Apply, Ok, Cancel, the
// close question, the voice total, browsing for a bank file, the driver's
// control panel and the help. Each command works on a snapshot of the
// window's controls taken when it was invoked and may change it; the window
// writes back what changed. What a command needs of the window itself
// (refreshing, owners for boxes, closing) it asks through MainWindowPort.
#pragma once

#include <cstdint>
#include <string>

#include "app/main_view.h"
#include "app/voice_counts.h"
#include "platform/dialogs.h"
#include "platform/file_dialogs.h"
#include "ymf/driver_settings.h"
#include "ymf/settings_apply.h"

// The controls the commands read and write.
struct WindowChoices {
  BankRadio CheckedRadio = BankRadio::None;
  std::string UserBankSetEdit;  // XG Bank Modes page
  std::string UserBankEdit;     // XG Bank Editor page
  bool RebootCheck = false;     // "And Reboot"
  std::string EditorTypeText;   // the text EditorTypeCombo shows
  // Per row of DriverSettingTable: a check box's state (0 or 1), a list's
  // position (NoSelection when none) or an up-down's position.
  std::int32_t Settings[DriverSettingCount] = {};
  // The four count edits as typed (MIDI, Wave Out, Direct Sound, Direct Sound 3D).
  std::string VoiceTexts[4];
  // What the last command did, shown on every page that changes something.
  std::string ResultLine;
};

// The window the commands run in.
class MainWindowPort {
 public:
  // Rewrites every control that has a stored value from Env (the edits of
  // the bank paths are not among them).
  virtual void RefreshWindow() = 0;
  // The owner of a message box or file dialog: the window active now.
  virtual WindowRef ActiveWindow() = 0;
  // The program's window, the owner of what the shell opens.
  virtual WindowRef ApplicationWindow() = 0;
  // Closes the window once the command has ended; the close question runs then.
  virtual void Close() = 0;

 protected:
  ~MainWindowPort() = default;
};

// A command bound to a button: it may change the snapshot.
using WindowCommand = void (*)(WindowChoices& choices, MainWindowPort& window);

extern const char* const BankFileFilter;           // "Tovaro Banks (*.yb0)|*.yb0|All files (*.*)|*.*"
extern const char* const BankFileExtension;        // "yb0"
extern const char* const RebootQuestion;           // "To apply changes you should reboot your computer. Reboot now?"
extern const char* const RestoreQuestion;          // asked by "Restore original driver files..."
extern const char* const RestoreSettingsQuestion;  // asked after it when the settings were recorded

// Identifies the installed bank again; true when it is no longer what the
// window last showed (another program switched it meanwhile).
bool InstalledBankChangedUnseen();
// The request of the open (or save) dialog for bank files, starting at fileName.
FileDialogRequest BankFileDialog(FileDialogKind kind, WindowRef owner, const std::string& fileName);
// Why the last operation failed, as LastFailure() recorded it (the words
// tovaroc prints), and when a step had already changed a live file, how to
// get the originals back; empty when nothing was recorded.
std::string FailureReason();
// A failed user command: the text, then FailureReason() below it, in a box
// titled "Error" with OK and the error icon, owned by the active window.
void ShowCommandError(MainWindowPort& window, const std::string& text);
// Switches the bank under the hourglass. On success sets RebootPending,
// identifies the installed bank, refreshes the window and says in
// resultLine what is installed now; on failure shows "Cannot set XG Bank
// Mode" with the reason and changes nothing else. True on success.
bool SwitchBank(std::int32_t mode, const std::string& userBankPath, MainWindowPort& window, std::string& resultLine);
// The sentence a result line ends with while a restart is pending.
std::string RestartPendingText();
// The settings a snapshot asks for, through the rows of DriverSettingTable:
// the stored ones with each control's value in its row's field (a list
// without a selection keeps the stored index).
DriverSettings SettingsChoicesOf(const WindowChoices& choices, const DriverSettings& stored);

namespace MainCommands {

// The bank mode of the checked radio when it differs from the installed
// kind (a user bank with a path is installed every time), then the panel
// settings, the load modules and the voice limits, each written only when
// it differs, all from the snapshot. A failed switch is reported and the
// settings steps still run.
void ApplyBtnClick(WindowChoices& choices, MainWindowPort& window);
// The window became active again: when another program (tovaroc, a second
// copy) changed the installed bank meanwhile, the driver's state is read
// again and every page redrawn, so that no page shows what is not installed.
void FormActivated(MainWindowPort& window);
// Apply, then close whatever Apply reported.
void OkBtnClick(WindowChoices& choices, MainWindowPort& window);
// Close without Apply.
void CancelBtnClick(WindowChoices& choices, MainWindowPort& window);
// Either "..." button: the open dialog starts at UserBankEdit, or at the
// Extended bank when that is empty; a chosen file goes into both edits and
// checks UserRadio.
void UserBankBtnClick(WindowChoices& choices, MainWindowPort& window);
// The shell's openings; one that fails says which file could not be opened.
void CPanelBtnClick(WindowChoices& choices, MainWindowPort& window);
void HelpBtnClick(WindowChoices& choices, MainWindowPort& window);
// F1: the help page of a tab.
void HelpForPage(MainPage page, MainWindowPort& window);
// The web and e-mail lines of the About page: the browser, the mail client.
void WebLinkClick(WindowChoices& choices, MainWindowPort& window);
void MailLinkClick(WindowChoices& choices, MainWindowPort& window);
// "Restore original driver files...": asks first, then puts the original
// driver and bank back as "-clean" does, identifies the installed bank and
// refreshes the window; a refusal or failure is reported with its reason.
void RestoreBtnClick(WindowChoices& choices, MainWindowPort& window);
// "Add bank set...": the open dialog for a bank file, its kind by its
// signature (BankSetKindOf), a question before the set of that kind in the
// Banks folder is replaced, then AddBankSet; the sets are looked for again
// and the window refreshed, so that the added kind's choice is enabled.
// The result line says what was added; a refusal or failure is said in a
// box with its reason and what to do.
void AddBankSetBtnClick(WindowChoices& choices, MainWindowPort& window);

// Any closing of the window: asks the reboot question while RebootPending
// and restarts on Yes. Closing is always allowed.
bool FormCloseQuery(MainWindowPort& window);
// A count text changed: the total of the four texts (MIDI, Wave Out,
// Direct Sound, Direct Sound 3D). A text that is not a whole number (an
// emptied field while the user retypes it) is not Valid: the total keeps
// its text, and nothing is said until the field is left or Apply runs.
VoiceTotal VoiceEditsChange(const std::string counts[4], MainWindowPort& window);
// The focus left count field `index` (0 MIDI to 3 Direct Sound 3D): a
// number outside 0 to 64 is reported. An empty field waits for Apply.
void VoiceEditLeft(int index, const std::string& text, MainWindowPort& window);

}  // namespace MainCommands
