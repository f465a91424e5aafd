// tovaroc: every change of the window without clicking, and the state the
// driver is really in. The commands run on the same driver environment as
// the window and use the same operations.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

constexpr int ExitSuccess = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

// One of the two output streams of the commands, written through C stdio as
// soon as a piece of text is ready, so that a console shows results and
// failures in the order they were written. Not iostreams: their file-stream
// code imports msvcrt functions that Windows 98 SE lacks.
struct ConsoleStream {
  std::FILE* File;
};
ConsoleStream& operator<<(ConsoleStream& stream, const std::string& text);
ConsoleStream& operator<<(ConsoleStream& stream, const char* text);
// A whole number in decimal.
ConsoleStream& operator<<(ConsoleStream& stream, long long number);

// The arguments after a command's name.
using Arguments = std::vector<std::string>;

// True when an argument asks for the command's help: --help or -h, anywhere
// after its name.
bool AsksForHelp(const Arguments& args);

// The row of a command table (rows with a lower-case Name) that `name`
// names; null for none.
template <typename Command, std::size_t Count>
const Command* FindNamed(const Command (&table)[Count], const std::string& name) {
  for (const Command& command : table) {
    if (name == command.Name) {
      return &command;
    }
  }
  return nullptr;
}

// Runs one command line (without the program name). Results go to out,
// failures and usage errors to err. Returns the exit code.
int RunConsoleCommand(const std::vector<std::string>& args, ConsoleStream& out, ConsoleStream& err);
