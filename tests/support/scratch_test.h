// A test with its own scratch directory and a cleared driver environment.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/testing/scratch.h"
#include "ymf/environment.h"

class ScratchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = MakeScratchDir("test");
    ASSERT_FALSE(dir_.empty());
    Env = DriverEnvironment();
  }
  void TearDown() override {
    Env = DriverEnvironment();
    RemoveTree(dir_);
  }
  std::string dir_;
};
