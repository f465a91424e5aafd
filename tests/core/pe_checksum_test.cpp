// The portable PE image checksum against values worked out by hand and
// against the published word-by-word procedure.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "tests/support/patched_image.h"
#include "tools/fixture/fixture.h"
#include "ymf/pe_checksum.h"

namespace {

std::uint32_t Checksum(const Bytes& image, std::uint32_t fieldOffset) {
  return PeImageChecksum(image.data(), static_cast<std::uint32_t>(image.size()), fieldOffset);
}

TEST(PeChecksum, HandWorkedValues) {
  // Nothing but zeros: the sum is 0, plus the length.
  EXPECT_EQ(Checksum(Bytes(8, 0), 4), 8u);
  // Words 0x0201 and 0x0403 beside a zero field.
  EXPECT_EQ(Checksum(Bytes{1, 2, 3, 4, 0, 0, 0, 0}, 4), 0x0604u + 8);
  // An odd last byte counts as the low byte of a word: 0x0201 + 0x0005.
  EXPECT_EQ(Checksum(Bytes{1, 2, 0, 0, 0, 0, 5}, 2), 0x0206u + 7);
  // A carry out of 16 bits comes back in at the bottom: 0xFFFF + 0x0002.
  EXPECT_EQ(Checksum(Bytes{0xFF, 0xFF, 2, 0, 0, 0, 0, 0}, 4), 0x0002u + 8);
  // The field's halves are taken out again with borrow: the other word
  // 0x8000 plus a field of 0x9000 folds to 0x1001, and removing 0x9000
  // borrows back to 0x8000.
  EXPECT_EQ(Checksum(Bytes{0x00, 0x80, 0x00, 0x90, 0x00, 0x00}, 2), 0x8000u + 6);
}

TEST(PeChecksum, FieldOnTopOfAOnesComplementZero) {
  // The other words fold to 0xFFFF (a ones' complement zero) and the field
  // is not zero: the field is in the sum and taken out again, which leaves 0.
  // Skipping the field instead would give 0xFFFF + length.
  const Bytes image{0xFF, 0xFF, 0x00, 0x00, 0x78, 0x56, 0x34, 0x12};
  EXPECT_EQ(Checksum(image, 4), 8u);
  EXPECT_EQ(Checksum(Bytes{0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00}, 4), 8u);
}

TEST(PeChecksum, MatchesThePublishedProcedureOnManyImages) {
  const std::uint32_t sizes[] = {8, 9, 64, 65, 511, 4096, 4097, 65535, 65536, 300001};
  std::uint32_t seed = 3;
  for (std::uint32_t size : sizes) {
    for (std::uint32_t fieldOffset : {0u, size / 2 & ~1u, size - 4}) {
      const Bytes image = PatternBytes(size, ++seed);
      EXPECT_EQ(Checksum(image, fieldOffset), ReferenceChecksum(image, fieldOffset))
          << "size " << size << " field at " << fieldOffset;
    }
  }
  // Runs of 0xFF make the sum wrap on nearly every word.
  const Bytes ones(100001, 0xFF);
  EXPECT_EQ(Checksum(ones, 88), ReferenceChecksum(ones, 88));
}

void SetField(Bytes& image, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    image[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

TEST(PeChecksum, FieldIsFoundOnlyBehindValidHeaders) {
  DriverImageSpec setup;
  setup.Size = 4096;
  setup.Probe = -1;
  const Bytes valid = MakeDriverImage(setup);
  const auto find = [](const Bytes& image, std::uint32_t& field) {
    return LocateChecksumField(image.data(), static_cast<std::uint32_t>(image.size()), field);
  };
  std::uint32_t field = 0;
  ASSERT_TRUE(find(valid, field));
  EXPECT_EQ(field, FixtureChecksumOffset);
  Bytes plus = valid;
  plus[FixturePeOffset + 24] = 0x0B;
  plus[FixturePeOffset + 25] = 0x02;
  field = 0;
  EXPECT_TRUE(find(plus, field)) << "PE32+ optional header";
  EXPECT_EQ(field, FixtureChecksumOffset);

  std::vector<std::pair<const char*, Bytes>> malformed;
  malformed.push_back({"empty file", Bytes()});
  malformed.push_back({"shorter than a DOS header", Bytes(valid.begin(), valid.begin() + 63)});
  Bytes image = valid;
  image[0] = 'Z';
  malformed.push_back({"no MZ signature", image});
  image = valid;
  SetField(image, 0x3C, 4096);
  malformed.push_back({"e_lfanew at the end of the file", image});
  image = valid;
  SetField(image, 0x3C, 0xFFFFFF00u);
  malformed.push_back({"negative e_lfanew", image});
  image = valid;
  SetField(image, 0x3C, 4096 - 40);
  image[4096 - 40] = 'P';
  image[4096 - 39] = 'E';
  image[4096 - 38] = 0;
  image[4096 - 37] = 0;
  malformed.push_back({"signature whose CheckSum field would lie past the end", image});
  image = valid;
  image[FixturePeOffset + 3] = 1;
  malformed.push_back({"signature PE\\0\\1", image});
  malformed.push_back(
      {"optional header ending past the end of the file", Bytes(valid.begin(), valid.begin() + FixturePeOffset + 224)});
  image = valid;
  image[FixturePeOffset + 20] = 60;
  image[FixturePeOffset + 21] = 0;
  malformed.push_back({"optional header too small to hold the field", image});
  image = valid;
  image[FixturePeOffset + 24] = 0x07;
  image[FixturePeOffset + 25] = 0x01;
  malformed.push_back({"ROM optional header", image});
  for (const auto& test : malformed) {
    EXPECT_FALSE(find(test.second, field)) << test.first;
  }
}

}  // namespace
