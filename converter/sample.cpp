#include "converter/sample.h"

bool SampleFieldsValid(const Sample& sample, std::uint64_t frames) {
  if (sample.Name.size() > SampleNameMax) {
    return false;
  }
  for (char c : sample.Name) {
    if (!SampleNameCharacter(c)) {
      return false;
    }
  }
  return SampleNumbersValid(sample, frames);
}

bool SampleNumbersValid(const Sample& sample, std::uint64_t frames) {
  if (sample.SampleRate < SampleRateMin || sample.SampleRate > SampleRateMax ||
      (sample.Channels != 1 && sample.Channels != 2) || sample.RootKey > 127 || sample.FineTune < FineTuneMin ||
      sample.FineTune > FineTuneMax || (sample.FineTune < 0 && sample.RootKey == 0)) {
    return false;
  }
  if (frames == 0 || frames * sample.Channels > SampleValuesMax) {
    return false;
  }
  if (!sample.Looped) {
    return sample.LoopStart == 0 && sample.LoopEnd == 0;
  }
  return sample.LoopStart <= sample.LoopEnd && sample.LoopEnd < frames;
}

bool SampleValid(const Sample& sample) {
  return (sample.Channels == 1 || sample.Channels == 2) && sample.Pcm.size() % sample.Channels == 0 &&
         SampleFieldsValid(sample, sample.Pcm.size() / sample.Channels);
}

void KeepPitchAndLoop(const Sample& previous, Sample& sample) {
  sample.RootKey = previous.RootKey;
  sample.FineTune = previous.FineTune;
  sample.Looped = previous.Looped && previous.LoopEnd < sample.Frames();
  sample.LoopStart = sample.Looped ? previous.LoopStart : 0;
  sample.LoopEnd = sample.Looped ? previous.LoopEnd : 0;
}
