#include "tests/support/file_bytes.h"

#include <gtest/gtest.h>

#include "platform/testing/scratch.h"

Bytes ReadAll(const std::string& path) {
  Bytes bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
  return bytes;
}

void WriteAll(const std::string& path, const Bytes& bytes) { ASSERT_TRUE(WriteWholeFile(path, bytes)) << path; }
