#include "platform/fake.h"
#include "platform/system.h"

std::string SystemDirectory() { return Fake().SystemDir; }

std::string WindowsDirectory() { return Fake().WindowsDir; }

WindowsVersion GetWindowsVersion() { return Fake().Version; }

std::string ExecutablePath() { return Fake().ExePath; }

void EndProcess(int exitCode) {
  Fake().EndedWith = exitCode;
  throw FakeProcessEnded{exitCode};
}

std::string DecimalSeparator() { return Fake().DecimalSeparator; }
