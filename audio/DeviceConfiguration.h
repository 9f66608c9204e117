#pragma once

#include <array>
#include <cstdint>

namespace corvane::audio {

// One of the twelve formats a user can choose for a device, with its capability flag (bits 0..3
// for 11.025 kHz, 4..7 for 22.05 kHz, 8..11 for 44.1 kHz; within each group mono 8-bit, stereo
// 8-bit, mono 16-bit, stereo 16-bit) and its label as the configuration lists show it.
struct DeviceConfiguration
{
    uint32_t flag;
    const char *label;
    int32_t sampleRate; // Hz
    int32_t channels;
    int32_t bitsPerSample;
};

inline constexpr std::array<DeviceConfiguration, 12> kDeviceConfigurations { {
        { 0x001, "11.025 kHz, Mono,   8-bit", 11025, 1, 8 },
        { 0x002, "11.025 kHz, Stereo, 8-bit", 11025, 2, 8 },
        { 0x004, "11.025 kHz, Mono,   16-bit", 11025, 1, 16 },
        { 0x008, "11.025 kHz, Stereo, 16-bit", 11025, 2, 16 },
        { 0x010, "22.05  kHz, Mono,   8-bit", 22050, 1, 8 },
        { 0x020, "22.05  kHz, Stereo, 8-bit", 22050, 2, 8 },
        { 0x040, "22.05  kHz, Mono,   16-bit", 22050, 1, 16 },
        { 0x080, "22.05  kHz, Stereo, 16-bit", 22050, 2, 16 },
        { 0x100, "44.1   kHz, Mono,   8-bit", 44100, 1, 8 },
        { 0x200, "44.1   kHz, Stereo, 8-bit", 44100, 2, 8 },
        { 0x400, "44.1   kHz, Mono,   16-bit", 44100, 1, 16 },
        { 0x800, "44.1   kHz, Stereo, 16-bit", 44100, 2, 16 },
} };

inline constexpr uint32_t kAllConfigurations = 0xFFF;

} // namespace corvane::audio
