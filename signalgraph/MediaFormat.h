#pragma once

#include <cstdint>

namespace corvane {

// The format of the blocks on one connection of the signal graph.
struct MediaFormat
{
    int32_t length = 0;      // samples in every block; valid values are >= 1
    double sampleRate = 0.0; // samples per second; valid values are > 0
};

} // namespace corvane
