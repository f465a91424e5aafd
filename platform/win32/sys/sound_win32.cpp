#include <windows.h>
// after windows.h, which it needs (WIN32_LEAN_AND_MEAN leaves it out)
#include <mmsystem.h>

#include <memory>

#include "platform/sound.h"

namespace {

// Buffers are queued in blocks of this size: drivers of the 9x era
// page-lock each buffer whole, and some choke on megabytes at once.
constexpr std::size_t BlockBytes = 256 * 1024;

struct WaveOutput {
  HWAVEOUT Handle = nullptr;
  std::vector<std::unique_ptr<WAVEHDR>> Blocks;
};

struct MidiOutput {
  HMIDIOUT Handle = nullptr;
  MIDIHDR Header = {};
  std::vector<std::uint8_t> Data;
  bool Prepared = false;
};

// The driver sets the flags from its own thread.
bool HeaderDone(const DWORD& flags) { return (*static_cast<const volatile DWORD*>(&flags) & WHDR_DONE) != 0; }

std::string Code(const char* api, MMRESULT result) {
  return std::string(" (") + api + " " + std::to_string(result) + ")";
}

// Our words for what a user can act on; the system's own text for the rest.
std::string WaveReason(MMRESULT result, const std::string& format) {
  switch (result) {
    case MMSYSERR_BADDEVICEID:
    case MMSYSERR_NODRIVER:
      return "No wave output device is installed, or its driver is not loaded." + Code("waveOut", result);
    case WAVERR_BADFORMAT:
      return "The wave output cannot play " + format + " sound." + Code("waveOut", result);
    case MMSYSERR_ALLOCATED:
      return "The wave output is in use by another program; close that program and try again." +
             Code("waveOut", result);
    default:
      break;
  }
  char text[MAXERRORLENGTH] = {};
  if (waveOutGetErrorTextA(result, text, sizeof text) != MMSYSERR_NOERROR || text[0] == '\0') {
    return "The wave output failed." + Code("waveOut", result);
  }
  return text + Code("waveOut", result);
}

std::string MidiReason(MMRESULT result) {
  switch (result) {
    case MMSYSERR_BADDEVICEID:
    case MMSYSERR_NODRIVER:
      return "No MIDI output is installed, or its driver is not loaded." + Code("midiOut", result);
    case MMSYSERR_ALLOCATED:
      return "The MIDI output is in use by another program; close that program and try again." +
             Code("midiOut", result);
    default:
      break;
  }
  char text[MAXERRORLENGTH] = {};
  if (midiOutGetErrorTextA(result, text, sizeof text) != MMSYSERR_NOERROR || text[0] == '\0') {
    return "The MIDI output failed." + Code("midiOut", result);
  }
  return text + Code("midiOut", result);
}

// Waits a little for the device to hand back a system-exclusive buffer
// (short messages are a few milliseconds on a 31250 baud port), then takes
// it back by force, so that the header can be released.
void ReleaseSysEx(MidiOutput& midi) {
  if (!midi.Prepared) {
    return;
  }
  for (int waited = 0; !HeaderDone(midi.Header.dwFlags) && waited < 200; ++waited) {
    Sleep(1);
  }
  if (!HeaderDone(midi.Header.dwFlags)) {
    midiOutReset(midi.Handle);
  }
  midiOutUnprepareHeader(midi.Handle, &midi.Header, sizeof midi.Header);
  midi.Prepared = false;
}

}  // namespace

bool OpenWaveOutput(std::uint32_t rate, int channels, WaveOutputRef& output, std::string& why) {
  output = 0;
  const std::string format = std::to_string(rate) + " Hz 16-bit " + (channels == 2 ? "stereo" : "mono");
  if (waveOutGetNumDevs() == 0) {
    why = "No wave output device is installed.";
    return false;
  }
  WAVEFORMATEX wave = {};
  wave.wFormatTag = WAVE_FORMAT_PCM;
  wave.nChannels = static_cast<WORD>(channels);
  wave.nSamplesPerSec = rate;
  wave.wBitsPerSample = 16;
  wave.nBlockAlign = static_cast<WORD>(channels * 2);
  wave.nAvgBytesPerSec = rate * wave.nBlockAlign;
  std::unique_ptr<WaveOutput> opened(new WaveOutput);
  const MMRESULT result = waveOutOpen(&opened->Handle, WAVE_MAPPER, &wave, 0, 0, CALLBACK_NULL);
  if (result != MMSYSERR_NOERROR) {
    why = WaveReason(result, format);
    return false;
  }
  output = reinterpret_cast<WaveOutputRef>(opened.release());
  return true;
}

