#include "app/console/console_samples.h"

#include "app/ascii_text.h"
#include "app/editor_texts.h"
#include "app/sample_edits.h"
#include "app/sample_rows.h"
#include "ymf/bank_mode.h"
#include "ymf/bank_workspace.h"
#include "ymf/detect.h"

const char* const SampleCommandsHelp =
    "\n"
    "sample commands, on banks of your own (a10.dll with the sample tools needed):\n"
    "  samples BANK|FONT.sf2 [--tsv] list the samples of a bank or a SoundFont\n"
    "  sample BANK N [--name T] [--root K] [--tune C] [--loop S-E | --no-loop]\n"
    "                                show or change sample N\n"
    "  replace BANK N FILE.wav | FONT.sf2:M\n"
    "                                replace sample N with a WAV file or sample M of a SoundFont\n"
    "  export BANK N FILE.wav        write sample N as a WAV file\n"
    "  sf2 BANK FILE.sf2             write the whole bank as a SoundFont\n";

namespace {

// A command line as its command's check read it.
struct SampleRequest {
  std::string Bank;
  std::int32_t Index = -1;
  std::string File;
  std::int32_t FontSample = -1;
  bool Tsv = false;
  SampleChanges Changes;
};

struct SampleCommand {
  const char* Name;
  const char* Help;
  // Empty when the arguments are usable, else what is wrong with them.
  std::string (*Check)(const Arguments& args, SampleRequest& request);
  int (*Run)(const SampleRequest& request, ConsoleStream& out, ConsoleStream& err);
};

// A sample number: a whole decimal number from 0.
bool ParseIndex(const std::string& text, std::int32_t& index) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  index = static_cast<std::int32_t>(std::stol(text));
  return true;
}

// The bank is the first argument; none of them may be empty.
std::string Paths(const Arguments& args, SampleRequest& request) {
  for (const std::string& arg : args) {
    if (arg.empty()) {
      return "an empty argument";
    }
  }
  request.Bank = args[0];
  return std::string();
}

std::string CheckSamples(const Arguments& args, SampleRequest& request) {
  if (args.size() == 2 && args[1] == "--tsv") {
    request.Tsv = true;
  } else if (args.size() != 1) {
    return "'samples' takes a bank or SoundFont and, optionally, --tsv";
  }
  return Paths(Arguments(1, args[0]), request);
}

std::string CheckBankAndIndex(const Arguments& args, std::size_t count, const char* name, SampleRequest& request) {
  if (args.size() != count) {
    return std::string("'") + name + "' takes " + (count == 3 ? "three arguments" : "two arguments");
  }
  const std::string empty = Paths(args, request);
  if (!empty.empty()) {
    return empty;
  }
  if (!ParseIndex(args[1], request.Index)) {
    return "'" + args[1] + "' is not a sample number (0, 1, 2, ...)";
  }
  return std::string();
}

std::string CheckSample(const Arguments& args, SampleRequest& request) {
  if (args.size() < 2) {
    return "'sample' takes a bank and a sample number";
  }
  Arguments head(args.begin(), args.begin() + 2);
  std::string problem = CheckBankAndIndex(head, 2, "sample", request);
  SampleChanges& changes = request.Changes;
  for (std::size_t at = 2; problem.empty() && at < args.size(); ++at) {
    const std::string& option = args[at];
    if (option == "--no-loop") {
      if (changes.LoopChange != SampleChanges::Loop::Keep) {
        problem = "--loop and --no-loop are given together, or one of them twice";
      }
      changes.LoopChange = SampleChanges::Loop::Off;
      continue;
    }
    if (at + 1 == args.size() ||
        (option != "--name" && option != "--root" && option != "--tune" && option != "--loop")) {
      problem = at + 1 == args.size() && option.rfind("--", 0) == 0 ? option + " needs a value"
                                                                    : "unknown option '" + option + "'";
      break;
    }
    const std::string& value = args[++at];
    if (option == "--name") {
      changes.SetName = true;
      changes.Name = value;
    } else if (option == "--root") {
      changes.SetRootKey = true;
      changes.RootKey = value;
    } else if (option == "--tune") {
      changes.SetFineTune = true;
      changes.FineTune = value;
    } else {
      const std::size_t dash = value.find('-');
      if (changes.LoopChange != SampleChanges::Loop::Keep) {
        problem = "--loop and --no-loop are given together, or one of them twice";
      } else if (dash == std::string::npos || dash == 0 || dash + 1 == value.size()) {
        problem = "--loop takes the first and the last frame of the loop as S-E, for example 1000-3999";
      }
      changes.LoopChange = SampleChanges::Loop::Set;
      changes.LoopStart = value.substr(0, dash);
      changes.LoopEnd = dash == std::string::npos ? std::string() : value.substr(dash + 1);
    }
  }
  return problem;
}

