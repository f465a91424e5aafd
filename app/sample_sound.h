// A bank sample played through the default wave output, for the Samples
// window and tovaroc play.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/converter.h"

// Starts playing the sample and returns at once: the whole sample, its loop
// repeated for a few seconds when it loops. False, with the reason for a
// user, when no output device takes it (none, a format it refuses, busy);
// nothing else changes then.
bool PlaySampleSound(const SampleInfo& info, const std::vector<std::int16_t>& pcm, std::string& why);
// Stops what is playing, if anything, and closes the device.
void StopSampleSound();
// True while a sample started by PlaySampleSound is still sounding.
bool SampleSoundPlaying();
