#pragma once

#include <array>
#include <cstdint>

namespace corvane::audio {

// One of the formats a user can choose for a device, with its capability flag and its label as
// the configuration lists show it. The first twelve are the classic formats: bits 0..3 for
// 11.025 kHz, 4..7 for 22.05 kHz, 8..11 for 44.1 kHz, within each group mono 8-bit, stereo
// 8-bit, mono 16-bit, stereo 16-bit. Today's sound cards run at 48 and 96 kHz with 16 or 24
// bits, so eight more follow: bits 12..15 for 48 kHz and 16..19 for 96 kHz, within each group
// mono 16-bit, stereo 16-bit, mono 24-bit, stereo 24-bit. 24-bit samples travel in 4-byte slots
// (SampleFormat).
struct DeviceConfiguration
{
    uint32_t flag;
    const char *label;
    int32_t sampleRate; // Hz
    int32_t channels;
    int32_t bitsPerSample;
};

inline constexpr std::array<DeviceConfiguration, 20> kDeviceConfigurations { {
        { 0x00001, "11.025 kHz, Mono,   8-bit", 11025, 1, 8 },
        { 0x00002, "11.025 kHz, Stereo, 8-bit", 11025, 2, 8 },
        { 0x00004, "11.025 kHz, Mono,   16-bit", 11025, 1, 16 },
        { 0x00008, "11.025 kHz, Stereo, 16-bit", 11025, 2, 16 },
        { 0x00010, "22.05  kHz, Mono,   8-bit", 22050, 1, 8 },
        { 0x00020, "22.05  kHz, Stereo, 8-bit", 22050, 2, 8 },
        { 0x00040, "22.05  kHz, Mono,   16-bit", 22050, 1, 16 },
        { 0x00080, "22.05  kHz, Stereo, 16-bit", 22050, 2, 16 },
        { 0x00100, "44.1   kHz, Mono,   8-bit", 44100, 1, 8 },
        { 0x00200, "44.1   kHz, Stereo, 8-bit", 44100, 2, 8 },
        { 0x00400, "44.1   kHz, Mono,   16-bit", 44100, 1, 16 },
        { 0x00800, "44.1   kHz, Stereo, 16-bit", 44100, 2, 16 },
        { 0x01000, "48     kHz, Mono,   16-bit", 48000, 1, 16 },
        { 0x02000, "48     kHz, Stereo, 16-bit", 48000, 2, 16 },
        { 0x04000, "48     kHz, Mono,   24-bit", 48000, 1, 24 },
        { 0x08000, "48     kHz, Stereo, 24-bit", 48000, 2, 24 },
        { 0x10000, "96     kHz, Mono,   16-bit", 96000, 1, 16 },
        { 0x20000, "96     kHz, Stereo, 16-bit", 96000, 2, 16 },
        { 0x40000, "96     kHz, Mono,   24-bit", 96000, 1, 24 },
        { 0x80000, "96     kHz, Stereo, 24-bit", 96000, 2, 24 },
} };

// The twelve classic formats, and every format.
inline constexpr uint32_t kClassicConfigurations = 0x00FFF;
inline constexpr uint32_t kAllConfigurations = 0xFFFFF;

} // namespace corvane::audio
