#include "app/console/console_editor.h"

#include <algorithm>

#include "app/ascii_text.h"
#include "app/editor_texts.h"
#include "app/main_view.h"
#include "app/sample_edits.h"
#include "app/texts.h"
#include "files/fileops.h"
#include "files/path_parts.h"
#include "files/same_file.h"
#include "platform/converter.h"
#include "ymf/bank_convert.h"
#include "ymf/bank_kinds.h"
#include "ymf/bank_mode.h"
#include "ymf/bank_workspace.h"
#include "ymf/detect.h"
#include "ymf/protected_files.h"

const char* const EditorCommandsHelp =
    "\n"
    "bank editor commands, on bank files of your own (no driver or backup needed):\n"
    "  copy SRC DST                  copy a bank and its three table files\n"
    "  extract BANK                  write the bank's samples as WAV files beside it\n"
    "  build BANK                    build the bank again from the WAV files beside it\n"
    "  sign BANK extended|dance|user set the bank's signature\n"
    "  wavclean BANK                 delete the WAV files beside the bank\n"
    "They never write the driver's files or the backup; 'bank user BANK' installs a bank.\n";

namespace {

struct EditorCommand {
  const char* Name;
  std::size_t ArgumentCount;
  const char* Help;
  int (*Run)(const Arguments& args, ConsoleStream& out, ConsoleStream& err);
};

// The converter loads and the bank exists; otherwise says which is not so.
bool ReadyToConvert(const std::string& bank, const char* failure, ConsoleStream& err) {
  std::string why;
  if (!ConverterAvailable(why)) {
    err << failure << "\n" << why << "\n";
    return false;
  }
  if (!FileExists(bank)) {
    err << failure << ": " << bank << " does not exist.\n";
    return false;
  }
  return true;
}

// Why the last operation failed as it recorded it, or the fallback where
// it recorded nothing of its own.
std::string ReasonOr(const std::string& fallback) {
  const std::string facts = FailureFacts(LastFailure());
  return facts.empty() ? fallback : facts;
}

int Copy(const Arguments& args, ConsoleStream& out, ConsoleStream& err) {
  const std::string& source = args[0];
  // As the window does: the copy is the target with its last character made '0'.
  const std::string copy = BankTablePath(args[1], 0);
  for (int k = 0; k <= 3; ++k) {
    const std::string from = k == 0 ? source : BankTablePath(source, k);
    if (!FileExists(from)) {
      err << CopyBankFailed << ": " << from << " does not exist; nothing was copied.\n";
      return ExitFailed;
    }
    if (IsProtectedFile(BankTablePath(copy, k))) {
      err << CopyBankFailed << ": " << ProtectedFileReason(BankTablePath(copy, k)) << "\n";
      return ExitFailed;
    }
  }
  if (SameFileOrDirectory(source, copy)) {
    err << CopyBankFailed << ": " << copy << " is the source bank itself; nothing was copied.\n";
    return ExitFailed;
  }
  if (!CopyBankSet(source, copy)) {
    err << CopyBankFailed << ": " << CopyWriteReason(copy) << "\n";
    return ExitFailed;
  }
  for (int k = 0; k <= 3; ++k) {
    out << "copied " << (k == 0 ? source : BankTablePath(source, k)) << " -> " << BankTablePath(copy, k) << "\n";
  }
  return ExitSuccess;
}

int Extract(const Arguments& args, ConsoleStream& out, ConsoleStream& err) {
  const std::string& bank = args[0];
  if (!ReadyToConvert(bank, ExtractFailed, err)) {
    return ExitFailed;
  }
  ClearFailure();
  if (!ExtractBank(bank)) {
    err << ExtractFailed << ": " << ReasonOr(ExtractReason(bank)) << "\n";
    return ExitFailed;
  }
  out << "samples extracted: " << static_cast<long long>(WavSamplesBeside(bank).size()) << " WAV files in "
      << FolderOf(bank) << "\n";
  return ExitSuccess;
}

int Build(const Arguments& args, ConsoleStream& out, ConsoleStream& err) {
  const std::string& bank = args[0];
  if (!ReadyToConvert(bank, BuildFailed, err)) {
    return ExitFailed;
  }
  ClearFailure();
  if (!BuildBank(bank)) {
    err << BuildFailed << ": " << ReasonOr(BuildReason(bank, WavSamplesBeside(bank).size())) << "\n";
    return ExitFailed;
  }
  const std::string sizeTable = BankTablePath(bank, 3);
  out << "bank built: " << bank << "\n";
  for (const std::string& line : BuildReportLines(ConverterBuildReport(), 0)) {
    out << line << "\n";
  }
  if (FileExists(sizeTable)) {
    out << "size table written: " << sizeTable << "\n";
  } else {
    out << "no size table " << sizeTable << ": the bank cannot be installed without its three tables\n";
  }
  out << "The bank is marked as just built; set its kind with 'tovaroc sign " << bank << " user'.\n";
  return ExitSuccess;
}

// The title of the signable kind (Extended, Dance, User) a word names, in
// any letter case; null for none.
const char* KindNamed(const std::string& word) {
  for (std::int32_t kind = BankExtended; kind <= BankUser; ++kind) {
    if (BankKinds[kind].Word == AsciiLower(word)) {
      return BankKinds[kind].Title;
    }
  }
  return nullptr;
}

int Sign(const Arguments& args, ConsoleStream& out, ConsoleStream& err) {
  const std::string& bank = args[0];
  const std::string kind = KindNamed(args[1]);
  const std::uint8_t signature = SignatureOfType(kind);
  ClearFailure();
  if (!SetBankSignature(bank, signature)) {
    err << SignatureFailed << ": " << ReasonOr(bank + " is missing, empty, read-only or in use.") << "\n";
    return ExitFailed;
  }
  out << "signature of " << bank << " set to " << kind << " (" << SignatureText(signature) << ")\n";
  return ExitSuccess;
}

int WavClean(const Arguments& args, ConsoleStream& out, ConsoleStream& err) {
  const std::string& bank = args[0];
  if (!FileExists(bank)) {
    err << DeleteWavFailed << ": " << bank << " does not exist.\n";
    return ExitFailed;
  }
  if (IsProtectedFolder(DirectoryPart(bank))) {
    err << DeleteWavFailed << ": " << ProtectedFolderReason(bank) << "\n";
    return ExitFailed;
  }
  const Arguments before = WavSamplesBeside(bank);
  DeleteWavSamples(bank);
  const Arguments left = WavSamplesBeside(bank);
  std::size_t deleted = 0;
  for (const std::string& name : before) {
    if (std::find(left.begin(), left.end(), name) == left.end()) {
      out << "deleted " << DirectoryPart(bank) << name << "\n";
      ++deleted;
    }
  }
  out << static_cast<long long>(deleted) << " WAV files deleted from " << FolderOf(bank) << "\n";
  if (!left.empty()) {
    err << DeleteWavFailed << ": these are read-only or in use:";
    for (const std::string& name : left) {
      err << " " << name;
    }
    err << "\n";
    return ExitFailed;
  }
  return ExitSuccess;
}

const EditorCommand EditorCommands[] = {
    {"copy", 2,
     "usage: tovaroc copy SRC DST\n"
     "Copies the bank SRC and its three table files (SRC with its last character made 1, 2\n"
     "and 3) to DST with its last character made 0, 1, 2 and 3: mine.yb0 gives mine.yb0 to\n"
     "mine.yb3. Existing files are replaced. When a file of SRC's set is missing nothing is\n"
     "copied.\n",
     Copy},
    {"extract", 1,
     "usage: tovaroc extract BANK\n"
     "Writes the bank's samples as WAV files (000_Name.wav, 001_Name.wav, ...) into the\n"
     "bank's folder through the bank converter a10.dll, replacing files of those names.\n"
     "Refused, writing nothing, when the folder holds other WAV files (a build would take\n"
     "them in), or is the driver's own folder or a Backup folder; a failure leaves the\n"
     "folder as it was.\n",
     Extract},
    {"build", 1,
     "usage: tovaroc build BANK\n"
     "Builds the existing bank file again from the WAV files in its folder, in name order,\n"
     "through a10.dll; writes the new bank size into its size table (BANK with its last\n"
     "three characters made yb3) and marks the bank as just built (signature 0x04).\n"
     "A WAV file without a smpl chunk keeps the root key, fine tune and loop its sample\n"
     "has in BANK (the loop while it fits the new length).\n"
     "Then set its kind with 'tovaroc sign BANK user'.\n",
     Build},
    {"sign", 2,
     "usage: tovaroc sign BANK extended|dance|user\n"
     "Writes the bank's signature, its first byte: extended 0, dance 1, user 2. Mark banks\n"
     "of your own as user: a bank marked extended or dance is taken for the bundled one.\n",
     Sign},
    {"wavclean", 1,
     "usage: tovaroc wavclean BANK\n"
     "Deletes the files whose names end in \".wav\" (in any letter case: the files 'build'\n"
     "takes in) in the bank's folder, and lists each one it deleted. Refused in the driver's\n"
     "own folder and in a Backup folder.\n",
     WavClean},
};

}  // namespace

bool IsEditorCommand(const std::string& command) { return FindNamed(EditorCommands, command) != nullptr; }

int RunEditorCommand(const std::string& name, const Arguments& args, ConsoleStream& out, ConsoleStream& err) {
  const EditorCommand& command = *FindNamed(EditorCommands, name);
  if (AsksForHelp(args)) {
    out << command.Help;
    return ExitSuccess;
  }
  std::string problem;
  if (args.size() != command.ArgumentCount) {
    problem = "'" + name + "' takes " + (command.ArgumentCount == 1 ? "one argument" : "two arguments");
  } else {
    for (const std::string& arg : args) {
      if (arg.empty()) {
        problem = "an empty path";
      }
    }
  }
  if (problem.empty() && name == "sign" && KindNamed(args[1]) == nullptr) {
    problem = "unknown signature '" + args[1] + "'";
  }
  if (!problem.empty()) {
    err << "tovaroc: " << problem << "\n" << command.Help;
    return ExitUsage;
  }
  // Detection only reads: the protected files are the ones it finds. No
  // backup is made, and none is needed.
  DetectDriver();
  return command.Run(args, out, err);
}
