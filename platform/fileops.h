// Whole-file operations handed to the system.
#pragma once

#include <string>
#include <vector>

// Copies a file, replacing the destination (CopyFileA, fail-if-exists false).
bool CopyFileOver(const std::string& from, const std::string& to);
// Deletes one file (DeleteFileA): a read-only file or a directory is refused.
bool RemoveFile(const std::string& path);
// True only for an existing file that is not a directory.
bool FileExists(const std::string& path);
// Names (without directory) of the files matching a wildcard such as "C:\dir\*.wav".
std::vector<std::string> ListFiles(const std::string& pattern);