std::string CheckReplace(const Arguments& args, SampleRequest& request) {
  std::string problem = CheckBankAndIndex(args, 3, "replace", request);
  if (!problem.empty()) {
    return problem;
  }
  request.File = args[2];
  // FONT.sf2:M; a drive's colon ("C:\x.wav") stays part of the path.
  const std::size_t colon = request.File.rfind(':');
  if (colon != std::string::npos && colon >= 4 && AsciiLower(request.File.substr(colon - 4, 4)) == ".sf2") {
    if (!ParseIndex(request.File.substr(colon + 1), request.FontSample)) {
      return "'" + request.File.substr(colon + 1) + "' is not a sample number of the SoundFont";
    }
    request.File.erase(colon);
  } else if (request.File.size() >= 4 && AsciiLower(request.File.substr(request.File.size() - 4)) == ".sf2") {
    return "name the SoundFont's sample as FONT.sf2:M ('tovaroc samples FONT.sf2' lists them)";
  }
  return std::string();
}

std::string CheckExport(const Arguments& args, SampleRequest& request) {
  std::string problem = CheckBankAndIndex(args, 3, "export", request);
  request.File = args.size() == 3 ? args[2] : std::string();
  return problem;
}

std::string CheckFont(const Arguments& args, SampleRequest& request) {
  if (args.size() != 2) {
    return "'sf2' takes two arguments";
  }
  request.File = args[1];
  return Paths(args, request);
}

int Failed(const char* failure, const std::string& why, ConsoleStream& err) {
  err << failure << ": " << why << "\n";
  return ExitFailed;
}

int RunSamples(const SampleRequest& request, ConsoleStream& out, ConsoleStream& err) {
  std::vector<SampleInfo> samples;
  std::string why;
  if (!ReadSampleList(request.Bank, samples, why)) {
    return Failed(SampleListFailed, why, err);
  }
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const SampleInfo& s = samples[i];
    if (request.Tsv) {
      out << std::to_string(i) + "\t" + s.Name + "\t" + std::to_string(s.Rate) + "\t" + std::to_string(s.Channels) +
                 "\t" + std::to_string(s.RootKey) + "\t" + std::to_string(s.FineTune) + "\t" +
                 (s.Looped ? std::to_string(s.LoopStart) + "\t" + std::to_string(s.LoopEnd) : "-\t-") + "\t" +
                 std::to_string(s.Frames) + "\n";
      continue;
    }
    std::string line;
    for (int column = 0; column < SampleColumnCount; ++column) {
      line += (column == 0 ? "" : "  ") + SampleCellText(s, i, samples.size(), column);
    }
    out << line << "\n";
  }
  if (!request.Tsv) {
    out << std::to_string(samples.size()) + " samples in " + request.Bank + "\n";
  }
  return ExitSuccess;
}

std::string Describe(const SampleInfo& s, std::size_t index, std::size_t count) {
  return "sample " + SampleIndexText(index, count) + ": name '" + s.Name + "', " + std::to_string(s.Rate) + " Hz " +
         SampleCellText(s, index, count, ChannelsColumn) + ", root key " + NoteName(s.RootKey) + ", fine tune " +
         SampleCellText(s, index, count, FineTuneColumn) + " cents, loop " +
         SampleCellText(s, index, count, LoopColumn) + ", " + std::to_string(s.Frames) + " frames\n";
}

int RunSample(const SampleRequest& request, ConsoleStream& out, ConsoleStream& err) {
  std::vector<SampleInfo> samples;
  std::string why;
  if (!ReadSampleList(request.Bank, samples, why)) {
    return Failed(SampleChangeFailed, why, err);
  }
  if (static_cast<std::size_t>(request.Index) >= samples.size()) {
    return Failed(SampleChangeFailed,
                  "The bank has no sample " + std::to_string(request.Index) + ": it holds " +
                      std::to_string(samples.size()) + " samples.",
                  err);
  }
  SampleInfo info = samples[static_cast<std::size_t>(request.Index)];
  const SampleChanges& changes = request.Changes;
  if (!changes.SetName && !changes.SetRootKey && !changes.SetFineTune &&
      changes.LoopChange == SampleChanges::Loop::Keep) {
    out << Describe(info, static_cast<std::size_t>(request.Index), samples.size());
    return ExitSuccess;
  }
  if (!ApplySampleChanges(changes, info, why) || !ChangeSample(request.Bank, request.Index, info, why)) {
    return Failed(SampleChangeFailed, why, err);
  }
  out << "changed " << Describe(info, static_cast<std::size_t>(request.Index), samples.size());
  out << "size table written: " << BankTablePath(request.Bank, 3) << "\n";
  return ExitSuccess;
}

