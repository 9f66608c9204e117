#pragma once

#include <array>
#include <cstdint>

namespace corvane {

// The time axis every pane of the analysis view shares: which block of the recording sits at
// which x, at the current zoom and scroll position.
//
// Each pane has a label column x = 0..100; its data area starts at x = 101, where the left edge
// of the first visible block is drawn. Block k covers pixelsPerBlock() pixels from
// x = 101 + pixelsPerBlock() * (k - firstVisibleBlock()).
//
// The zoom is one of nine steps, 2 ... 512 pixels per block, starting at 16; the scroll position
// is always a whole block within 0 .. sampleCount - pageBlocks (0 when the recording fits).
// A plain value: user-interface thread, never allocates.
class TimeAxis
{
public:
    static constexpr int kLabelWidth = 100;
    static constexpr int kDataLeft = 101;
    static constexpr std::array<int, 9> kPixelsPerBlock { 2, 4, 8, 16, 32, 64, 128, 256, 512 };
    static constexpr int kDefaultZoomIndex = 3;

    // Frames per block and the rate they were recorded at (Hz); both at least 1.
    void setFormat(int32_t blockLength, int32_t sampleRate) noexcept;
    int32_t blockLength() const noexcept { return m_blockLength; }
    int32_t sampleRate() const noexcept { return m_sampleRate; }

    // The number of blocks of the recording, and the width of the data area in pixels (the
    // view's width less the label column, at least 0). Both keep the scroll position in range.
    void setSampleCount(int32_t count) noexcept;
    int32_t sampleCount() const noexcept { return m_sampleCount; }
    void setDataWidth(int width) noexcept;
    int dataWidth() const noexcept { return m_dataWidth; }

    // Zoom index 0..8; zoomIn/zoomOut move one step and return false at the ends.
    int zoomIndex() const noexcept { return m_zoomIndex; }
    void setZoomIndex(int index) noexcept;
    bool zoomIn() noexcept;
    bool zoomOut() noexcept;
    int pixelsPerBlock() const noexcept
    {
        return kPixelsPerBlock[static_cast<std::size_t>(m_zoomIndex)];
    }

    // Whole blocks that fit the data area, and the largest scroll position.
    int32_t pageBlocks() const noexcept { return m_dataWidth / pixelsPerBlock(); }
    int32_t maxFirstBlock() const noexcept;
    int32_t firstVisibleBlock() const noexcept { return m_firstBlock; }
    // Clamps to 0..maxFirstBlock(); returns the change actually made, in blocks.
    int32_t scrollTo(int32_t block) noexcept;

    double secondsPerBlock() const noexcept;
    double framesPerPixel() const noexcept;
    double secondsPerPixel() const noexcept;

    // Left edge of block `block`.
    int xOfBlock(int64_t block) const noexcept;
    // The block under x; an x in the label column counts as the data area's left edge.
    int32_t blockAtX(int x) const noexcept;
    // Seconds from the data area's left edge to x.
    double timeAtX(int x) const noexcept;

private:
    int32_t m_blockLength = 1024;
    int32_t m_sampleRate = 11025;
    int32_t m_sampleCount = 0;
    int m_dataWidth = 0;
    int m_zoomIndex = kDefaultZoomIndex;
    int32_t m_firstBlock = 0;
};

} // namespace corvane
