#include "app/sample_edits.h"

#include "app/editor_texts.h"
#include "files/fileops.h"
#include "files/files.h"
#include "files/path_parts.h"
#include "files/same_file.h"
#include "ymf/bank_mode.h"
#include "ymf/bank_workspace.h"
#include "ymf/protected_files.h"
#include "ymf/sample_edit.h"

namespace {

bool Refuse(std::string& why, const std::string& text) {
  why = text;
  return false;
}

// The converter said why, or the fallback does.
bool ConverterRefused(std::string& why, const std::string& fallback) {
  const std::string problem = ConverterProblem();
  return Refuse(why, problem.empty() ? fallback : problem);
}

bool ToolsThere(std::string& why) {
  why = SampleToolsMissing();
  return why.empty();
}

// The bank exists and the sample is one of it (index -1: any bank the
// converter reads).
bool SampleThere(const std::string& bank, std::int32_t index, std::string& why) {
  if (!FileExists(bank)) {
    return Refuse(why, "There is no bank file '" + bank + "'.");
  }
  std::int32_t count = 0;
  if (ConverterSampleCount(bank, count) != 0) {
    return ConverterRefused(why, "'" + bank + "' is not a bank the converter can read; nothing was written.");
  }
  if (index != -1 && (index < 0 || index >= count)) {
    return Refuse(why, "The bank has no sample " + std::to_string(index) + ": its samples are 0 to " +
                           std::to_string(count - 1) + ".");
  }
  return true;
}

// The edit may replace the bank: not a protected set, not read-only.
bool BankWritable(const std::string& bank, std::string& why) {
  for (const std::string& written : {bank, BankTablePath(bank, 3)}) {
    if (IsProtectedFile(written)) {
      return Refuse(why, ProtectedFileReason(written));
    }
  }
  if (IsProtectedFolder(DirectoryPart(bank))) {
    return Refuse(why, ProtectedFolderReason(bank));
  }
  FileHandle file = InvalidFileHandle;
  if (!OpenWrite(bank, file)) {
    return Refuse(why, "'" + bank +
                           "' is read-only or in use; nothing was written. Clear its read-only attribute or "
                           "close the program that holds it.");
  }
  CloseFile(file);
  return true;
}

bool TargetWritable(const std::string& bank, const std::string& target, std::string& why) {
  if (IsProtectedFile(target) || IsProtectedFolder(DirectoryPart(target))) {
    return Refuse(why, ProtectedFileReason(target));
  }
  if (SameFileOrDirectory(target, bank) || SameFileOrDirectory(target, BankTablePath(bank, 3))) {
    return Refuse(why, target + " is the bank's own file; choose another name.");
  }
  return true;
}

std::string WriteReason(const std::string& target) {
  return "Cannot write " + target + " (its folder must exist, and the file must not be read-only or in use).";
}

}  // namespace

std::string SampleToolsMissing() {
  std::string why;
  if (!ConverterAvailable(why)) {
    return why;
  }
  return ConverterHasSampleTools() ? std::string()
                                   : "The bank converter a10.dll beside the program is an older one without the "
                                     "sample tools. Install this version of Tovaro again to get its a10.dll.";
}

bool ReadSampleList(const std::string& path, std::vector<SampleInfo>& samples, std::string& why) {
  samples.clear();
  SampleRows rows;
  if (!rows.Open(path, why)) {
    return false;
  }
  if (ConverterReadSampleInfos(path, 0, static_cast<std::int32_t>(rows.size()), samples) != 0) {
    samples.clear();
    return ConverterRefused(why, "'" + path + "' is not a bank or SoundFont the converter can read.");
  }
  return true;
}

bool SampleRows::Open(const std::string& path, std::string& why) {
  std::int32_t count = 0;
  if (!ToolsThere(why)) {
    return false;
  }
  if (!FileExists(path)) {
    return Refuse(why, "There is no file '" + path + "'. Choose a bank with the \"...\" button.");
  }
  if (ConverterSampleCount(path, count) != 0) {
    return ConverterRefused(why, "'" + path + "' is not a bank or SoundFont the converter can read.");
  }
  path_ = path;
  count_ = static_cast<std::size_t>(count);
  pages_.clear();
  return true;
}

