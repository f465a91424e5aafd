// Start-up of the i686 programs without MinGW's startup objects: those are
// compiled for the Pentium Pro and use CMOV on the way to main, which stops a
// Pentium MMX or a K6-2 before the first line of our code runs. These entry
// points do the same work in code built for the i586 like the rest of the
// program. The compiler calls __main (the C++ static constructors) from main;
// the window and DLL entry points call it themselves.
#pragma once

extern "C" {
typedef void(__cdecl* StartupFunction)(void);

// msvcrt.dll, present since its first release.
struct StartupInfo {
  int NewMode;
};
int __cdecl __getmainargs(int* argc, char*** argv, char*** envp, int expandWildcards, StartupInfo* info);
void __cdecl __set_app_type(int type);
void __cdecl _initterm(StartupFunction* first, StartupFunction* last);

// libmingw32: runs the static constructors once and registers the
// destructors with atexit.
void __main(void);

// C initializers that objects place between these markers (libmingw32).
extern StartupFunction __xi_a[];
extern StartupFunction __xi_z[];
extern StartupFunction __xc_a[];
extern StartupFunction __xc_z[];
}

// What both program kinds do before their main function: tell msvcrt what
// kind of program runs, run C initializers, split the command line.
struct ProgramArguments {
  int Count = 0;
  char** Values = nullptr;
  char** Environment = nullptr;
};
ProgramArguments StartProgram(int appType);
