// The files no bank may be written over or taken from: what the driver runs
// on now, and the copies of its originals.
#pragma once

#include <string>

// True when the path names the live driver file, the live bank file, or a
// file in the Backup folder beside the program, whatever the spelling.
// Installing such a file as a user bank would copy the live bank onto
// itself or swap an original in behind the backup's back, and writing a
// signature or a rebuilt bank into one would damage the only copy of an
// original; the bank mode switch and the bank editor refuse them.
bool IsProtectedFile(const std::string& path);
