// tovaroc.exe: the console companion of tovaro.exe.
#include <cstdio>
#include <string>
#include <vector>

#include "app/console/console_commands.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  ConsoleStream out{stdout};
  ConsoleStream err{stderr};
  const int code = RunConsoleCommand(args, out, err);
  std::fflush(stdout);
  return code;
}
