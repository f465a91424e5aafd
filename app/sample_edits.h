// The sample-level bank editor operations as the Samples window and
// tovaroc run them: each checks what it can before anything is written and
// says why it failed in words for the user (the converter's own reason
// when the converter refused).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/converter.h"

// Why the sample tools cannot be used (no converter, or an older a10.dll
// without them); empty when they can.
std::string SampleToolsMissing();
// Every sample of a bank or SoundFont, from its directory alone.
bool ReadSampleList(const std::string& path, std::vector<SampleInfo>& samples, std::string& why);

// The rows of a sample list as an owner-data list shows them: opening
// reads the count, the bank's whole directory checked once; a page of rows
// is read from the directory when one of its rows is first shown, and only
// a few pages are kept, so that a bank of 65535 samples opens at once and
// its list holds the same memory as a bank of 16.
class SampleRows {
 public:
  static constexpr std::size_t PageRows = 64;
  static constexpr std::size_t PagesKept = 16;
  // The count of `path`'s samples; false, with why as ReadSampleList says
  // it, and the rows as they were, when it cannot be listed.
  bool Open(const std::string& path, std::string& why);
  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  // A row that can no longer be read (the file changed under the list)
  // shows empty until the list is opened again.
  const SampleInfo& operator[](std::size_t row) const;

 private:
  std::string path_;
  std::size_t count_ = 0;
  // Page number and its rows. Not a std::map: the shipped i686 build must
  // not link libstdc++'s prebuilt tree code, which uses CMOV (no Pentium
  // MMX or K6-2 has it).
  mutable std::vector<std::pair<std::size_t, std::vector<SampleInfo>>> pages_;
};
// Writes name, root key, fine tune and loop of sample `index` of the bank.
bool ChangeSample(const std::string& bank, std::int32_t index, const SampleInfo& info, std::string& why);
// Replaces sample `index` with a WAV file (fontSample -1) or sample
// fontSample of a SoundFont.
bool ReplaceSampleWith(const std::string& bank, std::int32_t index, const std::string& source, std::int32_t fontSample,
                       std::string& why);
bool ExportSampleTo(const std::string& bank, std::int32_t index, const std::string& wavPath, std::string& why);
bool ExportFontTo(const std::string& bank, const std::string& fontPath, std::string& why);

// What a build took, from the converter's report ("new\tx.wav",
// "kept\ty.wav", "changed\t3" lines), one sentence a line: "New samples
// from x.wav.", "3 samples changed.", "Kept root key, fine tune and loop
// (no smpl chunk): y.wav."; empty for an empty report. Lists longer than
// namesShown end in "and 5 more" (0: every name).
std::vector<std::string> BuildReportLines(const std::string& report, std::size_t namesShown);
