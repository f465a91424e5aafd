// Whole-file helpers for tests; a failure fails the test.
#pragma once

#include <string>

#include "tools/fixture/fixture.h"

Bytes ReadAll(const std::string& path);
void WriteAll(const std::string& path, const Bytes& bytes);
