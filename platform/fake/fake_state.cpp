#include <cctype>

#include "platform/fake.h"

FakePlatform& Fake() {
  static FakePlatform state;
  return state;
}

void FakeReset() { Fake() = FakePlatform(); }

std::string FakeKeyName(const std::string& path) {
  std::string name = path;
  for (char& c : name) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return name;
}
