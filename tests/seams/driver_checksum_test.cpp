// The driver image checksum stored in the file. In the Windows test program
// the image help library computes it, so these tests also show that it and
// the portable computation agree.
#include <gtest/gtest.h>

#include "tests/support/scratch_test.h"

#include "platform/pe_checksum.h"
#include "platform/testing/scratch.h"
#include "tests/support/file_bytes.h"
#include "ymf/driver_checksum.h"
#include "ymf/environment.h"

namespace {

std::uint32_t FieldAt(const Bytes& image, std::size_t at) {
  return static_cast<std::uint32_t>(image[at]) | (static_cast<std::uint32_t>(image[at + 1]) << 8) |
         (static_cast<std::uint32_t>(image[at + 2]) << 16) | (static_cast<std::uint32_t>(image[at + 3]) << 24);
}

void SetField(Bytes& image, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    image[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

// A WDM image of the given size with valid headers and no version text.
Bytes PeImage(std::size_t size, std::uint32_t seed) {
  DriverImageSpec setup;
  setup.Size = size;
  setup.Probe = -1;
  setup.Seed = seed;
  return MakeDriverImage(setup);
}

class DriverChecksum : public ScratchTest {
 protected:
  void SetUp() override {
    ScratchTest::SetUp();
    Env.DriverPath = dir_ + "Ds1.sys";
  }

  // Stores the checksum of an image and checks that the field now holds
  // the portable checksum and that no other byte changed; then that a
  // second update leaves the file as it is.
  void ExpectStoredChecksum(const Bytes& image) {
    WriteAll(Env.DriverPath, image);
    Bytes expected = image;
    SetField(expected, FixtureChecksumOffset,
             PeImageChecksum(image.data(), static_cast<std::uint32_t>(image.size()), FixtureChecksumOffset));
    UpdateDriverChecksum();
    const Bytes once = ReadAll(Env.DriverPath);
    EXPECT_EQ(once, expected) << "image of " << image.size() << " bytes";
    UpdateDriverChecksum();
    EXPECT_EQ(ReadAll(Env.DriverPath), once) << "second update, image of " << image.size() << " bytes";
  }

  // Writes a malformed image and checks that the update leaves it untouched.
  void ExpectUntouched(const Bytes& image, const char* what) {
    WriteAll(Env.DriverPath, image);
    UpdateDriverChecksum();
    EXPECT_EQ(ReadAll(Env.DriverPath), image) << what;
  }
};

TEST_F(DriverChecksum, DriverSizedImage) { ExpectStoredChecksum(MakeDriverImage(DriverImageSpec())); }

TEST_F(DriverChecksum, ImagesOfManySizesAndPresetFields) {
  const std::size_t sizes[] = {0x200, 0x201, 0x3FF, 4096, 4097, 65535, 65537, 131071, 1000003};
  std::uint32_t seed = 10;
  for (std::size_t size : sizes) {
    for (std::uint32_t preset : {0u, 0xFFFFFFFFu, 0x0001FFFFu, 0x12345678u}) {
      Bytes image = PeImage(size, ++seed);
      SetField(image, FixtureChecksumOffset, preset);
      ExpectStoredChecksum(image);
    }
  }
}

TEST_F(DriverChecksum, LargeImage) { ExpectStoredChecksum(PeImage(9000001, 77)); }

TEST_F(DriverChecksum, Pe32PlusImage) {
  Bytes image = PeImage(8192, 5);
  image[FixturePeOffset + 24] = 0x0B;
  image[FixturePeOffset + 25] = 0x02;
  ExpectStoredChecksum(image);
}

TEST_F(DriverChecksum, CorrectChecksumStaysByteIdentical) {
  Bytes image = PeImage(70001, 9);
  SetField(image, FixtureChecksumOffset,
           PeImageChecksum(image.data(), static_cast<std::uint32_t>(image.size()), FixtureChecksumOffset));
  ExpectUntouched(image, "checksum already correct");
}

TEST_F(DriverChecksum, FieldOnTopOfAOnesComplementZero) {
  // Make every word but the field fold to 0xFFFF, then put a non-zero value
  // in the field: the image help library's result is then just the length.
  Bytes image = PeImage(4096, 13);
  SetField(image, FixtureChecksumOffset, 0);
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < image.size(); i += 2) {
    sum += static_cast<std::uint32_t>(image[i] | (image[i + 1] << 8));
  }
  // Lower one filler word so that the total becomes a multiple of 0xFFFF.
  const std::size_t filler = 0x300;
  const auto word = static_cast<std::uint32_t>(image[filler] | (image[filler + 1] << 8));
  const std::uint32_t excess = static_cast<std::uint32_t>(sum % 0xFFFF);
  const std::uint32_t adjusted = word >= excess ? word - excess : word + 0xFFFF - excess;
  image[filler] = static_cast<std::uint8_t>(adjusted);
  image[filler + 1] = static_cast<std::uint8_t>(adjusted >> 8);
  SetField(image, FixtureChecksumOffset, 0x0BADF00D);

  WriteAll(Env.DriverPath, image);
  UpdateDriverChecksum();
  const Bytes after = ReadAll(Env.DriverPath);
  ASSERT_EQ(after.size(), image.size());
  EXPECT_EQ(FieldAt(after, FixtureChecksumOffset), 4096u);
}

TEST_F(DriverChecksum, MalformedHeadersGetNoWrite) {
  const Bytes valid = PeImage(4096, 21);
  ExpectUntouched(Bytes(), "empty file");
  ExpectUntouched(Bytes(valid.begin(), valid.begin() + 63), "shorter than a DOS header");

  Bytes noMz = valid;
  noMz[0] = 'Z';
  ExpectUntouched(noMz, "no MZ signature");

  Bytes farPe = valid;
  SetField(farPe, 0x3C, 4096);
  ExpectUntouched(farPe, "e_lfanew at the end of the file");

  Bytes negativePe = valid;
  SetField(negativePe, 0x3C, 0xFFFFFF00u);
  ExpectUntouched(negativePe, "negative e_lfanew");

  Bytes nearEnd = valid;
  SetField(nearEnd, 0x3C, 4096 - 40);
  nearEnd[4096 - 40] = 'P';
  nearEnd[4096 - 39] = 'E';
  nearEnd[4096 - 38] = 0;
  nearEnd[4096 - 37] = 0;
  ExpectUntouched(nearEnd, "signature whose CheckSum field would lie past the end");

  Bytes badSignature = valid;
  badSignature[FixturePeOffset + 3] = 1;
  ExpectUntouched(badSignature, "signature PE\\0\\1");

  const Bytes cut(valid.begin(), valid.begin() + FixturePeOffset + 24 + 200);
  ExpectUntouched(cut, "optional header ending past the end of the file");

  Bytes smallOptional = valid;
  smallOptional[FixturePeOffset + 20] = 60;
  smallOptional[FixturePeOffset + 21] = 0;
  ExpectUntouched(smallOptional, "optional header too small to hold the field");

  Bytes badMagic = valid;
  badMagic[FixturePeOffset + 24] = 0x07;
  badMagic[FixturePeOffset + 25] = 0x01;
  ExpectUntouched(badMagic, "ROM optional header");
}

TEST_F(DriverChecksum, UnwritableOrMissingFileIsLeftAlone) {
  const Bytes image = PeImage(4096, 31);
  WriteAll(Env.DriverPath, image);
  ASSERT_TRUE(SetReadOnly(Env.DriverPath, true));
  UpdateDriverChecksum();
  ASSERT_TRUE(SetReadOnly(Env.DriverPath, false));
  EXPECT_EQ(ReadAll(Env.DriverPath), image);

  Env.DriverPath = dir_ + "missing.sys";
  UpdateDriverChecksum();
  Bytes none;
  EXPECT_FALSE(ReadWholeFile(Env.DriverPath, none));
}

}  // namespace
