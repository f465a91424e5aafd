// Times a full Extended bank switch on a WDM-sized simulated installation
// against plain copies of the same bank and driver files, in one run.
//   bank_switch_bench [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "files/fileops.h"
#include "platform/testing/scratch.h"
#include "tools/fixture/fixture.h"
#include "ymf/backup.h"
#include "ymf/bank_mode.h"
#include "ymf/environment.h"

namespace {

constexpr std::size_t DriverSize = 2800000;        // a 5.12.01.5245 Ds1.sys is about this large
constexpr std::size_t StockBankSize = 2422210;     // 2.31 MB
constexpr std::size_t ExtendedBankSize = 4833935;  // 4.61 MB

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

bool Prepare(const Installation& where) {
  DriverInstallSpec setup;
  setup.Image.IsVxD = false;
  setup.Image.VersionText = "5.12.01.5245";
  setup.Image.Size = DriverSize;
  setup.StockBankSize = StockBankSize;
  if (!MakeLayoutDirectories(where, true) || !InstallDriver(where, setup) ||
      !InstallBankSets(where, ExtendedBankSize)) {
    return false;
  }
  PointEnvAt(where, false);
  return Env.Profile.ProfileKnown && BackupDriverFiles();
}

bool PlainCopies() {
  return CopyFileOver(Env.ExtendedBankPath, Env.BankPath) && CopyFileOver(Env.BackupDriverPath, Env.DriverPath);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  const std::string root = MakeScratchDir("bench");
  if (root.empty()) {
    std::fprintf(stderr, "cannot make a scratch directory\n");
    return 1;
  }
  const Installation where = LayoutUnder(root);
  int status = 0;
  if (!Prepare(where)) {
    std::fprintf(stderr, "cannot prepare the simulated installation\n");
    status = 1;
  } else if (!SetBankMode(ModeExtended, "") || !PlainCopies()) {  // warm the file cache
    std::fprintf(stderr, "warm-up failed\n");
    status = 1;
  }
  std::vector<double> switches;
  std::vector<double> copies;
  for (int round = 0; round < rounds && status == 0; ++round) {
    // Alternate the order so that neither side always runs on a cache the
    // other has just warmed.
    for (int part = 0; part < 2 && status == 0; ++part) {
      const bool switchNow = (part == 0) == (round % 2 == 0);
      const Clock::time_point start = Clock::now();
      const bool ok = switchNow ? SetBankMode(ModeExtended, "") : PlainCopies();
      const Clock::time_point end = Clock::now();
      if (!ok) {
        std::fprintf(stderr, "%s failed in round %d\n", switchNow ? "switch" : "copies", round);
        status = 1;
      }
      (switchNow ? switches : copies).push_back(Milliseconds(start, end));
    }
  }
  if (status == 0) {
    const double switchMs = Median(switches);
    const double copyMs = Median(copies);
    std::printf("driver %lu bytes, bank %lu bytes, %d rounds\n", static_cast<unsigned long>(DriverSize),
                static_cast<unsigned long>(ExtendedBankSize), rounds);
    std::printf("Extended switch: median %.3f ms (min %.3f)\n", switchMs,
                *std::min_element(switches.begin(), switches.end()));
    std::printf("plain copies:    median %.3f ms (min %.3f)\n", copyMs,
                *std::min_element(copies.begin(), copies.end()));
    std::printf("ratio switch / copies: %.2f\n", switchMs / copyMs);
  }
  RemoveTree(root);
  return status;
}
