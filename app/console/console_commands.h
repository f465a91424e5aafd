// tovaroc: every change of the window without clicking, and the state the
// driver is really in. The commands run on the same driver environment as
// the window and use the same operations.
#pragma once

#include <ostream>
#include <string>
#include <vector>

constexpr int ExitSuccess = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

// Runs one command line (without the program name). Results go to out,
// failures and usage errors to err. Returns the exit code.
int RunConsoleCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
