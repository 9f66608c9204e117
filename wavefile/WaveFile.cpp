#include "WaveFile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

namespace corvane {

namespace {

    constexpr FourCC kRiffId = makeFourCC("RIFF");
    constexpr FourCC kWaveId = makeFourCC("WAVE");
    constexpr FourCC kFmtId = makeFourCC("fmt ");
    constexpr FourCC kFactId = makeFourCC("fact");
    constexpr FourCC kDataId = makeFourCC("data");
    constexpr uint32_t kPcmFormatBytes = 16;
    constexpr uint32_t kFactPlaceholder = 0xFFFFFFFFu;

    uint16_t le16(const std::byte *p) noexcept
    {
        return static_cast<uint16_t>(static_cast<uint16_t>(p[0])
                                     | static_cast<uint16_t>(p[1]) << 8);
    }

    uint32_t le32(const std::byte *p) noexcept
    {
        return static_cast<uint32_t>(le16(p)) | static_cast<uint32_t>(le16(p + 2)) << 16;
    }

    void putLe16(std::byte *p, uint16_t v) noexcept
    {
        p[0] = std::byte(v & 0xFF);
        p[1] = std::byte(v >> 8);
    }

    void putLe32(std::byte *p, uint32_t v) noexcept
    {
        putLe16(p, static_cast<uint16_t>(v & 0xFFFF));
        putLe16(p + 2, static_cast<uint16_t>(v >> 16));
    }

    // The fixed fields of the format block followed by the extra-size field.
    std::array<std::byte, 18> formatHead(const WaveFormat &f) noexcept
    {
        std::array<std::byte, 18> b {};
        putLe16(&b[0], f.formatTag);
        putLe16(&b[2], f.channels);
        putLe32(&b[4], f.samplesPerSec);
        putLe32(&b[8], f.avgBytesPerSec);
        putLe16(&b[12], f.blockAlign);
        putLe16(&b[14], f.bitsPerSample);
        putLe16(&b[16], static_cast<uint16_t>(f.extra.size()));
        return b;
    }

    void parseFormatHead(const std::array<std::byte, kPcmFormatBytes> &b, WaveFormat &f) noexcept
    {
        f.formatTag = le16(&b[0]);
        f.channels = le16(&b[2]);
        f.samplesPerSec = le32(&b[4]);
        f.avgBytesPerSec = le32(&b[8]);
        f.blockAlign = le16(&b[12]);
        f.bitsPerSample = le16(&b[14]);
    }

    // Reads the `fmt ` chunk the file stands in. Nothing is read beyond the chunk: a non-PCM
    // chunk of 16 bytes has no extra-size field, and extra bytes the chunk does not hold are
    // missing rather than taken from the chunks that follow.
    uint32_t readFormat(RiffFile &file, const ChunkInfo &fmt, WaveFormat &format)
    {
        if (fmt.size < kPcmFormatBytes)
            return WAVE_ERR_NOT_WAVE;
        std::array<std::byte, kPcmFormatBytes> head {};
        if (file.read(head) != head.size())
            return WAVE_ERR_READ;
        parseFormatHead(head, format);
        if (format.isPcm())
            return 0;

        uint16_t extraBytes = 0;
        if (fmt.size >= kPcmFormatBytes + 2) {
            std::array<std::byte, 2> size {};
            if (file.read(size) != size.size())
                return WAVE_ERR_READ;
            extraBytes = le16(size.data());
        }
        if (extraBytes > fmt.size - std::min(fmt.size, kPcmFormatBytes + 2))
            return WAVE_ERR_NOT_WAVE;
        try {
            format.extra.resize(extraBytes);
        } catch (const std::bad_alloc &) {
            return WAVE_ERR_MEMORY;
        }
        if (file.read(std::as_writable_bytes(std::span(format.extra))) != extraBytes)
            return WAVE_ERR_NOT_WAVE;
        return 0;
    }

