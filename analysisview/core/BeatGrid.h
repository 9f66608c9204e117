#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvane {

// The timing grid laid over the panes: marks every `interval` seconds, which the user drags
// into place and stretches to the tempo of the recording.
//
// The grid is anchored to the recording, not to the window: `originPhase` is the time from the
// recording's start to the first mark, in [0, interval). Scrolling therefore never moves a mark
// against the music; the phase seen from the window's left edge is derived from it.
//
// All times are seconds. Every operation that takes a pixel size takes the view's seconds per
// pixel. A plain value: user-interface thread.
class BeatGrid
{
public:
    static constexpr double kDefaultInterval = 1.0; // 60 bpm
    // The shortest interval a stretch may reach, and the one below which the grid is doubled
    // rather than drawn as a solid block of marks, in pixels.
    static constexpr int kMinStretchPixels = 8;
    static constexpr int kMinShownPixels = 4;

    double interval() const noexcept { return m_interval; }
    double originPhase() const noexcept { return m_originPhase; }
    // Back to a mark at the recording's start; the interval stays.
    void resetPhase() noexcept { m_originPhase = 0.0; }

    // Time from a window edge at `leftEdge` seconds into the recording to the next mark, in
    // [0, interval).
    double phaseAt(double leftEdge) const noexcept;

    // Pixel offsets from the data area's left edge of the marks that lie in [0, width) pixels.
    // Allocates.
    std::vector<int> markOffsets(double leftEdge, double secondsPerPixel, int width) const;

    // The mark a point `t` seconds right of the left edge grabs: one that lies within three
    // pixels of it. Returns that mark's time from the left edge.
    std::optional<double> markAt(double t, double leftEdge, double secondsPerPixel) const noexcept;

    // Moves every mark by `seconds` (positive: later).
    void drag(double seconds) noexcept;

    // Starts stretching at the mark at absolute time `markTime`: the mark before it stays where
    // it is while the grabbed one follows the mouse.
    void beginStretch(double markTime) noexcept;
    // Widens (or narrows) the interval by `seconds`. An interval that would fall below
    // kMinStretchPixels stops there and ends the stretch; returns whether it goes on.
    bool stretch(double seconds, double secondsPerPixel) noexcept;
    void endStretch() noexcept { m_stretching = false; }
    bool stretching() const noexcept { return m_stretching; }

    // Doubles an interval too short to draw at this zoom (once per call).
    void keepDrawable(double secondsPerPixel) noexcept;

    // "120bpm": whole beats per minute, truncated. Allocates.
    std::string bpmText() const;

private:
    static double wrap(double value, double period) noexcept;

    double m_interval = kDefaultInterval;
    double m_originPhase = 0.0;
    double m_stretchAnchor = 0.0; // absolute time of the mark that stays put while stretching
    bool m_stretching = false;
};

} // namespace corvane
