#include "app/editor_commands.h"

#include "app/startup.h"
#include "files/fileops.h"
#include "files/path_parts.h"
#include "platform/converter.h"
#include "platform/cursor.h"
#include "platform/dialogs.h"
#include "platform/same_file.h"
#include "ymf/bank_convert.h"
#include "ymf/bank_mode.h"
#include "ymf/bank_workspace.h"
#include "ymf/protected_files.h"

namespace {

// The converter keeps the GUI thread until it returns.
bool UnderHourglass(bool (*operation)(const std::string&), const std::string& bankPath) {
  const CursorRef previous = ShowBusyCursor();
  const bool ok = operation(bankPath);
  RestoreCursor(previous);
  return ok;
}

// The box's text, and below it the file and the reason the converter
// named, when it named one.
std::string WithConverterProblem(const char* text) {
  const std::string problem = ConverterProblem();
  return problem.empty() ? std::string(text) : std::string(text) + "\n\n" + problem;
}

// Where CopyBankSet puts the bank and its tables: the target with its last
// character made '0' to '3'.
bool AnyProtected(const std::string& targetBank) {
  for (int k = 0; k <= 3; ++k) {
    if (IsProtectedFile(BankTablePath(targetBank, k))) {
      return true;
    }
  }
  return false;
}

}  // namespace

namespace EditorCommands {

void CopyFromBtnClick(WindowChoices& choices, MainWindowPort& window) {
  const std::string source = choices.UserBankEdit;
  if (!FileExists(source)) {
    ShowCommandError(window, CopyBankFailed);
    return;
  }
  std::string chosen;
  if (!AskFileName(BankFileDialog(FileDialogKind::Save, window.ActiveWindow(), source), chosen) || chosen == source) {
    return;
  }
  // The bank goes to the chosen name with its last character made '0'
  // ("my.abc" gives "my.ab0"): that is the file the edits must name, and
  // the one that must not be the source itself.
  const std::string copy = BankTablePath(chosen, 0);
  if (SameFileOrDirectory(copy, source)) {
    return;
  }
  if (AnyProtected(copy) || !CopyBankSet(source, copy)) {
    ShowCommandError(window, CopyBankFailed);
    return;
  }
  choices.UserBankEdit = copy;
  choices.UserBankSetEdit = copy;
}

void BankExtractBtnClick(WindowChoices& choices, MainWindowPort& window) {
  if (!UnderHourglass(ExtractBank, choices.UserBankEdit)) {
    ShowCommandError(window, WithConverterProblem(ExtractFailed));
  }
}

void BankCreateBtnClick(WindowChoices& choices, MainWindowPort& window) {
  const std::string& bank = choices.UserBankEdit;
  if (!FileExists(bank) || IsProtectedFile(bank)) {
    ShowCommandError(window, BuildFailed);
  } else if (!UnderHourglass(BuildBank, bank)) {
    ShowCommandError(window, WithConverterProblem(BuildFailed));
  }
}

void EditorDeleteClick(WindowChoices& choices, MainWindowPort& window) {
  const std::string& bank = choices.UserBankEdit;
  if (!FileExists(bank) || IsProtectedFolder(DirectoryPart(bank))) {
    ShowCommandError(window, DeleteWavFailed);
    return;
  }
  // The folder may hold the user's own recordings beside the samples.
  const std::size_t count = WavSamplesBeside(bank).size();
  if (count == 0 || ShowMessage(window.ActiveWindow(), DeleteWavQuestion(count, DirectoryPart(bank)), ProductTitle,
                                MsgYesNo | MsgIconQuestion | MsgDefaultSecond) != AnswerYes) {
    return;
  }
  if (!DeleteWavSamples(bank)) {
    ShowCommandError(window, DeleteWavFailed);
  }
}

void EditSignCorrectClick(WindowChoices& choices, MainWindowPort& window) {
  const std::string& bank = choices.UserBankEdit;
  if (IsProtectedFile(bank) || !SetBankSignature(bank, SignatureOfType(choices.EditorTypeText))) {
    ShowCommandError(window, SignatureFailed);
  }
}

void EditorSetBtnClick(WindowChoices& choices, MainWindowPort& window) {
  if (!SwitchBank(ModeUser, choices.UserBankEdit, window)) {
    return;
  }
  choices.UserBankSetEdit = choices.UserBankEdit;
  if (choices.RebootCheck) {
    window.Close();
  }
}

}  // namespace EditorCommands
