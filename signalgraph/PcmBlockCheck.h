#pragma once

#include "MediaSample.h"
#include "PcmFormat.h"

#include <stdexcept>

namespace corvane {

// The checks both PCM ends of the graph make before converting a block between the caller's
// bytes (described by `format`) and the float block of `media`. Returns the bytes per sample.
// Throws std::domain_error "filter not configured", std::invalid_argument "bad number of
// channels", "sample rates do not match", "bad sample depth" or "block longer than buffer".
inline int32_t checkPcmBlock(const PcmFormat &format, const MediaSample *media)
{
    if (!media)
        throw std::domain_error("filter not configured");
    if (format.channels != 1 && format.channels != 2)
        throw std::invalid_argument("bad number of channels");
    if (media->format.sampleRate != static_cast<double>(format.sampleRate))
        throw std::invalid_argument("sample rates do not match");
    const int32_t bytes = format.bytesPerSample();
    if (bytes == 0)
        throw std::invalid_argument("bad sample depth");
    // The caller's buffer holds blockLength frames; never go past it.
    if (media->format.length > format.blockLength)
        throw std::invalid_argument("block longer than buffer");
    return bytes;
}

} // namespace corvane
