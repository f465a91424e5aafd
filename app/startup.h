// Program start-up, shared by tovaro.exe and tovaroc.exe: the application
// state and the checks made before the window opens or a command runs.
#pragma once

#include <string>

#include "app/texts.h"

// Directory of the running executable, with its trailing backslash.
extern std::string ExeDir;
// "Tovaro 2.0.1" (from the project version): window title and name label.
extern std::string ProductTitle;
// A change was made that takes effect after a restart.
extern bool RebootPending;

struct StartupFacts {
  bool DriverFound = false;
  // A usable backup is present: made now, or found matching its manifest.
  bool BackupMade = false;
  // Why not, when BackupMade is false: a backup that does not match its
  // manifest, a live driver that carries the patch, a full disk...
  std::string BackupProblem;
  // The backup step found the driver files locked by another program.
  bool BackupBusy = false;
};

// Steps 1 to 5 of start-up without asking anything: own directory, reboot
// flag cleared, detection, title and the backup of the original files,
// first creating the Backup folder beside the program when it is missing
// (the window's start-up does; tovaroc reports the missing folder instead).
StartupFacts RunStartupSteps(bool createBackupFolder = false);

// What start-up decided before the window or the restore.
enum class StartupOutcome { Go, NoDriver, Quit };

// RunStartupSteps, then the backup question when the backup failed. Quit
// when the user declined to start without a backup.
StartupOutcome RunStartupChecks();
// RunStartupChecks, ending the process when the user declined; true when a
// driver was found.
bool StartupCheck();
// True when the first command-line argument asks for the silent restore.
bool IsCleanSwitch(const std::string& firstArgument);
// True when it asks for the restore that asks first and says how it went
// (the Start menu's "Restore original driver files").
bool IsRestoreSwitch(const std::string& firstArgument);
// The whole start-up up to the window: checks, the driver question and the
// "-clean" or "-restore" restore. True when the main window is to be opened.
bool PrepareStart(const std::string& firstArgument);
