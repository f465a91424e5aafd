// The standard open and save file dialogs.
#pragma once

#include <string>

#include "platform/dialogs.h"

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
  FileDialogKind Kind = FileDialogKind::Open;
  WindowRef Owner = 0;
  // Pairs of description and pattern separated by '|':
  // "Banks (*.yb0)|*.yb0|All files (*.*)|*.*".
  std::string Filter;
  std::string DefaultExtension;  // without the dot, added to a name typed without one
  std::string FileName;          // the name the dialog starts with
};

// Shows the dialog modally: resizable, the file must exist to be opened,
// and saving over an existing file asks first. True with the chosen full
// path; false when the user cancelled (or the dialog could not be shown).
bool AskFileName(const FileDialogRequest& request, std::string& chosen);
