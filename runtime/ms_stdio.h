// Included before every source of the i686 build: the C headers whose
// printf family is chosen by __USE_MINGW_ANSI_STDIO. libstdc++ sets it to 1
// in every C++ source, which links MinGW's own printf (compiled for the
// Pentium Pro, with CMOV) and makes PRId64 "lld"; Windows 98's msvcrt.dll
// prints neither. Included first, with the macro at 0, the program uses
// msvcrt's printf, and the compiler checks every literal format against
// msvcrt's (%zu, %hhu, %jd, %td do not compile).
#pragma once

#include <inttypes.h>
#include <stdio.h>
