#include "SoundDialogRules.h"

#include "BlockLength.h"

namespace corvane {

std::vector<ConfigurationRow> ConfigurationRows(std::uint32_t flags)
{
    std::vector<ConfigurationRow> rows;
    rows.reserve(audio::kDeviceConfigurations.size());
    for (const audio::DeviceConfiguration &c : audio::kDeviceConfigurations)
        rows.push_back({ c, (flags & c.flag) != 0 });
    return rows;
}

int MatchingRow(const std::vector<ConfigurationRow> &rows, const SampleFormat &stored) noexcept
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].available && ConfigurationFormat(rows[i].configuration) == stored)
            return int(i);
    }
    return -1;
}

std::string StoredFormatUnavailableText(const SampleFormat &stored)
{
    std::string format;
    for (const audio::DeviceConfiguration &c : audio::kDeviceConfigurations) {
        if (ConfigurationFormat(c) != stored)
            continue;
        // The list's label without the blanks that line the column up.
        for (const char *p = c.label; *p; ++p)
            if (*p != ' ' || (!format.empty() && format.back() != ' '))
                format += *p;
    }
    if (format.empty()) {
        format = std::to_string(stored.sampleRate) + " Hz, "
                + (stored.channels == 1           ? std::string("Mono")
                           : stored.channels == 2 ? std::string("Stereo")
                                                  : std::to_string(stored.channels) + " channels")
                + ", " + std::to_string(stored.bitsPerSample) + "-bit";
    }
    return "This device cannot open the stored format (" + format
            + "). Choose another one; OK without a choice keeps the previous settings.";
}

std::int32_t DialogCaptureBlockLength(std::int32_t sampleRate) noexcept
{
    return 2 * blockLengthForRate(sampleRate);
}

} // namespace corvane
