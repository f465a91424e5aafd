// Whole files in memory, and what keeps a file from being read or replaced,
// in words for a message.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "files/file_view.h"

using Bytes = std::vector<std::uint8_t>;

// Reads a whole file; false when it cannot be opened or read completely, or
// is larger than limit bytes (then nothing is allocated for it).
bool ReadFileContents(const std::string& path, Bytes& bytes, std::uint32_t limit = 0x7FFFFFFFu);
// A whole file mapped for reading, closed when the last copy goes; null
// when it cannot be opened.
using SharedView = std::shared_ptr<const FileView>;
SharedView OpenSharedView(const std::string& path);
// Why a file that could not be read was not: "The driver file C:\...\Ds1.sys
// is not found." or "... cannot be read: another program has it open, or
// access is denied."
std::string UnreadableText(const std::string& what, const std::string& path);
// Empty when the file can be opened for writing (or is missing, unless it
// must exist); otherwise why it cannot be replaced.
std::string ReplaceProblem(const std::string& what, const std::string& path, bool mustExist);
// The name a file is written under before it is renamed over path: a write
// cut short leaves path as it was.
std::string TemporaryPath(const std::string& path);
