// The actions handed to Windows: restarting the computer, opening the
// driver's control-panel applet and opening a document such as the help.
// None of them reports a failure.
#pragma once

#include <string>

#include "platform/dialogs.h"

// The privilege an NT account needs to restart the computer.
extern const char* const ShutdownPrivilege;  // "SeShutdownPrivilege"

// Restarts Windows without forcing applications to close. On the NT family
// the shutdown privilege is enabled first; when the token cannot be opened
// or the privilege is not granted, nothing happens.
void RebootComputer();
// Opens SystemDir + "DS1.cpl" with the shell's "cplopen" verb.
void OpenDriverControlPanel(WindowRef owner);
// Opens a file with the program registered for its type ("open").
void OpenDocument(WindowRef owner, const std::string& path);
// The help: ExeDir + "Help\index.html", whatever the working directory.
void OpenHelp(WindowRef owner);
