// What goes to a standard stream of a console program.
#pragma once

#include <cstdio>
#include <string>

// Writes ANSI text to a stream. A console window shows its output code page
// (the OEM code page unless chcp changed it), so text for one is converted
// and handed to the console itself, "Klänge" and "C:\Музыка" reading as
// typed; a stream redirected into a file or a pipe gets the ANSI bytes.
void WriteText(std::FILE* stream, const std::string& text);
