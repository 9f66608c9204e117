#include "KeyTables.h"

namespace corvane {

namespace {

    constexpr std::array<int, kKeyCount> kTonic = { 2, 9, 4, 11, 6, 1, 8, 3, 10, 5, 0, 7, 2, 9, 4 };

    constexpr std::array<int, kKeyCount> kInterval = { -1, 6, 1,  -4, 3,  -2, 5, 0,
                                                       7,  2, -3, 4,  -1, 6,  1 };

    constexpr std::array<std::string_view, kKeyCount> kMajorName = {
        "C Flat Major", "G Flat Major", "D Flat Major", "A Flat Major",  "E Flat Major",
        "B Flat Major", "F Major",      "C Major",      "G Major",       "D Major",
        "A Major",      "E Major",      "B Major",      "F Sharp Major", "C Sharp Major",
    };

    constexpr std::array<std::string_view, kKeyCount> kMinorName = {
        "C Flat Minor", "G Flat Minor", "D Flat Minor", "A Flat Minor",  "E Flat Minor",
        "B Flat Minor", "F Minor",      "C Minor",      "G Minor",       "D Minor",
        "A Minor",      "E Minor",      "B Minor",      "F Sharp Minor", "C Sharp Minor",
    };

    using Row = std::array<std::string_view, kDegreeCount>;

