// Driver detection through the test double: registry, directories and version.
#include <gtest/gtest.h>

#include "platform/fake.h"
#include "platform/registry.h"
#include "platform/testing/registry_keys.h"
#include "platform/testing/scratch.h"
#include "tests/core/simulated_system.h"
#include "ymf/detect.h"

namespace {

DriverInstallSpec Driver(bool vxd) {
  DriverInstallSpec setup;
  setup.Image.IsVxD = vxd;
  setup.Image.VersionText = vxd ? "4.06.2008" : "5.12.01.5245";
  setup.StockBankSize = 64;
  return setup;
}

TEST(Detect, VxdDriverInTheSystemDirectory) {
  SimulatedSystem sim;
  ASSERT_TRUE(sim.AddDriver(Driver(true)));
  ASSERT_TRUE(DetectDriver());
  const std::string program = sim.Where().ProgramDir;
  EXPECT_TRUE(Env.DriverFound);
  EXPECT_TRUE(Env.IsVxD);
  EXPECT_EQ(Env.SystemDir, sim.Where().SystemDir + "\\");
  EXPECT_EQ(Env.DriverPath, sim.Where().SystemDir + "\\ydsxg.vxd");
  EXPECT_EQ(Env.BankPath, sim.Where().SystemDir + "\\ydsxg.dat");
  EXPECT_EQ(Env.BackupDriverPath, program + "Backup\\ydsxg.vxd");
  EXPECT_EQ(Env.BackupBankPath, program + "Backup\\ydsxg.dat");
  EXPECT_EQ(Env.DriverRegKey, "Software\\YAMAHA\\Driver\\YMF724");
  EXPECT_EQ(Env.DriversDir, "");
  EXPECT_EQ(Env.Profile.VersionText, "4.06.2008");
  EXPECT_TRUE(Env.Profile.ProfileKnown);
  EXPECT_EQ(Env.BankKind, BankDefault);
  EXPECT_EQ(Env.BankSize, 64);
}

TEST(Detect, WdmDriverKeyDependsOnTheWindowsMajorVersion) {
  const struct {
    unsigned major;
    const char* key;
  } cases[] = {{4, "Software\\YAMAHA\\Driver\\DSXGWDM"},
               {5, "SYSTEM\\CurrentControlSet\\Services\\YAMAHA\\Driver\\DSXGWDM"},
               {6, "SYSTEM\\CurrentControlSet\\Services\\YAMAHA\\Driver\\DSXGWDM"},
               {10, "SYSTEM\\CurrentControlSet\\Services\\YAMAHA\\Driver\\DSXGWDM"}};
  for (const auto& c : cases) {
    SimulatedSystem sim(true, c.major);
    ASSERT_TRUE(sim.AddDriver(Driver(false)));
    ASSERT_TRUE(DetectDriver());
    EXPECT_FALSE(Env.IsVxD);
    EXPECT_EQ(Env.DriverRegKey, c.key) << "Windows major " << c.major;
    EXPECT_EQ(Env.DriversDir, sim.Where().WindowsDir + "\\SYSTEM32\\DRIVERS\\");
    EXPECT_EQ(Env.DriverPath, Env.DriversDir + "Ds1.sys");
    EXPECT_EQ(Env.BankPath, Env.DriversDir + "dsxgwave.tbl");
    EXPECT_EQ(Env.BackupDriverPath, sim.Where().ProgramDir + "Backup\\Ds1.sys");
    EXPECT_EQ(Env.BackupBankPath, sim.Where().ProgramDir + "Backup\\dsxgwave.tbl");
    EXPECT_EQ(Env.Profile.VersionText, "5.12.01.5245");
  }
}

TEST(Detect, VxdKeyDoesNotDependOnTheWindowsVersion) {
  for (unsigned major : {4u, 5u, 6u}) {
    SimulatedSystem sim(true, major);
    ASSERT_TRUE(sim.AddDriver(Driver(true)));
    ASSERT_TRUE(DetectDriver());
    EXPECT_EQ(Env.DriverRegKey, "Software\\YAMAHA\\Driver\\YMF724");
  }
}

TEST(Detect, BothDriversPresentChoosesTheVxd) {
  SimulatedSystem sim;
  ASSERT_TRUE(sim.AddDriver(Driver(false)));
  ASSERT_TRUE(sim.AddDriver(Driver(true)));
  ASSERT_TRUE(DetectDriver());
  EXPECT_TRUE(Env.IsVxD);
  EXPECT_EQ(Env.DriversDir, "");
  EXPECT_EQ(Env.DriverRegKey, "Software\\YAMAHA\\Driver\\YMF724");
}

TEST(Detect, DirectoryNamedLikeTheVxdIsNotTheDriver) {
  SimulatedSystem sim;
  ASSERT_TRUE(MakeDirectory(sim.DriverPath(true)));
  ASSERT_TRUE(sim.AddDriver(Driver(false)));
  ASSERT_TRUE(DetectDriver());
  EXPECT_FALSE(Env.IsVxD);
  EXPECT_EQ(Env.DriverPath, sim.DriverPath(false));
}

TEST(Detect, NoDriverLeavesTheDriverFieldsEmpty) {
  SimulatedSystem sim;
  sim.RegisterProgramFiles();
  Env.IsVxD = true;  // not touched by a failed detection
  EXPECT_FALSE(DetectDriver());
  EXPECT_FALSE(Env.DriverFound);
  EXPECT_TRUE(Env.IsVxD);
  EXPECT_EQ(Env.DriverPath, sim.DriverPath(false)) << "the WDM path tried last";
  EXPECT_EQ(Env.SystemDir, sim.Where().SystemDir + "\\");
  EXPECT_EQ(Env.InstallDir, sim.Where().ProgramFilesDir + "\\");
  EXPECT_EQ(Env.BankPath, "");
  EXPECT_EQ(Env.BackupDriverPath, "");
  EXPECT_EQ(Env.BackupBankPath, "");
  EXPECT_EQ(Env.DriverRegKey, "");
  EXPECT_EQ(Env.Profile.VersionText, "");
  EXPECT_EQ(Env.BankKind, BankNone);
}

TEST(Detect, DriverWithoutBankIsFoundWithNoBank) {
  SimulatedSystem sim;
  DriverInstallSpec setup = Driver(false);
  setup.WithBank = false;
  ASSERT_TRUE(sim.AddDriver(setup));
  EXPECT_TRUE(DetectDriver());
  EXPECT_EQ(Env.BankKind, BankNone);
}

TEST(Detect, ShippedBanksBelowProgramFiles) {
  SimulatedSystem sim;
  sim.RegisterProgramFiles();
  ASSERT_TRUE(sim.AddDriver(Driver(false)));
  BankSetSpec extended;
  ASSERT_TRUE(WriteBankSet(sim.Where().ExtendedBank(), extended));
  ASSERT_TRUE(DetectDriver());
  EXPECT_EQ(Env.ExtendedBankPath, sim.Where().ProgramFilesDir + "\\Nerulan\\Tovaro\\Banks\\extended.yb0");
  EXPECT_EQ(Env.DanceBankPath, sim.Where().ProgramFilesDir + "\\Nerulan\\Tovaro\\Banks\\dance.yb0");
  EXPECT_TRUE(Env.ExtendedBankExists);
  EXPECT_FALSE(Env.DanceBankExists);
}

TEST(Detect, ProgramFilesDirMustBeAPlainString) {
  SimulatedSystem sim;
  ASSERT_TRUE(sim.AddDriver(Driver(false)));
  ASSERT_TRUE(InstallBankSets(sim.Where(), 16));
  const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  const std::string dir = sim.Where().ProgramFilesDir;
  for (std::uint32_t type : {RegTypeExpandSz, RegTypeBinary}) {
    MachineKeyCreate(key);
    Fake().Keys[FakeKeyName(key)]["programfilesdir"] = FakeValue{type, Bytes(dir.begin(), dir.end())};
    ASSERT_TRUE(DetectDriver());
    EXPECT_EQ(Env.InstallDir, "");
    EXPECT_EQ(Env.ExtendedBankPath, "") << "never a path relative to the current folder";
    EXPECT_FALSE(Env.ExtendedBankExists);
    EXPECT_FALSE(Env.DanceBankExists);
  }
  // An empty string value gives no directory either.
  Fake().Keys[FakeKeyName(key)]["programfilesdir"] = FakeValue{RegTypeSz, Bytes{}};
  ASSERT_TRUE(DetectDriver());
  EXPECT_EQ(Env.InstallDir, "");
  Fake().Keys[FakeKeyName(key)]["programfilesdir"] = FakeValue{RegTypeSz, Bytes{'P', 'F'}};
  ASSERT_TRUE(DetectDriver());
  EXPECT_EQ(Env.DanceBankPath, "") << "a relative string names no folder either";
}

TEST(Detect, InstallDirStopsAtTheFirstNulAndAt255Characters) {
  SimulatedSystem sim;
  const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  MachineKeyCreate(key);
  Fake().Keys[FakeKeyName(key)]["programfilesdir"] = FakeValue{RegTypeSz, Bytes{'C', ':', '\\', 'P', 0, 'X', 0}};
  std::string dir;
  GetInstallDir(dir);
  EXPECT_EQ(dir, "C:\\P\\");
  Fake().Keys[FakeKeyName(key)]["programfilesdir"] = FakeValue{RegTypeSz, Bytes(300, 'a')};
  dir.clear();
  GetInstallDir(dir);
  EXPECT_EQ(dir, std::string(255, 'a') + "\\");
  Fake().Keys.clear();
  dir = "kept";
  GetInstallDir(dir);
  EXPECT_EQ(dir, "kept");
}

}  // namespace
