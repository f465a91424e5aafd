// The files no bank may be written over or taken from: what the driver runs
// on now, and the copies of its originals.
#pragma once

#include <string>
#include <vector>

// The folders that hold copies of the originals: "Backup" beside the
// running program and beside the installed one (below Program Files), once
// each. A tovaroc copied elsewhere must not write into the installed
// program's backup either.
std::vector<std::string> BackupFolders();
// True when the path names the live driver file, the live bank file, or a
// file in one of the Backup folders, whatever the spelling: compared by
// file identity, so hard and symbolic links and 8.3 names are caught.
// Installing such a file as a user bank would copy the live bank onto
// itself or swap an original in behind the backup's back, and writing a
// signature, a size table or a rebuilt bank into one would damage the
// only copy of an original; the bank mode switch and the bank editor
// refuse them.
bool IsProtectedFile(const std::string& path);
// True when a bank in this folder must not be taken apart or have its WAV
// files deleted: the folder of the live driver or bank, or a Backup folder.
bool IsProtectedFolder(const std::string& folder);
