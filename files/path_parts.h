// Splitting Windows paths, which the file layers of both platforms accept.
#pragma once

#include <string>

// The directory part of a path with its trailing separator: up to the last
// backslash (or slash, which Windows accepts too), or "C:" of "C:name";
// empty for a bare name, which stands for the current directory.
inline std::string DirectoryPart(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  if (separator != std::string::npos) {
    return path.substr(0, separator + 1);
  }
  return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string();
}
