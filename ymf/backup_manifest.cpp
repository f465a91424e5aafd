#include "ymf/backup_manifest.h"

#include <cstdio>
#include <vector>

namespace {

const char* const Heading = "Tovaro backup manifest 1";

std::string Hex16(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%08X%08X", static_cast<unsigned>(value >> 32), static_cast<unsigned>(value));
  return text;
}

std::string Quote(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte > 0x7E || c == '"' || c == '\\') {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Unquote(const std::string& quoted, std::string& text) {
  if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') {
    return false;
  }
  text.clear();
  for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
    const char c = quoted[i];
    if (c == '"') {
      return false;
    }
    if (c != '\\') {
      text += c;
      continue;
    }
    if (i + 4 >= quoted.size() || quoted[i + 1] != 'x' || HexDigit(quoted[i + 2]) < 0 || HexDigit(quoted[i + 3]) < 0) {
      return false;
    }
    text += static_cast<char>(HexDigit(quoted[i + 2]) * 16 + HexDigit(quoted[i + 3]));
    i += 3;
  }
  return true;
}

// Decimal up to 4294967295, or hexadecimal (capitals) of up to 16 digits.
bool ParseNumber(const std::string& text, int base, std::uint64_t limit, std::uint64_t& value) {
  if (text.empty() || text.size() > (base == 16 ? 16u : 10u)) {
    return false;
  }
  std::uint64_t number = 0;
  for (char c : text) {
    const int digit = base == 16 ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (digit < 0) {
      return false;
    }
    number = number * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
  }
  if (number > limit) {
    return false;
  }
  value = number;
  return true;
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (at < line.size()) {
    const std::size_t end = line.find(' ', at);
    words.push_back(line.substr(at, end == std::string::npos ? std::string::npos : end - at));
    if (end == std::string::npos) {
      break;
    }
    at = end + 1;
  }
  return words;
}

// "driver NAME SIZE xxh64 HEX"
bool ParseFileLine(const std::string& line, const char* key, BackupFileRecord& record) {
  const std::vector<std::string> words = Words(line);
  std::uint64_t size = 0;
  if (words.size() != 5 || words[0] != key || words[1].empty() || words[3] != "xxh64" || words[4].size() != 16 ||
      !ParseNumber(words[2], 10, 0xFFFFFFFFu, size) || !ParseNumber(words[4], 16, ~std::uint64_t{0}, record.Hash)) {
    return false;
  }
  record.Name = words[1];
  record.Size = static_cast<std::uint32_t>(size);
  return true;
}

std::string FileLine(const char* key, const BackupFileRecord& record) {
  return std::string(key) + " " + record.Name + " " + std::to_string(record.Size) + " xxh64 " + Hex16(record.Hash) +
         "\r\n";
}

}  // namespace

std::string FormatBackupManifest(const BackupManifest& manifest) {
  return std::string(Heading) + "\r\n" + FileLine("driver", manifest.Driver) + FileLine("bank", manifest.Bank) +
         "version " + Quote(manifest.VersionText) + "\r\n";
}

bool ParseBackupManifest(const std::string& text, BackupManifest& manifest) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) {
      return false;  // the last line ends in a line break: a cut file does not parse
    }
    std::string line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    lines.push_back(line);
    at = end + 1;
  }
  BackupManifest parsed;
  const std::string versionKey = "version ";
  if (lines.size() != 4 || lines[0] != Heading || !ParseFileLine(lines[1], "driver", parsed.Driver) ||
      !ParseFileLine(lines[2], "bank", parsed.Bank) || lines[3].compare(0, versionKey.size(), versionKey) != 0 ||
      !Unquote(lines[3].substr(versionKey.size()), parsed.VersionText)) {
    return false;
  }
  manifest = parsed;
  return true;
}
