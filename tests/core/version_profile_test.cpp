// Version texts read from driver images and the offsets of the known builds.
#include <gtest/gtest.h>

#include "tests/support/scratch_test.h"

#include "platform/testing/scratch.h"
#include "tests/support/file_bytes.h"
#include "ymf/environment.h"
#include "ymf/version_profile.h"

namespace {

const char* const Incompatible = "incompatible with Bank Modes feature";

struct Build {
  const char* Text;
  bool IsVxD;
  std::int32_t Table1, Table2, Table3, Patch1, Patch2, Patch3, Patch4;
};

// The offsets in decimal, as the driver maker's builds have them.
const Build Builds[] = {
    {"4.07.1040", true, 220128, 237704, 189264, 746654, 746918, 746932, 746771},
    {"4.06.2004", true, 220664, 238240, 189800, 757678, 757958, 757972, 757795},
    {"4.06.2005", true, 221232, 238808, 190368, 758414, 758678, 758692, 758531},
    {"4.06.2008", true, 223264, 240840, 192400, 766494, 766758, 766772, 766611},
    {"4.07.00.2013", true, 223984, 241560, 193120, 770206, 770470, 770484, 770323},
    {"4.12.01.2018", true, 224912, 242488, 194048, 771550, 771830, 771844, 771667},
    {"4.12.01.2019", true, 224912, 242488, 194048, 771550, 771830, 771844, 771667},
    {"4.12.01.2020", true, 224912, 242488, 194048, 771550, 771830, 771844, 771667},
    {"5.12.01.2228", false, 1278144, 1295720, 1246508, 76258, 76576, 76586, 76408},
    {"5.12.01.2240", false, 1507136, 1524712, 1475500, 83042, 83360, 83370, 83192},
    {"5.12.01.5244", false, 1506560, 1524136, 1474924, 81858, 82176, 82186, 82008},
    {"5.12.01.5245", false, 1507584, 1525160, 1475948, 82882, 83200, 83210, 83032},
};

class VersionProfiles : public ScratchTest {
 protected:
  void SetUp() override {
    ScratchTest::SetUp();
    Env.DriverPath = dir_ + "driver";
  }
  void Load(const Bytes& image, bool isVxD) {
    WriteAll(Env.DriverPath, image);
    Env.IsVxD = isVxD;
    LoadVersionProfile();
  }
  void Load(const DriverImageSpec& setup) { Load(MakeDriverImage(setup), setup.IsVxD); }
};

DriverImageSpec Image(bool isVxD, const std::string& text, int probe = 0) {
  DriverImageSpec setup;
  setup.IsVxD = isVxD;
  setup.VersionText = text;
  setup.Probe = probe;
  return setup;
}

TEST_F(VersionProfiles, EveryKnownBuildSelectsItsOffsets) {
  for (const Build& build : Builds) {
    Env.Profile = VersionProfile();
    Load(Image(build.IsVxD, build.Text));
    const VersionProfile& p = Env.Profile;
    EXPECT_EQ(p.VersionText, build.Text);
    ASSERT_TRUE(p.ProfileKnown) << build.Text;
    EXPECT_EQ(p.TableOffset1, build.Table1) << build.Text;
    EXPECT_EQ(p.TableOffset2, build.Table2) << build.Text;
    EXPECT_EQ(p.TableOffset3, build.Table3) << build.Text;
    EXPECT_EQ(p.PatchOffset1, build.Patch1) << build.Text;
    EXPECT_EQ(p.PatchOffset2, build.Patch2) << build.Text;
    EXPECT_EQ(p.PatchOffset3, build.Patch3) << build.Text;
    EXPECT_EQ(p.PatchOffset4, build.Patch4) << build.Text;
    // Table 2 follows table 1 after an 8-byte gap; the code block follows
    // the second single-byte site at a fixed distance per driver kind.
    EXPECT_EQ(p.TableOffset2 - p.TableOffset1, Table1Size + 8) << build.Text;
    EXPECT_EQ(p.PatchOffset3 - p.PatchOffset2, build.IsVxD ? 14 : 10) << build.Text;
  }
}

TEST_F(VersionProfiles, NineCharacterProbeCutsALongerText) {
  // Probe 1 reads nine characters even where a twelve-character text stands.
  Load(Image(true, "4.07.00.2013", 1));
  EXPECT_EQ(Env.Profile.VersionText, "4.07.00.2");
  EXPECT_FALSE(Env.Profile.ProfileKnown);
  EXPECT_EQ(Env.Profile.TableOffset1, 0);
  EXPECT_EQ(Env.Profile.PatchOffset3, 0);
}

TEST_F(VersionProfiles, OnlyTheWholeExactTextMatches) {
  // A nine-character text read by a twelve-character probe brings NULs.
  Load(Image(true, "4.07.1040", 5));
  EXPECT_EQ(Env.Profile.VersionText, std::string("4.07.1040\0\0\0", 12));
  EXPECT_FALSE(Env.Profile.ProfileKnown);

  Load(Image(true, "4.07.10400", 5));
  EXPECT_EQ(Env.Profile.VersionText, std::string("4.07.10400\0\0", 12));
  EXPECT_FALSE(Env.Profile.ProfileKnown);

  Load(Image(false, "5.12.01.5246"));
  EXPECT_EQ(Env.Profile.VersionText, "5.12.01.5246");
  EXPECT_FALSE(Env.Profile.ProfileKnown);

  // A NUL inside the text.
  Load(Image(false, std::string("5.12.01\0.524", 12)));
  EXPECT_FALSE(Env.Profile.ProfileKnown);
}

TEST_F(VersionProfiles, UnknownTextLeavesTheOffsetsAsTheyWere) {
  Env.Profile.TableOffset1 = 5;
  Env.Profile.PatchOffset4 = 6;
  Env.Profile.ProfileKnown = true;
  Load(Image(false, "5.12.01.9999"));
  EXPECT_FALSE(Env.Profile.ProfileKnown);
  EXPECT_EQ(Env.Profile.TableOffset1, 5);
  EXPECT_EQ(Env.Profile.PatchOffset4, 6);
}

TEST_F(VersionProfiles, ShortFilesFailEveryProbe) {
  DriverImageSpec setup = Image(true, "4.07.1040", 1);
  setup.Size = 987582;
  Load(setup);
  EXPECT_EQ(Env.Profile.VersionText, Incompatible);
  EXPECT_FALSE(Env.Profile.ProfileKnown);

  Load(Bytes(), false);
  EXPECT_EQ(Env.Profile.VersionText, Incompatible);

  // One byte more and the first marker is there to be read.
  Bytes image(987583, 0);
  image[987582] = 'F';
  Load(image, true);
  EXPECT_NE(Env.Profile.VersionText, Incompatible);
  EXPECT_FALSE(Env.Profile.ProfileKnown);
}

TEST_F(VersionProfiles, NoMarkerGivesTheIncompatibilityText) {
  Load(Image(false, "5.12.01.5245", -1));
  EXPECT_EQ(Env.Profile.VersionText, Incompatible);
  EXPECT_FALSE(Env.Profile.ProfileKnown);
}

TEST_F(VersionProfiles, MissingDriverLeavesTheTextEmpty) {
  Env.Profile.VersionText = "stale";
  Env.DriverPath = dir_ + "missing";
  LoadVersionProfile();
  EXPECT_EQ(Env.Profile.VersionText, "");
  EXPECT_FALSE(Env.Profile.ProfileKnown);
}

TEST_F(VersionProfiles, CharacterWidthFollowsTheDriverKindNotTheProbe) {
  // A WDM file with its text at a VxD probe reads 16-bit characters there;
  // the lookup goes by text alone.
  Load(Image(false, "4.06.2004", 2));
  EXPECT_EQ(Env.Profile.VersionText, "4.06.2004");
  EXPECT_TRUE(Env.Profile.ProfileKnown);
  EXPECT_EQ(Env.Profile.TableOffset1, 220664);

  Load(Image(false, "4.12.01.2020", 6));
  EXPECT_EQ(Env.Profile.VersionText, "4.12.01.2020");
  EXPECT_TRUE(Env.Profile.ProfileKnown);

  // A VxD file with its text at a WDM probe reads 8-bit characters there.
  for (int probe = 7; probe <= 10; ++probe) {
    DriverImageSpec setup = Image(true, "5.12.01.2228", probe);
    setup.Size = 2800000;
    Load(setup);
    EXPECT_EQ(Env.Profile.VersionText, "5.12.01.2228") << "probe " << probe;
    EXPECT_TRUE(Env.Profile.ProfileKnown) << "probe " << probe;
  }
}

TEST_F(VersionProfiles, WdmTextKeepsTheLowByteOfEachCharacter) {
  DriverImageSpec setup = Image(false, "5.12.01.2240", 9);
  Bytes image = MakeDriverImage(setup);
  const std::size_t text = static_cast<std::size_t>(VersionProbes[8].TextOffset);
  for (std::size_t c = 0; c < 12; ++c) {
    image[text + 2 * c + 1] = static_cast<std::uint8_t>(0x30 + c);
  }
  Load(image, false);
  EXPECT_EQ(Env.Profile.VersionText, "5.12.01.2240");
  EXPECT_TRUE(Env.Profile.ProfileKnown);
}

TEST_F(VersionProfiles, FirstMatchingMarkerEndsTheSearch) {
  // A valid text at probe 10 and a bare marker at probe 3: probe 3 wins
  // with whatever stands behind its marker.
  Bytes image = MakeDriverImage(Image(false, "5.12.01.5245", 10));
  image[static_cast<std::size_t>(VersionProbes[2].MarkerOffset)] = 'F';
  const std::size_t text = static_cast<std::size_t>(VersionProbes[2].TextOffset);
  const std::string junk = "x.yz.0000";
  for (std::size_t c = 0; c < junk.size(); ++c) {
    image[text + 2 * c] = static_cast<std::uint8_t>(junk[c]);
  }
  Load(image, false);
  EXPECT_EQ(Env.Profile.VersionText, junk);
  EXPECT_FALSE(Env.Profile.ProfileKnown);
}

}  // namespace
