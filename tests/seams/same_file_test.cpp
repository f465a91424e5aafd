// One file or folder under its several spellings, on the real file system.
#include <gtest/gtest.h>

#include "files/same_file.h"
#include "platform/testing/scratch.h"
#include "tests/support/file_bytes.h"

namespace {

TEST(SameFile, SpellingsOfOneFileOrFolder) {
  const std::string dir = MakeScratchDir("samefile");
  ASSERT_FALSE(dir.empty());
  ASSERT_TRUE(MakeDirectory(dir + "Bank Folder"));
  const std::string bank = dir + "Bank Folder\\long bank name.yb0";
  WriteAll(bank, Bytes{1});
  WriteAll(dir + "other.yb0", Bytes{1});
  const struct {
    std::string First;
    std::string Second;
    bool Same;
  } cases[] = {
      {bank, bank, true},
      {bank, dir + "Bank Folder/long bank name.yb0", true},
      {bank, dir + "Bank Folder\\..\\Bank Folder\\long bank name.yb0", true},
      {dir + "Bank Folder", dir + "Bank Folder\\", true},
#ifdef _WIN32
      {bank, dir + "BANK FOLDER\\LONG BANK NAME.YB0", true},
#endif
      {bank, dir + "other.yb0", false},
      {bank, dir + "Bank Folder", false},
      {bank, dir + "missing.yb0", false},
      {dir + "missing.yb0", dir + "missing.yb0", false},
      {"", "", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SameFileOrDirectory(c.First, c.Second), c.Same) << c.First << " | " << c.Second;
  }
  RemoveTree(dir);
}

}  // namespace
