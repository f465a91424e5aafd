#include "converter/bank_format.h"

#include <cstring>

#include "converter/le_bytes.h"

namespace {

const char BankMagic[4] = {'T', 'V', 'W', 'B'};
constexpr std::size_t NameBytes = SampleNameMax + 1;
constexpr std::uint8_t FlagLooped = 0x01;

// The length of the name field's text, which must be followed by NUL
// bytes up to the field's end, so that every name has one spelling in the
// file; -1 when it is not, or holds a character a name may not.
int NameLength(const std::uint8_t* field) {
  const void* end = std::memchr(field, 0, NameBytes);
  if (end == nullptr) {
    return -1;
  }
  const std::size_t length = static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - field);
  bool allowed = true;
  for (std::size_t i = 0; i < length; ++i) {
    allowed &= SampleNameTable.Allowed[field[i]];
  }
  std::uint8_t padding = 0;
  for (std::size_t i = length; i < NameBytes; ++i) {
    padding |= field[i];
  }
  return allowed && padding == 0 ? static_cast<int>(length) : -1;
}

}  // namespace

bool ParseBankHeader(const std::uint8_t* data, std::size_t size, std::size_t& count) {
  if (size < BankHeaderSize || std::memcmp(data + 1, BankMagic, 4) != 0 || data[5] != BankVersion) {
    return false;
  }
  count = Le16(data + 6);
  return count != 0;
}

bool ParseBankLayout(const std::uint8_t* data, std::size_t size, Bank& bank, std::vector<PcmSpan>& spans) {
  return size <= BankSizeMax && ParseBankDirectory(data, size, size, bank, spans);
}

namespace {

// One directory entry: its sample's numbers (no name, no data), frames and
// name length; false when a field is out of range.
bool ParseEntry(const std::uint8_t* entry, Sample& sample, std::uint32_t& frames, int& nameLength) {
  nameLength = NameLength(entry);
  if (nameLength < 0) {
    return false;
  }
  sample.SampleRate = Le32(entry + 28);
  sample.Channels = entry[32];
  sample.RootKey = entry[33];
  sample.FineTune = static_cast<std::int8_t>(entry[34]);
  const std::uint8_t flags = entry[35];
  frames = Le32(entry + 36);
  sample.LoopStart = Le32(entry + 40);
  sample.LoopEnd = Le32(entry + 44);
  sample.Looped = (flags & FlagLooped) != 0;
  return (flags & ~FlagLooped) == 0 && SampleNumbersValid(sample, frames);
}

// Header and directory checked against a file of size bytes; each entry
// goes to entry(sample without its name, name, name length, offset, bytes)
// once it is checked.
template <typename Entry>
bool WalkDirectory(const std::uint8_t* data, std::size_t available, std::uint64_t size, Entry entry) {
  std::size_t count = 0;
  if (size > BankSizeMax || !ParseBankHeader(data, available, count) ||
      available < BankHeaderSize + count * BankEntrySize || size < BankHeaderSize + count * BankEntrySize) {
    return false;
  }
  Sample sample;
  std::uint64_t offset = BankHeaderSize + count * BankEntrySize;
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t frames = 0;
    int nameLength = 0;
    const std::uint8_t* at = data + BankHeaderSize + i * BankEntrySize;
    if (!ParseEntry(at, sample, frames, nameLength)) {
      return false;
    }
    const std::uint64_t bytes = static_cast<std::uint64_t>(frames) * sample.Channels * 2;
    if (bytes > size - offset) {
      return false;
    }
    entry(sample, at, nameLength, offset, bytes);
    offset += bytes;
  }
  return offset == size;
}

}  // namespace

bool BankDirectorySizesFit(const std::uint8_t* data, std::size_t available, std::uint64_t size) {
  std::size_t count = 0;
  if (size > BankSizeMax || !ParseBankHeader(data, available, count) ||
      available < BankHeaderSize + count * BankEntrySize) {
    return false;
  }
  std::uint64_t total = BankHeaderSize + count * BankEntrySize;
  bool channels = true;
  for (const std::uint8_t* entry = data + BankHeaderSize; entry < data + BankHeaderSize + count * BankEntrySize;
       entry += BankEntrySize) {
    channels &= entry[32] == 1 || entry[32] == 2;
    total += 2ull * entry[32] * Le32(entry + 36);
  }
  return channels && total == size;
}

bool CheckBankEntry(const std::uint8_t* entry) {
  Sample sample;
  std::uint32_t frames = 0;
  int nameLength = 0;
  return ParseEntry(entry, sample, frames, nameLength);
}

bool ParseBankDirectory(const std::uint8_t* data, std::size_t available, std::uint64_t size, Bank& bank,
                        std::vector<PcmSpan>& spans) {
  Bank parsed;
  std::vector<PcmSpan> layout;
  const bool ok = WalkDirectory(
      data, available, size,
      [&](const Sample& sample, const std::uint8_t* name, int nameLength, std::uint64_t offset, std::uint64_t bytes) {
        parsed.Samples.push_back(sample);
        parsed.Samples.back().Name.assign(reinterpret_cast<const char*>(name), static_cast<std::size_t>(nameLength));
        layout.push_back({static_cast<std::size_t>(offset), static_cast<std::size_t>(bytes)});
      });
  if (!ok) {
    return false;
  }
  parsed.Signature = data[0];
  bank = std::move(parsed);
  spans = std::move(layout);
  return true;
}

bool SerializeBankHead(const Bank& bank, std::vector<std::uint8_t>& out) {
  std::vector<std::uint32_t> frames;
  for (const Sample& sample : bank.Samples) {
    if (!SampleValid(sample)) {
      return false;
    }
    frames.push_back(sample.Frames());
  }
  return SerializeBankDirectory(bank, frames, out);
}

bool SerializeBankDirectory(const Bank& bank, const std::vector<std::uint32_t>& frames,
                            std::vector<std::uint8_t>& out) {
  const std::size_t count = bank.Samples.size();
  if (count == 0 || count > BankSamplesMax || frames.size() != count) {
    return false;
  }
  std::uint64_t total = BankHeaderSize + count * BankEntrySize;
  for (std::size_t i = 0; i < count; ++i) {
    if (!SampleFieldsValid(bank.Samples[i], frames[i])) {
      return false;
    }
    total += static_cast<std::uint64_t>(frames[i]) * bank.Samples[i].Channels * 2;
  }
  if (total > BankSizeMax) {
    return false;
  }
  out.clear();
  out.push_back(bank.Signature);
  AppendTag(out, BankMagic);
  out.push_back(BankVersion);
  AppendLe16(out, static_cast<std::uint32_t>(count));
  for (std::size_t i = 0; i < count; ++i) {
    const Sample& sample = bank.Samples[i];
    const std::size_t at = out.size();
    out.insert(out.end(), sample.Name.begin(), sample.Name.end());
    out.resize(at + NameBytes, 0);
    AppendLe32(out, sample.SampleRate);
    out.push_back(sample.Channels);
    out.push_back(sample.RootKey);
    out.push_back(static_cast<std::uint8_t>(sample.FineTune));
    out.push_back(sample.Looped ? FlagLooped : 0);
    AppendLe32(out, frames[i]);
    AppendLe32(out, sample.LoopStart);
    AppendLe32(out, sample.LoopEnd);
  }
  return true;
}
