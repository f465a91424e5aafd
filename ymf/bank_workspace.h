// The bank editor's file operations on a working bank set: a bank file and
// its three table files, whose paths differ only in their last character.
// Nothing here shows a message; the window reports a false result.
#pragma once

#include <cstdint>
#include <string>

// The path without as many trailing characters as the extension has,
// followed by the extension ("my.tbl", "yb3" gives "my.yb3"); "." and the
// extension when the path is not longer than the extension.
std::string ReplaceNameTail(const std::string& path, const std::string& extension);
// Copies a bank and its three table files: source as it is and its tables
// to target with the last character made '0' to '3' (my.abc gives my.ab0 to
// my.ab3), replacing existing files. False at the first failed copy; the
// files copied before stay.
bool CopyBankSet(const std::string& sourceBank, const std::string& targetBank);
// True for a file name ending in ".wav" in lower case: a WAV sample that
// DeleteWavSamples deletes.
bool IsWavSampleName(const std::string& name);
// Deletes the files of the bank's directory whose names end in ".wav" (lower
// case). Files listed only through their 8.3 short name ("song.wave") and
// files that cannot be deleted stay. Always true.
bool DeleteWavSamples(const std::string& bankPath);
// Writes byte 0 of an existing, writable, non-empty bank; false otherwise.
bool SetBankSignature(const std::string& bankPath, std::uint8_t signature);
// Writes the 2096-byte size table (523 zero words, then the bank's size as a
// little-endian word) at the start of the existing file
// ReplaceNameTail(bankPath, "yb3"), never creating or truncating it. False
// only when the bank itself cannot be read; a missing table file is passed over.
bool WriteSizeTable(const std::string& bankPath);
