// What goes to a standard stream of a console program.
#pragma once

#include <cstdio>
#include <string>

// The bytes to write for ANSI text: a console window shows its output code
// page (the OEM code page unless chcp changed it), so text for one is
// converted, "Klänge" and "C:\Музыка" reading as typed; a stream redirected
// into a file or a pipe gets the ANSI bytes unchanged.
std::string ConsoleBytes(std::FILE* stream, const std::string& text);
