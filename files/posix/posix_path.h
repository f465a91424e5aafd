// Windows-style paths on POSIX: backslashes become slashes.
#pragma once

#include <string>

std::string NativePath(const std::string& path);
