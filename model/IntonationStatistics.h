#pragma once

#include <array>

namespace corvane {

// Running figures of a set of deviations in cents (positive = sharp): how many, their mean and
// spread, and how many lay within the in-tune zone. Adding is constant time and allocates nothing
// (a running mean and sum of squares, Welford's), so a display update can add to it every time.
struct IntonationFigures
{
    long count = 0;
    double meanCents = 0.0;
    double sumOfSquares = 0.0; // of the differences from the running mean
    long inTune = 0;

    // `inTuneCents`: the in-tune zone's half-width; a deviation on its edge counts as in tune.
    void add(double cents, double inTuneCents) noexcept;
    // Takes in another set of figures as if its readings had been added here one by one (the
    // pairwise update of the mean and the sum of squares), to gather runs and days.
    void merge(const IntonationFigures &other) noexcept;
    // The population standard deviation in cents; 0 for fewer than two readings.
    double spreadCents() const noexcept;
    // 0..1; 0 when there is nothing.
    double inTuneShare() const noexcept;
};

// The figures of each of the twelve degrees of the chromatic scale, 0 = C up to 11 = B, as a
// player practising intonation reads them: "my F# is 8 cents sharp". Fixed size; nothing
// allocates after construction.
class IntonationStatistics
{
public:
    static constexpr int kDegrees = 12;

    explicit IntonationStatistics(double inTuneCents) noexcept
        : m_inTuneCents(inTuneCents)
    {
    }

    // A degree outside 0..11 is not counted.
    void add(int degree, double cents) noexcept;
    void reset() noexcept { m_degrees = {}; }
    // Takes in figures gathered elsewhere for `degree` (0..11; another is ignored).
    void merge(int degree, const IntonationFigures &figures) noexcept;

    const IntonationFigures &degree(int degree) const noexcept
    {
        return m_degrees[static_cast<unsigned>(degree) % kDegrees];
    }
    double inTuneCents() const noexcept { return m_inTuneCents; }
    // For the readings added from now on (the in-tune zone's setting changed).
    void setInTuneCents(double cents) noexcept { m_inTuneCents = cents; }
    // The degree whose mean lies furthest from the tempered pitch among those heard at least
    // `minimumCount` times; -1 when none was.
    int worstDegree(long minimumCount = 1) const noexcept;

private:
    double m_inTuneCents;
    std::array<IntonationFigures, kDegrees> m_degrees {};
};

} // namespace corvane
