#pragma once

#include <array>
#include <cstdint>

namespace corvane {

// The time axis every pane of the analysis view shares: which block of the recording sits at
// which x, at the current zoom and scroll position.
//
// Each pane has a label column x = 0..100; its data area starts at x = 101, where the left edge
// of the first visible block is drawn. Zoomed in, block k covers columnsPerBlock() pixels from
// x = 101 + columnsPerBlock() * (k - firstVisibleBlock()); zoomed out, blocksPerColumn() blocks
// share one pixel column, so that a whole hour fits a window.
//
// The zoom is one of seventeen steps, from 128 blocks a pixel to 512 pixels a block, starting at
// 16 pixels a block; the scroll position is a whole block within 0 .. maxFirstBlock(), and a
// whole number of columns (a multiple of blocksPerColumn()) so that a column always holds the
// same blocks whatever the scroll position (the envelopes kept between paints rely on it).
// A plain value: user-interface thread, never allocates.
class TimeAxis
{
public:
    static constexpr int kLabelWidth = 100;
    static constexpr int kDataLeft = 101;
    // `pixels` pixel columns for every `blocks` blocks; one of the two is 1.
    struct ZoomStep
    {
        int pixels;
        int blocks;
    };
    static constexpr std::array<ZoomStep, 17> kZoomSteps { {
            { 1, 128 },
            { 1, 64 },
            { 1, 32 },
            { 1, 16 },
            { 1, 8 },
            { 1, 4 },
            { 1, 2 },
            { 1, 1 },
            { 2, 1 },
            { 4, 1 },
            { 8, 1 },
            { 16, 1 },
            { 32, 1 },
            { 64, 1 },
            { 128, 1 },
            { 256, 1 },
            { 512, 1 },
    } };
    static constexpr int kZoomCount = static_cast<int>(kZoomSteps.size());
    static constexpr int kDefaultZoomIndex = 11;

    // The largest zoom index at which `blocks` blocks fit `dataWidth` pixels, else 0.
    static int fittingZoom(int64_t blocks, int dataWidth) noexcept;

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

    // Zoom index 0 .. kZoomCount - 1; zoomIn/zoomOut move one step and return false at the ends.
    int zoomIndex() const noexcept { return m_zoomIndex; }
    void setZoomIndex(int index) noexcept;
    bool zoomIn() noexcept;
    bool zoomOut() noexcept;
    // Pixels a block covers (below 1 when zoomed out); its two whole parts, each at least 1.
    double pixelsPerBlock() const noexcept
    {
        return static_cast<double>(step().pixels) / step().blocks;
    }
    int columnsPerBlock() const noexcept { return step().pixels; }
    int blocksPerColumn() const noexcept { return step().blocks; }

    // Whole blocks that fit the data area, and the largest scroll position.
    int32_t pageBlocks() const noexcept;
    int32_t maxFirstBlock() const noexcept;
    int32_t firstVisibleBlock() const noexcept { return m_firstBlock; }
    // Clamps to 0..maxFirstBlock(); returns the change actually made, in blocks.
    int32_t scrollTo(int32_t block) noexcept;

    double secondsPerBlock() const noexcept;
    double framesPerPixel() const noexcept;
    double secondsPerPixel() const noexcept;

    // The data area's first column counted from the recording's start (column 0 holds block 0),
    // and the columns `blocks` blocks take, a part column counting whole.
    int64_t firstColumn() const noexcept;
    int64_t columnsOf(int64_t blocks) const noexcept;

    // Left edge of block `block` (of the column it falls in, zoomed out).
    int xOfBlock(int64_t block) const noexcept;
    // The block under x (the first of its column, zoomed out); an x in the label column counts
    // as the data area's left edge.
    int32_t blockAtX(int x) const noexcept;
    // Seconds from the data area's left edge to x.
    double timeAtX(int x) const noexcept;

private:
    const ZoomStep &step() const noexcept
    {
        return kZoomSteps[static_cast<std::size_t>(m_zoomIndex)];
    }

    int32_t m_blockLength = 1024;
    int32_t m_sampleRate = 11025;
    int32_t m_sampleCount = 0;
    int m_dataWidth = 0;
    int m_zoomIndex = kDefaultZoomIndex;
    int32_t m_firstBlock = 0;
};

} // namespace corvane
