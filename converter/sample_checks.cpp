#include "converter/sample_checks.h"

#include <cstring>

namespace {

std::string Number(std::int64_t value) { return std::to_string(value); }

}  // namespace

bool CheckSampleInfo(const A10SampleInfo& info, const Sample& current, std::uint32_t frames, Sample& sample,
                     std::string& why) {
  const std::size_t length = strnlen(info.Name, sizeof info.Name);
  if (length == sizeof info.Name) {
    why = "the name is longer than " + Number(SampleNameMax) + " characters";
    return false;
  }
  const std::string name(info.Name, length);
  for (char c : name) {
    if (!SampleNameCharacter(c)) {
      why = "the name \"" + name + "\" holds the character '" + std::string(1, c) +
            "', which a sample name may not hold (printable characters except \\ / : * ? \" < > |)";
      return false;
    }
  }
  if (info.Rate != current.SampleRate || info.Channels != current.Channels || info.Frames != frames) {
    why = "the rate, channels and length must stay those of the sample (" + Number(current.SampleRate) + " Hz, " +
          Number(current.Channels) + " channel(s), " + Number(frames) + " frames); Replace changes the sound";
    return false;
  }
  if (info.RootKey > 127) {
    why = "the root key " + Number(info.RootKey) + " is not a MIDI note (0 to 127)";
    return false;
  }
  if (info.FineTune < FineTuneMin || info.FineTune > FineTuneMax) {
    why = "the fine tune " + Number(info.FineTune) + " cents lies outside -50 to +49 cents";
    return false;
  }
  if (info.FineTune < 0 && info.RootKey == 0) {
    why = "the fine tune " + Number(info.FineTune) + " cents would put the sample below MIDI note 0";
    return false;
  }
  if (info.Looped > 1) {
    why = "the loop flag " + Number(info.Looped) + " is neither 0 (no loop) nor 1 (looped)";
    return false;
  }
  if (info.Looped == 0 && (info.LoopStart != 0 || info.LoopEnd != 0)) {
    why = "a sample without a loop has loop start and end 0 (got " + Number(info.LoopStart) + "-" +
          Number(info.LoopEnd) + ")";
    return false;
  }
  if (info.Looped == 1 && info.LoopEnd >= frames) {
    why = "the loop end " + Number(info.LoopEnd) + " lies past the sample's last frame " + Number(frames - 1);
    return false;
  }
  if (info.Looped == 1 && info.LoopStart > info.LoopEnd) {
    why = "the loop start " + Number(info.LoopStart) + " lies after the loop end " + Number(info.LoopEnd);
    return false;
  }
  sample = current;
  sample.Name = name;
  sample.RootKey = info.RootKey;
  sample.FineTune = info.FineTune;
  sample.Looped = info.Looped == 1;
  sample.LoopStart = info.LoopStart;
  sample.LoopEnd = info.LoopEnd;
  return true;
}
