// Whether two spellings name one file, for the rules that keep the driver's
// own files out of the bank editor's reach.
#pragma once

#include <string>

// True when both paths name the same existing file or directory, however
// each is spelt: relative or absolute, '/' or '\', a trailing separator,
// and on Windows any letter case and the short 8.3 or the long names.
// False when either does not exist.
bool SameFileOrDirectory(const std::string& a, const std::string& b);
