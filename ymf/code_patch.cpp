#include "ymf/code_patch.h"

#include <iterator>

namespace {

// The VxD list: one byte at each single-byte site, a 20-byte code block that
// keeps its bytes at +4 and +8, and five NOPs.
const PatchByte VxdPatch[] = {
    {1, 0, 0x90},  {2, 0, 0x06},  {3, 0, 0x11},  {3, 1, 0x66},  {3, 2, 0x8B},  {3, 3, 0x1A},  {3, 5, 0xC1},
    {3, 6, 0x02},  {3, 7, 0x83},  {3, 9, 0x08},  {3, 10, 0x3B}, {3, 11, 0xC2}, {3, 12, 0x66}, {3, 13, 0x89},
    {3, 14, 0x59}, {3, 15, 0xFE}, {3, 16, 0x77}, {3, 17, 0xEF}, {3, 18, 0x5B}, {3, 19, 0xC3}, {4, 0, 0x90},
    {4, 1, 0x90},  {4, 2, 0x90},  {4, 3, 0x90},  {4, 4, 0x90},
};

// The WDM list: a 36-byte code block that keeps its byte at +1, and
// "add esp, 8" followed by two NOPs.
const PatchByte WdmPatch[] = {
    {1, 0, 0x00},  {2, 0, 0x06},  {3, 0, 0x12},  {3, 2, 0x66},  {3, 3, 0x8B},  {3, 4, 0x19},  {3, 5, 0x83},
    {3, 6, 0xC1},  {3, 7, 0x08},  {3, 8, 0x66},  {3, 9, 0x89},  {3, 10, 0x1A}, {3, 11, 0x83}, {3, 12, 0xC2},
    {3, 13, 0x02}, {3, 14, 0x3B}, {3, 15, 0xCE}, {3, 16, 0x72}, {3, 17, 0xF0}, {3, 18, 0x5B}, {3, 19, 0x8B},
    {3, 20, 0xCA}, {3, 21, 0x8B}, {3, 22, 0x50}, {3, 23, 0x08}, {3, 24, 0x2B}, {3, 25, 0xC8}, {3, 26, 0x8D},
    {3, 27, 0x71}, {3, 28, 0xE4}, {3, 29, 0x3B}, {3, 30, 0xF2}, {3, 31, 0x5E}, {3, 32, 0x5F}, {3, 33, 0xC2},
    {3, 34, 0x08}, {3, 35, 0x00}, {4, 0, 0x83},  {4, 1, 0xC4},  {4, 2, 0x08},  {4, 3, 0x90},  {4, 4, 0x90},
};

}  // namespace

PatchList PatchListFor(bool isVxD) {
  return isVxD ? PatchList{VxdPatch, std::size(VxdPatch)} : PatchList{WdmPatch, std::size(WdmPatch)};
}

std::int32_t PatchByteOffset(const VersionProfile& profile, const PatchByte& entry) {
  const std::int32_t sites[] = {profile.PatchOffset1, profile.PatchOffset2, profile.PatchOffset3, profile.PatchOffset4};
  return sites[entry.Site - 1] + entry.Distance;
}

namespace {

// Reads each site of a list back in one block (the entries of a site are
// consecutive and in ascending order) and compares every written byte.
bool SitesHoldPatch(FileHandle file, const PatchList& list) {
  std::uint8_t site[64];
  const PatchByte* first = list.begin();
  while (first != list.end()) {
    const PatchByte* last = first;
    while (last + 1 != list.end() && (last + 1)->Site == first->Site) {
      ++last;
    }
    const std::int32_t span = last->Distance - first->Distance + 1;
    if (span > static_cast<std::int32_t>(sizeof site) || !SeekTo(file, PatchByteOffset(Env.Profile, *first)) ||
        !ReadBlock(file, site, span)) {
      return false;
    }
    for (const PatchByte* entry = first; entry <= last; ++entry) {
      if (site[entry->Distance - first->Distance] != entry->Value) {
        return false;
      }
    }
    first = last + 1;
  }
  return true;
}

}  // namespace

bool WriteDriverByte(FileHandle file, std::int32_t offset, std::uint8_t value) {
  return SeekTo(file, offset) && WriteByte(file, value);
}

bool WritePatch(FileHandle file) {
  const PatchList list = PatchListFor(Env.IsVxD);
  for (const PatchByte& entry : list) {
    WriteDriverByte(file, PatchByteOffset(Env.Profile, entry), entry.Value);
  }
  // A single write may fail without stopping the list; reading the bytes
  // back is what tells whether the patch is in place.
  return SitesHoldPatch(file, list);
}

bool ImageCarriesPatch(const std::vector<std::uint8_t>& image) { return ImageCarriesPatch(image.data(), image.size()); }

bool ImageCarriesPatch(const std::uint8_t* image, std::size_t size) {
  if (!Env.Profile.ProfileKnown) {
    return false;
  }
  for (int site = 3; site <= 4; ++site) {
    bool whole = true;
    for (const PatchByte& entry : PatchListFor(Env.IsVxD)) {
      if (entry.Site != site) {
        continue;
      }
      const std::int32_t offset = PatchByteOffset(Env.Profile, entry);
      whole = whole && offset >= 0 && static_cast<std::size_t>(offset) < size &&
              image[static_cast<std::size_t>(offset)] == entry.Value;
    }
    if (whole) {
      return true;
    }
  }
  return false;
}
