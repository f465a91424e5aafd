// tovaroc.exe: the console companion of tovaro.exe.
#include <iostream>
#include <string>
#include <vector>

#include "app/console/console_commands.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const int code = RunConsoleCommand(args, std::cout, std::cerr);
  std::cout.flush();
  return code;
}
