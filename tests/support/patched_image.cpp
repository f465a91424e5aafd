#include "tests/support/patched_image.h"

#include <vector>

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
