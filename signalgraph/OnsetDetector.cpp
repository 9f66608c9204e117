#include "OnsetDetector.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {
    constexpr int32_t kChunksPerHop = 16;
    constexpr double kLevelRise = 4.0;          // mean square, 6 dB
    constexpr double kAudibleMeanSquare = 1e-7; // -70 dBFS
    constexpr double kRepeats = 0.2;            // normalized difference of a steady note
    constexpr double kChanged = 0.5;            // ... of a new period
    constexpr double kHeldLevel = 0.25;         // mean square against the note's, -6 dB
} // namespace

void OnsetDetector::prepare(int32_t hopLength, int32_t longestLag, int32_t levelSpan)
{
    m_hop = std::max(hopLength, kChunksPerHop);
    m_chunk = m_hop / kChunksPerHop;
    m_levelChunks = std::clamp((levelSpan + m_chunk - 1) / m_chunk, 1, kChunksPerHop);
    m_chunkSums.assign(static_cast<size_t>(m_levelChunks), 0.0);
    m_history = std::max(longestLag + 1, 1);
    m_signal.assign(static_cast<size_t>(m_history + m_hop), 0.0f);
    m_chunkLevels.assign(2 * kChunksPerHop, 0.0);
    reset();
}

void OnsetDetector::reset() noexcept
{
    std::fill(m_signal.begin(), m_signal.end(), 0.0f);
    std::fill(m_chunkLevels.begin(), m_chunkLevels.end(), 0.0);
    std::fill(m_chunkSums.begin(), m_chunkSums.end(), 0.0);
    m_nextLevel = 0;
    m_nextSum = 0;
    m_periodic = false;
    m_changeRun = 0;
    m_settling = 0;
}

int32_t OnsetDetector::feed(const float *hop, double periodLag) noexcept
{
    if (m_hop == 0)
        return -1;
    std::copy(m_signal.begin() + m_hop, m_signal.end(), m_signal.begin());
    std::copy(hop, hop + m_hop, m_signal.end() - m_hop);

    const auto lag = static_cast<int32_t>(std::lround(periodLag));
    const bool comparePeriod = lag > 0 && lag <= m_history;
    int32_t onset = -1;
    for (int32_t c = 0; c < kChunksPerHop; ++c) {
        const float *x = m_signal.data() + m_history + c * m_chunk;
        double sum = 0.0;
        for (int32_t i = 0; i < m_chunk; ++i)
            sum += static_cast<double>(x[i]) * x[i];
        m_chunkSums[m_nextSum] = sum;
        m_nextSum = (m_nextSum + 1) % m_chunkSums.size();
        double level = 0.0;
        for (double chunkSum : m_chunkSums)
            level += chunkSum;
        level /= static_cast<double>(m_levelChunks) * m_chunk;

        double quietest = level;
        for (double l : m_chunkLevels)
            quietest = std::min(quietest, l);
        const bool louder =
                m_settling == 0 && level > kAudibleMeanSquare && level > kLevelRise * quietest;
        if (m_settling > 0)
            --m_settling;
        m_chunkLevels[m_nextLevel] = level;
        m_nextLevel = (m_nextLevel + 1) % m_chunkLevels.size();

        bool changed = false;
        if (comparePeriod) {
            double difference = 0.0;
            double energy = 0.0;
            for (int32_t i = 0; i < m_chunk; ++i) {
                const double a = x[i];
                const double b = x[i - lag];
                difference += (a - b) * (a - b);
                energy += a * a + b * b;
            }
            const double d = energy > 0.0 ? difference / energy : 0.0;
            // A note that stops also breaks its period; only a change at a level held counts.
            if (d > kChanged && m_periodic && level > kHeldLevel * m_heardLevel) {
                // The period broke here; it counts once the next chunk confirms it.
                ++m_changeRun;
                if (m_changeRun == 2) {
                    changed = true;
                    m_periodic = false;
                }
            } else {
                m_changeRun = 0;
                if (d < kRepeats) {
                    m_periodic = true;
                    m_heardLevel = level;
                }
            }
        } else {
            m_periodic = false;
            m_changeRun = 0;
        }
        if (onset < 0 && louder) {
            onset = (kChunksPerHop - c) * m_chunk;
            // An attack rises over several chunks, a bowed one over a hop or two, and the level
            // spans up to a hop: it counts once.
            m_settling = 3 * kChunksPerHop;
        }
        if (onset < 0 && changed)
            onset = (kChunksPerHop - c + 1) * m_chunk;
    }
    return onset;
}

} // namespace corvane
