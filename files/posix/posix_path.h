// Windows-style paths on POSIX: backslashes that are characters of their
// own become slashes.
#pragma once

#include <string>

std::string NativePath(const std::string& path);
