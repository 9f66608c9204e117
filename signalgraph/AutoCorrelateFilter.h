#pragma once

#include "Filter.h"

#include <cstdint>
#include <vector>

namespace corvane {

// Periodicity meter on the full-band signal. It keeps the last block and the last samples before
// it (the tail), and scores a candidate frequency by how well the tail matches the signal one
// period later: 1 / (1 + sum of squared differences), so an exactly periodic signal scores 1.0.
//
// A sink: input pin 1, no outputs. setHistoryLength and configure allocate; process and score
// do not, and never throw. One thread at a time.
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

    // Score in (0, 1] of the frequency `hz` against the last block, with the period interpolated
    // linearly between samples. 0.0 when no matching block is held, when the tail is empty, and
    // for any candidate the block cannot hold: hz <= 0, a period that is not finite, or one with
    // trunc(period) + 1 >= the block length.
    double score(double hz) const noexcept;

    bool process() override;

    // Sizes the block copy to the format's length; the copy and the tail restart silent.
    void configure(const MediaFormat &format) override;

private:
    bool holdsMatchingBlock() const noexcept;
    float at(int32_t j) const noexcept;

    InputPin &m_in = inputs()[0];
    std::vector<float> m_blockCopy;
    std::vector<float> m_tail; // the samples just before m_blockCopy, oldest first
    int32_t m_tailLength = 0;
    int32_t m_blockLength = 0;
};

} // namespace corvane
