#pragma once

#include "KeyTables.h"

#include <array>
#include <string>
#include <string_view>

namespace corvane {

// What the clef, key and transposition dialogs show and allow, kept apart from the windows so
// that it can be checked without them. Pure lookups; safe from any thread.

// Clef dialog "Select Clef": one picture button per clef, in clef order.
constexpr std::string_view kClefDialogTitle = "Select Clef";
constexpr std::array<std::string_view, kClefCount> kClefButtonTexts = { "Treble clef", "Alto clef",
                                                                        "Tenor clef", "Bass clef" };

// Key dialog "Select Key Signature": fifteen picture buttons, the sharp keys from C up, then
// the flat keys from F down.
struct KeyButton
{
    std::string_view text;
    int key;
};
constexpr std::string_view kKeyDialogTitle = "Select Key Signature";
constexpr std::array<KeyButton, kKeyCount> kKeyButtons = { {
        { "Key of C", 7 },
        { "Key of G", 8 },
        { "Key of D", 9 },
        { "Key of A", 10 },
        { "Key of E", 11 },
        { "Key of B", 12 },
        { "Key of F#", 13 },
        { "Key of C#", 14 },
        { "Key of F", 6 },
        { "Key of Bb", 5 },
        { "Key of Eb", 4 },
        { "Key of Ab", 3 },
        { "Key of Db", 2 },
        { "Key of Gb", 1 },
        { "Key of Cb", 0 },
} };

// Transposition dialog "Transposition".
constexpr std::string_view kTranspositionDialogTitle = "Transposition";

// The five octave radio buttons, top to bottom.
struct OctaveChoice
{
    std::string_view text;
    int octave;
};
constexpr std::array<OctaveChoice, 5> kOctaveChoices = { {
        { "15ma", 2 },
        { "8va", 1 },
        { "Same Octave", 0 },
        { "8vb", -1 },
        { "15mb", -2 },
} };

// The spin control's step: the key index moved by delta, or unchanged when that would leave
// 0..14.
int StepTransposeKey(int transposeKey, int delta) noexcept;

// The text field: "Transposition: " + the key's major name + the typical instruments.
std::string TranspositionText(int transposeKey, int octave);
// Typical instruments for an octave (-2..+2) and transposition key; empty for most.
std::string_view InstrumentText(int octave, int transposeKey) noexcept;

// Both frames draw a five-line staff with this spacing.
constexpr int kStaffLinePixels = 8;
constexpr int kStaffStepPixels = 4;

// Staff step, from the middle line up, of the C nearest the middle of the staff in a clef: the
// note head of the "Written as" frame.
int WrittenCStep(int clef) noexcept;
// How far the "Sounds as" note head sits from that C, in staff steps (positive = up). These
// drawn steps put G, Gb and F# below the written C although their intervals raise it.
int SoundsAsStep(int transposeKey) noexcept;
// The sign left of the "Sounds as" note head: a flat for Cb .. Bb, a sharp for F# and C#, none
// for the natural keys.
Accidental SoundsAsAccidental(int transposeKey) noexcept;

// The octave label of the "Sounds as" frame: "15ma" or "8va" above the staff, "8vb" or "15mb"
// below it, empty for the same octave.
std::string_view OctaveLabel(int octave) noexcept;
constexpr bool OctaveLabelAbove(int octave) noexcept
{
    return octave > 0;
}

} // namespace corvane
