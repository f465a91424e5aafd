#include "converter/sample_files.h"

#include <cctype>

#include "converter/sample.h"
#include "files/path_parts.h"

std::string WavFileName(std::size_t index, std::size_t count, const std::string& sampleName) {
  std::size_t width = 3;
  for (std::size_t limit = 1000; count > limit && width < 20; limit *= 10) {
    ++width;
  }
  std::string digits = std::to_string(index);
  if (digits.size() < width) {
    digits.insert(0, width - digits.size(), '0');
  }
  return digits + "_" + sampleName + ".wav";
}

std::string SampleNameOfFile(const std::string& fileName) {
  std::string name = IsWavFileName(fileName) ? fileName.substr(0, fileName.size() - 4) : fileName;
  std::size_t digits = 0;
  while (digits < name.size() && std::isdigit(static_cast<unsigned char>(name[digits]))) {
    ++digits;
  }
  if (digits > 0 && digits < name.size() && name[digits] == '_') {
    name.erase(0, digits + 1);
  }
  for (char& c : name) {
    if (!SampleNameCharacter(c)) {
      c = '_';
    }
  }
  if (name.size() > SampleNameMax) {
    name.resize(SampleNameMax);
  }
  return name;
}
