// The test double behind converter.h: records every call and answers with
// scripted results.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/converter.h"

struct FakeConverterState {
  bool Available = true;
  std::string MissingReason;
  // False: an older library without the sample-level exports; they return
  // ConverterLacks.
  bool SampleTools = true;
  std::deque<std::int32_t> Results;  // for the next calls; 0 when empty
  // "Deconstruct <path>", "Construct <path>", "SampleCount <path>",
  // "ReadSampleInfos <path> <first> <count>", "ReadSamplePcm <path> <index>",
  // "SetSampleInfo <path> <index>", "ReplaceSample <bank> <index> <source>
  // <fontSample>", "ExportSampleWav <bank> <index> <wav>", "ExportSoundFont
  // <bank> <font>"
  std::vector<std::string> Calls;
  std::string Problem;  // what ConverterProblem returns
  // The sample lists the listing calls answer with, by path (a path not
  // here is no file: result 1). A successful SetSampleInfo changes its
  // entry, so that a list read afterwards shows the change.
  std::map<std::string, std::vector<SampleInfo>> Samples;
  // Each sample's PCM by path and index; a sample without is silence of its
  // length.
  std::map<std::string, std::map<std::int32_t, std::vector<std::int16_t>>> Pcm;
  std::vector<SampleInfo> SetInfos;  // what each SetSampleInfo call was given
  std::string BuildReport;           // what ConverterBuildReport returns
};

FakeConverterState& FakeConverter();
void FakeConverterReset();