    uint32_t openAndReadFormat(const std::filesystem::path &path, RiffFile &file,
                               WaveFormat &format, ChunkInfo &riff, uint32_t &claimedRiffSize)
    {
        if (file.open(path, RiffFile::Mode::Read))
            return WAVE_ERR_OPEN;
        if (const uint32_t err = file.descend(riff))
            return err;
        if (riff.id != kRiffId || riff.formType != kWaveId)
            return WAVE_ERR_NOT_WAVE;
        claimedRiffSize = riff.size;
        // A take whose writer died before it brought the RIFF size up to date claims less
        // than the file holds; its chunks are sought in all of the file.
        const uint64_t length = file.storedLength();
        if (length != RiffFile::kBadPosition && length > riff.dataOffset
            && length - riff.dataOffset > riff.size)
            riff.size = static_cast<uint32_t>(
                    std::min<uint64_t>(length - riff.dataOffset, 0xFFFFFFFFu));
        ChunkInfo fmt;
        if (const uint32_t err = file.descendFind(fmt, kFmtId, &riff))
            return err;
        if (const uint32_t err = readFormat(file, fmt, format))
            return err;
        return file.ascend(fmt);
    }

} // namespace

const char *waveErrorPrefix(uint32_t code) noexcept
{
    switch (code) {
    case WAVE_ERR_MEMORY:
        return "Error - memory allocation reading wave file: ";
    case WAVE_ERR_OPEN:
        return "Error opening wave file: ";
    case WAVE_ERR_NOT_WAVE:
        return "Error - not a wave file: ";
    case WAVE_ERR_READ:
        return "Error reading wave file: ";
    case WAVE_ERR_CORRUPT:
        return "Error - corrupt wave file: ";
    case WAVE_ERR_WRITE:
        return "Error writing to wave file: ";
    default:
        return "Error handling wave file: ";
    }
}

// ---- Reader ----

uint32_t OpenWaveForReading(const std::filesystem::path &path, WaveReader &reader)
{
    CloseWaveReader(reader);
    try {
        auto file = std::make_unique<RiffFile>();
        WaveFormat format;
        ChunkInfo riff;
        uint32_t claimedRiffSize = 0;
        if (const uint32_t err = openAndReadFormat(path, *file, format, riff, claimedRiffSize)) {
            reader.m_systemError = file->lastSystemError();
            return err; // the file closes as it goes out of scope
        }
        reader.m_file = std::move(file);
        reader.m_format = std::move(format);
        reader.m_riff = riff;
        reader.m_claimedRiffSize = claimedRiffSize;
        return 0;
    } catch (const std::bad_alloc &) {
        return WAVE_ERR_MEMORY;
    }
}

namespace {

    bool isChunkIdByte(std::byte b) noexcept
    {
        const auto c = static_cast<unsigned char>(b);
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')
                || c == ' ';
    }

    // Whether a chunk (or the tag some programs append behind the RIFF chunk) starts at `at`
    // and fits in the file: then the bytes behind the data are not samples.
    bool somethingElseAt(RiffFile &file, uint64_t at, uint64_t length) noexcept
    {
        std::array<std::byte, 8> head {};
        if (length - at < head.size())
            return false;
        if (file.seek(at) || file.read(head) != head.size())
            return false;
        if (head[0] == std::byte('I') && head[1] == std::byte('D') && head[2] == std::byte('3'))
            return true;
        return std::all_of(head.begin(), head.begin() + 4, isChunkIdByte)
                && le32(&head[4]) <= length - at - head.size();
    }

