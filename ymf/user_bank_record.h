// Which user bank set was installed last, kept beside the backup pair, so
// that status, the About page and verify can name the set after a restart.
//
// "userbank.txt" in the Backup folder:
//   Tovaro user bank record 1
//   set C:\My Banks\mine.yb0
//   bank 2424832 xxh64 0123456789ABCDEF
//   xxh64 FEDCBA9876543210
// The bank line is the size and ContentHash of the bank the switch put
// live; the last line is the hash of every line above it. A record that is
// missing, damaged or of another form is not there.
#pragma once

#include <string>

constexpr const char* UserBankRecordName = "userbank.txt";

// The record's path, beside the backup pair; empty without a driver.
std::string UserBankRecordPath();
// Records the set at setPath (made a full path) as the one installed last, with the size and
// hash of the live bank that the switch to it has just written. False when
// the record could not be written (nothing depends on it).
bool RecordUserBank(const std::string& setPath);
// Forgets the set: another mode is installed, or the backup is gone.
void RemoveUserBankRecord();

struct InstalledUserBank {
  // The recorded set's bank file; empty unless a user bank is installed
  // (Env.BankKind) and it holds the bytes the record lists.
  std::string SetPath;
  // The set's bank file no longer holds those bytes (or is gone): its tables
  // may not be the ones the driver was given.
  bool SetChanged = false;
};
// The set the installed user bank came from, as far as the record shows.
InstalledUserBank FindInstalledUserBank();
