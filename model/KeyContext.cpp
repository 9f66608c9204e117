#include "KeyContext.h"

#include "CPitch.h"
#include "CTCDefs.h"

#include <algorithm>
#include <climits>

namespace corvane {

namespace {

    constexpr bool IsClef(int clef) noexcept
    {
        return clef >= 0 && clef < kClefCount;
    }
    constexpr bool IsOctave(int octave) noexcept
    {
        return octave >= KeyContext::kMinOctave && octave <= KeyContext::kMaxOctave;
    }

    // Non-negative remainder, for pitch classes of notes and differences that may be negative.
    constexpr int Mod12(int value) noexcept
    {
        return ((value % 12) + 12) % 12;
    }

} // namespace

KeyContext::KeyContext(CTCDefs &stored) noexcept
    : settings(&stored)
{
    const auto asInt = [](uint32_t value) {
        return static_cast<int>(std::min<uint32_t>(value, INT_MAX));
    };
    const int storedClef = asInt(stored.GetClef());
    const int storedKey = asInt(stored.GetTransposeKey());
    const int storedOctave = stored.GetTransposeOctave();
    clef = IsClef(storedClef) ? storedClef : 0;
    transposeKey = IsKeyIndex(storedKey) ? storedKey : kKeyC;
    transposeOctave = IsOctave(storedOctave) ? storedOctave : 0;
}

bool KeyContext::SetClef(int newClef) noexcept
{
    if (!IsClef(newClef))
        return false;
    clef = newClef;
    if (settings)
        settings->SetClef(static_cast<uint32_t>(newClef));
    return true;
}

bool KeyContext::SetKey(int newKey) noexcept
{
    if (!IsKeyIndex(newKey))
        return false;
    key = newKey;
    return true;
}

bool KeyContext::SetMode(int newMode) noexcept
{
    if (newMode < 0 || newMode >= kModeCount)
        return false;
    mode = newMode;
    scaleMask = ScaleMask(newMode);
    return true;
}

bool KeyContext::IsChromatic(int degree) const noexcept
{
    return IsDegree(degree) && scaleMask[degree] != 0;
}

std::string_view KeyContext::KeyName() const noexcept
{
    return mode != 0 ? MinorKeyName(key) : corvane::MajorKeyName(key);
}

bool KeyContext::SetTransposition(int newKey, int octave) noexcept
{
    if (!IsKeyIndex(newKey) || !IsOctave(octave))
        return false;
    transposeKey = newKey;
    transposeOctave = octave;
    if (settings) {
        settings->SetTransposeKey(static_cast<uint32_t>(newKey));
        settings->SetTransposeOctave(octave);
    }
    return true;
}

std::string_view KeyContext::SpellDegree(int degree) const noexcept
{
    return DegreeSpelling(key, degree);
}

int KeyContext::SoundingKey() const noexcept
{
    int sounding = key + transposeKey - kKeyC;
    if (sounding >= kKeyCount)
        sounding -= 12;
    else if (sounding < 0)
        sounding += 12;
    return sounding;
}

int KeyContext::DegreePitchClass(int degree) const noexcept
{
    return Mod12(KeyTonic(SoundingKey()) + degree);
}

int KeyContext::DegreeOfNote(int noteIndex) const noexcept
{
    return Mod12(Mod12(noteIndex) - KeyTonic(SoundingKey()));
}

int KeyContext::WrittenIndex(int concertIndex) const noexcept
{
    const int written = concertIndex - TranspositionInterval(transposeKey) - 12 * transposeOctave;
    return std::clamp(written, 0, CPitch::kNoteCount - 1);
}

KeyContext::WrittenDegree KeyContext::WrittenDegreeOf(int concertIndex) const noexcept
{
    const int fromTonic = WrittenIndex(concertIndex) - KeyTonic(key);
    const int octave = fromTonic >= 0 ? fromTonic / 12 : -((11 - fromTonic) / 12);
    return { fromTonic - 12 * octave, octave };
}

int KeyContext::StaffStep(int concertIndex) const noexcept
{
    // Note indices start at A0, three octaves and a sixth below middle C; the key's tonic
    // letter offset takes care of the sixth.
    const WrittenDegree written = WrittenDegreeOf(concertIndex);
    return DegreeStaffStep(key, written.degree) + 7 * (written.octave - 3);
}

Accidental KeyContext::AccidentalOf(int concertIndex) const noexcept
{
    return DegreeAccidental(key, WrittenDegreeOf(concertIndex).degree);
}

int KeyContext::SharpCount() const noexcept
{
    return SignatureSharpCount(key);
}

int KeyContext::FlatCount() const noexcept
{
    return SignatureFlatCount(key);
}

int KeyContext::SharpStep(int k) const noexcept
{
    return SignatureSharpStep(clef, k);
}

int KeyContext::FlatStep(int k) const noexcept
{
    return SignatureFlatStep(clef, k);
}

} // namespace corvane
