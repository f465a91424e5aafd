#include "app/sample_rows.h"

#include <cstdio>
#include <cstdlib>

#include "app/ascii_text.h"

const char* const SampleColumnTitles[SampleColumnCount] = {"#",         "Name", "Rate",   "Channels", "Root key",
                                                           "Fine tune", "Loop", "Frames", "Seconds"};

namespace {

const char* const NoteLetters[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};

// A whole decimal number, an optional sign first; nothing else, not even blanks.
bool ParseWhole(const std::string& text, long long& value) {
  std::size_t at = text.empty() || (text[0] != '+' && text[0] != '-') ? 0 : 1;
  if (at == text.size() || text.size() - at > 10) {
    return false;
  }
  value = 0;
  for (; at < text.size(); ++at) {
    if (text[at] < '0' || text[at] > '9') {
      return false;
    }
    value = value * 10 + (text[at] - '0');
  }
  if (text[0] == '-') {
    value = -value;
  }
  return true;
}

// "C4", "c#4", "Db-1": the letter, an optional sharp or flat, the octave.
bool ParseNoteLetters(const std::string& text, int& key) {
  static const int Semitones[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (text.empty()) {
    return false;
  }
  const char letter = static_cast<char>(AsciiLower(text.substr(0, 1))[0]);
  if (letter < 'a' || letter > 'g') {
    return false;
  }
  int semitone = Semitones[letter - 'a'];
  std::size_t at = 1;
  if (at < text.size() && (text[at] == '#' || text[at] == 'b')) {
    semitone += text[at] == '#' ? 1 : -1;
    ++at;
  }
  long long octave = 0;
  if (!ParseWhole(text.substr(at), octave) || text[at] == '+' || octave < -1 || octave > 9) {
    return false;
  }
  const long long note = (octave + 1) * 12 + semitone;
  if (note < RootKeyLowest || note > RootKeyHighest) {
    return false;
  }
  key = static_cast<int>(note);
  return true;
}

bool NameCharacter(char c) {
  static const char Refused[] = "\\/:*?\"<>|";
  return c >= 0x20 && c <= 0x7E && std::string(Refused).find(c) == std::string::npos;
}

bool Refuse(std::string& why, const std::string& text) {
  why = text;
  return false;
}

// A frame number of the sample: 0 to frames - 1.
bool ParseFrame(const std::string& text, std::uint32_t frames, std::uint32_t& frame) {
  long long value = 0;
  if (!ParseWhole(text, value) || text[0] == '-' || text[0] == '+' || value >= frames) {
    return false;
  }
  frame = static_cast<std::uint32_t>(value);
  return true;
}

}  // namespace

std::string NoteName(int key) {
  if (key < RootKeyLowest || key > RootKeyHighest) {
    return std::to_string(key);
  }
  return NoteLetters[key % 12] + std::to_string(key / 12 - 1) + " (" + std::to_string(key) + ")";
}

bool ParseNote(const std::string& text, int& key) {
  long long number = 0;
  if (ParseWhole(text, number)) {
    if (text[0] == '+' || text[0] == '-' || number > RootKeyHighest) {
      return false;
    }
    key = static_cast<int>(number);
    return true;
  }
  // "C4 (60)", as the list and the dialog show it: both halves must agree.
  const std::size_t open = text.find(" (");
  if (open != std::string::npos && text.size() > open + 3 && text.back() == ')') {
    int byName = -1;
    int byNumber = -1;
    if (ParseNoteLetters(text.substr(0, open), byName) &&
        ParseNote(text.substr(open + 2, text.size() - open - 3), byNumber) && byName == byNumber) {
      key = byName;
      return true;
    }
    return false;
  }
  return ParseNoteLetters(text, key);
}

std::string SampleIndexText(std::size_t index, std::size_t count) {
  std::size_t width = 3;
  for (std::size_t limit = 1000; count > limit && width < 20; limit *= 10) {
    ++width;
  }
  std::string digits = std::to_string(index);
  return std::string(digits.size() < width ? width - digits.size() : 0, '0') + digits;
}

std::string SampleCellText(const SampleInfo& info, std::size_t index, std::size_t count, int column) {
  char text[32];
  switch (column) {
    case IndexColumn:
      return SampleIndexText(index, count);
    case NameColumn:
      return info.Name;
    case RateColumn:
      return std::to_string(info.Rate);
    case ChannelsColumn:
      return info.Channels == 2 ? "stereo" : "mono";
    case RootKeyColumn:
      return NoteName(info.RootKey);
    case FineTuneColumn:
      return (info.FineTune > 0 ? "+" : "") + std::to_string(info.FineTune);
    case LoopColumn:
      return info.Looped ? std::to_string(info.LoopStart) + "-" + std::to_string(info.LoopEnd) : "none";
    case FramesColumn:
      return std::to_string(info.Frames);
    case SecondsColumn:
      std::snprintf(text, sizeof text, "%.3f", info.Rate == 0 ? 0.0 : static_cast<double>(info.Frames) / info.Rate);
      return text;
    default:
      return std::string();
  }
}

SampleChanges ChangesShowing(const SampleInfo& info) {
  SampleChanges changes;
  changes.SetName = true;
  changes.Name = info.Name;
  changes.SetRootKey = true;
  changes.RootKey = NoteName(info.RootKey);
  changes.SetFineTune = true;
  changes.FineTune = std::to_string(info.FineTune);
  changes.LoopChange = info.Looped ? SampleChanges::Loop::Set : SampleChanges::Loop::Off;
  changes.LoopStart = info.Looped ? std::to_string(info.LoopStart) : std::string();
  changes.LoopEnd = info.Looped ? std::to_string(info.LoopEnd) : std::string();
  return changes;
}

bool ApplySampleChanges(const SampleChanges& changes, SampleInfo& info, std::string& why) {
  SampleInfo changed = info;
  if (changes.SetName) {
    if (changes.Name.size() > SampleNameLimit) {
      return Refuse(why, "Name: '" + changes.Name + "' is longer than " + std::to_string(SampleNameLimit) +
                             " characters. Shorten it.");
    }
    for (char c : changes.Name) {
      if (!NameCharacter(c)) {
        return Refuse(why, "Name: '" + changes.Name +
                               "' holds a character a sample name may not have. Use printable ASCII "
                               "characters without \\ / : * ? \" < > |.");
      }
    }
    changed.Name = changes.Name;
  }
  if (changes.SetRootKey && !ParseNote(changes.RootKey, changed.RootKey)) {
    return Refuse(why, "Root key: '" + changes.RootKey +
                           "' is not a note from C-1 to G9. Type a note such as C4 or F#3, or a number from 0 to 127.");
  }
  long long tune = changed.FineTune;
  if (changes.SetFineTune && (!ParseWhole(changes.FineTune, tune) || tune < FineTuneLowest || tune > FineTuneHighest)) {
    return Refuse(why, "Fine tune: '" + changes.FineTune + "' is not a whole number of cents from -50 to +49.");
  }
  changed.FineTune = static_cast<int>(tune);
  if (changed.FineTune < 0 && changed.RootKey == RootKeyLowest) {
    return Refuse(why, "Fine tune: a sample on the lowest note, C-1, cannot be tuned below it. Use 0 to +49 cents.");
  }
  if (changes.LoopChange == SampleChanges::Loop::Off) {
    changed.Looped = false;
    changed.LoopStart = 0;
    changed.LoopEnd = 0;
  } else if (changes.LoopChange == SampleChanges::Loop::Set) {
    const std::string last = std::to_string(info.Frames == 0 ? 0 : info.Frames - 1);
    if (!ParseFrame(changes.LoopStart, info.Frames, changed.LoopStart)) {
      return Refuse(why, "Loop start: '" + changes.LoopStart +
                             "' is not a frame of the sample. Type a frame from 0 to " + last + ".");
    }
    if (!ParseFrame(changes.LoopEnd, info.Frames, changed.LoopEnd)) {
      return Refuse(why, "Loop end: '" + changes.LoopEnd + "' is not a frame of the sample. Type a frame from 0 to " +
                             last + ".");
    }
    if (changed.LoopEnd < changed.LoopStart) {
      return Refuse(why, "Loop end: " + changes.LoopEnd + " comes before the loop start " + changes.LoopStart +
                             ". The end is the loop's last frame and cannot be before its first.");
    }
    changed.Looped = true;
  }
  info = changed;
  return true;
}
