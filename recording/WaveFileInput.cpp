#include "WaveFileInput.h"

#include "WaveFile.h"

namespace corvane {

struct WaveFileInput::Reader
{
    WaveReader wave;
};

WaveFileInput::WaveFileInput()
    : m_reader(std::make_unique<Reader>())
{
}

WaveFileInput::~WaveFileInput() = default;

WaveFileInput::Status WaveFileInput::open(const std::filesystem::path &path)
{
    close();
    m_error.clear();
    const uint32_t openCode = OpenWaveForReading(path, m_reader->wave);
    if (openCode != 0) {
        m_error = waveErrorPrefix(openCode) + path.string();
        return Status::WaveError;
    }

    const std::optional<PcmFileLayout> layout = m_reader->wave.pcmLayout();
    if (!layout) {
        close();
        return Status::NotPcm;
    }

    const uint32_t seekCode = SeekWaveData(m_reader->wave);
    if (seekCode != 0) {
        m_error = waveErrorPrefix(seekCode) + path.string();
        close();
        return Status::NoData;
    }

    m_layout = *layout;
    return Status::Ok;
}

std::size_t WaveFileInput::read(uint8_t *out, std::size_t bytes) noexcept
{
    if (!m_reader->wave.isOpen())
        return 0;
    std::size_t got = 0;
    const uint32_t code = ReadWaveData(
            m_reader->wave, std::span<std::byte>(reinterpret_cast<std::byte *>(out), bytes), got);
    return code == 0 ? got : 0;
}

void WaveFileInput::close() noexcept
{
    CloseWaveReader(m_reader->wave);
}

} // namespace corvane
