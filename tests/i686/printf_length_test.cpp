// The i686 runtime's _vscprintf (runtime/printf_length.cpp),
// run natively with the C library's vsnprintf in place of msvcrt's
// _vsnprintf: the length a printf would write, also past its first buffer.
#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

extern "C" int CountPrintf(const char* format, va_list arguments) __asm__("__vscprintf");

namespace {

int Count(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int length = CountPrintf(format, arguments);
  va_end(arguments);
  return length;
}

TEST(PrintfLength, CountsWhatPrintfWouldWrite) {
  EXPECT_EQ(Count(""), 0);
  EXPECT_EQ(Count("0x%08X", 0xABCu), 10);
  EXPECT_EQ(Count("%d items", -12345), 12);
  // Longer than the first buffer of 256 bytes, and than several doublings.
  const std::string long_text(300, 'x');
  EXPECT_EQ(Count("%s", long_text.c_str()), 300);
  const std::string longer(5000, 'y');
  EXPECT_EQ(Count("[%s] %s", longer.c_str(), "ab"), 5005);
  EXPECT_EQ(Count("%s", std::string(255, 'z').c_str()), 255);
  EXPECT_EQ(Count("%s", std::string(256, 'z').c_str()), 256);
}

}  // namespace
