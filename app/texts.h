// The words that more than one part of the program says: the window, its
// start-up questions and tovaroc take them from here. The floors below say
// what happened (LastFailure(), a verification's facts); what the user can
// do about it is said here, once.
#pragma once

#include <string>

#include "ymf/operation_failure.h"

// What start-up can find wrong. tovaroc states the line as it is; the
// window's start-up asks StartAnywayQuestion of it.
extern const char* const BackupFailedLine;    // "Cannot create backup of original driver files."
extern const char* const DriverNotFoundLine;  // "YMF7x4 driver is not found."
// A restore that failed, in the window and in tovaroc.
extern const char* const RestoreFailed;  // "Cannot restore the original driver files."
// "-clean" that refused: this line and the reason, in an error box.
extern const char* const RestoreRefusedLine;  // "The original driver files were not restored."
// Said instead of BackupFailedLine when another program held the lock of
// the driver files, so that the backup could not even be checked.
extern const char* const DriverFilesBusyLine;
// The line followed by " Start the program anyway?".
std::string StartAnywayQuestion(const char* line);

extern const char* const RestartLine;        // "Restart Windows for the changes to take effect."
extern const char* const SetBankModeFailed;  // "Cannot set XG Bank Mode"

// How to get the originals back after a step had changed a live file: in
// the window, in tovaroc, and for "-clean".
extern const char* const WindowRestoreHint;
extern const char* const ConsoleRestoreHint;
extern const char* const CleanRestoreHint;

// What happened, as the failure record says it; a missing driver and a
// protected file in the words above and of editor_texts.h.
std::string FailureFacts(const OperationFailure& failure);
