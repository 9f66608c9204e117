#pragma once

#include <cstdint>

namespace corvane {

// What the main window's commands decide, without the window: playback and looped playback
// (which exclude each other and exclude starting the tuner), the zoom level of the analysis
// views, and the visible panes. The window only shows this state on its buttons and menus.
// User-interface thread only; allocates nothing.
class MainFrameState
{
public:
    static constexpr int kMinZoom = 0;
    // The analysis view's zoom steps: 128 blocks a pixel (an hour in a window) .. 512 pixels a
    // block, starting at 16 pixels a block.
    static constexpr int kMaxZoom = 16;
    static constexpr int kStartZoom = 11;

    // The pane bits of the settings record's view panes.
    enum Pane : std::uint32_t {
        Notes = 1,
        Intonation = 2,
        Volume = 4,
        Wave = 8,
        OctaveBands = 16,
        TimingMarks = 32,
    };

    // What a Play or Loop toggle did.
    enum class Toggle { Started, Stopped, Refused };

    bool playing() const noexcept { return m_playing; }
    bool looping() const noexcept { return m_looping; }

    // "Tuner only" and "Capture" are usable while nothing plays.
    bool canStartTuner() const noexcept { return !m_playing && !m_looping; }
    // Play is usable unless looping, Loop unless playing.
    bool canPlay() const noexcept { return !m_looping; }
    bool canLoop() const noexcept { return !m_playing; }

    // Play: stops a playback that runs; starts one when nothing plays; refused while looping.
    Toggle togglePlay() noexcept;
    // Loop: the same for looped playback, refused while playing.
    Toggle toggleLoop() noexcept;
    // The recording came to its end (or playback failed): neither plays any longer.
    void playbackEnded() noexcept { m_playing = m_looping = false; }

    int zoom() const noexcept { return m_zoom; }
    // One step in or out; false (and no change) at the limits.
    bool zoomIn() noexcept;
    bool zoomOut() noexcept;

    static std::uint32_t togglePane(std::uint32_t panes, Pane pane) noexcept
    {
        return panes ^ std::uint32_t(pane);
    }

private:
    bool m_playing = false;
    bool m_looping = false;
    int m_zoom = kStartZoom;
};

} // namespace corvane