    // The data bytes of a take whose writer died before it finished: the header's data size
    // is 0 or short, the data chunk is the last thing in the file, and whole frames lie behind
    // its claimed end. 0 when the header is to be believed.
    uint32_t recoverableDataBytes(RiffFile &file, uint64_t riffStart, uint32_t claimedRiffSize,
                                  const ChunkInfo &data, uint16_t frameBytes) noexcept
    {
        const uint64_t length = file.storedLength();
        const uint64_t paddedEnd = data.dataOffset + data.size + (data.size & 1u);
        if (length == RiffFile::kBadPosition || length <= paddedEnd || frameBytes == 0)
            return 0;
        const bool dataLast = riffStart + claimedRiffSize <= paddedEnd;
        if (data.size != 0 && !dataLast)
            return 0;
        if (somethingElseAt(file, paddedEnd, length))
            return 0;
        uint64_t bytes = std::min<uint64_t>(length - data.dataOffset, 0xFFFFFFFFu - 64);
        bytes -= bytes % frameBytes;
        return bytes > data.size ? static_cast<uint32_t>(bytes) : 0;
    }

} // namespace

uint32_t SeekWaveData(WaveReader &reader) noexcept
{
    if (!reader.m_file)
        return RIFF_ERR_NOT_READY;
    reader.m_atData = false;
    RiffFile &file = *reader.m_file;
    if (const uint32_t err = file.seek(reader.m_riff.dataOffset + 4))
        return err;
    if (const uint32_t err = file.descendFind(reader.m_data, kDataId, &reader.m_riff)) {
        reader.m_systemError = file.lastSystemError();
        return err;
    }
    reader.m_claimedDataBytes = reader.m_data.size;
    reader.m_dataRecovered = false;
    if (const uint32_t recovered =
                recoverableDataBytes(file, reader.m_riff.dataOffset, reader.m_claimedRiffSize,
                                     reader.m_data, reader.m_format.blockAlign)) {
        reader.m_data.size = recovered;
        reader.m_dataRecovered = true;
    }
    if (const uint32_t err = file.seek(reader.m_data.dataOffset))
        return err;
    reader.m_atData = true;
    return 0;
}

uint32_t ReadWaveData(WaveReader &reader, std::span<std::byte> dest, size_t &bytesRead) noexcept
{
    bytesRead = 0;
    if (!reader.m_file || !reader.m_atData)
        return RIFF_ERR_NOT_READY;
    const size_t wanted = std::min<size_t>(dest.size(), reader.m_data.size);
    reader.m_data.size -= static_cast<uint32_t>(wanted);
    RiffFile &file = *reader.m_file;
    if (file.read(dest.first(wanted)) != wanted) {
        // The end of the file comes early in a damaged file; a failing disk says why.
        if (file.lastSystemError() != 0) {
            reader.m_systemError = file.lastSystemError();
            return RIFF_ERR_CANNOT_READ;
        }
        return WAVE_ERR_CORRUPT;
    }
    bytesRead = wanted;
    return 0;
}

uint32_t CloseWaveReader(WaveReader &reader) noexcept
{
    reader.m_file.reset();
    reader.m_format = WaveFormat {};
    reader.m_riff = ChunkInfo {};
    reader.m_data = ChunkInfo {};
    reader.m_atData = false;
    reader.m_dataRecovered = false;
    reader.m_claimedRiffSize = reader.m_claimedDataBytes = 0;
    reader.m_systemError = 0;
    return 0;
}

// ---- Writers ----

namespace {

    uint32_t writeFormatChunk(RiffFile &file, const WaveFormat &format, ChunkInfo &fmt) noexcept
    {
        if (const uint32_t err = file.createChunk(fmt, kFmtId, kPcmFormatBytes))
            return err;
        const auto head = formatHead(format);
        const size_t headBytes = format.isPcm() ? kPcmFormatBytes : head.size();
        if (file.write(std::span(head).first(headBytes)) != headBytes)
            return WAVE_ERR_WRITE;
        if (!format.isPcm()) {
            const auto extra = std::as_bytes(std::span(format.extra));
            if (file.write(extra) != extra.size())
                return WAVE_ERR_WRITE;
        }
        return file.ascend(fmt);
    }

    uint32_t writeFactPlaceholder(RiffFile &file, ChunkInfo &fact) noexcept
    {
        if (const uint32_t err = file.createChunk(fact, kFactId, 0))
            return err;
        if (file.writeU32(kFactPlaceholder))
            return WAVE_ERR_WRITE;
        return file.ascend(fact) ? WAVE_ERR_WRITE : 0;
    }

} // namespace

uint32_t CreateWaveFile(const std::filesystem::path &path, const WaveFormat &format,
                        WaveWriter &writer)
{
    if (writer.m_file)
        return RIFF_ERR_NOT_READY;
    if (!format.isPcm() && format.extra.size() > 0xFFFF)
        return WAVE_ERR_WRITE;
    try {
        auto file = std::make_unique<RiffFile>();
        if (file->open(path, RiffFile::Mode::Create))
            return WAVE_ERR_WRITE;
        writer.m_format = format;
        if (writer.m_format.isPcm())
            writer.m_format.extra.clear();
        writer.m_file = std::move(file);
        writer.m_packs24 = writer.m_format.packed24();
    } catch (const std::bad_alloc &) {
        return WAVE_ERR_MEMORY;
    }
    writer.m_stage = WaveWriter::Stage::Opened;
    writer.m_dataBytes = 0;

    RiffFile &file = *writer.m_file;
    if (const uint32_t err = file.createRiff(writer.m_riff, kWaveId))
        return err;
    if (const uint32_t err = writeFormatChunk(file, writer.m_format, writer.m_fmt))
        return err;
    if (const uint32_t err = writeFactPlaceholder(file, writer.m_fact))
        return err;
    writer.m_stage = WaveWriter::Stage::HeaderWritten;
    return 0;
}

uint32_t CreateWaveFile(const std::filesystem::path &path, const SampleFormat &format,
                        WaveWriter &writer)
{
    return CreateWaveFile(path, WaveFormat::pcm(format), writer);
}

uint32_t BeginWaveData(WaveWriter &writer) noexcept
{
    if (!writer.m_file || writer.m_stage != WaveWriter::Stage::HeaderWritten)
        return RIFF_ERR_NOT_READY;
    if (const uint32_t err = writer.m_file->createChunk(writer.m_data, kDataId, 0))
        return err;
    writer.m_stage = WaveWriter::Stage::WritingData;
    return 0;
}

namespace {

