// The code patch written into VxD and WDM driver images.
#include <gtest/gtest.h>

#include "tests/support/scratch_test.h"

#include "platform/testing/scratch.h"
#include "tests/support/file_bytes.h"
#include "tests/support/patched_image.h"
#include "ymf/code_patch.h"
#include "ymf/environment.h"
#include "ymf/version_profile.h"

namespace {

class CodePatch : public ScratchTest {
 protected:
  void SetUp() override {
    ScratchTest::SetUp();
    Env.DriverPath = dir_ + "driver";
  }
  // Installs a driver image of a known build and loads its profile.
  Bytes Install(bool isVxD, const std::string& version) {
    DriverImageSpec setup;
    setup.IsVxD = isVxD;
    setup.VersionText = version;
    const Bytes image = MakeDriverImage(setup);
    WriteAll(Env.DriverPath, image);
    Env.IsVxD = isVxD;
    LoadVersionProfile();
    EXPECT_TRUE(Env.Profile.ProfileKnown) << version;
    return image;
  }
  // The patch as the bank switch writes it, on the driver file held open.
  static bool PatchFile() {
    FileHandle file = InvalidFileHandle;
    if (!OpenWrite(Env.DriverPath, file)) {
      return false;
    }
    const bool landed = WritePatch(file);
    CloseFile(file);
    return landed;
  }
};

TEST_F(CodePatch, WritesTwentyFiveVxdAndFortyTwoWdmBytes) {
  // On an image of zeros every non-zero byte of the list shows up as one
  // changed byte; the WDM list also writes 0x00 twice.
  for (bool isVxD : {true, false}) {
    const Bytes zeros(Install(isVxD, isVxD ? "4.06.2008" : "5.12.01.2228").size(), 0);
    WriteAll(Env.DriverPath, zeros);
    ASSERT_TRUE(PatchFile());
    const Bytes after = ReadAll(Env.DriverPath);
    std::size_t changed = 0;
    for (std::uint8_t byte : after) {
      changed += byte != 0 ? 1 : 0;
    }
    EXPECT_EQ(changed, isVxD ? 25u : 40u);
    EXPECT_EQ(after, PatchedImage(zeros, Env.Profile, isVxD));
  }
}

TEST_F(CodePatch, PatchingTwiceEqualsPatchingOnce) {
  Install(false, "5.12.01.5244");
  ASSERT_TRUE(PatchFile());
  const Bytes once = ReadAll(Env.DriverPath);
  ASSERT_TRUE(PatchFile());
  EXPECT_EQ(ReadAll(Env.DriverPath), once);
}

TEST_F(CodePatch, ByteThatDidNotLandIsReported) {
  const Bytes image = Install(false, "5.12.01.5245");
  // A site the file position cannot reach: its writes fail, the others
  // still go in, and the read-back turns the result into a failure.
  VersionProfile unreachable = Env.Profile;
  unreachable.PatchOffset4 = -100;
  Env.Profile = unreachable;
  EXPECT_FALSE(PatchFile());
  EXPECT_EQ(ReadAll(Env.DriverPath), PatchedImageWithoutSite(image, unreachable, false, 4));
}

TEST_F(CodePatch, WriteDriverByteWritesOneByteAtItsOffsetOnly) {
  const Bytes image(64, 0x11);
  WriteAll(Env.DriverPath, image);
  FileHandle file = InvalidFileHandle;
  ASSERT_TRUE(OpenWrite(Env.DriverPath, file));
  EXPECT_TRUE(WriteDriverByte(file, 10, 0x7E));
  // A failed seek must not let the byte land at the current position.
  EXPECT_FALSE(WriteDriverByte(file, -1, 0x55));
  CloseFile(file);
  Bytes expected = image;
  expected[10] = 0x7E;
  EXPECT_EQ(ReadAll(Env.DriverPath), expected);
}

}  // namespace
