// The image help library's CheckSumMappedFile and the portable checksum,
// compared on images in memory.
#include <windows.h>

#include <imagehlp.h>  // needs the types of windows.h

#include <gtest/gtest.h>

#include "tools/fixture/fixture.h"
#include "ymf/pe_checksum.h"

namespace {

void SetField(Bytes& image, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    image[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

// Checks both results of the service against the portable checksum and the
// field's value. The buffer has a zero byte beyond the image, as a mapping has.
void ExpectAgreement(const Bytes& image) {
  Bytes buffer = image;
  buffer.push_back(0);
  const auto size = static_cast<DWORD>(image.size());
  DWORD headerSum = 1;
  DWORD checksum = 1;
  const IMAGE_NT_HEADERS* headers = CheckSumMappedFile(buffer.data(), size, &headerSum, &checksum);
  ASSERT_EQ(reinterpret_cast<const std::uint8_t*>(headers), buffer.data() + FixturePeOffset);
  EXPECT_EQ(checksum, PeImageChecksum(image.data(), size, FixtureChecksumOffset)) << "size " << size;
  const std::uint8_t* field = image.data() + FixtureChecksumOffset;
  EXPECT_EQ(headerSum,
            static_cast<DWORD>(field[0] | (field[1] << 8) | (field[2] << 16)) | (static_cast<DWORD>(field[3]) << 24));
}

TEST(CheckSumMappedFile, AgreesWithThePortableChecksum) {
  std::uint32_t seed = 100;
  for (std::size_t size = 0x200; size < 300000; size = size * 3 + 1) {
    for (std::uint32_t preset : {0u, 0xFFFFFFFFu, 0xFFFF0000u, 0x0000FFFFu, 0x80018001u}) {
      DriverImageSpec setup;
      setup.Size = size;
      setup.Probe = -1;
      setup.Seed = ++seed;
      Bytes image = MakeDriverImage(setup);
      SetField(image, FixtureChecksumOffset, preset);
      ExpectAgreement(image);
    }
  }
}

TEST(CheckSumMappedFile, AgreesOnHeavilyWrappingSums) {
  // All 0xFF apart from the headers: nearly every word carries.
  DriverImageSpec setup;
  setup.Size = 65537;
  setup.Probe = -1;
  Bytes image = MakeDriverImage(setup);
  std::fill(image.begin() + 0x200, image.end(), 0xFF);
  for (std::uint32_t preset : {0u, 0xFFFFFFFFu, 0x00010001u, 0xFFFE0001u}) {
    SetField(image, FixtureChecksumOffset, preset);
    ExpectAgreement(image);
  }
}

TEST(CheckSumMappedFile, AgreesWhenTheOtherWordsFoldToZero) {
  DriverImageSpec setup;
  setup.Size = 2048;
  setup.Probe = -1;
  Bytes image = MakeDriverImage(setup);
  SetField(image, FixtureChecksumOffset, 0);
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < image.size(); i += 2) {
    sum += static_cast<std::uint32_t>(image[i] | (image[i + 1] << 8));
  }
  const std::size_t filler = 0x400;
  const auto word = static_cast<std::uint32_t>(image[filler] | (image[filler + 1] << 8));
  const std::uint32_t excess = static_cast<std::uint32_t>(sum % 0xFFFF);
  const std::uint32_t adjusted = word >= excess ? word - excess : word + 0xFFFF - excess;
  image[filler] = static_cast<std::uint8_t>(adjusted);
  image[filler + 1] = static_cast<std::uint8_t>(adjusted >> 8);
  for (std::uint32_t preset : {1u, 0x00010000u, 0x0BADF00Du, 0xFFFFFFFFu}) {
    SetField(image, FixtureChecksumOffset, preset);
    ExpectAgreement(image);
  }
}

}  // namespace
