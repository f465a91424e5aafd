// tovaroc's sample commands read their command line before anything runs:
// a usage error exits 2 without one call of the converter, so nothing is
// written.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/console/console_commands.h"
#include "platform/fake_converter.h"

namespace {

TEST(ConsoleSamples, UsageErrorsCallNothing) {
  const std::vector<std::vector<std::string>> wrong = {
      {"samples"},
      {"samples", "b.yb0", "--csv"},
      {"samples", ""},
      {"sample", "b.yb0"},
      {"sample", "b.yb0", "x"},
      {"sample", "b.yb0", "-1", "--name", "A"},
      {"sample", "b.yb0", "0", "--name"},
      {"sample", "b.yb0", "0", "--pitch", "3"},
      {"sample", "b.yb0", "0", "--loop", "5"},
      {"sample", "b.yb0", "0", "--loop", "-5"},
      {"sample", "b.yb0", "0", "--loop", "1-2", "--no-loop"},
      {"sample", "b.yb0", "0", "--no-loop", "--no-loop"},
      {"replace", "b.yb0", "0"},
      {"replace", "b.yb0", "0", "C:\\font.sf2"},
      {"replace", "b.yb0", "0", "font.sf2:x"},
      {"export", "b.yb0", "0"},
      {"export", "b.yb0", "0", "x.wav", "y.wav"},
      {"sf2", "b.yb0"},
      {"sf2", "b.yb0", ""},
  };
  for (const auto& args : wrong) {
    FakeConverterReset();
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ConsoleStream outStream{out};
    ConsoleStream errStream{err};
    EXPECT_EQ(RunConsoleCommand(args, outStream, errStream), ExitUsage) << args[0] << " " << args.size();
    EXPECT_EQ(FakeConverter().Calls, std::vector<std::string>{}) << args[0];
    EXPECT_GT(std::ftell(err), 0) << "the usage is printed";
    std::fclose(out);
    std::fclose(err);
  }
}

}  // namespace
