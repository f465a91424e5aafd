// What the XG Bank Editor page's buttons do: copy the bank being edited,
// take it apart into WAV samples and build it again, delete the samples,
// correct its signature and install it. Each acts at once on the path in
// UserBankEdit, taken as it is, and reports a failure in an error box.
#pragma once

#include "app/editor_texts.h"
#include "app/main_commands.h"

namespace EditorCommands {

// Asks where to copy the bank (the save dialog starts at it) and copies the
// bank set there; both edits then name the copy. A missing bank is
// reported before any dialog; the same file as the target copies nothing.
// A failed copy is reported and leaves both edits as they were.
void CopyFromBtnClick(WindowChoices& choices, MainWindowPort& window);
// Writes the bank's samples as WAV files beside it, under the hourglass.
void BankExtractBtnClick(WindowChoices& choices, MainWindowPort& window);
// Rebuilds an existing bank from the WAV files beside it, under the hourglass.
void BankCreateBtnClick(WindowChoices& choices, MainWindowPort& window);
// Asks, naming their count and folder (No has the focus), then deletes the
// WAV files beside an existing bank; refused in the driver's or a Backup folder.
void EditorDeleteClick(WindowChoices& choices, MainWindowPort& window);
// Writes the signature chosen in EditorTypeCombo into the bank.
void EditSignCorrectClick(WindowChoices& choices, MainWindowPort& window);
// Installs the bank as the user bank; on success UserBankSetEdit takes its
// path, and the window closes when "And Reboot" is checked.
void EditorSetBtnClick(WindowChoices& choices, MainWindowPort& window);

}  // namespace EditorCommands
