#include "files/posix/posix_path.h"

#include "files/path_parts.h"

std::string NativePath(const std::string& path) {
  std::string native = path;
  for (std::size_t i = 0; i < native.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(native[i]))) {
      ++i;  // its second byte may be 5C and stays
    } else if (native[i] == '\\') {
      native[i] = '/';
    }
  }
  return native;
}
