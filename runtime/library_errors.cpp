// libstdc++'s headers report errors (a string too long, at() out of range,
// a failed allocation) by calling these functions. The prebuilt ones throw,
// which links the exception runtime and its unwinder, both compiled for the
// Pentium Pro; these end the program instead.
#include <bits/functexcept.h>

#include <cstdio>
#include <cstdlib>

#include "runtime/library_error.h"

void LibraryError(const char* what) {
  std::fputs("fatal error: ", stderr);
  std::fputs(what, stderr);
  std::fputs("\n", stderr);
  std::abort();
}

namespace std {

void __throw_bad_exception() { LibraryError("bad exception"); }
void __throw_bad_alloc() { LibraryError("out of memory"); }
void __throw_bad_array_new_length() { LibraryError("bad array new length"); }
void __throw_bad_cast() { LibraryError("bad cast"); }
void __throw_bad_typeid() { LibraryError("bad typeid"); }
void __throw_logic_error(const char* what) { LibraryError(what); }
void __throw_domain_error(const char* what) { LibraryError(what); }
void __throw_invalid_argument(const char* what) { LibraryError(what); }
void __throw_length_error(const char* what) { LibraryError(what); }
void __throw_out_of_range(const char* what) { LibraryError(what); }
// The format is the library's own (it may hold %zu, which old msvcrt.dll
// cannot print): shown as it is.
void __throw_out_of_range_fmt(const char* format, ...) { LibraryError(format); }
void __throw_runtime_error(const char* what) { LibraryError(what); }
void __throw_range_error(const char* what) { LibraryError(what); }
void __throw_overflow_error(const char* what) { LibraryError(what); }
void __throw_underflow_error(const char* what) { LibraryError(what); }
void __throw_ios_failure(const char* what) { LibraryError(what); }
void __throw_ios_failure(const char* what, int) { LibraryError(what); }
void __throw_system_error(int) { LibraryError("system error"); }
void __throw_future_error(int) { LibraryError("future error"); }
void __throw_bad_function_call() { LibraryError("bad function call"); }

}  // namespace std
