#include "converter/sample.h"

#include <cstring>

bool SampleNameCharacter(char c) { return c >= 0x20 && c <= 0x7E && std::strchr("\\/:*?\"<>|", c) == nullptr; }

bool SampleValid(const Sample& sample) {
  if (sample.Name.size() > SampleNameMax) {
    return false;
  }
  for (char c : sample.Name) {
    if (!SampleNameCharacter(c)) {
      return false;
    }
  }
  if (sample.SampleRate < SampleRateMin || sample.SampleRate > SampleRateMax ||
      (sample.Channels != 1 && sample.Channels != 2) || sample.RootKey > 127 || sample.FineTune < FineTuneMin ||
      sample.FineTune > FineTuneMax || (sample.FineTune < 0 && sample.RootKey == 0)) {
    return false;
  }
  if (sample.Pcm.empty() || sample.Pcm.size() % sample.Channels != 0 || sample.Pcm.size() > SampleValuesMax) {
    return false;
  }
  if (!sample.Looped) {
    return sample.LoopStart == 0 && sample.LoopEnd == 0;
  }
  return sample.LoopStart <= sample.LoopEnd && sample.LoopEnd < sample.Frames();
}

bool SameSample(const Sample& a, const Sample& b) {
  return a.Name == b.Name && a.SampleRate == b.SampleRate && a.Channels == b.Channels && a.RootKey == b.RootKey &&
         a.FineTune == b.FineTune && a.Looped == b.Looped && a.LoopStart == b.LoopStart && a.LoopEnd == b.LoopEnd &&
         a.Pcm == b.Pcm;
}
