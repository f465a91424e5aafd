// The hash that the backup manifest keeps of each copy: XXH64 (seed 0), a
// published 64-bit hash that is read at several gigabytes a second, so that
// checking the backup driver before every switch costs little beside the
// copies the switch makes.
#pragma once

#include <cstddef>
#include <cstdint>

// XXH64 of size bytes with seed 0; of no bytes it is 0xEF46DB3751D8E999.
std::uint64_t ContentHash(const std::uint8_t* data, std::size_t size);
