#pragma once

#include <cstdint>
#include <vector>

namespace corvane {

// Lowers the rate of a stream by a whole factor behind a windowed-sinc low-pass (Blackman
// window), so that the period search can run at about 11 kHz whatever the capture rate: the
// notes it looks for lie below 4.2 kHz, and its cost grows with the square of the rate.
// The pass band reaches 40 % of the new rate; the filter delays the stream by half its length
// (80 input samples at a factor of 4), under 2 ms.
//
// Life: prepare (allocates), then process hop after hop. One thread at a time; process
// allocates nothing and never throws.
class DownSampler
{
public:
    // factor 1 passes the stream through unchanged; hops of at most `hopLength` samples.
    void prepare(int32_t factor, int32_t hopLength);

    // Takes `count` input samples (a multiple of the factor, at most the hop length) and writes
    // count / factor outputs.
    void process(const float *in, int32_t count, float *out) noexcept;

    int32_t factor() const noexcept { return m_factor; }

private:
    int32_t m_factor = 1;
    std::vector<float> m_taps;
    std::vector<float> m_history; // the last taps - 1 input samples, then the hop
};

} // namespace corvane
