#include "app/sample_sound.h"

#include "platform/sound.h"

namespace {

// How long a looping sample's loop sounds at least, so that a click at the
// loop point can be heard several times.
constexpr std::uint64_t LoopSeconds = 3;

// The device plays from this buffer until it is closed.
WaveOutputRef Output = 0;
std::vector<std::int16_t> Sound;

// Why the sample cannot be played as its header describes it; empty when it can.
std::string SampleProblem(const SampleInfo& info, const std::vector<std::int16_t>& pcm) {
  if ((info.Channels != 1 && info.Channels != 2) || info.Rate == 0) {
    return "The sample has no format a wave output plays (" + std::to_string(info.Channels) + " channels at " +
           std::to_string(info.Rate) + " Hz).";
  }
  if (info.Frames == 0) {
    return "The sample is empty: there is nothing to play.";
  }
  if (pcm.size() != static_cast<std::uint64_t>(info.Frames) * static_cast<std::uint64_t>(info.Channels)) {
    return "The sample's sound data (" + std::to_string(pcm.size()) + " values) does not match its length of " +
           std::to_string(info.Frames) + " frames.";
  }
  if (info.Looped && (info.LoopStart > info.LoopEnd || info.LoopEnd >= info.Frames)) {
    return "The sample's loop " + std::to_string(info.LoopStart) + "-" + std::to_string(info.LoopEnd) +
           " lies outside its " + std::to_string(info.Frames) + " frames; correct it in the sample's properties.";
  }
  return std::string();
}

// The sample as it sounds when a note is held: up to the loop's end, the
// loop again until it has sounded LoopSeconds (twice at least), then what
// follows the loop. A sample without a loop plays once.
std::vector<std::int16_t> HeldSound(const SampleInfo& info, const std::vector<std::int16_t>& pcm) {
  if (!info.Looped) {
    return pcm;
  }
  const std::size_t channels = static_cast<std::size_t>(info.Channels);
  const std::size_t loopBegin = info.LoopStart * channels;
  const std::size_t loopEnd = (static_cast<std::size_t>(info.LoopEnd) + 1) * channels;
  const std::uint64_t loopFrames = info.LoopEnd - info.LoopStart + 1;
  std::uint64_t passes = (LoopSeconds * info.Rate + loopFrames - 1) / loopFrames;
  passes = passes < 2 ? 2 : passes;
  std::vector<std::int16_t> sound;
  sound.reserve(pcm.size() + static_cast<std::size_t>(passes - 1) * (loopEnd - loopBegin));
  sound.insert(sound.end(), pcm.begin(), pcm.begin() + static_cast<std::ptrdiff_t>(loopEnd));
  for (std::uint64_t pass = 1; pass < passes; ++pass) {
    sound.insert(sound.end(), pcm.begin() + static_cast<std::ptrdiff_t>(loopBegin),
                 pcm.begin() + static_cast<std::ptrdiff_t>(loopEnd));
  }
  sound.insert(sound.end(), pcm.begin() + static_cast<std::ptrdiff_t>(loopEnd), pcm.end());
  return sound;
}

}  // namespace

bool PlaySampleSound(const SampleInfo& info, const std::vector<std::int16_t>& pcm, std::string& why) {
  StopSampleSound();
  why = SampleProblem(info, pcm);
  if (!why.empty()) {
    return false;
  }
  WaveOutputRef output = 0;
  if (!OpenWaveOutput(info.Rate, info.Channels, output, why)) {
    return false;
  }
  Sound = HeldSound(info, pcm);
  if (!WriteWaveOutput(output, Sound.data(), Sound.size(), why)) {
    CloseWaveOutput(output);
    Sound = std::vector<std::int16_t>();
    return false;
  }
  Output = output;
  return true;
}

void StopSampleSound() {
  if (Output != 0) {
    CloseWaveOutput(Output);
    Output = 0;
  }
  Sound = std::vector<std::int16_t>();
}

bool SampleSoundPlaying() {
  // The device is let go as soon as the sound has ended: on Windows 9x
  // another program cannot open it while it is held.
  if (Output != 0 && WaveOutputDone(Output)) {
    StopSampleSound();
  }
  return Output != 0;
}
