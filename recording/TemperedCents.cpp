#include "TemperedCents.h"

#include "KeyContext.h"

namespace corvane {

namespace {

    int pitchClassOf(int note) noexcept
    {
        return ((note % 12) + 12) % 12;
    }

} // namespace

PitchClassCents pitchClassCents(const DegreeCents &offsets, const KeyContext &keys) noexcept
{
    PitchClassCents byClass {};
    for (int degree = 0; degree < 12; ++degree)
        byClass[std::size_t(keys.DegreePitchClass(degree))] = offsets[std::size_t(degree)];
    return byClass;
}

void temper(AnalysisReport::SampleRow &row, const PitchClassCents &offsets) noexcept
{
    if (row.named)
        row.cents -= offsets[std::size_t(pitchClassOf(row.note))];
}

void temper(AnalysisReport::NoteRow &row, const PitchClassCents &offsets) noexcept
{
    if (!row.rest)
        row.meanCents -= offsets[std::size_t(pitchClassOf(row.note))];
}

} // namespace corvane
