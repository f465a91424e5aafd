#include "app/editor_texts.h"

#include "files/path_parts.h"
#include "ymf/bank_kinds.h"

const char* const CopyBankFailed = "Cannot make copy of bank";
const char* const ExtractFailed = "Cannot extract WAV sample(s) from the selected bank";
const char* const BuildFailed = "Cannot make a bank from WAV samples";
const char* const DeleteWavFailed = "Cannot delete WAV samples";
const char* const SignatureFailed = "Cannot set a bank signature";
const char* const SampleListFailed = "Cannot read the sample list";
const char* const SampleChangeFailed = "Cannot change the sample";
const char* const SampleReplaceFailed = "Cannot replace the sample";
const char* const SampleExportFailed = "Cannot export the sample";
const char* const FontExportFailed = "Cannot export the SoundFont";
const char* const SamplePlayFailed = "Cannot play the sample";

std::string FolderOf(const std::string& bank) {
  const std::string folder = DirectoryPart(bank);
  return folder.empty() ? std::string("the current folder") : folder;
}

std::string ProtectedFileReason(const std::string& path) {
  return path + " is the driver's own file or in the Backup folder: the editor never writes there.";
}

std::string ProtectedFolderReason(const std::string& bank) {
  return FolderOf(bank) + " is the driver's own folder or a Backup folder: the editor never writes or deletes there.";
}

std::string CopyWriteReason(const std::string& copy) {
  return "Cannot write into " + FolderOf(copy) +
         " (it must exist, and files there must not be read-only or in use); files copied before the failure stay.";
}

std::string ExtractReason(const std::string& bank) {
  return "'" + bank + "' is not a bank the converter can read, or WAV files cannot be written into " + FolderOf(bank) +
         "; nothing was written.";
}

std::string BuildReason(const std::string& bank, std::size_t wavFiles) {
  return wavFiles == 0 ? "There are no WAV files in " + FolderOf(bank) + "; extract them from a bank first."
                       : "A WAV file in " + FolderOf(bank) + " cannot be read or is not a supported PCM format, or '" +
                             bank + "' cannot be written.";
}

std::string DeleteWavQuestion(std::size_t count, const std::string& folder) {
  return "Delete the " + std::to_string(count) + " WAV file" + (count == 1 ? "" : "s") + " in " +
         (folder.empty() ? std::string("the current folder") : folder) +
         "? Every file whose name ends in .wav goes, also recordings of your own, and they cannot be brought back.";
}

std::uint8_t SignatureOfType(const std::string& typeText) {
  for (std::int32_t kind = BankExtended; kind < BankUser; ++kind) {
    if (typeText == BankKinds[kind].Title) {
      return static_cast<std::uint8_t>(BankKinds[kind].Signature);
    }
  }
  return BankKinds[BankUser].Signature;
}
