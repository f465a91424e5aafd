// Program start-up: the application state and the checks made before the
// main window opens.
#pragma once

#include <string>

// Directory of the running executable, with its trailing backslash.
extern std::string ExeDir;
// "Tovaro 2.0.1": window title and name label.
extern std::string ProductTitle;
// A change was made that takes effect after a restart.
extern bool RebootPending;

// What start-up decided before the window or the restore.
enum class StartupOutcome { Go, NoDriver, Quit };

// Steps 1 to 5 of start-up: own directory, detection, title, backup and its
// question. Quit when the user declined to start without a backup.
StartupOutcome RunStartupChecks();
// RunStartupChecks, ending the process when the user declined; true when a
// driver was found.
bool StartupCheck();
// True when the first command-line argument asks for the restore.
bool IsCleanSwitch(const std::string& firstArgument);
// The whole start-up up to the window: checks, the driver question and the
// "-clean" restore. True when the main window is to be opened.
bool PrepareStart(const std::string& firstArgument);
