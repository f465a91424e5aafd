// Settings store cases that need the test double: a registry root holding
// values, keys that refuse write access, and detection loading the settings.
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "platform/fake.h"
#include "platform/registry.h"
#include "platform/testing/registry_keys.h"
#include "tests/core/simulated_system.h"
#include "tests/support/settings_registry.h"
#include "ymf/backup.h"
#include "ymf/detect.h"
#include "ymf/driver_settings.h"
#include "ymf/operation_failure.h"
#include "ymf/settings_apply.h"
#include "ymf/settings_backup.h"

namespace {

using RegistrySnapshot = std::map<std::string, std::map<std::string, std::pair<std::uint32_t, Bytes>>>;

RegistrySnapshot Snapshot() {
  RegistrySnapshot snapshot;
  for (const auto& key : Fake().Keys) {
    auto& values = snapshot[key.first];
    for (const auto& value : key.second) {
      values[value.first] = {value.second.Type, value.second.Data};
    }
  }
  return snapshot;
}

class SettingsDouble : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeReset();
    Env = DriverEnvironment();
  }
  void TearDown() override {
    Env = DriverEnvironment();
    FakeReset();
  }
};

TEST_F(SettingsDouble, EmptyKeyReadsNothingFromTheRoot) {
  for (bool vxd : {true, false}) {
    Fake().Keys[""]["showwaveout"] = FakeValue{RegTypeBinary, vxd ? Bytes{0x01} : Bytes{0x01, 0, 0, 0}};
    Fake().Keys[""]["maxmodvoices"] = FakeValue{RegTypeBinary, {0x05, 0, 0, 0}};
    Env.IsVxD = vxd;
    Env.Settings = DriverSettings();
    ReadDriverSettings();
    EXPECT_EQ(FieldsOf(Env.Settings), FieldsOf(DriverSettings())) << "vxd " << vxd;
  }
}

TEST_F(SettingsDouble, EmptyKeyWritesNothingAnywhere) {
  MachineKeyCreate("Software\\Other");
  PutValue("Software\\Other", "Kept", RegTypeBinary, {0x01});
  const RegistrySnapshot before = Snapshot();
  for (bool vxd : {true, false}) {
    Env.IsVxD = vxd;
    for (SettingGroup group : SettingGroups) {
      WriteSettingsGroup(group, NonZeroSettings());
      // No driver found: every choice changed is still no change.
      const GroupApplied applied = ApplySettingsGroup(group, NonZeroSettings());
      EXPECT_FALSE(applied.Changed);
      EXPECT_FALSE(applied.RebootNeeded);
    }
  }
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(SettingsDouble, KeyDeniedForWritingIsLeftAsItWasAndStillReads) {
  const std::string key = "Software\\YAMAHA\\Driver\\YMF724";
  DriverSettings stored = NonZeroSettings();
  stored.LoadUIF = 3;
  stored.LoadSpdifIn = 2;
  ASSERT_TRUE(WriteDriverRegistry(key, true, stored));
  Fake().WriteDeniedKeys.insert(FakeKeyName(key));
  Env.IsVxD = true;
  Env.DriverRegKey = key;
  ReadDriverSettings();  // reading asks for no write access
  ASSERT_EQ(FieldsOf(Env.Settings), FieldsOf(stored));
  const RegistrySnapshot before = Snapshot();

  DriverSettings wanted = Env.Settings;
  wanted.SRC = false;
  wanted.LoadLegacy = false;
  wanted.MaxWodVoices = 40;
  const std::vector<std::string> refused[] = {{"SRC"}, {"LoadLegacy"}, {"MaxWodVoices"}};
  for (SettingGroup group : SettingGroups) {
    const GroupApplied applied = ApplySettingsGroup(group, wanted);
    EXPECT_TRUE(applied.Changed);
    EXPECT_FALSE(applied.RebootNeeded) << "nothing was stored";
    EXPECT_EQ(applied.Refused, refused[static_cast<int>(group)]);
  }
  EXPECT_EQ(Snapshot(), before);
  // The re-read brings the record back to what the registry holds.
  EXPECT_EQ(FieldsOf(Env.Settings), FieldsOf(stored));
}

TEST(SettingsDetection, DetectionLoadsTheSettingsOfTheFoundDriver) {
  for (bool vxd : {true, false}) {
    SimulatedSystem system;
    DriverInstallSpec setup;
    setup.Image.IsVxD = vxd;
    ASSERT_TRUE(system.AddDriver(setup));
    DriverSettings stored = NonZeroSettings();
    stored.LoadUIF = 4;
    stored.LoadSpdifIn = 1;
    stored.Max3DVoices = 0;
    ASSERT_TRUE(WriteDriverRegistry(DriverRegKeyFor(vxd, 5), vxd, stored));
    // Values in the other kind's encoding under the other kind's key are not looked at.
    ASSERT_TRUE(WriteDriverRegistry(DriverRegKeyFor(!vxd, 5), !vxd, DriverSettings()));
    ASSERT_TRUE(DetectDriver());
    EXPECT_EQ(FieldsOf(Env.Settings), FieldsOf(stored)) << "vxd " << vxd;
  }
}

// The first backup records the fifteen values as they are stored, their
// shape included; a restore of the settings puts exactly those back, and a
// damaged record writes nothing.
TEST(SettingsDetection, TheFirstBackupRecordsTheSettingsAndARestorePutsThemBack) {
  SimulatedSystem system;
  ASSERT_TRUE(system.AddDriver(DriverInstallSpec()));
  const std::string key = DriverRegKeyFor(false, 5);
  DriverSettings original = NonZeroSettings();
  original.MaxModVoices = 20;
  ASSERT_TRUE(WriteDriverRegistry(key, false, original));
  PutValue(key, "LoadUIF", RegTypeDword, {0x03, 0, 0, 0});  // the driver's set-up may leave another shape
  ASSERT_TRUE(DetectDriver());
  ASSERT_TRUE(BackupDriverFiles());
  const RegistrySnapshot before = Snapshot();
  ASSERT_TRUE(SettingsRecordPresent());

  DriverSettings changed = DriverSettings();
  changed.MaxModVoices = 64;
  ASSERT_TRUE(WriteDriverRegistry(key, false, changed));
  ASSERT_TRUE(BackupDriverFiles());  // a later start keeps the first record
  EXPECT_TRUE(RestoreDriverSettings()) << LastFailure().Text;
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(Env.Settings.MaxModVoices, 20);

  ASSERT_TRUE(WriteDriverRegistry(key, false, changed));
  Bytes record = ReadAll(SettingsRecordPath());
  record[record.size() / 2] ^= 1;
  WriteAll(SettingsRecordPath(), record);
  const RegistrySnapshot damaged = Snapshot();
  EXPECT_FALSE(RestoreDriverSettings());
  EXPECT_EQ(Snapshot(), damaged);
}

TEST(SettingsDetection, NoDriverLeavesEverySettingFalseOrZero) {
  SimulatedSystem system;
  for (bool vxd : {true, false}) {
    ASSERT_TRUE(WriteDriverRegistry(DriverRegKeyFor(vxd, 5), vxd, NonZeroSettings()));
  }
  EXPECT_FALSE(DetectDriver());
  EXPECT_EQ(FieldsOf(Env.Settings), FieldsOf(DriverSettings()));
}

}  // namespace
