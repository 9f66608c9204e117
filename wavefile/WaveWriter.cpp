#include "WaveWriter.h"

#include "WaveFile.h"

#include <algorithm>

namespace corvane {

namespace {

    constexpr uint64_t kMaxChunkSize = 0xFFFFFFFFu;

    // Bytes of the header in front of the data samples, as CreateWaveFile and BeginWaveData lay
    // it out: RIFF header and form type, `fmt ` chunk with its pad byte, `fact` chunk, data header.
    uint64_t headerBytes(const WaveFormat &format) noexcept
    {
        const uint64_t fmtBytes = format.isPcm() ? 16 : 18 + format.extra.size();
        return 12 + 8 + fmtBytes + (fmtBytes & 1u) + 12 + 8;
    }

} // namespace

WaveWriter::~WaveWriter()
{
    if (!isOpen())
        return;
    const uint64_t frameBytes = std::max<uint16_t>(m_format.blockAlign, 1);
    FinishWaveFile(*this, static_cast<uint32_t>(std::min(m_dataBytes / frameBytes, kMaxChunkSize)));
}

uint64_t WaveWriter::dataByteCap() const noexcept
{
    const uint64_t dataStart =
            m_stage == Stage::WritingData ? m_data.dataOffset : headerBytes(m_format);
    // The RIFF size counts everything behind its own 8-byte header, the data pad byte too.
    uint64_t cap = kMaxChunkSize - (dataStart - 8) - 1;
    cap = std::min(cap, m_userLimit);
    if (m_format.blockAlign > 1)
        cap -= cap % m_format.blockAlign;
    return cap;
}

} // namespace corvane
