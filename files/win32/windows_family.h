// Which family of Windows runs the program, for the code that must take
// another road on Windows 95/98/Me. Include after windows.h.
#pragma once

// The high bit of GetVersion is set on the 9x family only.
inline bool RunsOnWindows9x() { return (GetVersion() & 0x80000000u) != 0; }
