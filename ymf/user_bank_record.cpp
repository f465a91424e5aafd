#include "ymf/user_bank_record.h"

#include <cstdint>
#include <cstdio>

#include "files/fileops.h"
#include "files/path_parts.h"
#include "files/same_file.h"
#include "ymf/content_hash.h"
#include "ymf/environment.h"
#include "ymf/file_contents.h"

namespace {

const char* const RecordHeader = "Tovaro user bank record 1";
// Four lines and a path; anything larger is not a record.
constexpr std::uint32_t RecordSizeMax = 4096;

struct BankPrint {
  std::uint32_t Size = 0;
  std::uint64_t Hash = 0;
};

std::string BankLine(const BankPrint& print) {
  char text[64];
  std::snprintf(text, sizeof text, "bank %lu xxh64 %08lX%08lX\r\n", static_cast<unsigned long>(print.Size),
                static_cast<unsigned long>(print.Hash >> 32), static_cast<unsigned long>(print.Hash & 0xFFFFFFFFu));
  return text;
}

// The size and hash of a file; false when it cannot be read.
bool PrintOf(const std::string& path, BankPrint& print) {
  Bytes bytes;
  if (path.empty() || !ReadFileContents(path, bytes)) {
    return false;
  }
  print.Size = static_cast<std::uint32_t>(bytes.size());
  print.Hash = ContentHash(bytes.data(), bytes.size());
  return true;
}

// Whether a file holds the bytes of a print; the size is looked at first,
// so that a bank of another size is not read at all.
bool HoldsPrint(const std::string& path, const BankPrint& print) {
  std::uint32_t size = 0;
  BankPrint now;
  return FileSizeByPath(path, size) && size == print.Size && PrintOf(path, now) && now.Hash == print.Hash;
}

// The set and print of a record in exactly the form above.
bool LoadRecord(std::string& setPath, BankPrint& print) {
  Bytes bytes;
  std::string body;
  if (UserBankRecordPath().empty() || !ReadFileContents(UserBankRecordPath(), bytes, RecordSizeMax) ||
      !SplitHashedRecord(std::string(bytes.begin(), bytes.end()), body)) {
    return false;
  }
  const std::string head = std::string(RecordHeader) + "\r\nset ";
  const std::size_t pathEnd = body.find("\r\n", head.size());
  if (body.compare(0, head.size(), head) != 0 || pathEnd == std::string::npos || pathEnd == head.size()) {
    return false;
  }
  setPath = body.substr(head.size(), pathEnd - head.size());
  unsigned long size = 0;
  unsigned long high = 0;
  unsigned long low = 0;
  const std::string bank = body.substr(pathEnd + 2);
  if (std::sscanf(bank.c_str(), "bank %lu xxh64 %8lX%8lX", &size, &high, &low) != 3) {
    return false;
  }
  print.Size = static_cast<std::uint32_t>(size);
  print.Hash = (static_cast<std::uint64_t>(high) << 32) | low;
  // Read back into the one form it is written in: no other spelling passes.
  return BankLine(print) == bank;
}

}  // namespace

std::string UserBankRecordPath() {
  return Env.BackupDriverPath.empty() ? std::string() : DirectoryPart(Env.BackupDriverPath) + UserBankRecordName;
}

bool RecordUserBank(const std::string& setPath) {
  BankPrint print;
  if (UserBankRecordPath().empty() || setPath.find_first_of("\r\n") != std::string::npos ||
      !PrintOf(Env.BankPath, print)) {
    RemoveUserBankRecord();
    return false;
  }
  // Whatever the current directory of a later status or verify.
  const std::string body = std::string(RecordHeader) + "\r\nset " + FullPathOf(setPath) + "\r\n" + BankLine(print);
  const std::string text = body + ContentHashLine(body);
  return WriteFileOver(UserBankRecordPath(), text.data(), text.size());
}

void RemoveUserBankRecord() {
  if (!UserBankRecordPath().empty() && FileExists(UserBankRecordPath())) {
    RemoveFile(UserBankRecordPath());
  }
}

InstalledUserBank FindInstalledUserBank() {
  InstalledUserBank installed;
  std::string setPath;
  BankPrint print;
  if (Env.BankKind != BankUser || !LoadRecord(setPath, print) || !HoldsPrint(Env.BankPath, print)) {
    return installed;
  }
  installed.SetPath = setPath;
  installed.SetChanged = !HoldsPrint(setPath, print);
  return installed;
}
