#pragma once

#include "SampleFormat.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace corvane {

// Which part of a two-channel recording the analysis hears. The analyzer reads the left sample
// of every frame, so the right channel or the mix of both is moved into the left slots first.
enum class StereoChannel { Left, Right, Mix };

// "left", "right" or "mix"; nothing for any other text.
std::optional<StereoChannel> stereoChannelNamed(std::string_view name) noexcept;

// Puts the samples of `channel` (for Mix: the mean of both, rounded towards zero) into the left
// slots of `frames` two-channel frames of PCM in `format` (program slots: 8-bit unsigned, 16-bit
// or 24-bit in 4 bytes, little-endian). The right slots keep their samples. Does nothing for
// Left or for one channel. Never allocates.
void moveChannelToLeft(uint8_t *block, std::size_t frames, const SampleFormat &format,
                       StereoChannel channel) noexcept;

// Raises `peaks` (one per channel, 0 … 1 of full scale) to the largest magnitude found in
// `frames` frames of PCM in `format`. Never allocates.
void raiseChannelPeaks(const uint8_t *block, std::size_t frames, const SampleFormat &format,
                       std::array<double, 2> &peaks) noexcept;

} // namespace corvane
