// The bank editor's file operations on a working bank set: a bank file and
// its three table files, whose paths differ only in their last character.
// Nothing here shows a message; the window reports a false result.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Copies a bank and its three table files: source as it is and its tables
// to target with the last character made '0' to '3' (my.abc gives my.ab0 to
// my.ab3), replacing existing files. False, copying nothing, when a target
// is a protected file (IsProtectedFile); false at the first failed copy,
// the files copied before staying.
bool CopyBankSet(const std::string& sourceBank, const std::string& targetBank);
// The kind a bank set is added to the Banks folder as, by its bank's
// signature byte (BankKinds): BankExtended for 0x00, BankDance for 0x01.
// BankUnknown, with the reason in LastFailure(), for a bank that cannot be
// read or is empty, and for any other signature.
std::int32_t BankSetKindOf(const std::string& sourceBank);
// Adds a complete bank set as kind (BankExtended or BankDance) under the
// names of targetBank's set (extended.yb0 gives extended.yb0 to .yb3).
// Before anything is written it checks the bank (readable, not empty, the
// kind's signature) and its three tables (readable, at least the bytes a
// bank switch takes of each). Then each file is written whole under its
// target's name with ".new" added and renamed over the target, replacing
// an existing one. False, with the reason in LastFailure(): when a check,
// a protected target or a temporary copy fails nothing is replaced (the
// temporary copies are removed); when a rename fails, the files renamed
// before it stay, and the text says so.
bool AddBankSet(const std::string& sourceBank, std::int32_t kind, const std::string& targetBank);
// The WAV samples in the bank's directory, in name order. Names listed only
// through their 8.3 short name ("song.wave") are not among them.
std::vector<std::string> WavSamplesBeside(const std::string& bankPath);
// Deletes the WAV samples in the bank's directory (WavSamplesBeside); files
// that cannot be deleted stay. False, deleting nothing, when the directory
// is the live driver's or a Backup folder (IsProtectedFolder).
bool DeleteWavSamples(const std::string& bankPath);
// Writes byte 0 of an existing, writable, non-empty bank that is not a
// protected file; false otherwise (a protected file recorded in
// LastFailure()).
bool SetBankSignature(const std::string& bankPath, std::uint8_t signature);
// Writes the 2096-byte size table (523 zero words, then the bank's size as a
// little-endian word) at the start of the existing file
// of the bank's set, BankTablePath(bankPath, 3) (the bank's path with its
// last character replaced, as every table of a set is named), never
// creating or truncating it. False when the bank itself cannot be read or
// the table is a protected file (then nothing is written); a missing table
// file is passed over, and the caller says so.
bool WriteSizeTable(const std::string& bankPath);