    // Packs whole 4-byte slots of `source` into 3-byte samples through a small buffer of its
    // own, `fits` file bytes at most; returns the file bytes that went in.
    size_t writePacked(RiffFile &file, std::span<const std::byte> source, size_t fits) noexcept
    {
        constexpr size_t kSamples = 1024;
        std::array<uint8_t, kSamples * 3> packed;
        const size_t samples = std::min(source.size() / 4, fits / 3);
        const auto *in = reinterpret_cast<const uint8_t *>(source.data());
        size_t put = 0;
        for (size_t done = 0; done < samples;) {
            const size_t n = std::min(kSamples, samples - done);
            PcmFileLayout::pack24(in + done * 4, packed.data(), n);
            const size_t bytes = file.write(std::as_bytes(std::span(packed).first(n * 3)));
            put += bytes;
            if (bytes < n * 3)
                break;
            done += n;
        }
        return put;
    }

} // namespace

uint32_t WriteWaveData(WaveWriter &writer, std::span<const std::byte> source,
                       size_t &bytesWritten) noexcept
{
    bytesWritten = 0;
    if (!writer.m_file || writer.m_stage != WaveWriter::Stage::WritingData)
        return RIFF_ERR_NOT_READY;
    const uint64_t cap = writer.dataByteCap();
    const uint64_t room = cap > writer.m_dataBytes ? cap - writer.m_dataBytes : 0;
    // In file bytes: a packed 24-bit sample takes 3 of the 4 bytes handed in.
    const uint64_t wanted = writer.m_packs24 ? source.size() / 4 * 3 : source.size();
    const size_t fits = static_cast<size_t>(std::min<uint64_t>(wanted, room));
    const size_t put = writer.m_packs24 ? writePacked(*writer.m_file, source, fits)
                                        : writer.m_file->write(source.first(fits));
    writer.m_dataBytes += put;
    bytesWritten = static_cast<size_t>(writer.slotBytesFor(put));
    if (put < fits)
        return RIFF_ERR_CANNOT_WRITE;
    return fits < wanted ? RIFF_ERR_TOO_LARGE : 0;
}

uint32_t WriteWaveBlock(WaveWriter &writer, std::span<const std::byte> source) noexcept
{
    if (!writer.m_file || writer.m_stage != WaveWriter::Stage::WritingData)
        return RIFF_ERR_NOT_READY;
    RiffFile &file = *writer.m_file;
    const uint64_t start = file.position();
    const uint64_t before = writer.m_dataBytes;
    size_t put = 0;
    uint32_t result = WriteWaveData(writer, source, put);
    if (result == 0)
        result = file.flush();
    if (result != 0) {
        file.discardUnstored(start);
        writer.m_dataBytes = before;
    }
    return result;
}

namespace {