bool WriteWaveOutput(WaveOutputRef output, const std::int16_t* samples, std::size_t count, std::string& why) {
  WaveOutput& wave = *reinterpret_cast<WaveOutput*>(output);
  const char* bytes = reinterpret_cast<const char*>(samples);
  const std::size_t total = count * sizeof(std::int16_t);
  for (std::size_t at = 0; at < total; at += BlockBytes) {
    std::unique_ptr<WAVEHDR> block(new WAVEHDR());
    block->lpData = const_cast<char*>(bytes + at);
    block->dwBufferLength = static_cast<DWORD>(total - at < BlockBytes ? total - at : BlockBytes);
    MMRESULT result = waveOutPrepareHeader(wave.Handle, block.get(), sizeof(WAVEHDR));
    if (result == MMSYSERR_NOERROR) {
      result = waveOutWrite(wave.Handle, block.get(), sizeof(WAVEHDR));
      if (result != MMSYSERR_NOERROR) {
        waveOutUnprepareHeader(wave.Handle, block.get(), sizeof(WAVEHDR));
      }
    }
    if (result != MMSYSERR_NOERROR) {
      why = WaveReason(result, "this");
      return false;
    }
    wave.Blocks.push_back(std::move(block));
  }
  return true;
}

bool WaveOutputDone(WaveOutputRef output) {
  for (const std::unique_ptr<WAVEHDR>& block : reinterpret_cast<WaveOutput*>(output)->Blocks) {
    if (!HeaderDone(block->dwFlags)) {
      return false;
    }
  }
  return true;
}

void CloseWaveOutput(WaveOutputRef output) {
  std::unique_ptr<WaveOutput> wave(reinterpret_cast<WaveOutput*>(output));
  // Reset hands every queued buffer back as done, so each can be released.
  waveOutReset(wave->Handle);
  for (const std::unique_ptr<WAVEHDR>& block : wave->Blocks) {
    waveOutUnprepareHeader(wave->Handle, block.get(), sizeof(WAVEHDR));
  }
  waveOutClose(wave->Handle);
}

bool OpenMidiOutput(MidiOutputRef& output, std::string& why) {
  output = 0;
  if (midiOutGetNumDevs() == 0) {
    why = "No MIDI output is installed.";
    return false;
  }
  std::unique_ptr<MidiOutput> midi(new MidiOutput);
  MMRESULT result = midiOutOpen(&midi->Handle, MIDI_MAPPER, 0, 0, CALLBACK_NULL);
  if (result != MMSYSERR_NOERROR && result != MMSYSERR_ALLOCATED) {
    // No mapper (Windows NT 4 without one, a mapper set to a port that is
    // gone): the first output itself.
    result = midiOutOpen(&midi->Handle, 0, 0, 0, CALLBACK_NULL);
  }
  if (result != MMSYSERR_NOERROR) {
    why = MidiReason(result);
    return false;
  }
  output = reinterpret_cast<MidiOutputRef>(midi.release());
  return true;
}

bool SendMidiShort(MidiOutputRef output, std::uint32_t message, std::string& why) {
  const MMRESULT result = midiOutShortMsg(reinterpret_cast<MidiOutput*>(output)->Handle, message);
  if (result != MMSYSERR_NOERROR) {
    why = MidiReason(result);
    return false;
  }
  return true;
}

bool SendMidiSysEx(MidiOutputRef output, const std::vector<std::uint8_t>& bytes, std::string& why) {
  MidiOutput& midi = *reinterpret_cast<MidiOutput*>(output);
  ReleaseSysEx(midi);
  midi.Data = bytes;
  midi.Header = MIDIHDR();
  midi.Header.lpData = reinterpret_cast<LPSTR>(midi.Data.data());
  midi.Header.dwBufferLength = static_cast<DWORD>(midi.Data.size());
  MMRESULT result = midiOutPrepareHeader(midi.Handle, &midi.Header, sizeof midi.Header);
  if (result == MMSYSERR_NOERROR) {
    result = midiOutLongMsg(midi.Handle, &midi.Header, sizeof midi.Header);
    if (result == MMSYSERR_NOERROR) {
      midi.Prepared = true;
    } else {
      midiOutUnprepareHeader(midi.Handle, &midi.Header, sizeof midi.Header);
    }
  }
  if (result != MMSYSERR_NOERROR) {
    why = MidiReason(result);
    return false;
  }
  return true;
}

void CloseMidiOutput(MidiOutputRef output) {
  std::unique_ptr<MidiOutput> midi(reinterpret_cast<MidiOutput*>(output));
  ReleaseSysEx(*midi);
  midiOutClose(midi->Handle);
}

std::uint32_t SoundClockMs() { return timeGetTime(); }

void SoundSleepMs(std::uint32_t ms) { Sleep(ms); }
