#include "files/path_parts.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Calls visit(start, length) for each character of the text, in order.
template <typename Visit>
void WalkCharacters(const std::string& text, Visit visit) {
  std::size_t i = 0;
  while (i < text.size()) {
    // A lead byte at the very end has no second byte: it stands alone.
    const std::size_t length = IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    visit(i, length);
    i += length;
  }
}

}  // namespace

std::size_t LastCharacterStart(const std::string& text) {
  std::size_t last = 0;
  WalkCharacters(text, [&last](std::size_t start, std::size_t) { last = start; });
  return last;
}

std::size_t LastSeparator(const std::string& path) {
  std::size_t last = std::string::npos;
  WalkCharacters(path, [&](std::size_t start, std::size_t length) {
    if (length == 1 && IsSeparator(path[start])) {
      last = start;
    }
  });
  return last;
}

std::string DirectoryPart(const std::string& path) {
  const std::size_t separator = LastSeparator(path);
  if (separator != std::string::npos) {
    return path.substr(0, separator + 1);
  }
  // A drive letter is one byte: no lead byte comes before the colon.
  return path.size() >= 2 && path[1] == ':' && !IsLeadByte(static_cast<unsigned char>(path[0])) ? path.substr(0, 2)
                                                                                                : std::string();
}

std::string FileNamePart(const std::string& path) { return path.substr(DirectoryPart(path).size()); }

std::string WithLastCharacter(const std::string& path, char c) {
  if (path.empty()) {
    return path;
  }
  return path.substr(0, LastCharacterStart(path)) + c;
}

std::string WithoutTrailingSeparators(const std::string& path, std::size_t keep) {
  std::string trimmed = path;
  for (std::size_t last = LastSeparator(trimmed);
       trimmed.size() > keep && last != std::string::npos && last + 1 == trimmed.size();
       last = LastSeparator(trimmed)) {
    trimmed.pop_back();
  }
  return trimmed;
}

bool EndsWithIgnoringCase(const std::string& name, const std::string& tail) {
  if (name.size() < tail.size()) {
    return false;
  }
  const std::size_t start = name.size() - tail.size();
  bool boundary = start == 0;
  WalkCharacters(name, [&](std::size_t at, std::size_t) { boundary = boundary || at == start; });
  return boundary && SameNameIgnoringCase(name.substr(start), tail);
}
