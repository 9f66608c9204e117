#include "DownSampler.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace corvane {

void DownSampler::prepare(int32_t factor, int32_t hopLength)
{
    m_factor = std::max(factor, 1);
    m_taps.clear();
    m_history.clear();
    if (m_factor == 1)
        return;
    // Cut-off at 45 % of the new rate, about 40 taps per factor: the stop band starts at the
    // new rate's half, the pass band holds C8 at 11025 Hz.
    const int32_t length = 40 * m_factor + 1;
    const double cutoff = 0.45 / m_factor; // of the input rate
    m_taps.resize(static_cast<size_t>(length));
    double sum = 0.0;
    for (int32_t n = 0; n < length; ++n) {
        const double x = n - 0.5 * (length - 1);
        const double sinc = x == 0.0
                ? 2.0 * cutoff
                : std::sin(2.0 * std::numbers::pi * cutoff * x) / (std::numbers::pi * x);
        const double w = 0.42 - 0.5 * std::cos(2.0 * std::numbers::pi * n / (length - 1))
                + 0.08 * std::cos(4.0 * std::numbers::pi * n / (length - 1));
        m_taps[static_cast<size_t>(n)] = static_cast<float>(sinc * w);
        sum += sinc * w;
    }
    for (float &tap : m_taps)
        tap = static_cast<float>(tap / sum);
    m_history.assign(m_taps.size() - 1 + static_cast<size_t>(hopLength), 0.0f);
}

void DownSampler::process(const float *in, int32_t count, float *out) noexcept
{
    if (m_factor == 1) {
        std::copy(in, in + count, out);
        return;
    }
    const auto taps = static_cast<int32_t>(m_taps.size());
    const int32_t kept = taps - 1;
    // The kept inputs and the hop lie side by side, so that each output is one dot product;
    // the taps are symmetric, so the filter reads them in either direction.
    if (static_cast<int32_t>(m_history.size()) < kept + count)
        return; // prepare sizes it for the hop; a longer one is not taken
    std::copy(in, in + count, m_history.begin() + kept);
    const float *x = m_history.data();
    const float *h = m_taps.data();
    for (int32_t k = 0; k * m_factor < count; ++k) {
        const float *window = x + k * m_factor; // ends with input k * factor
        // Eight partial sums, which the compiler can keep in one vector register.
        float partial[8] = {};
        int32_t j = 0;
        for (; j + 8 <= taps; j += 8)
            for (int32_t l = 0; l < 8; ++l)
                partial[l] += h[j + l] * window[j + l];
        float acc = 0.0f;
        for (; j < taps; ++j)
            acc += h[j] * window[j];
        for (float p : partial)
            acc += p;
        out[k] = acc;
    }
    std::copy(m_history.begin() + count, m_history.begin() + count + kept, m_history.begin());
}

} // namespace corvane
