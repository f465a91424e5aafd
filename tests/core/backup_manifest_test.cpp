// The manifest of the backup pair and the hash it keeps.
#include <gtest/gtest.h>

#include <string>

#include "ymf/backup_manifest.h"
#include "ymf/content_hash.h"

namespace {

std::uint64_t HashOf(const std::string& text) {
  return ContentHash(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

TEST(BackupManifest, HashIsXxh64) {
  // Values of the reference implementation (xxhsum -H1).
  EXPECT_EQ(HashOf(""), 0xEF46DB3751D8E999u);
  EXPECT_EQ(HashOf("a"), 0xD24EC4F1A98C6E5Bu);
  EXPECT_EQ(HashOf("123456789"), 0x8CB841DB40E6AE83u);
  EXPECT_EQ(HashOf(std::string(100000, '\0')), 0x2C9FD5B2F34E23DBu);
}

TEST(BackupManifest, RoundTripAndStrictReading) {
  BackupManifest manifest;
  manifest.Driver = {"Ds1.sys", 2800000, 0x0123456789ABCDEFu};
  manifest.Bank = {"dsxgwave.tbl", 2422210, 0xFEDCBA9876543210u};
  manifest.VersionText = std::string("4.07.00.2\0\0\0", 12) + "\"\\";
  const std::string text = FormatBackupManifest(manifest);
  EXPECT_EQ(text,
            "Tovaro backup manifest 1\r\n"
            "driver Ds1.sys 2800000 xxh64 0123456789ABCDEF\r\n"
            "bank dsxgwave.tbl 2422210 xxh64 FEDCBA9876543210\r\n"
            "version \"4.07.00.2\\x00\\x00\\x00\\x22\\x5C\"\r\n");
  BackupManifest read;
  ASSERT_TRUE(ParseBackupManifest(text, read));
  EXPECT_EQ(read.Driver.Name, "Ds1.sys");
  EXPECT_EQ(read.Driver.Size, 2800000u);
  EXPECT_EQ(read.Driver.Hash, 0x0123456789ABCDEFu);
  EXPECT_EQ(read.Bank.Hash, 0xFEDCBA9876543210u);
  EXPECT_EQ(read.VersionText, manifest.VersionText);

  std::string lf = text;
  for (std::size_t at = lf.find('\r'); at != std::string::npos; at = lf.find('\r')) {
    lf.erase(at, 1);
  }
  EXPECT_TRUE(ParseBackupManifest(lf, read)) << "LF line ends";

  const char* const damaged[] = {
      "",
      "Tovaro backup manifest 2\r\n",
      "Tovaro backup manifest 1\r\ndriver Ds1.sys 2800000 xxh64 0123456789ABCDEF\r\n",
  };
  for (const char* bad : damaged) {
    EXPECT_FALSE(ParseBackupManifest(bad, read)) << bad;
  }
  const std::pair<const char*, const char*> edits[] = {
      {"2800000", "28000000000"},                // size beyond 32 bits
      {"2800000", "-1"},                         // not a size
      {"0123456789ABCDEF", "0123456789ABCDE"},   // hash cut short
      {"0123456789ABCDEF", "0123456789abcdef"},  // only capitals are written
      {"xxh64 FEDC", "crc32 FEDC"},              // another hash
      {"\\x22", "\""},                           // a quote inside the text
  };
  for (const auto& edit : edits) {
    std::string changed = text;
    changed.replace(changed.find(edit.first), std::string(edit.first).size(), edit.second);
    EXPECT_FALSE(ParseBackupManifest(changed, read)) << edit.second;
  }
  EXPECT_FALSE(ParseBackupManifest(text.substr(0, text.size() - 1), read)) << "last line cut";
}

}  // namespace
