// The listing exports: a bank's (or a SoundFont's) samples and one
// sample's PCM, read from the directory without the other samples' data.
#include <cstddef>
#include <cstring>

#include "converter/a10.h"
#include "converter/a10_support.h"
#include "converter/font_file.h"
#include "files/files.h"

// A bank's directory entry is an A10SampleInfo, byte for byte.
static_assert(offsetof(A10SampleInfo, Rate) == 28 && offsetof(A10SampleInfo, Channels) == 32 &&
                  offsetof(A10SampleInfo, Looped) == 35 && offsetof(A10SampleInfo, Frames) == 36 &&
                  offsetof(A10SampleInfo, LoopEnd) == 44,
              "the directory entry's layout");

namespace {

A10SampleInfo InfoOf(const Sample& sample, std::uint32_t frames) {
  A10SampleInfo info;
  std::memset(&info, 0, sizeof info);
  std::memcpy(info.Name, sample.Name.data(), sample.Name.size() < sizeof info.Name ? sample.Name.size() : 27);
  info.Rate = sample.SampleRate;
  info.Channels = sample.Channels;
  info.RootKey = sample.RootKey;
  info.FineTune = sample.FineTune;
  info.Looped = sample.Looped ? 1 : 0;
  info.Frames = frames;
  info.LoopStart = sample.LoopStart;
  info.LoopEnd = sample.LoopEnd;
  return info;
}

// The samples of a bank, or the sample headers of a SoundFont, without data.
std::int32_t ListSamples(const std::string& path, std::vector<A10SampleInfo>& infos) {
  infos.clear();
  if (LooksLikeSoundFont(path)) {
    std::vector<FontSampleInfo> font;
    const std::int32_t result = ReadFontSampleList(path, font);
    for (const FontSampleInfo& one : font) {
      infos.push_back(InfoOf(one.Properties, one.Frames));
    }
    return result;
  }
  Bank bank;
  std::vector<PcmSpan> spans;
  const std::int32_t result = ReadBankDirectory(path, bank, spans);
  for (std::size_t i = 0; result == A10Ok && i < bank.Samples.size(); ++i) {
    infos.push_back(InfoOf(bank.Samples[i], static_cast<std::uint32_t>(spans[i].Bytes / 2 / bank.Samples[i].Channels)));
  }
  return result;
}

// A bank's count, its whole directory checked (the sizes it gives add up
// to the file's): the one full read when a list opens. Its rows are then
// read as they are shown.
std::int32_t CountOf(const std::string& path, std::int32_t* count) {
  if (count == nullptr) {
    return Refuse(A10BadValue, "no place for the count was given.");
  }
  *count = 0;
  Bytes head;
  std::uint32_t size = 0;
  std::int32_t result = ReadBankDirectoryBytes(path, head, size);
  if (result == A10NotABank && LooksLikeSoundFont(path)) {
    std::vector<A10SampleInfo> infos;
    result = ListSamples(path, infos);
    *count = result == A10Ok ? static_cast<std::int32_t>(infos.size()) : 0;
    return result;
  }
  if (result == A10Ok) {
    *count = static_cast<std::int32_t>((head.size() - BankHeaderSize) / BankEntrySize);
  }
  return result;
}

// The directory entries first to first + count - 1 of a bank, the header
// and the entries asked for read, nothing else: an owner-data list asks
// for a screen of rows at a time. A10NotABank when the file is not one.
std::int32_t ReadBankEntries(const std::string& path, std::int32_t first, std::int32_t count, Bytes& entries,
                             std::size_t& total) {
  FileHandle file = InvalidFileHandle;
  if (!OpenRead(path, file)) {
    return Refuse(A10NotAFile, path + " cannot be read.");
  }
  const std::uint32_t size = FileSizeOf(file);
  std::uint8_t head[BankHeaderSize];
  total = 0;
  bool ok = size != 0xFFFFFFFFu && size <= BankSizeMax && size >= BankHeaderSize &&
            ReadBlock(file, head, sizeof head) && ParseBankHeader(head, sizeof head, total) &&
            BankHeaderSize + total * BankEntrySize <= size;
  const bool inside = ok && first >= 0 && static_cast<std::int64_t>(first) + count <= static_cast<std::int64_t>(total);
  if (inside && count > 0) {
    entries.resize(static_cast<std::size_t>(count) * BankEntrySize);
    ok = SeekTo(file, static_cast<std::int32_t>(BankHeaderSize + static_cast<std::size_t>(first) * BankEntrySize)) &&
         ReadBlock(file, entries.data(), static_cast<std::int32_t>(entries.size()));
  }
  CloseFile(file);
  return ok ? A10Ok : Refuse(A10NotABank, path + " is not a bank of the converter's format.");
}

std::int32_t InfosOf(const std::string& path, std::int32_t first, std::int32_t count, A10SampleInfo* out) {
  if (count < 0 || (count > 0 && out == nullptr)) {
    return Refuse(A10BadValue, "a negative count or no place for the samples was given.");
  }
  std::vector<A10SampleInfo> infos;  // of a SoundFont
  Bytes entries;                     // of a bank: its directory entries are laid out as A10SampleInfo
  std::size_t total = 0;
  bool font = false;
  std::int32_t result = ReadBankEntries(path, first, count, entries, total);
  if (result == A10NotABank && LooksLikeSoundFont(path)) {
    font = true;
    result = ListSamples(path, infos);
    total = infos.size();
  }
  if (result != A10Ok || count == 0) {
    return result;
  }
  if (first < 0 || static_cast<std::int64_t>(first) + count > static_cast<std::int64_t>(total)) {
    return Refuse(A10BadIndex, "there are no samples " + std::to_string(first) + " to " +
                                   std::to_string(static_cast<std::int64_t>(first) + count - 1) + " in " + path +
                                   ": it holds " + std::to_string(total) + " (numbered from 0).");
  }
  for (std::int32_t i = 0; !font && i < count; ++i) {
    if (!CheckBankEntry(&entries[static_cast<std::size_t>(i) * BankEntrySize])) {
      return Refuse(A10NotABank, path + " is not a bank of the converter's format (sample " +
                                     std::to_string(first + i) + " has a field out of range).");
    }
  }
  const std::uint8_t* from = font ? reinterpret_cast<const std::uint8_t*>(infos.data() + first) : entries.data();
  std::memcpy(out, from, static_cast<std::size_t>(count) * sizeof(A10SampleInfo));
  return A10Ok;
}

std::int32_t PcmOf(const std::string& path, std::int32_t index, std::int16_t* pcm, std::uint32_t capacity,
                   std::uint32_t* written) {
  if (written == nullptr || (capacity > 0 && pcm == nullptr)) {
    return Refuse(A10BadValue, "no place for the sample data was given.");
  }
  *written = 0;
  if (LooksLikeSoundFont(path)) {
    Sample sample;
    const std::int32_t result = ReadFontSample(path, index, sample);
    if (result == A10Ok) {
      *written = static_cast<std::uint32_t>(sample.Pcm.size() < capacity ? sample.Pcm.size() : capacity);
      std::memcpy(pcm, sample.Pcm.data(), *written * 2u);
    }
    return result;
  }
  Bank bank;
  std::vector<PcmSpan> spans;
  std::int32_t result = ReadBankDirectory(path, bank, spans);
  if (result != A10Ok || (result = CheckIndex(index, spans.size(), path)) != A10Ok) {
    return result;
  }
  const PcmSpan span = spans[static_cast<std::size_t>(index)];
  const std::uint32_t values = static_cast<std::uint32_t>(span.Bytes / 2);
  const std::uint32_t count = values < capacity ? values : capacity;
  FileHandle file = InvalidFileHandle;
  const bool ok = OpenRead(path, file) && SeekTo(file, static_cast<std::int32_t>(span.Offset)) &&
                  (count == 0 || ReadBlock(file, pcm, static_cast<std::int32_t>(count * 2)));
  CloseFile(file);
  if (!ok) {
    return Refuse(A10NotAFile, path + " cannot be read.");
  }
  *written = count;
  return A10Ok;
}

}  // namespace

extern "C" A10_API std::int32_t A10_CALL SampleCount(const char* path, std::int32_t* count) {
  return Guarded(path, [count](const std::string& p) { return CountOf(p, count); });
}

extern "C" A10_API std::int32_t A10_CALL ReadSampleInfos(const char* path, std::int32_t first, std::int32_t count,
                                                         A10SampleInfo* infos) {
  return Guarded(path, [=](const std::string& p) { return InfosOf(p, first, count, infos); });
}

extern "C" A10_API std::int32_t A10_CALL ReadSamplePcm(const char* bankPath, std::int32_t index, std::int16_t* pcm,
                                                       std::uint32_t capacity, std::uint32_t* written) {
  return Guarded(bankPath, [=](const std::string& p) { return PcmOf(p, index, pcm, capacity, written); });
}
