#include "files/wav_file_name.h"

#include "files/path_parts.h"

bool IsWavFileName(const std::string& fileName) { return EndsWithIgnoringCase(fileName, ".wav"); }
