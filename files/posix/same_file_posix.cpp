#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/posix/posix_path.h"
#include "files/same_file.h"

bool SameFileOrDirectory(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  return !a.empty() && !b.empty() && stat(NativePath(a).c_str(), &first) == 0 &&
         stat(NativePath(b).c_str(), &second) == 0 && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool ResolvableFullPath(const std::string& path) {
  struct stat entry {};
  // A missing file resolves as well; only what stat cannot even look up fails.
  return !path.empty() && (stat(NativePath(path).c_str(), &entry) == 0 || errno != ENAMETOOLONG);
}

std::string FullPathOf(const std::string& path) {
  char directory[4096] = {};
  if (path.empty() || path[0] == '/' || getcwd(directory, sizeof directory) == nullptr) {
    return path;
  }
  return std::string(directory) + "/" + path;
}
