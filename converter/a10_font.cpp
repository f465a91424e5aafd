// ExportSoundFont: the whole bank as a SoundFont 2 file, mono samples'
// data copied straight from the bank file.
#include "converter/a10.h"
#include "converter/a10_support.h"
#include "converter/le_bytes.h"
#include "converter/sf2_format.h"
#include "files/path_parts.h"

namespace {

std::int32_t ExportFont(const std::string& bankPath, const char* fontPath) {
  if (fontPath == nullptr || *fontPath == '\0') {
    return Refuse(A10NotAFile, "no SoundFont file name was given.");
  }
  OpenedBank bank;
  std::int32_t result = OpenBank(bankPath, bank);
  if (result != A10Ok) {
    return result;
  }
  const std::vector<std::uint32_t> frames = FramesOf(bank);
  Bytes head;
  Bytes tail;
  const std::string name = bankPath.substr(DirectoryPart(bankPath).size());
  if (!PlanSoundFont(bank.Layout.Samples, frames, name, head, tail)) {
    return Refuse(A10TooLarge, bankPath + " has more samples or data than a SoundFont holds.");
  }
  static const std::int16_t zeros[FontZeroFrames] = {};
  const FilePiece silence = {zeros, sizeof zeros};
  // A stereo sample's channels are stored one after the other. Moving a
  // vector keeps its buffer, so the pieces stay valid as channels grows.
  std::vector<std::vector<std::int16_t>> channels;
  std::vector<FilePiece> pieces = {{head.data(), head.size()}};
  for (std::size_t i = 0; i < bank.Spans.size(); ++i) {
    if (bank.Layout.Samples[i].Channels == 1) {
      pieces.push_back(Piece(bank, i));
      pieces.push_back(silence);
      continue;
    }
    Bytes stereo;
    if (!ReadSampleBytes(bank, i, stereo)) {
      return Refuse(A10NotAFile, bankPath + " cannot be read.");
    }
    std::vector<std::int16_t> both(2 * static_cast<std::size_t>(frames[i]));
    ReadPcm(stereo.data(), both.size(), both.data());
    for (std::size_t c = 0; c < 2; ++c) {
      std::vector<std::int16_t> channel(frames[i]);
      for (std::size_t f = 0; f < frames[i]; ++f) {
        channel[f] = both[2 * f + c];
      }
      pieces.push_back({channel.data(), channel.size() * 2});
      pieces.push_back(silence);
      channels.push_back(std::move(channel));
    }
  }
  pieces.push_back({tail.data(), tail.size()});
  result = WriteTemporary(fontPath, pieces);
  CloseBank(bank);
  return result != A10Ok ? result : ReplaceWithTemporary(fontPath);
}

}  // namespace

extern "C" A10_API std::int32_t A10_CALL ExportSoundFont(const char* bankPath, const char* fontPath) {
  return Guarded(bankPath, [=](const std::string& path) { return ExportFont(path, fontPath); });
}
