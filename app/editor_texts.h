// What the bank editor says and how it reads its signature list, shared by
// the XG Bank Editor page, the Samples window and tovaroc's editor and
// sample commands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

extern const char* const CopyBankFailed;   // "Cannot make copy of bank"
extern const char* const ExtractFailed;    // "Cannot extract WAV sample(s) from the selected bank"
extern const char* const BuildFailed;      // "Cannot make a bank from WAV samples"
extern const char* const DeleteWavFailed;  // "Cannot delete WAV samples"
extern const char* const SignatureFailed;  // "Cannot set a bank signature"

// The Samples window's and tovaroc's sample commands.
extern const char* const SampleListFailed;     // "Cannot read the sample list"
extern const char* const SampleChangeFailed;   // "Cannot change the sample"
extern const char* const SampleReplaceFailed;  // "Cannot replace the sample"
extern const char* const SampleExportFailed;   // "Cannot export the sample"
extern const char* const FontExportFailed;     // "Cannot export the SoundFont"
extern const char* const SamplePlayFailed;     // "Cannot play the sample"

// The bank's folder as the texts name it ("the current folder" for a bare name).
std::string FolderOf(const std::string& bank);
// Why the editor refuses a file or folder of the live driver or a Backup
// folder: "<path> is the driver's own file or in the Backup folder: ...".
std::string ProtectedFileReason(const std::string& path);
std::string ProtectedFolderReason(const std::string& bank);

// Why a copy, an extract or a build failed when neither the editor's checks
// nor the converter named the reason; the window and tovaroc give the same.
std::string CopyWriteReason(const std::string& copy);
std::string ExtractReason(const std::string& bank);
std::string BuildReason(const std::string& bank, std::size_t wavFiles);

// "Delete the 12 WAV files in C:\Work\? ..." asked before Delete WAV files.
std::string DeleteWavQuestion(std::size_t count, const std::string& folder);

// The signature byte for the text EditorTypeCombo shows: "Extended" 0x00,
// "Dance" 0x01, anything else (its "User", or no selection) 0x02.
std::uint8_t SignatureOfType(const std::string& typeText);
