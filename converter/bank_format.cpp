#include "converter/bank_format.h"

#include <cstring>

#include "converter/le_bytes.h"

namespace {

const char BankMagic[4] = {'T', 'V', 'W', 'B'};
constexpr std::size_t NameBytes = SampleNameMax + 1;
constexpr std::uint8_t FlagLooped = 0x01;

// The name field: text, then NUL bytes up to its end, so that every name
// has one spelling in the file.
bool ParseName(const std::uint8_t* field, std::string& name) {
  std::size_t length = 0;
  while (length < NameBytes && field[length] != 0) {
    ++length;
  }
  if (length == NameBytes) {
    return false;
  }
  for (std::size_t i = length; i < NameBytes; ++i) {
    if (field[i] != 0) {
      return false;
    }
  }
  name.assign(reinterpret_cast<const char*>(field), length);
  return true;
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

bool ParseBankDirectory(const std::uint8_t* data, std::size_t available, std::uint64_t size, Bank& bank,
                        std::vector<PcmSpan>& spans) {
  std::size_t count = 0;
  if (size > BankSizeMax || !ParseBankHeader(data, available, count) ||
      available < BankHeaderSize + count * BankEntrySize || size < BankHeaderSize + count * BankEntrySize) {
    return false;
  }
  Bank parsed;
  parsed.Signature = data[0];
  parsed.Samples.resize(count);
  std::vector<PcmSpan> layout(count);
  std::uint64_t offset = BankHeaderSize + count * BankEntrySize;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = data + BankHeaderSize + i * BankEntrySize;
    Sample& sample = parsed.Samples[i];
    if (!ParseName(entry, sample.Name)) {
      return false;
    }
    sample.SampleRate = Le32(entry + 28);
    sample.Channels = entry[32];
    sample.RootKey = entry[33];
    sample.FineTune = static_cast<std::int8_t>(entry[34]);
    const std::uint8_t flags = entry[35];
    const std::uint32_t frames = Le32(entry + 36);
    sample.LoopStart = Le32(entry + 40);
    sample.LoopEnd = Le32(entry + 44);
    if ((flags & ~FlagLooped) != 0 || (sample.Channels != 1 && sample.Channels != 2)) {
      return false;
    }
    sample.Looped = (flags & FlagLooped) != 0;
    const std::uint64_t bytes = static_cast<std::uint64_t>(frames) * sample.Channels * 2;
    if (bytes > size - offset) {
      return false;
    }
    if (!SampleFieldsValid(sample, frames)) {
      return false;
    }
    layout[i].Offset = static_cast<std::size_t>(offset);
    layout[i].Bytes = static_cast<std::size_t>(bytes);
    offset += bytes;
  }
  if (offset != size) {
    return false;
  }
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
