// Splitting Windows paths, which the file layers of both platforms accept.
//
// Paths are 8-bit strings in the system's ANSI code page. Under a double-byte
// code page (Japanese 932, Chinese 936 and 950, Korean 949) a character may
// take two bytes, and the second may be a backslash or a letter: 表 is 95 5C
// in 932, 誠 D5 5C in 936. Every split here walks characters from the start
// of the string, never bytes from its end.
#pragma once

#include <cstddef>
#include <string>

// True when this byte starts a two-byte character in the ANSI code page
// (IsDBCSLeadByteEx with CP_ACP on Windows; the portable build keeps a table).
bool IsLeadByte(unsigned char byte);
// Where the last character starts: size() - 2 for a two-byte one, size() - 1
// otherwise; 0 for an empty string.
std::size_t LastCharacterStart(const std::string& text);
// Where the last backslash (or slash, which Windows accepts too) is that is a
// character of its own, not the second byte of one; npos when none is.
std::size_t LastSeparator(const std::string& path);
// The directory part of a path with its trailing separator: up to the last
// separator, or "C:" of "C:name"; empty for a bare name, which stands for
// the current directory.
std::string DirectoryPart(const std::string& path);
// What follows the directory part.
std::string FileNamePart(const std::string& path);
// The path with its last character, one byte or two, replaced by c: the bank
// set's members differ only there.
std::string WithLastCharacter(const std::string& path, char c);
// The path without the separators it ends in, but never shorter than keep
// bytes (3 keeps "C:\").
std::string WithoutTrailingSeparators(const std::string& path, std::size_t keep);
// Whether two names are the same but for letter case, folded by the system
// as Windows compares file names (CompareStringA); the portable build folds
// ASCII letters only, and none inside a two-byte character.
bool SameNameIgnoringCase(const std::string& first, const std::string& second);
// Whether a name ends in tail (".wav"), in any letter case, the tail
// starting at a character of its own.
bool EndsWithIgnoringCase(const std::string& name, const std::string& tail);
