// Times the converter's sample tools through the program's converter seam,
// in one run: opening the sample list of a bank of 65535 samples as the
// Samples window does (SampleRows: the count, then a screen of rows as the
// owner-data list asks for them) against a plain read of its directory
// bytes, and a SoundFont export and a property edit of one sample of a
// 4.6 MB bank against copying that bank. The heap's peak while a list
// opens is measured for two banks of 65535 samples whose sample data
// differ 64-fold: the list's memory must not follow the data. In the
// Windows trees the converter runs in a10.dll, whose heap this count does
// not see: there it is the program's side (the rows kept) alone.
//   sample_tools_bench [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <vector>

#include "app/sample_edits.h"
#include "converter/bank_format.h"
#include "converter/testing/whole_files.h"
#include "files/fileops.h"
#include "files/files.h"
#include "platform/converter.h"
#include "platform/testing/scratch.h"
#include "tools/fixture/fixture.h"

// Every allocation of this program counted: the bytes live and their peak.
namespace {
std::size_t LiveBytes = 0;
std::size_t PeakBytes = 0;
constexpr std::size_t Header = 16;  // keeps the size, and the alignment new gives
}  // namespace

void* operator new(std::size_t size) {
  void* block = std::malloc(size + Header);
  if (block == nullptr) {
    throw std::bad_alloc();
  }
  *static_cast<std::size_t*>(block) = size;
  LiveBytes += size;
  PeakBytes = std::max(PeakBytes, LiveBytes);
  return static_cast<char*>(block) + Header;
}
void operator delete(void* data) noexcept {
  if (data != nullptr) {
    void* block = static_cast<char*>(data) - Header;
    LiveBytes -= *static_cast<std::size_t*>(block);
    std::free(block);
  }
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* data) noexcept { operator delete(data); }
void operator delete(void* data, std::size_t) noexcept { operator delete(data); }
void operator delete[](void* data, std::size_t) noexcept { operator delete(data); }

namespace {

constexpr std::size_t BankSize = 4834000;  // the Extended bank, 4.61 MB
constexpr std::int32_t ScreenRows = 64;

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The median time of each step over the rounds, the steps taking turns so
// that none always runs on a cache another has just warmed. Empty when
// one fails.
std::vector<double> Time(const std::vector<std::function<bool()>>& steps, int rounds) {
  std::vector<std::vector<double>> times(steps.size());
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t k = 0; k < steps.size(); ++k) {
      const std::size_t step = (k + static_cast<std::size_t>(round)) % steps.size();
      const Clock::time_point start = Clock::now();
      if (!steps[step]()) {
        return {};
      }
      times[step].push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
  }
  std::vector<double> medians;
  for (const auto& one : times) {
    medians.push_back(Median(one));
  }
  return medians;
}

// A bank of the most samples the format allows, `frames` frames each.
bool WriteLargestBank(const std::string& path, std::size_t frames) {
  Bank bank;
  for (std::size_t i = 0; i < BankSamplesMax; ++i) {
    Sample sample;
    sample.Name = "Sample " + std::to_string(i);
    sample.Pcm.assign(frames, static_cast<std::int16_t>(i));
    bank.Samples.push_back(sample);
  }
  std::vector<std::uint8_t> bytes;
  return SerializeBank(bank, bytes) && WriteFileOver(path, bytes.data(), bytes.size());
}

// Opens the list as the Samples window does and shows a screen of rows.
bool OpenList(const std::string& path) {
  SampleRows rows;
  std::string why;
  if (!rows.Open(path, why) || rows.size() != BankSamplesMax) {
    return false;
  }
  for (std::size_t row = 0; row < static_cast<std::size_t>(ScreenRows); ++row) {
    if (rows[row].Name.empty()) {
      return false;
    }
  }
  return true;
}

// The heap's peak above what was live before, while the list opens.
std::size_t ListPeakBytes(const std::string& path, bool& ok) {
  const std::size_t before = LiveBytes;
  PeakBytes = LiveBytes;
  ok = OpenList(path) && ok;
  return PeakBytes - before;
}

