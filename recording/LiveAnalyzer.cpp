#include "LiveAnalyzer.h"

#include "BlockLength.h"

namespace corvane {

LiveAnalyzer::LiveAnalyzer(const PcmFormat &format, const AnalysisSettings &settings)
{
    m_analyzer.setMode(settings.classic ? PitchAnalyzer::Mode::Classic
                                        : PitchAnalyzer::Mode::Refined);
    m_analyzer.configure(format, settings.filterLength, settings.sensitivity,
                         settings.blockHop ? 0 : hopLengthForRate(format.sampleRate));
    m_blockBytes = static_cast<std::size_t>(
            PcmFormat(m_analyzer.hopLength(), format.samples()).blockBytes());
    m_analyzer.setLimits(settings.lowestHz, settings.highestHz);
    // As the analysis of a file: a pitch more than a quarter-tone above the highest note is
    // none the user asked for.
    m_ceilingHz = settings.highestHz / PitchAnalyzer::kLowestNoteMargin;
    m_delaySeconds = m_analyzer.getMaxDelay();
    m_blockSeconds = format.sampleRate > 0
            ? static_cast<double>(m_analyzer.hopLength()) / static_cast<double>(format.sampleRate)
            : 0.0;
}

void LiveAnalyzer::onBlock(const std::byte *block, std::size_t bytes,
                           std::uint64_t position) noexcept
{
    if (bytes != m_blockBytes)
        return;
    BlockReading reading;
    reading.frame = position;
    try {
        const PitchResult &result =
                *m_analyzer.analyze(reinterpret_cast<const std::uint8_t *>(block));
        reading.pitchHz = result.pitch > m_ceilingHz ? 0.0 : result.pitch;
        reading.level = result.totalEnergy;
    } catch (...) {
        // A prepared analyzer meets no format error; the block reads as silence.
    }
    if (m_readings.push(reading))
        m_queued.post();
    else
        m_dropped.fetch_add(1, std::memory_order_relaxed);
}

} // namespace corvane