    // In B, F# and C# degree 6 is spelled as the lowered fifth (F, C, G), while the staff places it
    // as the raised fourth (E#, B#, F##); both name the same pitch.
    constexpr std::array<Row, kKeyCount> kSpelling = { {
            { "Cb", "Dbb", "Db", "Ebb", "Eb", "Fb", "F", "Gb", "Abb", "Ab", "Bbb", "Bb" },
            { "Gb", "Abb", "Ab", "Bbb", "Bb", "Cb", "C", "Db", "Ebb", "Eb", "Fb", "F" },
            { "Db", "Ebb", "Eb", "Fb", "F", "Gb", "G", "Ab", "Bbb", "Bb", "Cb", "C" },
            { "Ab", "Bbb", "Bb", "Cb", "C", "Db", "D", "Eb", "Fb", "F", "Gb", "G" },
            { "Eb", "Fb", "F", "Gb", "G", "Ab", "A", "Bb", "Cb", "C", "Db", "D" },
            { "Bb", "Cb", "C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A" },
            { "F", "Gb", "G", "Ab", "A", "Bb", "B", "C", "Db", "D", "Eb", "E" },
            { "C", "Db", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B" },
            { "G", "Ab", "A", "Bb", "B", "C", "C#", "D", "Eb", "E", "F", "F#" },
            { "D", "Eb", "E", "F", "F#", "G", "G#", "A", "Bb", "B", "C", "C#" },
            { "A", "Bb", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#" },
            { "E", "F", "F#", "G", "G#", "A", "A#", "B", "C", "C#", "D", "D#" },
            { "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#" },
            { "F#", "G", "G#", "A", "A#", "B", "C", "C#", "D", "D#", "E", "E#" },
            { "C#", "D", "D#", "E", "E#", "F#", "G", "G#", "A", "A#", "B", "B#" },
    } };

    // Letter step of each degree above the tonic, and of each key's tonic above C (taken so that
    // the tonic falls in the octave StaffStep counts from).
    constexpr std::array<int, kDegreeCount> kDegreeLetter = { 0, 1, 1, 2, 2, 3, 3, 4, 5, 5, 6, 6 };
    constexpr std::array<int, kKeyCount> kTonicLetter = { 0, 4, 1,  5, 2,  -1, 3, 0,
                                                          4, 1, -2, 2, -1, 3,  0 };

    using Signs = std::array<Accidental, kDegreeCount>;
    constexpr Accidental N = Accidental::None;
    constexpr Accidental b = Accidental::Flat;
    constexpr Accidental s = Accidental::Sharp;
    constexpr Accidental n = Accidental::Natural;
    constexpr Accidental bb = Accidental::DoubleFlat;
    constexpr Accidental x = Accidental::DoubleSharp;

    constexpr Signs kFlatKeySigns = { N, b, N, b, N, N, n, N, b, N, b, N };
    constexpr Signs kSharpKeySigns = { N, n, N, n, N, N, s, N, n, N, n, N };

    constexpr std::array<Signs, kKeyCount> kAccidental = { {
            { N, bb, N, bb, N, N, n, N, bb, N, bb, N }, // Cb
            { N, bb, N, bb, N, N, n, N, bb, N, b, N },  // Gb
            { N, bb, N, b, N, N, n, N, bb, N, b, N },   // Db
            { N, bb, N, b, N, N, n, N, b, N, b, N },    // Ab
            kFlatKeySigns,                              // Eb
            kFlatKeySigns,                              // Bb
            kFlatKeySigns,                              // F
            { N, b, N, b, N, N, s, N, b, N, b, N },     // C
            { N, b, N, b, N, N, s, N, b, N, n, N },     // G
            { N, b, N, n, N, N, s, N, b, N, n, N },     // D
            { N, b, N, n, N, N, s, N, n, N, n, N },     // A
            kSharpKeySigns,                             // E
            kSharpKeySigns,                             // B
            kSharpKeySigns,                             // F#
            { N, n, N, n, N, N, x, N, n, N, n, N },     // C#
    } };

    using Mask = std::array<uint8_t, kDegreeCount>;
    constexpr std::array<Mask, kModeCount> kScaleMask = { {
            { 0, 1, 0, 1, 0, 0, 1, 0, 1, 0, 1, 0 }, // major
            { 0, 1, 0, 0, 1, 0, 1, 0, 0, 1, 0, 1 }, // natural minor
            { 0, 1, 0, 0, 1, 0, 1, 0, 0, 1, 1, 0 }, // harmonic minor
            { 0, 1, 0, 0, 1, 0, 1, 0, 1, 0, 1, 0 }, // melodic minor
    } };

    using Steps = std::array<int, kMaxSignatureCount>;
    constexpr std::array<Steps, kClefCount> kSharpSteps = { {
            { 4, 1, 5, 2, -1, 3, 0 },
            { 3, 0, 4, 1, -2, 2, -1 },
            { -2, 2, -1, 3, 0, 4, 1 },
            { 2, -1, 3, 0, -3, 1, -2 },
    } };
    constexpr std::array<Steps, kClefCount> kFlatSteps = { {
            { 0, 3, -1, 2, -2, 1, -3 },
            { -1, 2, -2, 1, -3, 0, -4 },
            { 1, 4, 0, 3, -1, 2, -2 },
            { -2, 1, -3, 0, -4, -1, -5 },
    } };

    constexpr bool IsClef(int clef) noexcept
    {
        return clef >= 0 && clef < kClefCount;
    }
    constexpr bool IsSignatureEntry(int k) noexcept
    {
        return k >= 1 && k <= kMaxSignatureCount;
    }

} // namespace

int KeyTonic(int key) noexcept
{
    return IsKeyIndex(key) ? kTonic[key] : 0;
}

int TranspositionInterval(int transposeKey) noexcept
{
    return IsKeyIndex(transposeKey) ? kInterval[transposeKey] : 0;
}

std::string_view MajorKeyName(int key) noexcept
{
    return IsKeyIndex(key) ? kMajorName[key] : std::string_view();
}

std::string_view MinorKeyName(int key) noexcept
{
    return IsKeyIndex(key) ? kMinorName[key] : std::string_view();
}

std::string_view DegreeSpelling(int key, int degree) noexcept
{
    return IsKeyIndex(key) && IsDegree(degree) ? kSpelling[key][degree] : std::string_view();
}

int DegreeStaffStep(int key, int degree) noexcept
{
    return IsKeyIndex(key) && IsDegree(degree) ? kDegreeLetter[degree] + kTonicLetter[key] : 0;
}

Accidental DegreeAccidental(int key, int degree) noexcept
{
    return IsKeyIndex(key) && IsDegree(degree) ? kAccidental[key][degree] : Accidental::None;
}

const std::array<uint8_t, kDegreeCount> &ScaleMask(int mode) noexcept
{
    return kScaleMask[mode >= 0 && mode < kModeCount ? mode : 0];
}

int SignatureSharpCount(int key) noexcept
{
    return IsKeyIndex(key) && key > kKeyC ? key - kKeyC : 0;
}

int SignatureFlatCount(int key) noexcept
{
    return IsKeyIndex(key) && key < kKeyC ? kKeyC - key : 0;
}

int SignatureSharpStep(int clef, int k) noexcept
{
    return IsClef(clef) && IsSignatureEntry(k) ? kSharpSteps[clef][k - 1] : 0;
}

int SignatureFlatStep(int clef, int k) noexcept
{
    return IsClef(clef) && IsSignatureEntry(k) ? kFlatSteps[clef][k - 1] : 0;
}

} // namespace corvane
