#include "TimeAxis.h"

#include <algorithm>

namespace corvane {

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
    m_zoomIndex = std::clamp(index, 0, static_cast<int>(kPixelsPerBlock.size()) - 1);
    scrollTo(m_firstBlock);
}

bool TimeAxis::zoomIn() noexcept
{
    if (m_zoomIndex + 1 >= static_cast<int>(kPixelsPerBlock.size()))
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

int32_t TimeAxis::maxFirstBlock() const noexcept
{
    return std::max(m_sampleCount - pageBlocks(), 0);
}

int32_t TimeAxis::scrollTo(int32_t block) noexcept
{
    const int32_t before = m_firstBlock;
    m_firstBlock = std::clamp(block, 0, maxFirstBlock());
    return m_firstBlock - before;
}

double TimeAxis::secondsPerBlock() const noexcept
{
    return static_cast<double>(m_blockLength) / m_sampleRate;
}

double TimeAxis::framesPerPixel() const noexcept
{
    return static_cast<double>(m_blockLength) / pixelsPerBlock();
}

double TimeAxis::secondsPerPixel() const noexcept
{
    return framesPerPixel() / m_sampleRate;
}

int TimeAxis::xOfBlock(int64_t block) const noexcept
{
    const int64_t x = kDataLeft + int64_t { pixelsPerBlock() } * (block - m_firstBlock);
    return static_cast<int>(std::clamp<int64_t>(x, -(int64_t { 1 } << 30), int64_t { 1 } << 30));
}

int32_t TimeAxis::blockAtX(int x) const noexcept
{
    return (std::max(x, kLabelWidth) - kLabelWidth) / pixelsPerBlock() + m_firstBlock;
}

double TimeAxis::timeAtX(int x) const noexcept
{
    return (x - kDataLeft) * secondsPerPixel();
}

} // namespace corvane
