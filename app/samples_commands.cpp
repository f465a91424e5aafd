#include "app/samples_commands.h"

#include "app/ascii_text.h"
#include "app/editor_texts.h"
#include "app/sample_edits.h"
#include "app/sample_sound.h"
#include "files/path_parts.h"
#include "platform/cursor.h"
#include "platform/file_dialogs.h"

namespace {

const char* const WavFilter = "WAV sounds (*.wav)|*.wav|All files (*.*)|*.*";
const char* const FontFilter = "SoundFont 2 (*.sf2)|*.sf2|All files (*.*)|*.*";
const char* const SourceFilter = "WAV sounds and SoundFonts (*.wav;*.sf2)|*.wav;*.sf2|All files (*.*)|*.*";

void ShowError(WindowRef owner, const std::string& text, const std::string& why) {
  ShowMessage(owner, why.empty() ? text : text + "\n\n" + why, "Error", MsgOk | MsgIconError);
}

bool AskFile(SamplesWindowPort& window, FileDialogKind kind, const char* filter, const char* extension,
             const std::string& start, std::string& chosen) {
  FileDialogRequest request;
  request.Kind = kind;
  request.Owner = window.Owner();
  request.Filter = filter;
  request.DefaultExtension = extension;
  request.FileName = start;
  return AskFileName(request, chosen);
}

bool IsFontName(const std::string& path) {
  return path.size() >= 4 && AsciiLower(path.substr(path.size() - 4)) == ".sf2";
}

// The bank's folder and the sample's name, as extract would name its WAV file.
std::string WavNameOf(const SamplesWindowState& state) {
  return DirectoryPart(state.Bank) + SampleIndexText(static_cast<std::size_t>(state.Selected), state.Samples.size()) +
         "_" + state.Samples[static_cast<std::size_t>(state.Selected)].Name + ".wav";
}

bool HasSelection(const SamplesWindowState& state) {
  return state.Selected >= 0 && static_cast<std::size_t>(state.Selected) < state.Samples.size();
}

// Rereads the rows after a change, so that the list shows what the bank holds now.
void Reread(SamplesWindowState& state, WindowRef owner) {
  std::string why;
  if (!state.Samples.Open(state.Bank, why)) {
    ShowError(owner, SampleListFailed, why);
  }
  if (state.Selected >= static_cast<int>(state.Samples.size())) {
    state.Selected = -1;
  }
}

std::string SampleLabel(const SamplesWindowState& state) {
  return "Sample " + SampleIndexText(static_cast<std::size_t>(state.Selected), state.Samples.size()) + " (" +
         state.Samples[static_cast<std::size_t>(state.Selected)].Name + ")";
}

}  // namespace

bool SamplesButtonEnabled(SamplesButton button, const SamplesWindowState& state) {
  switch (button) {
    case SamplesButton::Stop:
      return true;
    case SamplesButton::ExportSoundFont:
      return !state.Samples.empty();
    default:
      return HasSelection(state);
  }
}

std::string SamplesWindowTitle(const SamplesWindowState& state) {
  return "Samples of " + state.Bank + " (" + std::to_string(state.Samples.size()) + ")";
}