int RunReplace(const SampleRequest& request, ConsoleStream& out, ConsoleStream& err) {
  std::string why;
  if (!ReplaceSampleWith(request.Bank, request.Index, request.File, request.FontSample, why)) {
    return Failed(SampleReplaceFailed, why, err);
  }
  out << "sample " << static_cast<long long>(request.Index) << " of " << request.Bank << " replaced from "
      << request.File;
  if (request.FontSample >= 0) {
    out << " (its sample " << static_cast<long long>(request.FontSample) << ")";
  }
  out << "\nsize table written: " << BankTablePath(request.Bank, 3) << "\n";
  return ExitSuccess;
}

int RunExport(const SampleRequest& request, ConsoleStream& out, ConsoleStream& err) {
  std::string why;
  if (!ExportSampleTo(request.Bank, request.Index, request.File, why)) {
    return Failed(SampleExportFailed, why, err);
  }
  out << "sample " << static_cast<long long>(request.Index) << " written to " << request.File << "\n";
  return ExitSuccess;
}

int RunFont(const SampleRequest& request, ConsoleStream& out, ConsoleStream& err) {
  std::string why;
  if (!ExportFontTo(request.Bank, request.File, why)) {
    return Failed(FontExportFailed, why, err);
  }
  out << "SoundFont written: " << request.File << "\n";
  return ExitSuccess;
}

const SampleCommand SampleCommands[] = {
    {"samples",
     "usage: tovaroc samples BANK|FONT.sf2 [--tsv]\n"
     "Lists the samples of a bank or of a SoundFont 2 file, read from its directory alone:\n"
     "index, name, rate, mono or stereo, root key, fine tune in cents, loop, frames, seconds.\n"
     "--tsv: index, name, rate, channels, root key, fine tune, loop start, loop end (- - when\n"
     "not looped), frames, tab-separated, without a header.\n",
     CheckSamples, RunSamples},
    {"sample",
     "usage: tovaroc sample BANK N [--name T] [--root K] [--tune C] [--loop S-E | --no-loop]\n"
     "Without options shows sample N. Otherwise changes its name (up to 27 characters), root\n"
     "key (C4, F#3 or 0 to 127; 60 is C4), fine tune (-50 to +49 cents) or loop (first and\n"
     "last frame). Every value is checked before anything is written; the bank keeps its\n"
     "signature and its size table (BANK with its last character made 3) gets the new size.\n",
     CheckSample, RunSample},
    {"replace",
     "usage: tovaroc replace BANK N FILE.wav | FONT.sf2:M\n"
     "Replaces the sound of sample N with a WAV file or with sample M of a SoundFont.\n"
     "Root key, fine tune and loop come from the source when it has them, else the old\n"
     "ones stay where the loop still fits; the name stays.\n",
     CheckReplace, RunReplace},
    {"export",
     "usage: tovaroc export BANK N FILE.wav\n"
     "Writes sample N as a WAV file, as 'tovaroc extract' writes it.\n",
     CheckExport, RunExport},
    {"sf2",
     "usage: tovaroc sf2 BANK FILE.sf2\n"
     "Writes the whole bank as a SoundFont 2 file: one instrument and one preset per sample\n"
     "(bank N / 128, program N % 128), for any SoundFont player.\n",
     CheckFont, RunFont},
};

}  // namespace

bool IsSampleCommand(const std::string& command) { return FindNamed(SampleCommands, command) != nullptr; }

int RunSampleCommand(const std::string& name, const Arguments& args, ConsoleStream& out, ConsoleStream& err) {
  const SampleCommand& command = *FindNamed(SampleCommands, name);
  if (AsksForHelp(args)) {
    out << command.Help;
    return ExitSuccess;
  }
  SampleRequest request;
  const std::string problem = command.Check(args, request);
  if (!problem.empty()) {
    err << "tovaroc: " << problem << "\n" << command.Help;
    return ExitUsage;
  }
  // Detection only reads: the protected files are the ones it finds.
  DetectDriver();
  return command.Run(request, out, err);
}
