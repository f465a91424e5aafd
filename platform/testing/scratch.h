// File and directory helpers for tests and for the installer of simulated
// drivers, in a library the programs do not link: they never create
// directories.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A new empty directory in the temporary area; the result ends in a backslash.
std::string MakeScratchDir(const std::string& tag);
// Removes a directory and everything below it.
void RemoveTree(const std::string& dir);
// Creates one directory level (succeeds when it already exists).
bool MakeDirectory(const std::string& dir);
bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes);
// Sets or clears the read-only attribute (no write permission bits elsewhere).
bool SetReadOnly(const std::string& path, bool readOnly);
bool DirectoryExists(const std::string& path);
// A second name for an existing file (a hard link), and a symbolic link to
// one; false where the file system or the system cannot make them.
bool MakeHardLink(const std::string& target, const std::string& link);
bool MakeSymbolicLink(const std::string& target, const std::string& link);
