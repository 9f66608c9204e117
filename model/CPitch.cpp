#include "CPitch.h"

#include "CTCDefs.h" // the plausible reference range the settings keep

#include <cfloat>
#include <cmath>

namespace corvane {

namespace {

    // The semitone ratio and the cents factor as rounded decimals: the tables and every stored
    // deviation were made with exactly these, so they are not replaced by exact values.
    constexpr double kSemitone = 1.05946309436;
    constexpr double kQuarterToneBelow = 0.9715319411569019;
    constexpr double kCentsPerDecade = 3986.31371386; // 1200 / log10(2)

    // Letter name of each A-based pitch class, counted from A (A, A# = 0; B = 1; C, C# = 2 ...).
    constexpr std::array<int, 12> kLetterFromA = { 0, 0, 1, 2, 2, 3, 3, 4, 5, 5, 6, 6 };
    constexpr std::array<uint8_t, 12> kSharped = { 0, 1, 0, 0, 1, 0, 1, 0, 0, 1, 0, 1 };
    constexpr int kA0StaffPosition = -23;

} // namespace

CPitch::CPitch()
{
    for (int i = 0; i < kNoteCount; ++i) {
        staff[i] = kA0StaffPosition + 7 * (i / 12) + kLetterFromA[i % 12];
        sharp[i] = kSharped[i % 12];
    }
    ComputeFrequencies(kStandardReference);
}

bool CPitch::IsValidReference(double hz) noexcept
{
    return std::isfinite(hz) && hz > 0.0 && hz <= FLT_MAX && static_cast<float>(hz) > 0.0f;
}

bool CPitch::IsPlausibleReference(double hz) noexcept
{
    // NaN fails both comparisons.
    return hz >= kLowestPlausibleReferenceHz && hz <= kHighestPlausibleReferenceHz;
}

bool CPitch::SetReference(double hz) noexcept
{
    if (!IsValidReference(hz))
        return false;
    ComputeFrequencies(hz);
    return true;
}

void CPitch::ComputeFrequencies(double r) noexcept
{
    reference = r;
    // Each A is set exactly and the semitones above it are reached by repeated multiplication,
    // so the rounding error of the ratio grows only up to G# and starts afresh at the next A.
    constexpr std::array<double, 9> kAFactor = { 1.0 / 16, 1.0 / 8, 1.0 / 4, 1.0 / 2, 1.0,
                                                 2.0,      4.0,     8.0,     16.0 };
    for (int k = 0; k < 9; ++k)
        freq[12 * k] = r * kAFactor[k];
    for (int k = 0; k < 8; ++k)
        for (int j = 1; j < 12; ++j)
            freq[12 * k + j] = freq[12 * k + j - 1] * kSemitone;
    for (int i = 0; i < kNoteCount; ++i)
        lower[i] = freq[i] * kQuarterToneBelow;
}

double CPitch::Cents(double f, double fRef) noexcept
{
    if (f == 0.0 || fRef == 0.0 || std::isnan(f) || std::isnan(fRef))
        return 1200.0;
    return std::log10(f / fRef) * kCentsPerDecade;
}

double CPitch::ApplyCents(double f, double cents) noexcept
{
    return std::pow(10.0, std::log10(f) + cents / kCentsPerDecade);
}

int CPitch::NoteIndex(double f) const noexcept
{
    if (!(f >= lower[0])) // also NaN
        return 0;
    if (f >= lower[96])
        return 96;
    int o = 1;
    while (o < 8 && !(f < lower[12 * o]))
        ++o;
    const int base = 12 * (o - 1);
    int j = 1;
    while (j < 12 && !(f < lower[base + j]))
        ++j;
    return base + j - 1;
}

int CPitch::NearestNote(double f) const noexcept
{
    if (!(f > 0.0) || !std::isfinite(f))
        return 0;
    // Semitones counted from the lower boundary of the end note, floored, so the quarter-tone
    // bands continue in both directions.
    if (f < lower[0])
        return static_cast<int>(std::floor(12.0 * std::log2(f / lower[0])));
    const double aboveA8 = lower[96] * kSemitone;
    if (f >= aboveA8)
        return 97 + static_cast<int>(std::floor(12.0 * std::log2(f / aboveA8)));
    return NoteIndex(f);
}

double CPitch::NearestNoteFreq(int i) const noexcept
{
    if (i < 0)
        return freq[0] * std::exp2(i / 12.0);
    if (i >= kNoteCount)
        return freq[96] * std::exp2((i - 96) / 12.0);
    return freq[i];
}

double CPitch::NoteFreq(int i) const noexcept
{
    return InTable(i) ? freq[i] : 0.0;
}

double CPitch::LowerBound(int i) const noexcept
{
    return InTable(i) ? lower[i] : 0.0;
}

double CPitch::NoteClassFreq(int n) const noexcept
{
    return freq[kReferenceNote + ((n % 12) + 12) % 12];
}

int CPitch::StaffPosition(int i) const noexcept
{
    return InTable(i) ? staff[i] : 0;
}

bool CPitch::IsSharp(int i) const noexcept
{
    return InTable(i) && sharp[i] != 0;
}

} // namespace corvane
