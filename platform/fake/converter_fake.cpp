#include "platform/converter.h"
#include "platform/fake_converter.h"

namespace {

std::int32_t Record(const char* function, const std::string& bankPath) {
  FakeConverterState& fake = FakeConverter();
  fake.Calls.push_back(std::string(function) + " " + bankPath);
  if (!fake.Available) {
    return ConverterMissing;
  }
  if (fake.Results.empty()) {
    return 0;
  }
  const std::int32_t result = fake.Results.front();
  fake.Results.pop_front();
  return result;
}

}  // namespace

FakeConverterState& FakeConverter() {
  static FakeConverterState state;
  return state;
}

void FakeConverterReset() { FakeConverter() = FakeConverterState(); }

std::int32_t ConverterDeconstruct(const std::string& bankPath) { return Record("Deconstruct", bankPath); }

std::int32_t ConverterConstruct(const std::string& bankPath) { return Record("Construct", bankPath); }

bool ConverterAvailable(std::string& why) {
  why = FakeConverter().Available ? std::string() : FakeConverter().MissingReason;
  return FakeConverter().Available;
}

std::string ConverterProblem() { return FakeConverter().Problem; }
