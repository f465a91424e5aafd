// What the Samples window's buttons do, on the bank named in UserBankEdit
// when the window opened. The window moves the list's selection in and the
// rows out; its dialogs (Properties, the SoundFont's sample list) are asked
// through SamplesWindowPort, so that native tests script them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/sample_edits.h"
#include "app/sample_rows.h"
#include "platform/dialogs.h"

struct SamplesWindowState {
  std::string Bank;
  SampleRows Samples;      // the rows, as the bank's directory holds them now
  int Selected = -1;       // the selected row; -1 for none
  std::string StatusLine;  // what the last command did
};

class SamplesWindowPort {
 public:
  // The owner of boxes and file dialogs: the Samples window.
  virtual WindowRef Owner() = 0;
  // The Properties dialog, filled with `fields`; false when cancelled, else
  // the fields as the user left them.
  virtual bool AskProperties(const std::string& title, SampleChanges& fields) = 0;
  // The SoundFont's own sample list; false when cancelled, else the chosen
  // sample's position in `samples`.
  virtual bool AskFontSample(const std::string& font, const std::vector<SampleInfo>& samples, int& chosen) = 0;

 protected:
  ~SamplesWindowPort() = default;
};

// The buttons that need a selected sample.
enum class SamplesButton { Play, Stop, Properties, Replace, ExportWav, ExportSoundFont };
// Whether a button takes clicks in this state.
bool SamplesButtonEnabled(SamplesButton button, const SamplesWindowState& state);
// The window's title: "Samples of C:\Work\mine.yb0 (16)".
std::string SamplesWindowTitle(const SamplesWindowState& state);

namespace SamplesCommands {

// Opening the window: the rows of the bank. False, with an error box owned
// by `owner`, when the tools are missing or the bank cannot be listed; the
// window does not open then.
bool OpenSamples(SamplesWindowState& state, WindowRef owner);
void PlayClick(SamplesWindowState& state, SamplesWindowPort& window);
void StopClick(SamplesWindowState& state, SamplesWindowPort& window);
// Asks for the new values until they are valid or the user cancels; a
// wrong value is said (which and why) and the dialog shows again with what
// was typed. Valid values are written and the row shows them at once.
void PropertiesClick(SamplesWindowState& state, SamplesWindowPort& window);
// A WAV file or a SoundFont from the open dialog; of a SoundFont the user
// picks one sample from its own list.
void ReplaceClick(SamplesWindowState& state, SamplesWindowPort& window);
void ExportWavClick(SamplesWindowState& state, SamplesWindowPort& window);
void ExportSoundFontClick(SamplesWindowState& state, SamplesWindowPort& window);

}  // namespace SamplesCommands