// A plain read: open, a buffer for the bytes, read, close.
bool ReadDirectoryBytes(const std::string& path) {
  std::vector<std::uint8_t> buffer(BankHeaderSize + BankSamplesMax * BankEntrySize);
  FileHandle file = InvalidFileHandle;
  const bool ok = OpenRead(path, file) && ReadBlock(file, buffer.data(), static_cast<std::int32_t>(buffer.size()));
  CloseFile(file);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  const std::string root = MakeScratchDir("sample-bench");
  if (root.empty()) {
    std::fprintf(stderr, "cannot make a scratch directory\n");
    return 1;
  }
  const std::string largest = root + "largest.yb0";
  const std::string heavier = root + "heavier.yb0";
  const std::string bank = root + "bank.yb0";
  BankSetSpec setup;
  setup.BankSize = BankSize;
  setup.Samples = true;
  std::vector<SampleInfo> infos;
  std::vector<SampleInfo> edited;
  int status = WriteLargestBank(largest, 1) && WriteLargestBank(heavier, 64) && WriteBankSet(bank, setup) &&
                       ConverterReadSampleInfos(bank, 0, 1, edited) == 0
                   ? 0
                   : 1;
  const auto list = [&] { return OpenList(largest); };
  const auto listAll = [&] {
    return ConverterReadSampleInfos(largest, 0, BankSamplesMax, infos) == 0 && infos.size() == BankSamplesMax;
  };
  const auto edit = [&] {
    edited[0].Name = edited[0].Name == "Edited" ? "Edited again" : "Edited";
    return ConverterSetSampleInfo(bank, 0, edited[0]) == 0;
  };
  const std::vector<double> listing =
      status != 0 ? std::vector<double>() : Time({list, [&] { return ReadDirectoryBytes(largest); }, listAll}, rounds);
  const std::vector<double> changes =
      status != 0 ? std::vector<double>()
                  : Time({[&] { return ConverterExportSoundFont(bank, root + "bank.sf2") == 0; }, edit,
                          [&] { return CopyFileOver(bank, root + "copy.yb0"); }},
                         rounds);
  bool peaksOk = status == 0;
  const std::size_t lightPeak = ListPeakBytes(largest, peaksOk);
  const std::size_t heavyPeak = ListPeakBytes(heavier, peaksOk);
  if (listing.empty() || changes.empty() || !peaksOk) {
    std::fprintf(stderr, "a step failed: %s\n", ConverterProblem().c_str());
    status = 1;
  } else {
    std::printf("%d rounds, medians\n", rounds);
    std::printf(
        "sample list of %lu samples (count, %d rows shown) %8.3f ms, plain read of its directory %8.3f ms: "
        "ratio %.2f\n",
        static_cast<unsigned long>(BankSamplesMax), ScreenRows, listing[0], listing[1], listing[0] / listing[1]);
    std::printf("heap peak while the list opens: %lu bytes for %lu bytes of sample data, %lu bytes for %lu bytes\n",
                static_cast<unsigned long>(lightPeak), static_cast<unsigned long>(BankSamplesMax * 2),
                static_cast<unsigned long>(heavyPeak), static_cast<unsigned long>(BankSamplesMax * 2 * 64));
    std::printf("all %lu rows at once %8.3f ms: ratio %.2f\n", static_cast<unsigned long>(BankSamplesMax), listing[2],
                listing[2] / listing[1]);
    std::printf("SoundFont export of %lu bytes %8.3f ms, copy %8.3f ms: ratio %.2f\n",
                static_cast<unsigned long>(BankSize), changes[0], changes[2], changes[0] / changes[2]);
    std::printf("property edit of one sample %8.3f ms, copy %8.3f ms: ratio %.2f\n", changes[1], changes[2],
                changes[1] / changes[2]);
  }
  RemoveTree(root);
  return status;
}
