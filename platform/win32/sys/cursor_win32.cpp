#include <windows.h>

#include "platform/cursor.h"

CursorRef ShowBusyCursor() { return reinterpret_cast<CursorRef>(SetCursor(LoadCursor(nullptr, IDC_WAIT))); }

void RestoreCursor(CursorRef previous) { SetCursor(reinterpret_cast<HCURSOR>(previous)); }
