// The hash that the backup manifest keeps of each copy: XXH64 (seed 0), a
// published 64-bit hash that is read at several gigabytes a second, so that
// checking the backup driver before every switch costs little beside the
// copies the switch makes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// XXH64 of size bytes with seed 0; of no bytes it is 0xEF46DB3751D8E999.
std::uint64_t ContentHash(const std::uint8_t* data, std::size_t size);
// The last line of a record kept in the Backup folder: "xxh64 " and the
// hash of every line above it (body) in 16 capital hex digits, CR LF.
std::string ContentHashLine(const std::string& body);
// Whether text is a body followed by its ContentHashLine; body gets it.
bool SplitHashedRecord(const std::string& text, std::string& body);
