#include "tests/support/patched_image.h"

#include <algorithm>
#include <vector>

#include "tests/support/file_bytes.h"

namespace {

// -1 marks a byte that keeps its value.
struct Site {
  std::int32_t VersionProfile::*Offset;
  std::vector<int> Bytes;
};

const std::vector<Site> VxdSites = {
    {&VersionProfile::PatchOffset1, {0x90}},
    {&VersionProfile::PatchOffset2, {0x06}},
    {&VersionProfile::PatchOffset3, {0x11, 0x66, 0x8B, 0x1A, -1,   0xC1, 0x02, 0x83, -1,   0x08,
                                     0x3B, 0xC2, 0x66, 0x89, 0x59, 0xFE, 0x77, 0xEF, 0x5B, 0xC3}},
    {&VersionProfile::PatchOffset4, {0x90, 0x90, 0x90, 0x90, 0x90}},
};

const std::vector<Site> WdmSites = {
    {&VersionProfile::PatchOffset1, {0x00}},
    {&VersionProfile::PatchOffset2, {0x06}},
    {&VersionProfile::PatchOffset3,
     {0x12, -1,   0x66, 0x8B, 0x19, 0x83, 0xC1, 0x08, 0x66, 0x89, 0x1A, 0x83, 0xC2, 0x02, 0x3B, 0xCE, 0x72, 0xF0,
      0x5B, 0x8B, 0xCA, 0x8B, 0x50, 0x08, 0x2B, 0xC8, 0x8D, 0x71, 0xE4, 0x3B, 0xF2, 0x5E, 0x5F, 0xC2, 0x08, 0x00}},
    {&VersionProfile::PatchOffset4, {0x83, 0xC4, 0x08, 0x90, 0x90}},
};

}  // namespace

Bytes PatchedImageWithoutSite(Bytes image, const VersionProfile& profile, bool isVxD, int site) {
  const std::vector<Site>& sites = isVxD ? VxdSites : WdmSites;
  for (std::size_t s = 0; s < sites.size(); ++s) {
    if (static_cast<int>(s) + 1 == site) {
      continue;
    }
    for (std::size_t i = 0; i < sites[s].Bytes.size(); ++i) {
      if (sites[s].Bytes[i] >= 0) {
        image.at(static_cast<std::size_t>(profile.*sites[s].Offset) + i) = static_cast<std::uint8_t>(sites[s].Bytes[i]);
      }
    }
  }
  return image;
}

Bytes PatchedImage(Bytes image, const VersionProfile& profile, bool isVxD) {
  return PatchedImageWithoutSite(std::move(image), profile, isVxD, 0);
}

std::uint32_t ReferenceChecksum(Bytes image, std::uint32_t fieldOffset) {
  const std::uint32_t length = static_cast<std::uint32_t>(image.size());
  image.push_back(0);
  std::uint32_t sum = 0;
  for (std::uint32_t word = 0; word < (length + 1) / 2; ++word) {
    sum += static_cast<std::uint32_t>(image[2 * word] | (image[2 * word + 1] << 8));
    sum = (sum >> 16) + (sum & 0xFFFF);
  }
  auto partial = static_cast<std::uint16_t>(((sum >> 16) + sum) & 0xFFFF);
  const auto low = static_cast<std::uint16_t>(image[fieldOffset] | (image[fieldOffset + 1] << 8));
  const auto high = static_cast<std::uint16_t>(image[fieldOffset + 2] | (image[fieldOffset + 3] << 8));
  partial = static_cast<std::uint16_t>(partial - (partial < low));
  partial = static_cast<std::uint16_t>(partial - low);
  partial = static_cast<std::uint16_t>(partial - (partial < high));
  partial = static_cast<std::uint16_t>(partial - high);
  return static_cast<std::uint32_t>(partial) + length;
}

Bytes SwitchedImage(const Bytes& backupDriver, const std::string& bank, const VersionProfile& profile, bool isVxD) {
  Bytes image = PatchedImage(backupDriver, profile, isVxD);
  const std::int32_t offsets[] = {profile.TableOffset1, profile.TableOffset2, profile.TableOffset3};
  const std::int32_t sizes[] = {Table1Size, Table2Size, Table3Size};
  for (int k = 0; k < 3; ++k) {
    std::string path = bank;
    path.back() = static_cast<char>('1' + k);
    const Bytes table = ReadAll(path);
    std::copy(table.begin(), table.begin() + sizes[k], image.begin() + offsets[k]);
  }
  if (!isVxD) {
    const std::uint32_t sum = ReferenceChecksum(image, FixtureChecksumOffset);
    for (int i = 0; i < 4; ++i) {
      image[FixtureChecksumOffset + i] = static_cast<std::uint8_t>(sum >> (8 * i));
    }
  }
  return image;
}
