#include "ymf/version_profile.h"

#include "ymf/environment.h"

const VersionProbe VersionProbes[VersionProbeCount] = {
    {987582, 987594, 9},    {1003025, 1003037, 9},  {1004556, 1004568, 9},  {1012670, 1012682, 9},
    {1016770, 1016782, 12}, {1019330, 1019342, 12}, {2465550, 2465576, 12}, {2710830, 2710856, 12},
    {2710446, 2710472, 12}, {2715822, 2715848, 12},
};

namespace {

struct KnownBuild {
  const char* Text;
  VersionProfile Offsets;
};

// Table and patch offsets of every known driver build, in lookup order.
const KnownBuild KnownBuilds[] = {
    {"4.07.1040", {"", true, 0x35BE0, 0x3A088, 0x2E350, 0xB649E, 0xB65A6, 0xB65B4, 0xB6513}},
    {"4.06.2004", {"", true, 0x35DF8, 0x3A2A0, 0x2E568, 0xB8FAE, 0xB90C6, 0xB90D4, 0xB9023}},
    {"4.06.2005", {"", true, 0x36030, 0x3A4D8, 0x2E7A0, 0xB928E, 0xB9396, 0xB93A4, 0xB9303}},
    {"4.06.2008", {"", true, 0x36820, 0x3ACC8, 0x2EF90, 0xBB21E, 0xBB326, 0xBB334, 0xBB293}},
    {"4.07.00.2013", {"", true, 0x36AF0, 0x3AF98, 0x2F260, 0xBC09E, 0xBC1A6, 0xBC1B4, 0xBC113}},
    {"4.12.01.2018", {"", true, 0x36E90, 0x3B338, 0x2F600, 0xBC5DE, 0xBC6F6, 0xBC704, 0xBC653}},
    {"4.12.01.2019", {"", true, 0x36E90, 0x3B338, 0x2F600, 0xBC5DE, 0xBC6F6, 0xBC704, 0xBC653}},
    {"4.12.01.2020", {"", true, 0x36E90, 0x3B338, 0x2F600, 0xBC5DE, 0xBC6F6, 0xBC704, 0xBC653}},
    {"5.12.01.2228", {"", true, 0x1380C0, 0x13C568, 0x13052C, 0x129E2, 0x12B20, 0x12B2A, 0x12A78}},
    {"5.12.01.2240", {"", true, 0x16FF40, 0x1743E8, 0x1683AC, 0x14462, 0x145A0, 0x145AA, 0x144F8}},
    {"5.12.01.5244", {"", true, 0x16FD00, 0x1741A8, 0x16816C, 0x13FC2, 0x14100, 0x1410A, 0x14058}},
    {"5.12.01.5245", {"", true, 0x170100, 0x1745A8, 0x16856C, 0x143C2, 0x14500, 0x1450A, 0x14458}},
};

}  // namespace

namespace {

// One probe over any byte source: readAt(offset, byte) reads one byte and
// leaves it unchanged when there is none.
template <typename ReadAt>
bool Probe(ReadAt readAt, const VersionProbe& probe, std::string& text) {
  std::uint8_t marker = 0;
  if (!readAt(probe.MarkerOffset, marker) || marker != 0x46) {
    return false;
  }
  // 8-bit characters on the VxD, the low bytes of 16-bit ones on the WDM driver.
  const std::int32_t width = Env.IsVxD ? 1 : 2;
  std::string found;
  for (std::int32_t i = 0; i < probe.Characters; ++i) {
    std::uint8_t character = 0;
    readAt(probe.TextOffset + i * width, character);
    found += static_cast<char>(character);
  }
  text += found;
  return true;
}

template <typename ReadAt>
std::string VersionTextWith(ReadAt readAt) {
  std::string text;
  for (const VersionProbe& probe : VersionProbes) {
    if (Probe(readAt, probe, text)) {
      return text;
    }
  }
  return IncompatibleVersionText;
}

}  // namespace

std::string ReadVersionText(FileHandle file) {
  return VersionTextWith(
      [file](std::int32_t offset, std::uint8_t& byte) { return SeekTo(file, offset) && ReadByte(file, byte); });
}

std::string VersionTextOfImage(const std::uint8_t* image, std::uint32_t size) {
  return VersionTextWith([image, size](std::int32_t offset, std::uint8_t& byte) {
    if (offset < 0 || static_cast<std::uint32_t>(offset) >= size) {
      return false;
    }
    byte = image[offset];
    return true;
  });
}

bool VersionTextFound(const std::string& text) { return !text.empty() && text != IncompatibleVersionText; }

void LoadVersionProfile() {
  VersionProfile& profile = Env.Profile;
  profile.VersionText.clear();
  FileHandle file = InvalidFileHandle;
  if (OpenRead(Env.DriverPath, file)) {
    profile.VersionText = ReadVersionText(file);
    CloseFile(file);
  }
  profile.ProfileKnown = false;
  for (const KnownBuild& build : KnownBuilds) {
    if (profile.VersionText == build.Text) {
      const std::string text = profile.VersionText;
      profile = build.Offsets;
      profile.VersionText = text;
      return;
    }
  }
}
