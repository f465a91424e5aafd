// Applying the window's choices to the driver's registry settings.
#include <gtest/gtest.h>

#include "platform/registry.h"
#include "platform/testing/registry_keys.h"
#include "tests/support/settings_registry.h"
#include "ymf/driver_settings.h"
#include "ymf/environment.h"
#include "ymf/settings_apply.h"

namespace {

class SettingsApply : public ::testing::Test {
 protected:
  void SetUp() override {
    MachineKeyDeleteTree(SettingsTestKey);
    Env = DriverEnvironment();
    Env.DriverRegKey = SettingsTestKey;
    stored_.ShowWaveout = true;
    stored_.LoadUIF = 2;
    stored_.LoadSpdifIn = 1;
    stored_.LoadVSVL = true;
    stored_.LoadPower = true;
    stored_.MaxModVoices = 32;
    stored_.MaxWodVoices = 16;
    stored_.MaxDSVoices = 8;
    stored_.Max3DVoices = 8;
  }
  void TearDown() override {
    MachineKeyDeleteTree(SettingsTestKey);
    Env = DriverEnvironment();
  }
  // Stores the settings for a driver kind and loads them, as detection does.
  void Install(bool vxd) {
    Env.IsVxD = vxd;
    ASSERT_TRUE(WriteDriverRegistry(SettingsTestKey, vxd, stored_));
    ReadDriverSettings();
  }
  static void Put(const std::string& name, const Bytes& data, std::uint32_t type) {
    PutValue(SettingsTestKey, name, type, data);
  }
  static StoredValue Get(const std::string& name) { return GetValue(SettingsTestKey, name); }

  // Every group in Apply's order; Changed and RebootNeeded when any group gave them.
  static GroupApplied ApplyAll(const DriverSettings& wanted) {
    GroupApplied all;
    for (SettingGroup group : SettingGroups) {
      const GroupApplied applied = ApplySettingsGroup(group, wanted);
      all.Changed = all.Changed || applied.Changed;
      all.RebootNeeded = all.RebootNeeded || applied.RebootNeeded;
      all.LeftAlone.insert(all.LeftAlone.end(), applied.LeftAlone.begin(), applied.LeftAlone.end());
    }
    return all;
  }

