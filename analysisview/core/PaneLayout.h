#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace corvane {

// Which panes the analysis view stacks, in which order and how tall, from the settings' pane
// bits: notes (1, 120 pixels), intonation (2, 100), volume (4, 100), wave (8, 100), octave bands
// (16, 490), top to bottom in that order; bit 32 lays the timing grid over all of them.
enum class PaneKind { Notes, Intonation, Volume, Wave, Bands };

struct PaneSlot
{
    PaneKind kind;
    int top = 0; // from the top of the stack, pixels
    int height = 0;
};

class PaneLayout
{
public:
    static constexpr uint32_t kNotesBit = 1;
    static constexpr uint32_t kIntonationBit = 2;
    static constexpr uint32_t kVolumeBit = 4;
    static constexpr uint32_t kWaveBit = 8;
    static constexpr uint32_t kBandsBit = 16;
    static constexpr uint32_t kTimingBit = 32;
    static constexpr uint32_t kDefaultBits = 7;

    static int heightOf(PaneKind kind) noexcept;
    static uint32_t bitOf(PaneKind kind) noexcept;

    // The two labels of octave band 0..7 (0 the highest) for a recording at `sampleRate` Hz:
    // "%.1fHz" of its top and its bottom in whole hertz: the bottom is rate / 2^(band + 4), the
    // top the bottom of the band above (twice the bottom for band 0). Allocates.
    static std::pair<std::string, std::string> bandLabels(int sampleRate, int band);

    // Allocates the list of shown panes.
    explicit PaneLayout(uint32_t bits = kDefaultBits);

    uint32_t bits() const noexcept { return m_bits; }
    const std::vector<PaneSlot> &panes() const noexcept { return m_panes; }
    int totalHeight() const noexcept { return m_totalHeight; }
    bool timingShown() const noexcept { return (m_bits & kTimingBit) != 0; }

private:
    uint32_t m_bits;
    std::vector<PaneSlot> m_panes;
    int m_totalHeight = 0;
};

} // namespace corvane
