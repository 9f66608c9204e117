#include "IntonationStatistics.h"

#include <cmath>

namespace corvane {

void IntonationFigures::add(double cents, double inTuneCents) noexcept
{
    ++count;
    const double before = meanCents;
    meanCents += (cents - before) / static_cast<double>(count);
    sumOfSquares += (cents - before) * (cents - meanCents);
    if (std::abs(cents) <= inTuneCents)
        ++inTune;
}

void IntonationFigures::merge(const IntonationFigures &other) noexcept
{
    if (other.count == 0)
        return;
    const double n = static_cast<double>(count);
    const double m = static_cast<double>(other.count);
    const double delta = other.meanCents - meanCents;
    meanCents += delta * m / (n + m);
    sumOfSquares += other.sumOfSquares + delta * delta * n * m / (n + m);
    count += other.count;
    inTune += other.inTune;
}

double IntonationFigures::spreadCents() const noexcept
{
    return count < 2 ? 0.0 : std::sqrt(sumOfSquares / static_cast<double>(count));
}

double IntonationFigures::inTuneShare() const noexcept
{
    return count == 0 ? 0.0 : static_cast<double>(inTune) / static_cast<double>(count);
}

void IntonationStatistics::add(int degree, double cents) noexcept
{
    if (degree >= 0 && degree < kDegrees)
        m_degrees[static_cast<unsigned>(degree)].add(cents, m_inTuneCents);
}

void IntonationStatistics::merge(int degree, const IntonationFigures &figures) noexcept
{
    if (degree >= 0 && degree < kDegrees)
        m_degrees[static_cast<unsigned>(degree)].merge(figures);
}

int IntonationStatistics::worstDegree(long minimumCount) const noexcept
{
    int worst = -1;
    for (int d = 0; d < kDegrees; ++d) {
        const IntonationFigures &f = m_degrees[static_cast<unsigned>(d)];
        if (f.count >= minimumCount && f.count > 0
            && (worst < 0
                || std::abs(f.meanCents)
                        > std::abs(m_degrees[static_cast<unsigned>(worst)].meanCents)))
            worst = d;
    }
    return worst;
}

} // namespace corvane
