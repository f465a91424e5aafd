// Reading and writing the driver's registry settings in both encodings.
#include <gtest/gtest.h>

#include "platform/registry.h"
#include "platform/testing/registry_keys.h"
#include "tests/support/settings_registry.h"
#include "ymf/driver_settings.h"
#include "ymf/environment.h"
#include "ymf/voice_limits.h"

namespace {

class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override {
    MachineKeyDeleteTree(SettingsTestKey);
    ASSERT_TRUE(MachineKeyCreate(SettingsTestKey));
    Env = DriverEnvironment();
    Env.DriverRegKey = SettingsTestKey;
  }
  void TearDown() override {
    MachineKeyDeleteTree(SettingsTestKey);
    Env = DriverEnvironment();
  }
  static void Put(const std::string& name, const Bytes& data, std::uint32_t type = RegTypeBinary) {
    PutValue(SettingsTestKey, name, type, data);
  }
  static StoredValue Get(const std::string& name) { return GetValue(SettingsTestKey, name); }
};

TEST_F(SettingsStore, VxdReadsOnlyOneByteBinaryIndicesAndFlags) {
  Env.IsVxD = true;
  Env.Settings = NonZeroSettings();
  Put("ShowWaveout", {0x01});
  Put("ShowMisc", {0x01, 0x00, 0x00, 0x00});  // 4-byte value, 1-byte reader
  Put("SRC", {0x02});
  Put("LoadUIF", {0x06});
  Put("LoadC3D", {0x01, 0x00, 0x00, 0x00}, RegTypeDword);
  Put("LoadGamePort", {0xFF});
  Put("LoadLegacy", {0x01});
  Put("LoadSpdif", {});
  Put("LoadSpdifIn", {0x03, 0x00, 0x00, 0x00});
  // LoadVSVL missing
  Put("LoadPower", {0x01, 0x00});
  Put("MaxModVoices", {0x40, 0x00, 0x00, 0x00});
  Put("MaxWodVoices", {0x20});  // limits are 4 bytes on the VxD as well
  Put("MaxDSVoices", {0x20, 0x00, 0x00, 0x00}, RegTypeDword);
  Put("Max3DVoices", {0xFF, 0xFF, 0xFF, 0xFF});
  ReadDriverSettings();
  const std::vector<std::int64_t> expected{1, 0, 0, 6, 0, 0, 1, 0, 0, 0, 0, 64, 0, 0, -1};
  EXPECT_EQ(FieldsOf(Env.Settings), expected);
}

TEST_F(SettingsStore, WdmReadsOnlyFourByteBinaryAndKeepsTheIndicesLowByte) {
  Env.IsVxD = false;
  Env.Settings = NonZeroSettings();
  Put("ShowWaveout", {0x01, 0x00, 0x00, 0x00});
  Put("ShowMisc", {0x01, 0x01, 0x00, 0x00});
  Put("SRC", {0x01});  // 1-byte value, 4-byte reader
  Put("LoadUIF", {0x05, 0x01, 0x00, 0x00});
  Put("LoadC3D", {0x01, 0x00, 0x00, 0x00}, RegTypeDword);
  Put("LoadGamePort", {0x02, 0x00, 0x00, 0x00});
  Put("LoadLegacy", {0x01, 0x00, 0x00, 0x00, 0x00});
  Put("LoadSpdif", {'1', 0x00}, RegTypeSz);
  Put("LoadSpdifIn", {0xFF, 0x00, 0x00, 0x80});
  Put("LoadVSVL", {0x01, 0x00, 0x00, 0x00});
  Put("LoadPower", {0x00, 0x00, 0x00, 0x01});
  Put("MaxModVoices", {0x18, 0x00, 0x00, 0x00});
  Put("MaxWodVoices", {0x00, 0x01, 0x00, 0x00});
  // MaxDSVoices missing
  Put("Max3DVoices", {0xFE, 0xFF, 0xFF, 0x7F});
  ReadDriverSettings();
  const std::vector<std::int64_t> expected{1, 0, 0, 5, 0, 0, 0, 0, 255, 1, 0, 24, 256, 0, 0x7FFFFFFE};
  EXPECT_EQ(FieldsOf(Env.Settings), expected);
}

TEST_F(SettingsStore, UnopenableKeyLeavesEveryFieldAsItWas) {
  for (bool vxd : {true, false}) {
    for (const std::string& key : {std::string(SettingsTestKey) + "\\Missing", std::string()}) {
      Env.IsVxD = vxd;
      Env.DriverRegKey = key;
      Env.Settings = NonZeroSettings();
      ReadDriverSettings();
      EXPECT_EQ(FieldsOf(Env.Settings), FieldsOf(NonZeroSettings())) << "key '" << key << "' vxd " << vxd;
    }
  }
}

// A record with the fifteen fields in table order.
DriverSettings SettingsOf(const std::vector<std::int32_t>& fields) {
  DriverSettings settings;
  for (std::size_t row = 0; row < DriverSettingCount; ++row) {
    DriverSettingTable[row].Set(settings, fields[row]);
  }
  return settings;
}

