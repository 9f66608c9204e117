#pragma once

#include "CTCDefs.h" // PinwheelThresholds
#include "PitchReadout.h"
#include "PixelRect.h"

#include <string>

namespace corvane::tuner {

// What the tuner's readout shows, decided apart from drawing: the note as written, its frequency
// and deviation, the verdict in words (so the zone is never told by color alone), the needle's
// place on a scale of ±50 cents, and what a screen reader says.
//
// A plain value made on the user-interface thread from the readout and the pinwheels' zone
// thresholds.
struct ReadoutPicture
{
    enum class Zone { InTune, Flat, Sharp };

    bool shown = false;
    std::string note;    // "F#4"
    std::string hz;      // "370.0 Hz"
    std::string cents;   // "+8.0 cents"
    std::string verdict; // "in tune", "flat", "sharp"
    Zone zone = Zone::InTune;
    double needle = 0.0; // -1 at 50 cents flat ... +1 at 50 cents sharp, clamped
    // The half-width of the in-tune zone on the same scale (0 ... 1).
    double inTuneHalfWidth = 0.0;
    // "below range" or "above range" for a clear note outside the analyzer's limits (then
    // `shown` is false: no note, frequency, cents or needle); else empty.
    std::string outOfRange;
    // "F#4, 370.0 Hz, 8.0 cents sharp, sharp"; "Below range" or "Above range"; "No note" while
    // nothing is heard.
    std::string spoken;

    // In tune within the pinwheels' middle threshold (t2 cents either side), else flat or sharp.
    static ReadoutPicture of(const PitchReadout &readout, const PinwheelThresholds &thresholds);
};

// Where the readout's parts go in its area and how large they are drawn, in pixels. A low area
// (the panel's strip) gets the note with the frequency and the cents beside it; a taller one adds
// the verdict and a cents scale under the texts, and lets the note take over half the height.
struct ReadoutGeometry
{
    PixelRect note;
    PixelRect cents; // the cents, and beside them the verdict
    PixelRect hz;
    PixelRect scale;    // empty in the low layout
    int noteHeight = 0; // the note name's cap height to aim for
    int textHeight = 0; // the other texts'

    // Areas lower than this get the strip layout.
    static constexpr int kTallFrom = 80;

    static ReadoutGeometry within(const PixelRect &area) noexcept;
    bool tall() const noexcept { return scale.height() > 0; }
};

} // namespace corvane::tuner
