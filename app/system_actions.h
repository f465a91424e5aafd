// The actions handed to Windows: restarting the computer, opening the
// driver's control-panel applet, the help and the maker's web page and
// e-mail address. The openings say whether the shell could do them.
#pragma once

#include <string>

#include "app/main_view.h"
#include "platform/dialogs.h"

// The privilege an NT account needs to restart the computer.
extern const char* const ShutdownPrivilege;  // "SeShutdownPrivilege"

// Restarts Windows without forcing applications to close. On the NT family
// the shutdown privilege is enabled first; when the token cannot be opened
// or the privilege is not granted, nothing happens.
void RebootComputer();
// Opens SystemDir + "DS1.cpl" with the shell's "cplopen" verb.
bool OpenDriverControlPanel(WindowRef owner);
// The applet OpenDriverControlPanel opens.
std::string DriverControlPanelPath();
// Opens a file or address with the program registered for its type ("open").
bool OpenDocument(WindowRef owner, const std::string& path);
// A page of the help: ExeDir + "Help\" + page, whatever the working directory.
std::string HelpPagePath(const std::string& page);
// The help page that describes a tab ("bankmodes.html"), opened by F1.
const char* HelpPageOf(MainPage page);
// The help's contents page, index.html.
bool OpenHelp(WindowRef owner);
