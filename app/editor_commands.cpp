#include "app/editor_commands.h"

#include "app/sample_edits.h"
#include "app/startup.h"
#include "files/fileops.h"
#include "files/path_parts.h"
#include "files/same_file.h"
#include "platform/converter.h"
#include "platform/cursor.h"
#include "platform/dialogs.h"
#include "ymf/bank_convert.h"
#include "ymf/bank_kinds.h"
#include "ymf/bank_mode.h"
#include "ymf/bank_workspace.h"
#include "ymf/installed_bank.h"
#include "ymf/operation_failure.h"
#include "ymf/protected_files.h"

namespace {

// The converter keeps the GUI thread until it returns.
bool UnderHourglass(bool (*operation)(const std::string&), const std::string& bankPath) {
  const CursorRef previous = ShowBusyCursor();
  const bool ok = operation(bankPath);
  RestoreCursor(previous);
  return ok;
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

// A bank the command needs is not there: the reason the box gives.
bool BankThere(const std::string& bank) {
  return FileExists(bank) ||
         Fail(FailureKind::FileUnusable, "There is no bank file '" + bank + "'. Choose one with the \"...\" button.");
}

bool FolderNotProtected(const std::string& bank) {
  return !IsProtectedFolder(DirectoryPart(bank)) || Fail(FailureKind::FileUnusable, ProtectedFolderReason(bank));
}

std::size_t WavFilesBeside(const std::string& bank) { return WavSamplesBeside(bank).size(); }

// An operation that failed without recording why gets the reason tovaroc gives.
void Because(const std::string& reason) {
  if (LastFailure().Kind == FailureKind::None) {
    Fail(FailureKind::StepFailed, reason);
  }
}

// The operation said why it failed; where the converter gave no reason of
// its own, the window gives the one tovaroc gives.
void ConverterFailed(const std::string& fallback) {
  const OperationFailure& failure = LastFailure();
  if (failure.Kind != FailureKind::None && failure.Kind != FailureKind::ConverterFailed) {
    return;
  }
  if (failure.Kind == FailureKind::ConverterFailed && !failure.Text.empty()) {
    return;
  }
  std::string why;
  const std::string reason = ConverterAvailable(why) ? fallback : why;
  ClearFailure();
  Fail(FailureKind::ConverterFailed, reason);
}

}  // namespace

namespace EditorCommands {

void CopyFromBtnClick(WindowChoices& choices, MainWindowPort& window) {
  const std::string source = choices.UserBankEdit;
  ClearFailure();
  if (!BankThere(source)) {
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
  if (AnyProtected(copy)) {
    Fail(FailureKind::FileUnusable, ProtectedFileReason(copy) + " (or one of its tables is) Choose another name.");
    ShowCommandError(window, CopyBankFailed);
    return;
  }
  if (!CopyBankSet(source, copy)) {
    Because(CopyWriteReason(copy));
    ShowCommandError(window, CopyBankFailed);
    return;
  }
  choices.UserBankEdit = copy;
  choices.UserBankSetEdit = copy;
  choices.ResultLine = "Bank and its three tables copied to " + copy + "; both bank edits now name the copy.";
}

void BankExtractBtnClick(WindowChoices& choices, MainWindowPort& window) {
  ClearFailure();
  if (!UnderHourglass(ExtractBank, choices.UserBankEdit)) {
    ConverterFailed(ExtractReason(choices.UserBankEdit));
    ShowCommandError(window, ExtractFailed);
    return;
  }
  choices.ResultLine =
      std::to_string(WavFilesBeside(choices.UserBankEdit)) + " WAV files written to " + FolderOf(choices.UserBankEdit);
}

void BankCreateBtnClick(WindowChoices& choices, MainWindowPort& window) {
  const std::string& bank = choices.UserBankEdit;
  ClearFailure();
  if (!BankThere(bank)) {
    ShowCommandError(window, BuildFailed);
    return;
  }
  if (!UnderHourglass(BuildBank, bank)) {
    ConverterFailed(BuildReason(bank, WavFilesBeside(bank)));
    ShowCommandError(window, BuildFailed);
    return;
  }
  choices.ResultLine = "Bank " + bank + " built from " + std::to_string(WavFilesBeside(bank)) + " WAV files.";
  // What went in: stray WAV files taken as new samples, and WAV files that
  // kept the old root key and loop because an editor dropped their smpl chunk.
  for (const std::string& line : BuildReportLines(ConverterBuildReport(), 3)) {
    choices.ResultLine += " " + line;
  }
  choices.ResultLine += FileExists(BankTablePath(bank, 3))
                            ? " Correct its signature before you set it."
                            : " No size table was written: " + BankTablePath(bank, 3) +
                                  " is missing, and the bank cannot be installed without its three tables.";
}

void EditorDeleteClick(WindowChoices& choices, MainWindowPort& window) {
  const std::string& bank = choices.UserBankEdit;
  ClearFailure();
  if (!BankThere(bank)) {
    ShowCommandError(window, DeleteWavFailed);
    return;
  }
  if (!FolderNotProtected(bank)) {
    ShowCommandError(window, DeleteWavFailed);
    return;
  }
  // The folder may hold the user's own recordings beside the samples.
  const std::size_t before = WavFilesBeside(bank);
  if (before == 0) {
    choices.ResultLine = "There are no WAV files in " + FolderOf(bank) + "; nothing was deleted.";
    return;
  }
  if (ShowMessage(window.ActiveWindow(), DeleteWavQuestion(before, DirectoryPart(bank)), ProductTitle,
                  MsgYesNo | MsgIconQuestion | MsgDefaultSecond) != AnswerYes) {
    return;
  }
  if (!DeleteWavSamples(bank)) {
    Because("Some WAV files in " + FolderOf(bank) + " are read-only or in use.");
    ShowCommandError(window, DeleteWavFailed);
    return;
  }
  choices.ResultLine = std::to_string(before - WavFilesBeside(bank)) + " WAV files deleted from " + FolderOf(bank);
}

void EditSignCorrectClick(WindowChoices& choices, MainWindowPort& window) {
  const std::string& bank = choices.UserBankEdit;
  ClearFailure();
  const std::uint8_t signature = SignatureOfType(choices.EditorTypeText);
  if (!SetBankSignature(bank, signature)) {
    Because("'" + bank + "' is missing, empty, read-only or in use.");
    ShowCommandError(window, SignatureFailed);
    return;
  }
  choices.ResultLine = "Signature of " + bank + " set to " + BankKinds[BankKindOfSignature(signature)].Title + ".";
}

void EditorSetBtnClick(WindowChoices& choices, MainWindowPort& window) {
  if (!SwitchBank(ModeUser, choices.UserBankEdit, window, choices.ResultLine)) {
    return;
  }
  choices.ResultLine += " Restart Windows to load it.";
  choices.UserBankSetEdit = choices.UserBankEdit;
  if (choices.RebootCheck) {
    window.Close();
  }
}

}  // namespace EditorCommands
