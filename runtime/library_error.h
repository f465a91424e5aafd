// The end of the i686 programs when the C++ library reports an error: the
// build has exceptions off, so the program stops as it would on an uncaught
// exception, after saying why on standard error.
#pragma once

[[noreturn]] void LibraryError(const char* what);
