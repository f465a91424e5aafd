#include "files/wav_file_name.h"

bool IsWavFileName(const std::string& fileName) {
  if (fileName.size() < 4) {
    return false;
  }
  std::string tail = fileName.substr(fileName.size() - 4);
  for (char& c : tail) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return tail == ".wav";
}
