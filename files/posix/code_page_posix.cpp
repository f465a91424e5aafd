#include <cstddef>

#include "files/path_parts.h"
#include "files/posix/ansi_code_page.h"

namespace {

// The lead bytes of the chosen code page: [First, Last] and [Second, SecondLast].
struct LeadBytes {
  unsigned First = 0x100, Last = 0, Second = 0x100, SecondLast = 0;
};
LeadBytes Chosen;

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool SelectAnsiCodePage(unsigned codePage) {
  switch (codePage) {
    case 932:
      Chosen = LeadBytes{0x81, 0x9F, 0xE0, 0xFC};
      return true;
    case 936:
    case 949:
    case 950:
      Chosen = LeadBytes{0x81, 0xFE, 0x100, 0};
      return true;
    default:
      Chosen = LeadBytes{};
      return codePage >= 874 && codePage <= 1258;
  }
}

bool IsLeadByte(unsigned char byte) {
  return (byte >= Chosen.First && byte <= Chosen.Last) || (byte >= Chosen.Second && byte <= Chosen.SecondLast);
}

bool SameNameIgnoringCase(const std::string& first, const std::string& second) {
  if (first.size() != second.size()) {
    return false;
  }
  for (std::size_t i = 0; i < first.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(first[i])) && i + 1 < first.size()) {
      if (first[i] != second[i] || first[i + 1] != second[i + 1]) {
        return false;
      }
      ++i;
    } else if (AsciiLower(first[i]) != AsciiLower(second[i])) {
      return false;
    }
  }
  return true;
}