    // Re-reads the finished header to find the `fact` chunk wherever it is, and stores the count.
    uint32_t patchFactCount(RiffFile &file, uint32_t sampleCount) noexcept
    {
        ChunkInfo riff;
        if (const uint32_t err = file.seek(0))
            return err;
        if (const uint32_t err = file.descend(riff))
            return err;
        ChunkInfo fact;
        const uint32_t found = file.descendFind(fact, kFactId, &riff);
        if (found == 0) {
            if (const uint32_t err = file.writeU32(sampleCount))
                return err;
            if (const uint32_t err = file.ascend(fact))
                return err;
        } else if (found != RIFF_ERR_CHUNK_NOT_FOUND) {
            return found;
        }
        return file.ascend(riff);
    }

} // namespace

uint32_t UpdateWaveSizes(WaveWriter &writer) noexcept
{
    if (!writer.m_file || writer.m_stage != WaveWriter::Stage::WritingData)
        return RIFF_ERR_NOT_READY;
    RiffFile &file = *writer.m_file;
    if (const uint32_t err = file.flush())
        return err;
    // The sizes count stored bytes only, so that a reader never takes bytes that are not there;
    // no pad byte is counted, since none is written before the end.
    const uint64_t dataEnd = writer.m_data.dataOffset + writer.m_dataBytes;
    const uint64_t frameBytes = std::max<uint16_t>(writer.m_format.blockAlign, 1);
    if (const uint32_t err = file.patchU32(writer.m_data.dataOffset - 4,
                                           static_cast<uint32_t>(writer.m_dataBytes)))
        return err;
    if (const uint32_t err = file.patchU32(writer.m_fact.dataOffset,
                                           static_cast<uint32_t>(writer.m_dataBytes / frameBytes)))
        return err;
    return file.patchU32(writer.m_riff.dataOffset - 4, static_cast<uint32_t>(dataEnd - 8));
}

uint32_t FinishWaveFile(WaveWriter &writer, uint32_t sampleCount) noexcept
{
    if (!writer.m_file)
        return 0;
    RiffFile &file = *writer.m_file;
    const auto finish = [&]() -> uint32_t {
        // A header that never got written cannot be mended; the file is closed as it is.
        if (writer.m_stage == WaveWriter::Stage::Opened)
            return WAVE_ERR_WRITE;
        if (const uint32_t err = file.flush())
            return err;
        if (writer.m_stage == WaveWriter::Stage::WritingData) {
            if (const uint32_t err = file.ascend(writer.m_data))
                return err;
        }
        if (const uint32_t err = file.ascend(writer.m_riff))
            return err;
        // Bytes of a block that was taken back may lie behind the RIFF chunk; they are no
        // part of the file.
        file.truncateHere();
        return patchFactCount(file, sampleCount);
    };
    const uint32_t result = finish();
    const uint32_t closed = file.close();
    writer.m_closedError = file.lastSystemError();
    writer.m_file.reset();
    writer.m_stage = WaveWriter::Stage::Opened;
    return result ? result : closed;
}

std::vector<std::byte> WaveFileHeader(const WaveFormat &format, uint32_t dataBytes)
{
    const uint64_t frameBytes = std::max<uint16_t>(format.blockAlign, 1);
    const bool pcm = format.isPcm();
    const uint32_t fmtBytes =
            pcm ? kPcmFormatBytes : 18 + static_cast<uint32_t>(format.extra.size());
    const uint32_t fmtPadded = fmtBytes + (fmtBytes & 1u);
    const uint64_t riffSize =
            4 + 8 + fmtPadded + 12 + 8 + uint64_t { dataBytes } + (dataBytes & 1u);
    std::vector<std::byte> h;
    h.reserve(12 + 8 + fmtPadded + 12 + 8);
    // Little-endian, a byte at a time (GCC 12 at -O3 takes a 4-byte insert for an overflow).
    const auto u32 = [&h](uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8)
            h.push_back(static_cast<std::byte>((v >> shift) & 0xFFu));
    };
    u32(kRiffId);
    u32(static_cast<uint32_t>(std::min<uint64_t>(riffSize, 0xFFFFFFFFu)));
    u32(kWaveId);
    u32(kFmtId);
    u32(fmtBytes);
    const auto head = formatHead(format);
    h.insert(h.end(), head.begin(), head.begin() + (pcm ? kPcmFormatBytes : head.size()));
    if (!pcm) {
        const auto extra = std::as_bytes(std::span(format.extra));
        h.insert(h.end(), extra.begin(), extra.end());
    }
    if (fmtBytes & 1u)
        h.push_back(std::byte { 0 });
    u32(kFactId);
    u32(4);
    u32(static_cast<uint32_t>(dataBytes / frameBytes));
    u32(kDataId);
    u32(dataBytes);
    return h;
}

} // namespace corvane
