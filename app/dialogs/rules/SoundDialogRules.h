#pragma once

#include "DeviceConfiguration.h"
#include "SampleFormat.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace corvane {

// What the sound card dialog lists and stores, apart from its widgets. Pure lookups; safe from
// any thread.

constexpr std::string_view kSoundDialogTitle = "Sound Card Configuration";
constexpr std::string_view kCaptureGroupTitle = "Tuner sound capture configuration";
constexpr std::string_view kPlaybackGroupTitle = "Tuner playback configuration";
// The first entry of each device list: the device the sound system picks itself.
constexpr std::string_view kSystemDefaultDevice = "System default device";

// The configurations a device offers, in the list's order: those of the twelve whose flag is in
// `flags`.
std::vector<audio::DeviceConfiguration> ListedConfigurations(std::uint32_t flags);

// The entry of `listed` with the stored format's rate, channels and bits; -1 when none has.
int MatchingConfiguration(const std::vector<audio::DeviceConfiguration> &listed,
                          const SampleFormat &stored) noexcept;

// The channels, rate and depth of a configuration.
constexpr SampleFormat ConfigurationFormat(const audio::DeviceConfiguration &configuration) noexcept
{
    return { configuration.channels, configuration.sampleRate, configuration.bitsPerSample };
}

// Capture block length, in frames, the dialog hands the capture part for a rate: about a fifth
// of a second. The tuner halves it whenever it starts the devices.
std::int32_t DialogCaptureBlockLength(std::int32_t sampleRate) noexcept;

} // namespace corvane
