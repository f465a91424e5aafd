// The exports that change one sample of a bank or write it out: each new
// file is written whole beside its target and moved over it only when
// complete, the unchanged samples' bytes copied straight from the bank file.
#include <cstring>

#include "converter/a10.h"
#include "converter/a10_support.h"
#include "converter/font_file.h"
#include "converter/sample_checks.h"
#include "converter/wav_format.h"

namespace {

// The bank with sample index given new properties (and, when pcm is given,
// new data), written beside it and moved over it. The signature byte stays.
std::int32_t RewriteBank(const std::string& bankPath, OpenedBank& bank, std::size_t index, const Sample& sample,
                         const std::vector<std::int16_t>* pcm) {
  Bank changed = bank.Layout;
  changed.Samples[index] = sample;
  changed.Samples[index].Pcm.clear();
  std::vector<std::uint32_t> frames = FramesOf(bank);
  if (pcm != nullptr) {
    frames[index] = static_cast<std::uint32_t>(pcm->size() / sample.Channels);
  }
  Bytes head;
  if (!SerializeBankDirectory(changed, frames, head)) {
    return Refuse(A10TooLarge, "the bank would be larger than 2 GB; " + bankPath + " is unchanged.");
  }
  std::vector<FilePiece> pieces = {{head.data(), head.size()}};
  for (std::size_t i = 0; i < bank.Spans.size(); ++i) {
    if (i == index && pcm != nullptr) {
      pieces.push_back({pcm->data(), pcm->size() * 2});
    } else {
      pieces.push_back(Piece(bank, i));
    }
  }
  const std::int32_t written = WriteTemporary(bankPath, pieces);
  // Windows does not replace a file that is open.
  CloseBank(bank);
  return written != A10Ok ? written : ReplaceWithTemporary(bankPath);
}

// The bank for a change: writable, a bank, the index one of its samples.
std::int32_t OpenForChange(const std::string& bankPath, std::int32_t index, OpenedBank& bank) {
  std::int32_t result = RefuseUnwritable(bankPath);
  if (result == A10Ok && (result = OpenBank(bankPath, bank)) == A10Ok) {
    result = CheckIndex(index, bank.Spans.size(), bankPath);
  }
  return result;
}

std::int32_t SetInfo(const std::string& bankPath, std::int32_t index, const A10SampleInfo* info) {
  if (info == nullptr) {
    return Refuse(A10BadValue, "no sample properties were given.");
  }
  OpenedBank bank;
  std::int32_t result = OpenForChange(bankPath, index, bank);
  if (result != A10Ok) {
    return result;
  }
  const auto at = static_cast<std::size_t>(index);
  Sample sample;
  std::string why;
  if (!CheckSampleInfo(*info, bank.Layout.Samples[at], FramesOf(bank)[at], sample, why)) {
    return Refuse(A10BadValue, "sample " + std::to_string(index) + " of " + bankPath + " is unchanged: " + why + ".");
  }
  return RewriteBank(bankPath, bank, at, sample, nullptr);
}

// The new sound from a WAV file (fontSample < 0) or a SoundFont's sample.
std::int32_t ReadSource(const std::string& sourcePath, std::int32_t fontSample, const Sample& old, Sample& sample) {
  if (fontSample >= 0) {
    return ReadFontSample(sourcePath, fontSample, sample);
  }
  Bytes bytes;
  if (!ReadWhole(sourcePath, bytes)) {
    return Refuse(A10NotAFile, sourcePath + " cannot be read.");
  }
  bool smpl = true;
  if (!ParseWav(bytes.data(), bytes.size(), sample, &smpl)) {
    return Refuse(A10BadWav, sourcePath +
                                 " is not a WAV file the converter takes (8, 16, 24 or 32-bit PCM or 32-bit float, "
                                 "mono or stereo, 1000 to 384000 Hz).");
  }
  if (!smpl) {
    KeepPitchAndLoop(old, sample);
  }
  return A10Ok;
}

std::int32_t Replace(const std::string& bankPath, std::int32_t index, const char* sourcePath, std::int32_t fontSample) {
  if (sourcePath == nullptr || *sourcePath == '\0') {
    return Refuse(A10NotAFile, "no file to take the sound from was given.");
  }
  OpenedBank bank;
  std::int32_t result = OpenForChange(bankPath, index, bank);
  if (result != A10Ok) {
    return result;
  }
  const auto at = static_cast<std::size_t>(index);
  Sample sample;
  if ((result = ReadSource(sourcePath, fontSample, bank.Layout.Samples[at], sample)) != A10Ok) {
    return result;
  }
  sample.Name = bank.Layout.Samples[at].Name;
  return RewriteBank(bankPath, bank, at, sample, &sample.Pcm);
}

std::int32_t ExportWav(const std::string& bankPath, std::int32_t index, const char* wavPath) {
  if (wavPath == nullptr || *wavPath == '\0') {
    return Refuse(A10NotAFile, "no WAV file name was given.");
  }
  OpenedBank bank;
  std::int32_t result = OpenBank(bankPath, bank);
  if (result != A10Ok || (result = CheckIndex(index, bank.Spans.size(), bankPath)) != A10Ok) {
    return result;
  }
  const PcmSpan span = bank.Spans[static_cast<std::size_t>(index)];
  Bytes head;
  Bytes tail;
  WavFileParts(bank.Layout.Samples[static_cast<std::size_t>(index)], span.Bytes, head, tail);
  result = WriteTemporary(
      wavPath, {{head.data(), head.size()}, Piece(bank, static_cast<std::size_t>(index)), {tail.data(), tail.size()}});
  CloseBank(bank);
  return result != A10Ok ? result : ReplaceWithTemporary(wavPath);
}

}  // namespace

extern "C" A10_API std::int32_t A10_CALL SetSampleInfo(const char* bankPath, std::int32_t index,
                                                       const A10SampleInfo* info) {
  return Guarded(bankPath, [=](const std::string& path) { return SetInfo(path, index, info); });
}

extern "C" A10_API std::int32_t A10_CALL ReplaceSample(const char* bankPath, std::int32_t index, const char* sourcePath,
                                                       std::int32_t fontSample) {
  return Guarded(bankPath, [=](const std::string& path) { return Replace(path, index, sourcePath, fontSample); });
}

extern "C" A10_API std::int32_t A10_CALL ExportSampleWav(const char* bankPath, std::int32_t index,
                                                         const char* wavPath) {
  return Guarded(bankPath, [=](const std::string& path) { return ExportWav(path, index, wavPath); });
}