namespace SamplesCommands {

bool OpenSamples(SamplesWindowState& state, WindowRef owner) {
  std::string why;
  const CursorRef previous = ShowBusyCursor();
  const bool ok = state.Samples.Open(state.Bank, why);
  RestoreCursor(previous);
  if (!ok) {
    ShowError(owner, SampleListFailed, why);
    return false;
  }
  state.Selected = state.Samples.empty() ? -1 : 0;
  state.StatusLine = std::to_string(state.Samples.size()) + " samples in " + state.Bank + ".";
  return true;
}

void PlayClick(SamplesWindowState& state, SamplesWindowPort& window) {
  if (!HasSelection(state)) {
    return;
  }
  std::vector<std::int16_t> pcm;
  std::string why;
  StopSampleSound();
  if (ConverterReadSamplePcm(state.Bank, state.Selected, pcm) != 0) {
    const std::string problem = ConverterProblem();
    ShowError(window.Owner(), SamplePlayFailed,
              problem.empty() ? "The sample's sound cannot be read from " + state.Bank + "." : problem);
    return;
  }
  if (!PlaySampleSound(state.Samples[static_cast<std::size_t>(state.Selected)], pcm, why)) {
    ShowError(window.Owner(), SamplePlayFailed, why);
    return;
  }
  state.StatusLine = "Playing " + SampleLabel(state) + ".";
}

void StopClick(SamplesWindowState& state, SamplesWindowPort&) {
  StopSampleSound();
  state.StatusLine = "Stopped.";
}

void PropertiesClick(SamplesWindowState& state, SamplesWindowPort& window) {
  if (!HasSelection(state)) {
    return;
  }
  const SampleInfo before = state.Samples[static_cast<std::size_t>(state.Selected)];
  SampleChanges fields = ChangesShowing(before);
  const std::string title = "Properties of " + SampleLabel(state);
  for (;;) {
    if (!window.AskProperties(title, fields)) {
      return;
    }
    SampleInfo changed = before;
    std::string why;
    if (!ApplySampleChanges(fields, changed, why)) {
      ShowError(window.Owner(), SampleChangeFailed, why);
      continue;
    }
    if (!ChangeSample(state.Bank, state.Selected, changed, why)) {
      ShowError(window.Owner(), SampleChangeFailed, why);
      return;
    }
    break;
  }
  Reread(state, window.Owner());
  if (HasSelection(state)) {
    state.StatusLine = SampleLabel(state) + " changed in " + state.Bank + "; its size table is up to date.";
  }
}

void ReplaceClick(SamplesWindowState& state, SamplesWindowPort& window) {
  if (!HasSelection(state)) {
    return;
  }
  std::string source;
  if (!AskFile(window, FileDialogKind::Open, SourceFilter, "wav", std::string(), source)) {
    return;
  }
  int fontSample = -1;
  std::string why;
  if (IsFontName(source)) {
    std::vector<SampleInfo> fontSamples;
    if (!ReadSampleList(source, fontSamples, why)) {
      ShowError(window.Owner(), SampleReplaceFailed, why);
      return;
    }
    if (!window.AskFontSample(source, fontSamples, fontSample)) {
      return;
    }
  }
  const std::string label = SampleLabel(state);
  const CursorRef previous = ShowBusyCursor();
  const bool ok = ReplaceSampleWith(state.Bank, state.Selected, source, fontSample, why);
  RestoreCursor(previous);
  if (!ok) {
    ShowError(window.Owner(), SampleReplaceFailed, why);
    return;
  }
  Reread(state, window.Owner());
  state.StatusLine = label + " replaced from " + source +
                     (fontSample >= 0 ? " (its sample " + std::to_string(fontSample) + ")" : std::string()) + ".";
}

void ExportWavClick(SamplesWindowState& state, SamplesWindowPort& window) {
  if (!HasSelection(state)) {
    return;
  }
  std::string target;
  std::string why;
  if (!AskFile(window, FileDialogKind::Save, WavFilter, "wav", WavNameOf(state), target)) {
    return;
  }
  if (!ExportSampleTo(state.Bank, state.Selected, target, why)) {
    ShowError(window.Owner(), SampleExportFailed, why);
    return;
  }
  state.StatusLine = SampleLabel(state) + " written to " + target + ".";
}

void ExportSoundFontClick(SamplesWindowState& state, SamplesWindowPort& window) {
  std::string target;
  std::string why;
  const std::string start = state.Bank.size() > 4 ? state.Bank.substr(0, state.Bank.size() - 4) + ".sf2" : "bank.sf2";
  if (!AskFile(window, FileDialogKind::Save, FontFilter, "sf2", start, target)) {
    return;
  }
  const CursorRef previous = ShowBusyCursor();
  const bool ok = ExportFontTo(state.Bank, target, why);
  RestoreCursor(previous);
  if (!ok) {
    ShowError(window.Owner(), FontExportFailed, why);
    return;
  }
  state.StatusLine = std::to_string(state.Samples.size()) + " samples written to the SoundFont " + target + ".";
}

}  // namespace SamplesCommands
