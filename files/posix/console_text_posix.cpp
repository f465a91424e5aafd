#include "files/console_text.h"

// A terminal here takes the bytes as they are.
void WriteText(std::FILE* stream, const std::string& text) { std::fwrite(text.data(), 1, text.size(), stream); }
