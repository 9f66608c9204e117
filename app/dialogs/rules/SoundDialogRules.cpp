#include "SoundDialogRules.h"

#include "BlockLength.h"

namespace corvane {

std::vector<audio::DeviceConfiguration> ListedConfigurations(std::uint32_t flags)
{
    std::vector<audio::DeviceConfiguration> listed;
    for (const audio::DeviceConfiguration &c : audio::kDeviceConfigurations)
        if (flags & c.flag)
            listed.push_back(c);
    return listed;
}

int MatchingConfiguration(const std::vector<audio::DeviceConfiguration> &listed,
                          const WaveFormatEx &stored) noexcept
{
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const audio::DeviceConfiguration &c = listed[i];
        if (std::uint32_t(c.sampleRate) == stored.samplesPerSec && c.channels == stored.channels
            && c.bitsPerSample == stored.bitsPerSample)
            return int(i);
    }
    return -1;
}

WaveFormatEx StoredFormat(const audio::DeviceConfiguration &configuration) noexcept
{
    WaveFormatEx format;
    format.formatTag = 1;
    format.channels = std::uint16_t(configuration.channels);
    format.samplesPerSec = std::uint32_t(configuration.sampleRate);
    format.bitsPerSample = std::uint16_t(configuration.bitsPerSample);
    format.blockAlign = std::uint16_t(configuration.channels * configuration.bitsPerSample / 8);
    format.avgBytesPerSec = format.samplesPerSec * format.blockAlign;
    format.extraSize = 0;
    return format;
}

std::int32_t DialogCaptureBlockLength(std::int32_t sampleRate) noexcept
{
    return 2 * blockLengthForRate(sampleRate);
}

} // namespace corvane
