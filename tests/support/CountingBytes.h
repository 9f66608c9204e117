#pragma once

#include <cstddef>
#include <vector>

namespace corvane::testing {

// Bytes numbered 0, 1, 2, ... (mod 251, so that no block repeats another at a block size that
// is a power of two).
inline std::vector<std::byte> countingBytes(std::size_t size, std::size_t start = 0)
{
    std::vector<std::byte> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::byte>((start + i) % 251);
    return bytes;
}

} // namespace corvane::testing
