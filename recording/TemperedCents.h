#pragma once

#include "AnalysisReport.h"
#include "TemperamentCatalog.h"

#include <array>

namespace corvane {

class KeyContext;

// The temperament's offset of each A-based pitch class (0 = A, 3 = C) in the sounding key: what
// a reading's cents from the equal-tempered note lose to become cents from the tempered one.
using PitchClassCents = std::array<double, 12>;

PitchClassCents pitchClassCents(const DegreeCents &offsets, const KeyContext &keys) noexcept;

// The row's cents (or a note's mean cents) counted from the tempered pitch of its note instead
// of the equal-tempered one. Rows without a note stay as they are.
void temper(AnalysisReport::SampleRow &row, const PitchClassCents &offsets) noexcept;
void temper(AnalysisReport::NoteRow &row, const PitchClassCents &offsets) noexcept;

} // namespace corvane
