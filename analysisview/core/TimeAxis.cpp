#include "TimeAxis.h"

#include <algorithm>
#include <cstdint>

namespace corvane {

namespace {

    // Floor division for a possibly negative numerator and a positive divisor.
    int64_t floorDiv(int64_t a, int64_t b) noexcept
    {
        return a >= 0 ? a / b : -((-a + b - 1) / b);
    }

} // namespace

int TimeAxis::fittingZoom(int64_t blocks, int dataWidth) noexcept
{
    for (int i = kZoomCount - 1; i > 0; --i) {
        const ZoomStep &z = kZoomSteps[static_cast<std::size_t>(i)];
        if ((blocks * z.pixels + z.blocks - 1) / z.blocks <= dataWidth)
            return i;
    }
    return 0;
}

void TimeAxis::setFormat(int32_t blockLength, int32_t sampleRate) noexcept
{
    m_blockLength = std::max(blockLength, 1);
    m_sampleRate = std::max(sampleRate, 1);
}

void TimeAxis::setSampleCount(int32_t count) noexcept
{
    m_sampleCount = std::max(count, 0);
    scrollTo(m_firstBlock);
}

void TimeAxis::setDataWidth(int width) noexcept
{
    m_dataWidth = std::max(width, 0);
    scrollTo(m_firstBlock);
}

void TimeAxis::setZoomIndex(int index) noexcept
{
    m_zoomIndex = std::clamp(index, 0, kZoomCount - 1);
    scrollTo(m_firstBlock);
}

bool TimeAxis::zoomIn() noexcept
{
    if (m_zoomIndex + 1 >= kZoomCount)
        return false;
    setZoomIndex(m_zoomIndex + 1);
    return true;
}

bool TimeAxis::zoomOut() noexcept
{
    if (m_zoomIndex == 0)
        return false;
    setZoomIndex(m_zoomIndex - 1);
    return true;
}

int32_t TimeAxis::pageBlocks() const noexcept
{
    const int64_t blocks = int64_t { m_dataWidth } * blocksPerColumn() / columnsPerBlock();
    return static_cast<int32_t>(std::min<int64_t>(blocks, INT32_MAX));
}

int32_t TimeAxis::maxFirstBlock() const noexcept
{
    // Rounded up to a whole column, so that the last blocks can always be brought into view.
    const int64_t rest = std::max<int64_t>(int64_t { m_sampleCount } - pageBlocks(), 0);
    const int64_t q = blocksPerColumn();
    return static_cast<int32_t>((rest + q - 1) / q * q);
}

int32_t TimeAxis::scrollTo(int32_t block) noexcept
{
    const int32_t before = m_firstBlock;
    const int32_t clamped = std::clamp(block, 0, maxFirstBlock());
    m_firstBlock = clamped - clamped % blocksPerColumn();
    return m_firstBlock - before;
}

int64_t TimeAxis::firstColumn() const noexcept
{
    return int64_t { m_firstBlock } * columnsPerBlock() / blocksPerColumn();
}

int64_t TimeAxis::columnsOf(int64_t blocks) const noexcept
{
    const int64_t q = blocksPerColumn();
    return floorDiv(blocks * columnsPerBlock() + q - 1, q);
}

double TimeAxis::secondsPerBlock() const noexcept
{
    return static_cast<double>(m_blockLength) / m_sampleRate;
}

double TimeAxis::framesPerPixel() const noexcept
{
    return static_cast<double>(m_blockLength) * blocksPerColumn() / columnsPerBlock();
}

double TimeAxis::secondsPerPixel() const noexcept
{
    return framesPerPixel() / m_sampleRate;
}

int TimeAxis::xOfBlock(int64_t block) const noexcept
{
    const int64_t x =
            kDataLeft + floorDiv((block - m_firstBlock) * columnsPerBlock(), blocksPerColumn());
    return static_cast<int>(std::clamp<int64_t>(x, -(int64_t { 1 } << 30), int64_t { 1 } << 30));
}

int32_t TimeAxis::blockAtX(int x) const noexcept
{
    const int64_t column = std::max(x, kDataLeft) - kDataLeft;
    const int64_t block = column * blocksPerColumn() / columnsPerBlock() + m_firstBlock;
    return static_cast<int32_t>(std::min<int64_t>(block, INT32_MAX));
}

double TimeAxis::timeAtX(int x) const noexcept
{
    return (x - kDataLeft) * secondsPerPixel();
}

} // namespace corvane
