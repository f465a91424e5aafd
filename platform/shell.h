// Work handed to the Windows shell.
#pragma once

#include <string>

#include "platform/dialogs.h"

// The show command of a window the shell opens: SW_SHOW.
constexpr int ShellShow = 5;

// Asks the shell to carry out a verb ("open", "cplopen") on a file, with no
// parameters and no working directory (ShellExecuteA). False when the shell
// says it could not: no such file, no program registered for it, ...
bool ShellExecuteVerb(WindowRef owner, const std::string& verb, const std::string& file, int showCommand);
