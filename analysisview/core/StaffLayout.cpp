#include "StaffLayout.h"

#include "KeyContext.h"

namespace corvane {

namespace {

    // Middle C below the middle line, in pixels, per clef (treble, alto, tenor, bass): one ledger
    // line below the treble staff, on the alto's middle line, on the tenor's fourth line, one
    // ledger line above the bass staff.
    constexpr int kMiddleCOffset[kClefCount] = { 24, 0, -8, -24 };

} // namespace

StaffLayout::StaffLayout(const KeyContext &keys, int middleLine) noexcept
    : m_keys(keys)
    , m_middle(middleLine)
{
    const int clef = keys.Clef();
    m_middleC = middleLine + (clef >= 0 && clef < kClefCount ? kMiddleCOffset[clef] : 24);
}

std::vector<StaffLayout::SignatureGlyph> StaffLayout::keySignature() const
{
    std::vector<SignatureGlyph> glyphs;
    const int flats = m_keys.FlatCount();
    if (flats == 0) {
        for (int k = 1; k <= m_keys.SharpCount(); ++k)
            glyphs.push_back({ Accidental::Sharp, kKeySignatureLeft + kKeySignatureStep * (k - 1),
                               m_middle - kStepPixels * m_keys.SharpStep(k) - 11 });
    } else {
        for (int k = 1; k <= flats; ++k)
            glyphs.push_back({ Accidental::Flat, kKeySignatureLeft + kKeySignatureStep * (k - 1),
                               m_middle - (kStepPixels * m_keys.FlatStep(k) + 16) });
    }
    return glyphs;
}

StaffLayout::NoteGlyph StaffLayout::note(int noteIndex, int x) const
{
    NoteGlyph glyph {};
    glyph.y = m_middleC - kStepPixels * m_keys.StaffStep(noteIndex);
    glyph.headX = x - 4;
    glyph.headY = glyph.y - 3;
    glyph.accidental = m_keys.AccidentalOf(noteIndex);
    glyph.accidentalX = x - 17;
    const bool low =
            glyph.accidental == Accidental::Flat || glyph.accidental == Accidental::DoubleFlat;
    glyph.accidentalTop = glyph.y - (low ? 16 : 11);

    // Ledger lines on every line position between the staff and the note, the note's own
    // included when it sits on a line.
    const int above = m_middle - 24;
    const int below = m_middle + 24;
    for (int y = above; y >= glyph.y; y -= kLineSpacing)
        glyph.ledgerYs.push_back(y);
    for (int y = below; y <= glyph.y; y += kLineSpacing)
        glyph.ledgerYs.push_back(y);
    return glyph;
}

StaffLayout::NoteGlyph StaffLayout::noteWithin(int noteIndex, int x, int reach) const
{
    constexpr int kOctavePixels = 7 * kStepPixels;
    const int y = m_middleC - kStepPixels * m_keys.StaffStep(noteIndex);
    int moved = 0;
    while (y - kOctavePixels * moved > m_middle + reach && moved < 2)
        ++moved;
    while (y - kOctavePixels * moved < m_middle - reach && moved > -2)
        --moved;
    NoteGlyph glyph = note(noteIndex + 12 * moved, x);
    glyph.octavesMoved = moved;
    return glyph;
}

} // namespace corvane
