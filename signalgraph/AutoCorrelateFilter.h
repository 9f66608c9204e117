#pragma once

#include "Filter.h"

#include <cstdint>
#include <vector>

namespace corvane {

// Periodicity meter on the full-band signal. It keeps its window (by default the last block, else
// the last whole number of blocks) and the last samples before it (the tail), and scores a
// candidate frequency by how well the tail matches the signal one period later:
// 1 / (1 + sum of squared differences), so an exactly periodic signal scores 1.0.
//
// A sink: input pin 1, no outputs. setHistoryLength, setWindowBlocks and configure allocate;
// process and score do not, and never throw. One thread at a time.
class AutoCorrelateFilter : public Filter
{
public:
    AutoCorrelateFilter()
        : Filter(1, 0)
    {
    }

    // Number of samples compared by score (the analyzer uses 40); the tail restarts silent.
    void setHistoryLength(int32_t samples);
    int32_t historyLength() const noexcept { return m_tailLength; }

    // Blocks the window holds, 1 (the default) or more; takes effect with the next configure.
    void setWindowBlocks(int32_t blocks) { m_windowBlocks = blocks > 1 ? blocks : 1; }

    // Score in (0, 1] of the frequency `hz` against the window, with the period interpolated
    // linearly between samples. 0.0 when no matching block is held, when the tail is empty, and
    // for any candidate the block cannot hold: hz <= 0, a period that is not finite, or one with
    // trunc(period) + 1 >= the window's length.
    double score(double hz) const noexcept;

    bool process() override;

    // Sizes the window to the format's length (or the window asked for); window and tail restart
    // silent.
    void configure(const MediaFormat &format) override;

private:
    bool holdsMatchingBlock() const noexcept;
    float at(int32_t j) const noexcept;

    InputPin &m_in = inputs()[0];
    // The tail, then the window, oldest first: m_tailLength + m_window samples.
    std::vector<float> m_samples;
    int32_t m_tailLength = 0;
    int32_t m_blockLength = 0;
    int32_t m_windowBlocks = 1;
    int32_t m_window = 0;
};

} // namespace corvane
