// The backup pair of the original driver and bank files beside the program.
#pragma once

#include <string>

// True when both backup copies are present.
bool BackupPairPresent();
// Makes the backup pair unless it is present; true when it is present afterwards.
bool BackupDriverFiles();
// Copies a bank over the live bank, then the backup driver over the live driver.
bool InstallBank(const std::string& sourceBank);
// Puts both originals back and removes the pair.
bool RestoreDriverFiles();