TEST_F(SettingsStore, VxdWritersLeaveOneByteValuesAndFourByteLimits) {
  Env.IsVxD = true;
  Put("ShowMisc", {0x01, 0x00, 0x00, 0x00});
  Put("LoadC3D", {0x01, 0x00, 0x00, 0x00}, RegTypeDword);

  // Each group writes only its own rows of the record.
  const DriverSettings values = SettingsOf({1, 0, 1, 6, 1, 0, 1, 0, 3, 1, 0, 64, 0, -1, 0x12345678});
  WriteSettingsGroup(SettingGroup::Panel, values);
  EXPECT_EQ(Get("ShowWaveout"), Binary({0x01}));
  EXPECT_EQ(Get("ShowMisc"), Binary({0x00}));
  EXPECT_EQ(Get("SRC"), Binary({0x01}));
  EXPECT_EQ(Get("LoadUIF"), Binary({0x06}));
  EXPECT_EQ(Get("LoadSpdifIn"), Binary({0x03}));
  // Only the panel group was written.
  EXPECT_EQ(Get("LoadC3D"), (StoredValue{true, RegTypeDword, {0x01, 0x00, 0x00, 0x00}}));
  EXPECT_FALSE(Get("LoadGamePort").Exists);
  EXPECT_FALSE(Get("MaxModVoices").Exists);

  WriteSettingsGroup(SettingGroup::LoadModules, values);
  EXPECT_EQ(Get("LoadC3D"), Binary({0x01}));
  EXPECT_EQ(Get("LoadGamePort"), Binary({0x00}));
  EXPECT_EQ(Get("LoadLegacy"), Binary({0x01}));
  EXPECT_EQ(Get("LoadSpdif"), Binary({0x00}));
  EXPECT_EQ(Get("LoadVSVL"), Binary({0x01}));
  EXPECT_EQ(Get("LoadPower"), Binary({0x00}));
  EXPECT_FALSE(Get("MaxModVoices").Exists);

  WriteSettingsGroup(SettingGroup::VoiceLimits, values);
  EXPECT_EQ(Get("MaxModVoices"), Binary({0x40, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Get("MaxWodVoices"), Binary({0x00, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Get("MaxDSVoices"), Binary({0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Get("Max3DVoices"), Binary({0x78, 0x56, 0x34, 0x12}));

  // The writers leave the record to the re-read.
  EXPECT_EQ(FieldsOf(Env.Settings), FieldsOf(DriverSettings()));
  ReadDriverSettings();
  const std::vector<std::int64_t> expected{1, 0, 1, 6, 1, 0, 1, 0, 3, 1, 0, 64, 0, -1, 0x12345678};
  EXPECT_EQ(FieldsOf(Env.Settings), expected);
}

TEST_F(SettingsStore, WdmWritersLeaveFourByteLittleEndianValues) {
  Env.IsVxD = false;
  Put("LoadC3D", {0x01, 0x00, 0x00, 0x00}, RegTypeDword);
  ReadDriverSettings();
  EXPECT_FALSE(Env.Settings.LoadC3D);

  const DriverSettings values = SettingsOf({0, 1, 0, 0xFF, 1, 1, 0, 1, 2, 0, 1, -2147483647 - 1, 1, 256, 88});
  WriteSettingsGroup(SettingGroup::Panel, values);
  EXPECT_EQ(Get("ShowWaveout"), Binary({0x00, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Get("ShowMisc"), Binary({0x01, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Get("SRC"), Binary({0x00, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Get("LoadUIF"), Binary({0xFF, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Get("LoadSpdifIn"), Binary({0x02, 0x00, 0x00, 0x00}));

  WriteSettingsGroup(SettingGroup::LoadModules, values);
  EXPECT_EQ(Get("LoadC3D"), Binary({0x01, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Get("LoadGamePort"), Binary({0x01, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Get("LoadLegacy"), Binary({0x00, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Get("LoadSpdif"), Binary({0x01, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Get("LoadVSVL"), Binary({0x00, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Get("LoadPower"), Binary({0x01, 0x00, 0x00, 0x00}));

  WriteSettingsGroup(SettingGroup::VoiceLimits, values);
  EXPECT_EQ(Get("MaxModVoices"), Binary({0x00, 0x00, 0x00, 0x80}));
  EXPECT_EQ(Get("MaxWodVoices"), Binary({0x01, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Get("MaxDSVoices"), Binary({0x00, 0x01, 0x00, 0x00}));
  EXPECT_EQ(Get("Max3DVoices"), Binary({0x58, 0x00, 0x00, 0x00}));

  ReadDriverSettings();
  const std::vector<std::int64_t> expected{0, 1, 0, 255, 1, 1, 0, 1, 2, 0, 1, -2147483648LL, 1, 256, 88};
  EXPECT_EQ(FieldsOf(Env.Settings), expected);
}

TEST_F(SettingsStore, WritersNeverCreateAMissingKey) {
  const std::string missing = std::string(SettingsTestKey) + "\\Missing";
  for (bool vxd : {true, false}) {
    Env.IsVxD = vxd;
    Env.DriverRegKey = missing;
    for (SettingGroup group : SettingGroups) {
      WriteSettingsGroup(group, NonZeroSettings());
    }
    EXPECT_FALSE(KeyExists(missing));
    EXPECT_FALSE(Get("ShowWaveout").Exists);
    EXPECT_FALSE(Get("LoadC3D").Exists);
    EXPECT_FALSE(Get("MaxModVoices").Exists);
  }
}

}  // namespace
