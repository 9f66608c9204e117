#include "PlaybackFeed.h"

#include "MediaFormat.h"
#include "MediaSample.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace corvane {

namespace {

    // A small pool: playback reads the file front to back, so a few pages ahead is all it needs.
    constexpr int kFeedPoolPages = 4;

} // namespace

PlaybackFeed::PlaybackFeed()
    : m_pool(kFeedPoolPages)
    , m_reader(m_pool)
{
}

PlaybackFeed::~PlaybackFeed()
{
    m_reader.close();
}

std::pair<int32_t, int32_t> PlaybackFeed::rangeFor(int32_t selStart, int32_t selEnd,
                                                   int32_t sampleCount, double maxDelaySeconds,
                                                   double secondsPerBlock) noexcept
{
    if (selEnd <= selStart)
        return { 0, sampleCount };
    const auto delayBlocks = secondsPerBlock > 0.0
            ? static_cast<int32_t>(std::clamp(maxDelaySeconds / secondsPerBlock, 0.0, 1e6))
            : 0;
    return { selStart - delayBlocks, selEnd - delayBlocks };
}

bool PlaybackFeed::prepare(const std::filesystem::path &signalFile, int32_t blockLength,
                           int32_t sampleRate, int32_t bitsPerSample, int32_t sampleCount)
{
    m_feedFormat = {};
    if (blockLength <= 0 || sampleRate <= 0 || SampleFormat::slotBytes(bitsPerSample) == 0
        || blockLength > (1 << 20) / kBlocksPerFeed)
        return false;
    if (!m_reader.open(signalFile))
        return false;
    m_blockLength = blockLength;
    m_sampleCount = std::max(sampleCount, 0);
    const PcmFormat format { blockLength * kBlocksPerFeed, 1, sampleRate, bitsPerSample };
    try {
        m_pin.setFormat(MediaFormat { format.blockLength, static_cast<double>(sampleRate) });
        if (!m_pin.peer())
            m_pin.connect(m_destination.inputPin(1));
    } catch (const std::exception &) {
        m_reader.close();
        return false;
    }
    m_feedFormat = format;
    setRange(0, m_sampleCount);
    return true;
}

void PlaybackFeed::setRange(int32_t start, int32_t end) noexcept
{
    m_start = start;
    m_end = std::max(start, end);
    m_next = start;
    m_shown.store(start, std::memory_order_relaxed);
    m_finished.store(false, std::memory_order_relaxed);
}

void PlaybackFeed::fillBlock(float *to, int32_t block) noexcept
{
    const auto length = static_cast<std::size_t>(m_blockLength);
    if (block < m_start || block >= m_end || block < 0 || block >= m_sampleCount) {
        std::fill(to, to + length, 0.0f);
        return;
    }
    const int64_t first = int64_t { block } * m_blockLength;
    for (std::size_t i = 0; i < length; ++i)
        to[i] = m_reader.at(first + static_cast<int64_t>(i));
}

void PlaybackFeed::silence(std::byte *out) const noexcept
{
    const std::byte value = m_feedFormat.bitsPerSample == 8 ? std::byte { 128 } : std::byte { 0 };
    std::memset(out, std::to_integer<int>(value), static_cast<std::size_t>(feedBytes()));
}

bool PlaybackFeed::feed(std::byte *out) noexcept
{
    if (feedBytes() == 0)
        return false;
    if (m_finished.load(std::memory_order_relaxed)) {
        silence(out);
        return false;
    }
    if (m_next >= m_end) {
        if (looping() && m_end > m_start)
            m_next = m_start;
        else
            m_finished.store(true, std::memory_order_relaxed);
    }
    m_shown.store(m_next, std::memory_order_relaxed);

    float *floats = m_pin.media()->buffer();
    for (int32_t b = 0; b < kBlocksPerFeed; ++b)
        fillBlock(floats + static_cast<std::ptrdiff_t>(b) * m_blockLength, m_next + b);
    m_next += kBlocksPerFeed;
    try {
        m_destination.setTarget(m_feedFormat, reinterpret_cast<uint8_t *>(out));
        m_pin.deliver();
        m_pin.clearReady();
    } catch (const std::exception &) {
        silence(out);
    }
    return true;
}

} // namespace corvane
