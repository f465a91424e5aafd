// SoundFont 2 files as the converter reads and writes them: RIFF "sfbk"
// with INFO, sdta (16-bit "smpl") and pdta (the nine record lists).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "converter/sample.h"

// Where the bytes of a SoundFont come from: a file read piecewise, or
// memory (the fuzz target). Read fails for anything past Size.
class FontSource {
 public:
  virtual ~FontSource() = default;
  virtual std::uint64_t Size() const = 0;
  virtual bool Read(std::uint64_t offset, void* to, std::size_t count) const = 0;
};

class MemoryFontSource : public FontSource {
 public:
  MemoryFontSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, void* to, std::size_t count) const override;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// Generators that the reader and the writer both use: the sample a zone
// plays and its loop mode.
constexpr std::uint16_t GenSampleId = 53;
constexpr std::uint16_t GenSampleModes = 54;

constexpr std::uint16_t FontMono = 1;
constexpr std::uint16_t FontRight = 2;
constexpr std::uint16_t FontLeft = 4;
constexpr std::uint16_t FontCompressed = 0x10;  // SoundFont 3: Ogg Vorbis data
constexpr std::uint16_t FontRom = 0x8000;

// One sample header, with the loop mode of the first instrument zone that
// plays it (-1 when none does).
struct FontHeader {
  std::string Name;  // up to 20 characters, as stored
  std::uint32_t Start = 0;
  std::uint32_t End = 0;  // the first point after the sample
  std::uint32_t StartLoop = 0;
  std::uint32_t EndLoop = 0;  // the first point after the loop
  std::uint32_t Rate = 0;
  std::uint8_t OriginalPitch = 60;
  std::int8_t PitchCorrection = 0;  // cents to apply on playback
  std::uint16_t Link = 0;
  std::uint16_t Type = FontMono;
  int LoopMode = -1;
};

struct FontLayout {
  std::vector<FontHeader> Headers;  // without the terminal record
  std::uint64_t SmplOffset = 0;     // of the 16-bit sample data
  std::uint64_t SmplBytes = 0;
};

// Reads version, the place of the sample data and the sample headers,
// checking every size against the file's length before anything is
// allocated. False with the reason for anything that is not a SoundFont
// 2.x file this reads (SoundFont 3, a cut or malformed chunk, an index of
// one record list into another past its end).
bool ParseFontLayout(const FontSource& source, FontLayout& layout, std::string& why);
// The header as a bank sample's properties (no data): name cleaned for a
// bank, root key (60 for an unpitched sample), fine tune as the opposite of
// the pitch correction, the loop when the first zone loops it and it lies
// inside the sample. frames: End - Start (0 when End is before Start).
Sample FontHeaderProperties(const FontHeader& header, std::uint32_t& frames);
// Sample index of the layout as a bank sample with its data: a left sample
// linked to a right one of the same length and rate gives a stereo
// sample. False with the reason for a ROM or compressed sample, data
// outside "smpl", or a rate or length the bank format cannot hold.
bool ReadFontSampleData(const FontSource& source, const FontLayout& layout, std::size_t index, Sample& sample,
                        std::string& why);

// The parts of a SoundFont of a bank's samples (properties and frames per
// sample; Pcm not used): head is everything before the sample data, tail
// (pdta) everything after. The sample data between them is, per sample,
// each channel's frames (left, then right) followed by FontZeroFrames zero
// frames. title names the font.
constexpr std::uint32_t FontZeroFrames = 46;
bool PlanSoundFont(const std::vector<Sample>& samples, const std::vector<std::uint32_t>& frames,
                   const std::string& title, std::vector<std::uint8_t>& head, std::vector<std::uint8_t>& tail);
// Names cut to 20 characters, each different from the ones before it.
std::vector<std::string> UniqueFontNames(const std::vector<std::string>& names);
