// Which files are WAV samples: the one rule the converter builds a bank by
// and the bank editor lists and deletes by.
#pragma once

#include <string>

// True for names ending in ".wav" in any letter case, compared as the
// system compares names.
bool IsWavFileName(const std::string& fileName);
