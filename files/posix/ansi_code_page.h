// The ANSI code page whose characters the portable build's paths are made
// of: one without lead bytes (as 1252) unless another is chosen, so that
// native tests can split paths as Japanese or Chinese Windows does.
#pragma once

// 932, 936, 949 and 950 have lead bytes; any other code page is taken as a
// single-byte one. False for code pages that are not ANSI code pages of
// Windows.
bool SelectAnsiCodePage(unsigned codePage);
