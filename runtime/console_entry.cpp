// Entry point of the console programs.
#include <cstdlib>

#include "runtime/process_start.h"

int main(int argc, char** argv, char** envp);

extern "C" void mainCRTStartup(void) {
  const ProgramArguments arguments = StartProgram(1);  // _CONSOLE_APP
  std::exit(main(arguments.Count, arguments.Values, arguments.Environment));
}
