// The test double behind converter.h: records every call and answers with
// scripted results.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

struct FakeConverterState {
  bool Available = true;
  std::string MissingReason;
  std::deque<std::int32_t> Results;  // for the next calls; 0 when empty
  std::vector<std::string> Calls;    // "Deconstruct <path>" or "Construct <path>"
  std::string Problem;               // what ConverterProblem returns
};

FakeConverterState& FakeConverter();
void FakeConverterReset();
