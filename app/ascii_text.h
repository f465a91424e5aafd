// Text as the command lines compare it.
#pragma once

#include <string>

// The text with the ASCII letters A to Z made lower case; every other byte,
// also of other code pages, stays as it is.
std::string AsciiLower(std::string text);
