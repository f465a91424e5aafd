// Whether two spellings name one file, for the rules that keep the driver's
// own files out of the bank editor's reach.
#pragma once

#include <string>

// True when both paths name the same existing file or directory, however
// each is spelt: relative or absolute, '/' or '\', a trailing separator,
// and on Windows any letter case and the short 8.3 or the long names.
// False when either does not exist.
bool SameFileOrDirectory(const std::string& a, const std::string& b);
// False when the system cannot turn the spelling into a full path that the
// file functions take whole (on Windows a full name of MAX_PATH characters
// or more, which some calls still open). Such a path cannot be compared
// with any other, so whoever guards files must refuse it.
bool ResolvableFullPath(const std::string& path);
// The full path the system makes of a spelling (relative to the current
// directory, '/' or '\'); the spelling itself when it cannot.
std::string FullPathOf(const std::string& path);