const SampleInfo& SampleRows::operator[](std::size_t row) const {
  static const SampleInfo unread;
  const std::size_t page = row / PageRows;
  for (const auto& kept : pages_) {
    if (kept.first == page) {
      return kept.second[row % PageRows];
    }
  }
  if (pages_.size() >= PagesKept) {
    pages_.clear();
  }
  const std::size_t first = page * PageRows;
  const std::size_t rows = count_ - first < PageRows ? count_ - first : PageRows;
  std::vector<SampleInfo> infos;
  if (row >= count_ ||
      ConverterReadSampleInfos(path_, static_cast<std::int32_t>(first), static_cast<std::int32_t>(rows), infos) != 0) {
    return unread;
  }
  pages_.emplace_back(page, std::move(infos));
  return pages_.back().second[row % PageRows];
}

bool ChangeSample(const std::string& bank, std::int32_t index, const SampleInfo& info, std::string& why) {
  if (!ToolsThere(why) || !SampleThere(bank, index, why) || !BankWritable(bank, why)) {
    return false;
  }
  return SetSampleProperties(bank, index, info) ||
         ConverterRefused(why, "'" + bank + "' could not be written again; it is as it was.");
}

bool ReplaceSampleWith(const std::string& bank, std::int32_t index, const std::string& source, std::int32_t fontSample,
                       std::string& why) {
  if (!ToolsThere(why) || !SampleThere(bank, index, why) || !BankWritable(bank, why)) {
    return false;
  }
  if (!FileExists(source)) {
    return Refuse(why, "There is no file '" + source + "'.");
  }
  if (SameFileOrDirectory(source, bank)) {
    return Refuse(why, source + " is the bank itself; choose a WAV file or a SoundFont.");
  }
  return ReplaceBankSample(bank, index, source, fontSample) ||
         ConverterRefused(why, "'" + source +
                                   "' is not a WAV file or SoundFont sample the converter takes; the bank "
                                   "is as it was.");
}

bool ExportSampleTo(const std::string& bank, std::int32_t index, const std::string& wavPath, std::string& why) {
  if (!ToolsThere(why) || !SampleThere(bank, index, why) || !TargetWritable(bank, wavPath, why)) {
    return false;
  }
  return ExportBankSampleWav(bank, index, wavPath) || ConverterRefused(why, WriteReason(wavPath));
}

bool ExportFontTo(const std::string& bank, const std::string& fontPath, std::string& why) {
  if (!ToolsThere(why) || !SampleThere(bank, -1, why) || !TargetWritable(bank, fontPath, why)) {
    return false;
  }
  return ExportBankSoundFont(bank, fontPath) || ConverterRefused(why, WriteReason(fontPath));
}

namespace {

// "a.wav, b.wav and 3 more" when there are more names than the limit (0: none).
std::string NameList(const std::vector<std::string>& names, std::size_t limit) {
  std::string list;
  const std::size_t shown = limit == 0 || names.size() <= limit ? names.size() : limit;
  for (std::size_t i = 0; i < shown; ++i) {
    list += (i == 0 ? "" : ", ") + names[i];
  }
  return shown == names.size() ? list : list + " and " + std::to_string(names.size() - shown) + " more";
}

}  // namespace

std::vector<std::string> BuildReportLines(const std::string& report, std::size_t namesShown) {
  std::vector<std::string> added;
  std::vector<std::string> kept;
  std::string changed;
  std::size_t start = 0;
  while (start < report.size()) {
    std::size_t end = report.find('\n', start);
    if (end == std::string::npos) {
      end = report.size();
    }
    const std::string line = report.substr(start, end - start);
    start = end + 1;
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) {
      continue;
    }
    const std::string word = line.substr(0, tab);
    const std::string value = line.substr(tab + 1);
    if (word == "changed") {
      changed = value;
    } else if (word == "new" || word == "kept") {
      (word == "new" ? added : kept).push_back(value);
    }
  }
  std::vector<std::string> lines;
  if (!added.empty()) {
    lines.push_back("New samples from " + NameList(added, namesShown) + ".");
  }
  if (!changed.empty()) {
    lines.push_back(changed + (changed == "1" ? " sample" : " samples") + " changed.");
  }
  if (!kept.empty()) {
    lines.push_back("Kept root key, fine tune and loop (no smpl chunk): " + NameList(kept, namesShown) + ".");
  }
  return lines;
}
