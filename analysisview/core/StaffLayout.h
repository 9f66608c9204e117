#pragma once

#include "KeyTables.h"

#include <vector>

namespace corvane {

class KeyContext;

// Where the notes pane puts its clef, key signature, note heads, accidentals and ledger lines,
// around a staff whose middle line lies at y = `middleLine`. Staff lines are 8 pixels apart,
// 4 pixels per staff step. Glyph sizes: note head 9 x 7, accidentals 11 x 22.
//
// Reads the key context it is given (clef, written key, transposition); user-interface thread.
class StaffLayout
{
public:
    static constexpr int kStepPixels = 4;
    static constexpr int kLineSpacing = 8;
    static constexpr int kKeySignatureLeft = 30;
    static constexpr int kKeySignatureStep = 10;

    struct SignatureGlyph
    {
        Accidental sign; // Sharp or Flat
        int x;           // left edge
        int top;
    };

    struct NoteGlyph
    {
        int headX, headY;      // top-left of the 9 x 7 head
        int y;                 // the note's line or space
        Accidental accidental; // None: no sign drawn
        int accidentalX, accidentalTop;
        std::vector<int> ledgerYs; // ledger lines, each from x - 8 to x + 8
        // Octaves the note is drawn above (+) or below (-) where it is written, to stay within
        // the pane: +1 "8vb", +2 "15mb", -1 "8va", -2 "15ma" beside the head; 0 none.
        int octavesMoved = 0;
    };

    StaffLayout(const KeyContext &keys, int middleLine) noexcept;

    int middleLine() const noexcept { return m_middle; }
    // y of the five lines, top first.
    int lineY(int line) const noexcept { return m_middle - 16 + kLineSpacing * line; }
    // y of written middle C in the current clef.
    int middleCY() const noexcept { return m_middleC; }

    // The key signature of the written key, sharps or flats, left to right. Allocates.
    std::vector<SignatureGlyph> keySignature() const;

    // The glyphs of a concert note index 0..96 whose left edge is at x. Allocates.
    NoteGlyph note(int noteIndex, int x) const;
    // The same, drawn up to two octaves nearer the staff when its line or space lies more than
    // `reach` pixels above or below the middle line, as a score writes a cello's low C in the
    // treble clef: an octave sign then says where it is played (NoteGlyph::octavesMoved).
    NoteGlyph noteWithin(int noteIndex, int x, int reach) const;

private:
    const KeyContext &m_keys;
    int m_middle;
    int m_middleC;
};

} // namespace corvane
