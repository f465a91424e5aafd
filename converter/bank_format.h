// The converter's bank file: signature byte, header, sample directory, PCM
// data. The layout is described in converter/FORMAT.md.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "converter/sample.h"

constexpr std::size_t BankHeaderSize = 8;
constexpr std::size_t BankEntrySize = 48;
constexpr std::uint8_t BankVersion = 1;
constexpr std::size_t BankSamplesMax = 65535;
// Files are addressed with 32-bit signed positions.
constexpr std::uint32_t BankSizeMax = 0x7FFFFFFFu;

struct Bank {
  std::uint8_t Signature = 0x04;
  std::vector<Sample> Samples;
};

// Where a sample's data lie in a bank file.
struct PcmSpan {
  std::size_t Offset = 0;
  std::size_t Bytes = 0;
};

// Checks a whole bank file but copies no sample data: the samples' Pcm stay
// empty and spans tell where their data lie. False for anything that is not
// exactly a bank of this format: wrong magic or version, a count or size
// past the end, bytes left over, or a field out of range.
bool ParseBankLayout(const std::uint8_t* data, std::size_t size, Bank& bank, std::vector<PcmSpan>& spans);
// The header's first bytes (at least BankHeaderSize): magic, version and a
// sample count of at least 1.
bool ParseBankHeader(const std::uint8_t* data, std::size_t size, std::size_t& count);
// The same check as ParseBankLayout from the header and directory alone
// (available bytes at data, at least header and directory) of a file of
// size bytes: the sizes the directory gives must add up to it exactly.
bool ParseBankDirectory(const std::uint8_t* data, std::size_t available, std::uint64_t size, Bank& bank,
                        std::vector<PcmSpan>& spans);
// The sizes alone: header, 1 or 2 channels per sample, and the data sizes
// the directory gives adding up to size exactly. A list of the largest
// banks checks the rows it hands out with CheckBankEntry.
bool BankDirectorySizesFit(const std::uint8_t* data, std::size_t available, std::uint64_t size);
// Every field of one directory entry in range.
bool CheckBankEntry(const std::uint8_t* entry);
// The bank file's bytes without the sample data, which follows them in the
// file: each sample's Pcm in directory order. False when a sample is not
// valid or the bank would be empty or too large.
bool SerializeBankHead(const Bank& bank, std::vector<std::uint8_t>& out);
// The same for samples whose data are elsewhere: frames[i] of sample i,
// whose Pcm is not looked at.
bool SerializeBankDirectory(const Bank& bank, const std::vector<std::uint32_t>& frames, std::vector<std::uint8_t>& out);
