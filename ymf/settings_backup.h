// The driver's fifteen registry values as they were when the backup pair
// was first made, kept beside it in the Backup folder, so that a restore
// can put the settings back with the files.
//
// "settings.txt", one line per value in the order of DriverSettingTable:
//   Tovaro settings record 1
//   ShowWaveout 3 01000000
//   ShowMisc -
//   ...
//   xxh64 0123456789ABCDEF
// A value is its registry type and its bytes in hex; "-" for a value that
// was not there. The last line is the hash of every line above it.
#pragma once

#include <string>

constexpr const char* SettingsRecordName = "settings.txt";

// The record's path, beside the backup pair; empty without a driver.
std::string SettingsRecordPath();
// Whether a record that matches its hash is there.
bool SettingsRecordPresent();
// Records the values under Env.DriverRegKey unless a record is there
// already: the first one is the one that holds the originals. True when a
// record is there afterwards.
bool RecordDriverSettings();
// Writes every recorded value back as it was recorded (type and bytes),
// under Env.DriverRegKey only, then re-reads Env.Settings. A value that was
// not there when it was recorded is left as it is. False, writing nothing,
// when the record is missing or damaged or the key cannot be opened for
// writing; false, naming them in LastFailure, when values do not read back.
bool RestoreDriverSettings();
// Removes the record, with the backup it belongs to, once the restore that
// ends the backup ("-clean", tovaroc restore) is done with it.
void RemoveSettingsRecord();
