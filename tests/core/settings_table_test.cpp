// The program's settings table held against the fixture generator's own list
// of the driver's values.
#include <gtest/gtest.h>

#include "tools/fixture/fixture.h"
#include "ymf/driver_settings.h"

namespace {

TEST(SettingsTable, AgreesWithTheFixturesListOfDriverValues) {
  ASSERT_EQ(DriverSettingCount, FixtureSettingCount);
  for (std::size_t i = 0; i < DriverSettingCount; ++i) {
    const DriverSetting& setting = DriverSettingTable[i];
    const FixtureSetting& listed = FixtureSettings[i];
    EXPECT_STREQ(setting.Name, listed.Name) << "row " << i;
    EXPECT_EQ(SettingWidth(setting, true), listed.VxdWidth) << setting.Name;
    EXPECT_EQ(SettingWidth(setting, false), listed.WdmWidth) << setting.Name;
    EXPECT_EQ(setting.Group, listed.Group) << setting.Name;
    // The row is bound to the field that the fixture stores under its name.
    DriverSettings one;
    setting.Set(one, 1);
    EXPECT_EQ(setting.Get(one), 1) << setting.Name;
    for (const FixtureSetting& other : FixtureSettings) {
      EXPECT_EQ(other.Value(one), &other == &listed ? 1u : 0u) << setting.Name << " set, " << other.Name << " read";
    }
  }
}

}  // namespace
