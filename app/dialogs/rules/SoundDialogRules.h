#pragma once

#include "DeviceConfiguration.h"
#include "SampleFormat.h"

#include <cstdint>
#include <string>
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

// A row of a configuration list: every format the program can carry is shown, and those the
// device cannot open are shown disabled, so a musician sees that 96 kHz exists but this card
// will not take it.
struct ConfigurationRow
{
    audio::DeviceConfiguration configuration;
    bool available = false; // the device takes it
};
// All formats in the list's order, each marked by whether its flag is in `flags`.
std::vector<ConfigurationRow> ConfigurationRows(std::uint32_t flags);
// The available row with the stored format; -1 when the device cannot open it (or no row has
// it), so that nothing the device refuses is ever preselected.
int MatchingRow(const std::vector<ConfigurationRow> &rows, const SampleFormat &stored) noexcept;

// The tooltip of a disabled row.
constexpr std::string_view kUnavailableConfigurationText = "This device cannot open this format.";
// The note under a configuration list whose device could not be asked (or offers none of the
// formats); the list keeps what it showed before.
constexpr std::string_view kDeviceNotAskedText =
        "This device did not say which formats it can open; the list is left as it was.";
// The note under a configuration list whose device cannot open the stored format, e.g.
// "This device cannot open the stored format (96 kHz, Stereo, 24-bit). Choose another one; OK
// without a choice keeps the previous settings."
std::string StoredFormatUnavailableText(const SampleFormat &stored);

// The channels, rate and depth of a configuration.
constexpr SampleFormat ConfigurationFormat(const audio::DeviceConfiguration &configuration) noexcept
{
    return { configuration.channels, configuration.sampleRate, configuration.bitsPerSample };
}

// Capture block length, in frames, the dialog hands the capture part for a rate: about a fifth
// of a second. The tuner halves it whenever it starts the devices.
std::int32_t DialogCaptureBlockLength(std::int32_t sampleRate) noexcept;

} // namespace corvane
