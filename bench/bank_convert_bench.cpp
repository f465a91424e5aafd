// Times taking a 4.6 MB bank apart into WAV files and building it again,
// against plain copies of the same files (the bank and its WAV files: what
// extract and build read and write between them), in one run.
//   bank_convert_bench [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "files/fileops.h"
#include "platform/testing/scratch.h"
#include "tools/fixture/fixture.h"
#include "ymf/bank_convert.h"

namespace {

constexpr std::size_t BankSize = 4834000;  // the Extended bank, 4.61 MB

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  const std::string root = MakeScratchDir("convert-bench");
  if (root.empty()) {
    std::fprintf(stderr, "cannot make a scratch directory\n");
    return 1;
  }
  const std::string bank = root + "bank.yb0";
  const std::string copies = root + "copies\\";
  BankSetSpec setup;
  setup.BankSize = BankSize;
  setup.Samples = true;
  enum Step { Extract, Build, Copy };
  const char* const names[3] = {"extract", "build", "copy"};
  // The WAV files an extract leaves beside the bank.
  std::vector<std::string> wavs;
  const auto copyAll = [&] {
    bool ok = CopyFileOver(bank, copies + "bank.yb0");
    for (const std::string& name : wavs) {
      ok = ok && CopyFileOver(root + name, copies + name);
    }
    return ok;
  };
  const auto run = [&](int step) {
    return step == Extract ? ExtractBank(bank) : (step == Build ? BuildBank(bank) : copyAll());
  };
  int status = 0;
  const bool prepared = WriteBankSet(bank, setup) && MakeDirectory(copies) && run(Extract);
  wavs = ListFiles(root + "*.wav");
  if (!prepared || wavs.empty() || !run(Build) || !run(Copy)) {  // also warms the file cache
    std::fprintf(stderr, "cannot prepare the bank or warm up\n");
    status = 1;
  }
  std::vector<double> times[3];
  for (int round = 0; round < rounds && status == 0; ++round) {
    // Extract must come before build; the copy moves around them so that it
    // does not always run on a cache the other steps have just warmed.
    const int copyAt = round % 3;
    int order[3] = {Extract, Build, Build};
    for (int i = 0, step = Extract; i < 3; ++i) {
      order[i] = i == copyAt ? Copy : step++;
    }
    for (int step : order) {
      const Clock::time_point start = Clock::now();
      const bool ok = run(step);
      const Clock::time_point end = Clock::now();
      if (!ok) {
        std::fprintf(stderr, "%s failed in round %d\n", names[step], round);
        status = 1;
        break;
      }
      times[step].push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
  }
  if (status == 0) {
    const double copyMs = Median(times[Copy]);
    std::printf("bank %lu bytes and %lu WAV files, %d rounds; copy: of the bank and the WAV files\n",
                static_cast<unsigned long>(BankSize), static_cast<unsigned long>(wavs.size()), rounds);
    for (int step = Extract; step <= Copy; ++step) {
      std::printf("%-8s median %8.3f ms (min %8.3f)\n", names[step], Median(times[step]),
                  *std::min_element(times[step].begin(), times[step].end()));
    }
    std::printf("ratio extract / copy: %.2f\n", Median(times[Extract]) / copyMs);
    std::printf("ratio build / copy:   %.2f\n", Median(times[Build]) / copyMs);
  }
  RemoveTree(root);
  return status;
}
