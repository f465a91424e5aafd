// Taking a bank apart into WAV samples and building it again, through the
// converter library.
#pragma once

#include <cstdint>
#include <string>

// The signature byte a bank built from WAV samples carries until the user
// sets its kind; the installed-bank identification reports it as unknown.
constexpr std::uint8_t BuiltBankSignature = 0x04;

// Each records why it failed in LastFailure() (the kind and the file).
// Writes the bank's samples as WAV files into its directory; true when the
// library reports success. False, calling nothing, when the directory is the
// live driver's or a Backup folder.
bool ExtractBank(const std::string& bankPath);
// Rebuilds the bank from the WAV files of its directory, then writes its
// size table and the signature BuiltBankSignature. False, calling nothing,
// when the bank or its size table is a protected file or the directory a
// protected one; false, with nothing else touched, when the library fails; false, with the new bank and size table
// kept, when the signature cannot be written.
bool BuildBank(const std::string& bankPath);
