#include "WaveFileInput.h"

#include "WaveFile.h"

#include <cctype>
#include <cstring>

namespace corvane {

namespace {

    // The message for a reader code: the fixed text with the path, then what the system said
    // went wrong, when it said anything ("...: take1.wav: permission denied").
    std::string readerMessage(uint32_t code, const std::filesystem::path &path, int systemError,
                              const char *cause = nullptr)
    {
        std::string message = waveErrorPrefix(code) + path.string();
        if (cause && systemError == 0)
            return message + ": " + cause;
        if (systemError != 0) {
            std::string cause = std::strerror(systemError);
            if (!cause.empty())
                cause[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(cause[0])));
            message += ": " + cause;
        }
        return message;
    }

} // namespace

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
    m_dataBytes = m_dataOffset = m_headerDataBytes = 0;
    m_dataRecovered = false;
    m_readError = 0;
    m_readSystemError = 0;
    const uint32_t openCode = OpenWaveForReading(path, m_reader->wave);
    if (openCode != 0) {
        m_error = readerMessage(openCode, path, m_reader->wave.systemError());
        return Status::WaveError;
    }

    const std::optional<PcmFileLayout> layout = m_reader->wave.pcmLayout();
    if (!layout) {
        close();
        return Status::NotPcm;
    }

    const uint32_t seekCode = SeekWaveData(m_reader->wave);
    if (seekCode != 0) {
        // A file that merely has no data chunk says so; a failing disk gives its own cause.
        m_error = readerMessage(seekCode, path, m_reader->wave.systemError(),
                                seekCode == RIFF_ERR_CHUNK_NOT_FOUND ? "no 'data' chunk" : nullptr);
        close();
        return Status::NoData;
    }

    m_layout = *layout;
    m_dataBytes = m_reader->wave.dataChunk().size;
    m_dataOffset = m_reader->wave.dataChunk().dataOffset;
    m_dataRecovered = m_reader->wave.dataRecovered();
    m_headerDataBytes = m_reader->wave.claimedDataBytes();
    return Status::Ok;
}

std::size_t WaveFileInput::read(uint8_t *out, std::size_t bytes) noexcept
{
    if (!m_reader->wave.isOpen())
        return 0;
    std::size_t got = 0;
    const uint32_t code = ReadWaveData(
            m_reader->wave, std::span<std::byte>(reinterpret_cast<std::byte *>(out), bytes), got);
    if (code != 0) {
        m_readError = code;
        m_readSystemError = m_reader->wave.systemError();
        return 0;
    }
    return got;
}

void WaveFileInput::close() noexcept
{
    CloseWaveReader(m_reader->wave);
}

} // namespace corvane
