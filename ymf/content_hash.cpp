#include "ymf/content_hash.h"

#include <cstdio>

#include "files/le_bytes.h"

namespace {

constexpr std::uint64_t Prime1 = 0x9E3779B185EBCA87u;
constexpr std::uint64_t Prime2 = 0xC2B2AE3D27D4EB4Fu;
constexpr std::uint64_t Prime3 = 0x165667B19E3779F9u;
constexpr std::uint64_t Prime4 = 0x85EBCA77C2B2AE63u;
constexpr std::uint64_t Prime5 = 0x27D4EB2F165667C5u;

std::uint64_t RotateLeft(std::uint64_t value, int bits) { return (value << bits) | (value >> (64 - bits)); }

std::uint64_t Le64(const std::uint8_t* at) {
  return static_cast<std::uint64_t>(Le32(at)) | (static_cast<std::uint64_t>(Le32(at + 4)) << 32);
}

std::uint64_t Round(std::uint64_t accumulator, std::uint64_t input) {
  accumulator += input * Prime2;
  return RotateLeft(accumulator, 31) * Prime1;
}

std::uint64_t MergeRound(std::uint64_t hash, std::uint64_t accumulator) {
  hash ^= Round(0, accumulator);
  return hash * Prime1 + Prime4;
}

}  // namespace

std::uint64_t ContentHash(const std::uint8_t* data, std::size_t size) {
  const std::uint8_t* at = data;
  const std::uint8_t* const end = data + size;
  std::uint64_t hash;
  if (size >= 32) {
    // Four lanes that do not wait for each other.
    std::uint64_t lane1 = Prime1 + Prime2;
    std::uint64_t lane2 = Prime2;
    std::uint64_t lane3 = 0;
    std::uint64_t lane4 = 0 - Prime1;
    for (; end - at >= 32; at += 32) {
      lane1 = Round(lane1, Le64(at));
      lane2 = Round(lane2, Le64(at + 8));
      lane3 = Round(lane3, Le64(at + 16));
      lane4 = Round(lane4, Le64(at + 24));
    }
    hash = RotateLeft(lane1, 1) + RotateLeft(lane2, 7) + RotateLeft(lane3, 12) + RotateLeft(lane4, 18);
    hash = MergeRound(hash, lane1);
    hash = MergeRound(hash, lane2);
    hash = MergeRound(hash, lane3);
    hash = MergeRound(hash, lane4);
  } else {
    hash = Prime5;
  }
  hash += static_cast<std::uint64_t>(size);
  for (; end - at >= 8; at += 8) {
    hash ^= Round(0, Le64(at));
    hash = RotateLeft(hash, 27) * Prime1 + Prime4;
  }
  if (end - at >= 4) {
    hash ^= static_cast<std::uint64_t>(Le32(at)) * Prime1;
    hash = RotateLeft(hash, 23) * Prime2 + Prime3;
    at += 4;
  }
  for (; at < end; ++at) {
    hash ^= *at * Prime5;
    hash = RotateLeft(hash, 11) * Prime1;
  }
  hash ^= hash >> 33;
  hash *= Prime2;
  hash ^= hash >> 29;
  hash *= Prime3;
  hash ^= hash >> 32;
  return hash;
}

std::string ContentHashLine(const std::string& body) {
  const std::uint64_t hash = ContentHash(reinterpret_cast<const std::uint8_t*>(body.data()), body.size());
  // Two 32-bit halves: Windows 98's msvcrt cannot print a 64-bit number.
  char hex[17];
  std::snprintf(hex, sizeof hex, "%08lX%08lX", static_cast<unsigned long>(hash >> 32),
                static_cast<unsigned long>(hash & 0xFFFFFFFFu));
  return std::string("xxh64 ") + hex + "\r\n";
}

bool SplitHashedRecord(const std::string& text, std::string& body) {
  const std::size_t hashAt = text.rfind("xxh64 ");
  if (hashAt == std::string::npos || text.substr(hashAt) != ContentHashLine(text.substr(0, hashAt))) {
    return false;
  }
  body = text.substr(0, hashAt);
  return true;
}
