#include "ymf/settings_backup.h"

#include <cstdio>
#include <vector>

#include "files/fileops.h"
#include "platform/registry.h"
#include "ymf/content_hash.h"
#include "ymf/driver_settings.h"
#include "ymf/environment.h"
#include "ymf/file_contents.h"
#include "ymf/operation_failure.h"

namespace {

const char* const RecordHeader = "Tovaro settings record 1";
// Fifteen short lines; anything larger is not a record.
constexpr std::uint32_t RecordSizeMax = 4096;

struct RecordedValue {
  bool Present = false;
  std::uint32_t Type = 0;
  std::vector<std::uint8_t> Data;
};

bool ReadStored(MachineKey key, const std::string& name, RecordedValue& value) {
  std::uint32_t size = 0;
  value = RecordedValue();
  if (!MachineKeyQuery(key, name, value.Type, size)) {
    return true;  // not there
  }
  if (size > 64) {
    return false;  // no value of the driver's is anywhere near this
  }
  value.Data.assign(size, 0);
  if (!MachineKeyRead(key, name, value.Type, value.Data.data(), size) || size != value.Data.size()) {
    return false;
  }
  value.Present = true;
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

// The values of a record in table order; false for anything but a record
// in exactly the format above whose hash matches.
bool ParseRecord(const std::string& text, RecordedValue (&values)[DriverSettingCount]) {
  std::string body;
  if (!SplitHashedRecord(text, body)) {
    return false;
  }
  const std::size_t hashAt = body.size();
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos && start < hashAt; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (lines.size() != DriverSettingCount + 1 || lines[0] != RecordHeader) {
    return false;
  }
  for (std::size_t row = 0; row < DriverSettingCount; ++row) {
    const std::string prefix = std::string(DriverSettingTable[row].Name) + " ";
    const std::string& line = lines[row + 1];
    if (line.rfind(prefix, 0) != 0) {
      return false;
    }
    const std::string rest = line.substr(prefix.size());
    values[row] = RecordedValue();
    if (rest == "-") {
      continue;
    }
    const std::size_t space = rest.find(' ');
    if (space == std::string::npos || space == 0 || space > 10 || rest.find_first_not_of("0123456789") != space) {
      return false;
    }
    values[row].Present = true;
    values[row].Type = static_cast<std::uint32_t>(std::stoul(rest.substr(0, space)));
    const std::string hex = rest.substr(space + 1);
    if (hex.size() % 2 != 0) {
      return false;
    }
    for (std::size_t i = 0; i < hex.size(); i += 2) {
      const int high = HexDigit(hex[i]);
      const int low = HexDigit(hex[i + 1]);
      if (high < 0 || low < 0) {
        return false;
      }
      values[row].Data.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
  }
  return true;
}

bool LoadRecord(RecordedValue (&values)[DriverSettingCount]) {
  Bytes text;
  return !SettingsRecordPath().empty() && ReadFileContents(SettingsRecordPath(), text, RecordSizeMax) &&
         ParseRecord(std::string(text.begin(), text.end()), values);
}

}  // namespace

std::string SettingsRecordPath() {
  const std::string& driver = Env.BackupDriverPath;
  return driver.empty() ? std::string() : driver.substr(0, driver.find_last_of('\\') + 1) + SettingsRecordName;
}

bool SettingsRecordPresent() {
  RecordedValue values[DriverSettingCount];
  return LoadRecord(values);
}

bool RecordDriverSettings() {
  if (SettingsRecordPresent()) {
    return true;
  }
  MachineKey key = 0;
  if (Env.DriverRegKey.empty() || SettingsRecordPath().empty() ||
      !MachineKeyOpen(Env.DriverRegKey, KeyAccessRead, key)) {
    return false;
  }
  std::string body = std::string(RecordHeader) + "\r\n";
  bool read = true;
  for (const DriverSetting& setting : DriverSettingTable) {
    RecordedValue value;
    read = ReadStored(key, setting.Name, value) && read;
    body += std::string(setting.Name) + " ";
    if (!value.Present) {
      body += "-\r\n";
      continue;
    }
    body += std::to_string(value.Type) + " ";
    for (std::uint8_t byte : value.Data) {
      char hex[3];
      std::snprintf(hex, sizeof hex, "%02X", byte);
      body += hex;
    }
    body += "\r\n";
  }
  MachineKeyClose(key);
  const std::string text = body + ContentHashLine(body);
  return read && WriteFileOver(SettingsRecordPath(), text.data(), text.size());
}

bool RestoreDriverSettings() {
  RecordedValue values[DriverSettingCount];
  if (!LoadRecord(values)) {
    return Fail(FailureKind::FileUnusable, "The record of the original driver settings " + SettingsRecordPath() +
                                               " is missing or damaged; the settings were left as they are.");
  }
  MachineKey key = 0;
  if (Env.DriverRegKey.empty() || !MachineKeyOpen(Env.DriverRegKey, KeyAccessWrite, key)) {
    return Fail(FailureKind::StepFailed, "Cannot open HKEY_LOCAL_MACHINE\\" + Env.DriverRegKey +
                                             " for writing; the driver settings were left as they are.");
  }
  std::string refused;
  for (std::size_t row = 0; row < DriverSettingCount; ++row) {
    const RecordedValue& want = values[row];
    if (!want.Present) {
      continue;
    }
    const char* name = DriverSettingTable[row].Name;
    MachineKeyWrite(key, name, want.Type, want.Data.data(), static_cast<std::uint32_t>(want.Data.size()));
    RecordedValue now;
    if (!ReadStored(key, name, now) || !now.Present || now.Type != want.Type || now.Data != want.Data) {
      refused += (refused.empty() ? "" : ", ") + std::string(name);
    }
  }
  MachineKeyClose(key);
  ReadDriverSettings();
  if (!refused.empty()) {
    return Fail(FailureKind::StepFailed, "Windows refused to put back " + refused + " under HKEY_LOCAL_MACHINE\\" +
                                             Env.DriverRegKey + "; a limited account cannot write there.");
  }
  return true;
}

void RemoveSettingsRecord() {
  if (!SettingsRecordPath().empty() && FileExists(SettingsRecordPath())) {
    RemoveFile(SettingsRecordPath());
  }
}
