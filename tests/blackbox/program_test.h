// What each black-box run of tovaro.exe starts from: a copy of the real
// program in a scratch program folder with its Backup directory, on a test
// prefix with no simulated driver left over.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "files/fileops.h"
#include "platform/system.h"
#include "platform/testing/registry_keys.h"
#include "platform/testing/scratch.h"
#include "tests/blackbox/robot.h"
#include "tools/fixture/fixture.h"

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = MakeScratchDir("blackbox");
    ASSERT_FALSE(scratch_.empty());
    where_.WindowsDir = WindowsDirectory();
    where_.SystemDir = SystemDirectory();
    where_.ProgramDir = scratch_ + "Tovaro\\";
    RemoveSimulatedDriver();
    ASSERT_TRUE(MakeDirectory(where_.ProgramDir));
    ASSERT_TRUE(MakeDirectory(where_.ProgramDir + "Backup"));
    exe_ = where_.ProgramDir + "tovaro.exe";
    ASSERT_TRUE(CopyFileOver(OwnDirectory() + "dist\\Tovaro\\tovaro.exe", exe_));
    // tovaro.exe imports the converter library: without it, it does not start.
    ASSERT_TRUE(CopyFileOver(OwnDirectory() + "dist\\Tovaro\\a10.dll", where_.ProgramDir + "a10.dll"));
  }
  void TearDown() override {
    RemoveSimulatedDriver();
    RemoveTree(scratch_);
  }
  // The driver files of both kinds, their banks and their registry keys.
  void RemoveSimulatedDriver() {
    for (bool vxd : {true, false}) {
      RemoveFile(InstalledDriverPath(where_, vxd));
      RemoveFile(InstalledBankPath(where_, vxd));
      MachineKeyDeleteTree(DriverRegKeyFor(vxd, GetWindowsVersion().Major));
    }
  }
  std::string Backup(const char* name) const { return where_.ProgramDir + "Backup\\" + name; }

  std::string scratch_;
  Installation where_;
  std::string exe_;
};
