#include "files/posix/posix_path.h"

#include <algorithm>

std::string NativePath(const std::string& path) {
  std::string native = path;
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}
