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
                          const SampleFormat &stored) noexcept
{
    for (std::size_t i = 0; i < listed.size(); ++i) {
        if (ConfigurationFormat(listed[i]) == stored)
            return int(i);
    }
    return -1;
}

std::int32_t DialogCaptureBlockLength(std::int32_t sampleRate) noexcept
{
    return 2 * blockLengthForRate(sampleRate);
}

} // namespace corvane
