// The busy (hourglass) cursor for work that keeps the GUI thread from
// handling input.
#pragma once

#include <cstdint>

using CursorRef = std::uintptr_t;  // an HCURSOR

// Shows the hourglass; returns the cursor to put back.
CursorRef ShowBusyCursor();
void RestoreCursor(CursorRef previous);
