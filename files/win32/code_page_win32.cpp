#include <windows.h>

#include "files/path_parts.h"

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByteEx(CP_ACP, byte) != 0; }

// A string sort that ignores only the case: the word sort of lstrcmpiA
// weighs hyphens and apostrophes apart from the other characters. The system
// folds the letters of the code page, two-byte ones whole.
bool SameNameIgnoringCase(const std::string& first, const std::string& second) {
  return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, first.data(),
                        static_cast<int>(first.size()), second.data(), static_cast<int>(second.size())) == CSTR_EQUAL;
}
