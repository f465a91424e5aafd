// The manifest of the backup pair: the size and the XXH64 hash of both
// copies and the driver's version text, written after both copies are
// complete. A pair is trusted as the originals only when it matches it.
//
// A small text file, "manifest.txt" in the Backup folder:
//   Tovaro backup manifest 1
//   driver Ds1.sys 2800000 xxh64 0123456789ABCDEF
//   bank dsxgwave.tbl 2422210 xxh64 FEDCBA9876543210
//   version "5.12.01.5245"
// The version is quoted; a byte outside printable ASCII, a quote or a
// backslash is written as \xHH. Lines end in CR LF; LF alone is read too.
#pragma once

#include <cstdint>
#include <string>

constexpr const char* BackupManifestName = "manifest.txt";
// A manifest is a few hundred bytes; a file past this is refused unread.
constexpr std::uint32_t BackupManifestSizeMax = 4096;

struct BackupFileRecord {
  std::string Name;  // file name without directory
  std::uint32_t Size = 0;
  std::uint64_t Hash = 0;  // ContentHash of the whole file
};

struct BackupManifest {
  BackupFileRecord Driver;
  BackupFileRecord Bank;
  std::string VersionText;
};

std::string FormatBackupManifest(const BackupManifest& manifest);
// False for anything but a manifest in exactly the format above.
bool ParseBackupManifest(const std::string& text, BackupManifest& manifest);