  DriverSettings stored_;
};

const Bytes Dword1{0x01, 0x00, 0x00, 0x00};
const Bytes Dword0{0x00, 0x00, 0x00, 0x00};

TEST_F(SettingsApply, NothingChangedWritesNothing) {
  Install(false);
  // Values that no write would leave in this shape: any write shows up.
  Put("SRC", Dword1, RegTypeDword);
  Put("LoadC3D", Dword1, RegTypeDword);
  Put("MaxDSVoices", {0x08}, RegTypeBinary);
  ReadDriverSettings();
  const DriverSettings before = Env.Settings;

  const GroupApplied applied = ApplyAll(Env.Settings);
  EXPECT_FALSE(applied.Changed);
  EXPECT_FALSE(applied.RebootNeeded);
  EXPECT_EQ(Get("SRC"), (StoredValue{true, RegTypeDword, Dword1}));
  EXPECT_EQ(Get("LoadC3D"), (StoredValue{true, RegTypeDword, Dword1}));
  EXPECT_EQ(Get("MaxDSVoices"), Binary({0x08}));
  EXPECT_EQ(FieldsOf(Env.Settings), FieldsOf(before));
}

// Only what the user changed is written: values of another type or size
// read as 0, were not asked for and stay as they are, reported.
TEST_F(SettingsApply, ShowWaveOutAloneWritesOnlyItAndLeavesOtherShapesAlone) {
  Install(false);
  const StoredValue uif{true, RegTypeDword, {0x03, 0x00, 0x00, 0x00}};
  const StoredValue misc{true, RegTypeSz, {'1', 0x00}};
  Put("LoadUIF", uif.Data, uif.Type);
  Put("ShowMisc", misc.Data, misc.Type);
  Put("SRC", {0x01}, RegTypeBinary);
  Put("LoadC3D", Dword1, RegTypeDword);
  ReadDriverSettings();
  DriverSettings wanted = Env.Settings;
  wanted.ShowWaveout = false;

  const GroupApplied applied = ApplyAll(wanted);
  EXPECT_TRUE(applied.Changed);
  EXPECT_FALSE(applied.RebootNeeded);
  EXPECT_TRUE(applied.Refused.empty());
  EXPECT_EQ(applied.LeftAlone, (std::vector<std::string>{"ShowMisc", "SRC", "LoadUIF"}));
  EXPECT_EQ(Get("ShowWaveout"), Binary(Dword0));
  EXPECT_EQ(Get("ShowMisc"), misc);
  EXPECT_EQ(Get("SRC"), Binary({0x01}));
  EXPECT_EQ(Get("LoadUIF"), uif);
  EXPECT_EQ(Get("LoadC3D"), (StoredValue{true, RegTypeDword, Dword1}));
  EXPECT_FALSE(Env.Settings.ShowWaveout);  // re-read
}

TEST_F(SettingsApply, HighQualityModeWritesTheSameGroupAndNeedsReboot) {
  Install(true);
  DriverSettings wanted = Env.Settings;
  wanted.SRC = true;
  const GroupApplied applied = ApplySettingsGroup(SettingGroup::Panel, wanted);
  EXPECT_TRUE(applied.Changed);
  EXPECT_TRUE(applied.RebootNeeded);
  EXPECT_EQ(Get("ShowWaveout"), Binary({0x01}));
  EXPECT_EQ(Get("ShowMisc"), Binary({0x00}));
  EXPECT_EQ(Get("SRC"), Binary({0x01}));
  EXPECT_EQ(Get("LoadUIF"), Binary({0x02}));
  EXPECT_EQ(Get("LoadSpdifIn"), Binary({0x01}));
  EXPECT_TRUE(Env.Settings.SRC);
}

TEST_F(SettingsApply, IndicesWithoutListEntrySurviveApply) {
  stored_.LoadUIF = 9;
  stored_.LoadSpdifIn = 5;
  for (bool vxd : {true, false}) {
    Install(vxd);
    DriverSettings wanted = Env.Settings;
    EXPECT_FALSE(ApplyAll(wanted).Changed);

    wanted.ShowMisc = true;
    const GroupApplied applied = ApplySettingsGroup(SettingGroup::Panel, wanted);
    EXPECT_TRUE(applied.Changed);
    EXPECT_FALSE(applied.RebootNeeded);
    EXPECT_EQ(Get("LoadUIF"), Binary(vxd ? Bytes{0x09} : Bytes{0x09, 0x00, 0x00, 0x00}));
    EXPECT_EQ(Get("LoadSpdifIn"), Binary(vxd ? Bytes{0x05} : Bytes{0x05, 0x00, 0x00, 0x00}));
    EXPECT_TRUE(Env.Settings.ShowMisc);
    EXPECT_EQ(Env.Settings.LoadUIF, 9);
    EXPECT_EQ(Env.Settings.LoadSpdifIn, 5);
  }
}

TEST_F(SettingsApply, PanelAndLoadModulesInOneApplyStoreBothGroups) {
  Install(true);
  DriverSettings wanted = Env.Settings;
  wanted.LoadUIF = 4;
  wanted.LoadGamePort = true;
  const GroupApplied applied = ApplyAll(wanted);
  EXPECT_TRUE(applied.Changed);
  EXPECT_TRUE(applied.RebootNeeded);  // from the load modules
  EXPECT_EQ(Get("LoadUIF"), Binary({0x04}));
  EXPECT_EQ(Get("LoadGamePort"), Binary({0x01}));
  EXPECT_EQ(Get("LoadC3D"), Binary({0x00}));
  EXPECT_EQ(Get("LoadPower"), Binary({0x01}));
  EXPECT_EQ(Env.Settings.LoadUIF, 4);
  EXPECT_TRUE(Env.Settings.LoadGamePort);
  EXPECT_EQ(Env.Settings.MaxModVoices, 32);
}

TEST_F(SettingsApply, OneVoiceCountWritesOnlyItAndNeedsReboot) {
  Install(true);
  Put("MaxWodVoices", {0x10}, RegTypeBinary);  // reads as 0
  ReadDriverSettings();
  DriverSettings wanted = Env.Settings;
  wanted.MaxDSVoices = 64;
  const GroupApplied applied = ApplySettingsGroup(SettingGroup::VoiceLimits, wanted);
  EXPECT_TRUE(applied.Changed);
  EXPECT_TRUE(applied.RebootNeeded);
  EXPECT_EQ(applied.LeftAlone, std::vector<std::string>{"MaxWodVoices"});
  EXPECT_EQ(Get("MaxModVoices"), Binary({0x20, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Get("MaxWodVoices"), Binary({0x10}));
  EXPECT_EQ(Get("MaxDSVoices"), Binary({0x40, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Get("Max3DVoices"), Binary({0x08, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Env.Settings.MaxDSVoices, 64);
}

TEST_F(SettingsApply, VoicePositionsAreStoredWithTheirSign) {
  Install(false);
  DriverSettings wanted = Env.Settings;
  wanted.MaxModVoices = 64;
  wanted.MaxWodVoices = 64;
  wanted.MaxDSVoices = 64;
  wanted.Max3DVoices = -1;
  EXPECT_TRUE(ApplySettingsGroup(SettingGroup::VoiceLimits, wanted).Changed);
  EXPECT_EQ(Get("MaxModVoices"), Binary({0x40, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Get("Max3DVoices"), Binary({0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Env.Settings.Max3DVoices, -1);
  // Now equal to what is stored: a second Apply writes nothing.
  EXPECT_FALSE(ApplySettingsGroup(SettingGroup::VoiceLimits, wanted).Changed);
}

TEST_F(SettingsApply, MissingKeyIsNotCreatedAndRereadKeepsTheFields) {
  Env.IsVxD = false;
  Env.DriverRegKey = std::string(SettingsTestKey) + "\\Missing";
  Env.Settings = stored_;
  DriverSettings wanted = stored_;
  wanted.SRC = true;
  wanted.LoadC3D = true;
  wanted.MaxModVoices = 1;
  const GroupApplied applied = ApplyAll(wanted);
  EXPECT_TRUE(applied.Changed);
  EXPECT_FALSE(KeyExists(Env.DriverRegKey));
  EXPECT_EQ(FieldsOf(Env.Settings), FieldsOf(stored_));
}

}  // namespace
