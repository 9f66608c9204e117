#include "WaveFile.h"

#include "FileBytes.h"
#include "StandardWaveReaders.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace corvane;
using corvane::test::Bytes;

namespace {

using ByteVector = std::vector<uint8_t>;

ByteVector ramp(size_t n, int start = 1)
{
    ByteVector v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = uint8_t(start + i * 7);
    return v;
}

std::span<const std::byte> asBytes(const ByteVector &v)
{
    return std::as_bytes(std::span(v));
}

// A RIFF chunk of form type WAVE around the given chunks.
Bytes waveFile(const Bytes &chunks)
{
    return Bytes().chunk("RIFF", Bytes().tag("WAVE").raw(chunks.bytes()));
}

// Writes a whole file in pieces of `blockBytes`, checking every step.
void writeWave(const std::filesystem::path &path, const WaveFormat &format, const ByteVector &bytes,
               uint32_t sampleCount, size_t blockBytes = 64)
{
    const auto data = asBytes(bytes);
    WaveWriter w;
    ASSERT_EQ(CreateWaveFile(path, format, w), 0u);
    ASSERT_EQ(BeginWaveData(w), 0u);
    for (size_t at = 0; at < data.size(); at += blockBytes) {
        size_t put = 0;
        const auto piece = data.subspan(at, std::min(blockBytes, data.size() - at));
        ASSERT_EQ(WriteWaveData(w, piece, put), 0u);
        ASSERT_EQ(put, piece.size());
    }
    EXPECT_EQ(w.slotBytesFor(w.dataBytes()), data.size());
    ASSERT_EQ(FinishWaveFile(w, sampleCount), 0u);
    EXPECT_FALSE(w.isOpen());
}

// Opens, finds the data and reads all of it in blocks of `blockBytes`.
ByteVector readWave(const std::filesystem::path &path, WaveFormat *format = nullptr,
                    size_t blockBytes = 48)
{
    WaveReader r;
    EXPECT_EQ(OpenWaveForReading(path, r), 0u);
    EXPECT_EQ(SeekWaveData(r), 0u);
    if (format)
        *format = r.format();
    ByteVector all, block(blockBytes);
    size_t got = 0;
    do {
        EXPECT_EQ(ReadWaveData(r, std::as_writable_bytes(std::span(block)), got), 0u);
        all.insert(all.end(), block.begin(), block.begin() + std::ptrdiff_t(got));
    } while (got == blockBytes);
    EXPECT_EQ(ReadWaveData(r, std::as_writable_bytes(std::span(block)), got), 0u);
    EXPECT_EQ(got, 0u);
    return all;
}

uint32_t openError(const Bytes &file, const test::TempDir &dir)
{
    file.save(dir / "in.wav");
    WaveReader r;
    const uint32_t err = OpenWaveForReading(dir / "in.wav", r);
    EXPECT_EQ(r.isOpen(), err == 0);
    return err;
}

const Bytes samples = Bytes().u16(0x1111).u16(0x2222).u16(0x3333);

} // namespace

TEST(WaveFile, aWrittenPcmFileHasTheExactBytesWithPadAndTheCallersSampleCount)
{
    test::TempDir dir;
    // The `fact` count is the caller's, patched over the placeholder; an odd data chunk ends
    // in a pad byte that its size does not count.
    // clang-format off
    const struct { WaveFormat format; ByteVector data; uint32_t count; Bytes expected; } cases[] = {
        { WaveFormat::pcm({ 1, 11025, 16 }), samples.bytes(), 3, Bytes()
            .tag("RIFF").u32(54).tag("WAVE").tag("fmt ").u32(16).pcm(1, 11025, 16, 2)
            .tag("fact").u32(4).u32(3).tag("data").u32(6).raw(samples.bytes()) },
        { WaveFormat::pcm({ 2, 22050, 16 }), {}, 0, Bytes()
            .tag("RIFF").u32(48).tag("WAVE").tag("fmt ").u32(16).pcm(2, 22050, 16, 4)
            .tag("fact").u32(4).u32(0).tag("data").u32(0) },
        { WaveFormat::pcm({ 1, 8000, 8 }), ramp(5), 5, Bytes()
            .tag("RIFF").u32(54).tag("WAVE").tag("fmt ").u32(16).pcm(1, 8000, 8, 1)
            .tag("fact").u32(4).u32(5).tag("data").u32(5).raw(ramp(5)).raw({ 0 }) },
    };
    // clang-format on
    for (const auto &c : cases) {
        writeWave(dir / "out.wav", c.format, c.data, c.count);
        const auto written = test::fileBytes(dir / "out.wav");
        EXPECT_EQ(written, c.expected.bytes());
        EXPECT_EQ(test::le32At(written, 4), written.size() - 8);
        EXPECT_EQ(readWave(dir / "out.wav"), c.data);
    }
}

TEST(WaveFile, aNonPcmFormatKeepsItsExtraBytesInAPaddedFormatChunk)
{
    test::TempDir dir;
    const auto data = ramp(5);
    // 18 + 3 bytes leave the `fmt ` chunk odd.
    WaveFormat adpcm;
    adpcm.formatTag = 2;
    adpcm.channels = 1;
    adpcm.samplesPerSec = 8000;
    adpcm.avgBytesPerSec = 4000;
    adpcm.blockAlign = 256;
    adpcm.bitsPerSample = 4;
    adpcm.extra = { 7, 8, 9 };
    writeWave(dir / "adpcm.wav", adpcm, data, 10);
    const auto written = test::fileBytes(dir / "adpcm.wav");
    EXPECT_EQ(test::le32At(written, 16), 21u);
    EXPECT_EQ(written.at(20 + 21), 0); // pad byte
    EXPECT_EQ(test::le32At(written, 4), written.size() - 8);
    WaveFormat back;
    EXPECT_EQ(readWave(dir / "adpcm.wav", &back), data);
    EXPECT_EQ(back, adpcm);
}

class WaveRoundTrip : public testing::TestWithParam<int32_t>
{
};

// Two seconds of 440 Hz left and 660 Hz right at half scale, as the program holds samples: 8 and
// 16 bits as they are, 24 bits sign-extended in 4-byte slots.
ByteVector stereoTones(const SampleFormat &format)
{
    const int32_t frames = format.sampleRate * 2;
    const int32_t bytes = format.bytesPerSample();
    ByteVector out;
    for (int32_t i = 0; i < frames; ++i) {
        for (double hz : { 440.0, 660.0 }) {
            const double x = 0.5 * std::sin(2 * M_PI * hz * i / format.sampleRate);
            const int32_t full = (1 << (format.bitsPerSample - 1)) - 1;
            int32_t v = static_cast<int32_t>(std::lround(x * full));
            if (format.bitsPerSample == 8)
                v += 128;
            for (int32_t b = 0; b < bytes; ++b)
                out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * b)));
        }
    }
    return out;
}

// What the capture thread records, read by sox and Python's `wave`, and by our own reader.
TEST_P(WaveRoundTrip, aWrittenFileIsReadRightByOtherProgramsAndByOurs)
{
    test::TempDir dir;
    const SampleFormat samples { 2, 44100, GetParam() };
    const auto data = stereoTones(samples);
    const auto path = dir / "take.wav";
    writeWave(path, WaveFormat::pcm(samples), data, 44100 * 2, 4096);

    const auto python = test::readWithPython(path);
    ASSERT_TRUE(python) << "python3 could not read " << path;
    EXPECT_EQ(python->channels, 2);
    EXPECT_EQ(python->rate, 44100);
    EXPECT_EQ(python->sampleBytes, GetParam() / 8);
    EXPECT_EQ(python->frames, 44100 * 2);
    EXPECT_NEAR(python->hz[0], 440.0, 1.0);
    EXPECT_NEAR(python->hz[1], 660.0, 1.0);
    EXPECT_NEAR(python->peak[0], 0.5, 0.02);
    const auto sox = test::readWithSox(path);
    ASSERT_TRUE(sox) << "sox could not read " << path;
    EXPECT_EQ(sox->channels, 2);
    EXPECT_EQ(sox->bits, GetParam());
    EXPECT_NEAR(sox->seconds, 2.0, 1e-6);
    EXPECT_NEAR(sox->maxAmplitude, 0.5, 0.02);

    // Our reader gives back the samples in the program's slots, packed or not on the disk.
    WaveReader r;
    ASSERT_EQ(OpenWaveForReading(path, r), 0u);
    const auto layout = r.pcmLayout();
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->format, samples);
    ByteVector file = readWave(path, nullptr, 4096);
    if (layout->packed()) {
        ByteVector slots(file.size() / 3 * 4);
        PcmFileLayout::unpack24(file.data(), slots.data(), file.size() / 3);
        file = slots;
    }
    EXPECT_EQ(file, data);
}

// Files of earlier versions kept 24-bit samples in 4-byte frames under the PCM tag; they still
// read as the samples they hold.
TEST(WaveReader, aTwentyFourBitFileOfEarlierVersionsStillReads)
{
    test::TempDir dir;
    const SampleFormat samples { 1, 48000, 24 };
    WaveFormat old = WaveFormat::pcm(samples);
    old.blockAlign = 4;
    old.avgBytesPerSec = 4 * 48000;
    const auto data = stereoTones({ 2, 48000, 24 });
    writeWave(dir / "old.wav", old, data, static_cast<uint32_t>(data.size() / 4), 4096);
    WaveReader r;
    ASSERT_EQ(OpenWaveForReading(dir / "old.wav", r), 0u);
    EXPECT_EQ(r.slotFormat(), samples);
    ASSERT_TRUE(r.pcmLayout());
    EXPECT_FALSE(r.pcmLayout()->packed());
    EXPECT_EQ(readWave(dir / "old.wav", nullptr, 4096), data);
}

INSTANTIATE_TEST_SUITE_P(Bits, WaveRoundTrip, testing::Values(8, 16, 24));

TEST(WaveReader, refusesFilesThatAreNotUsableWaves)
{
    test::TempDir dir;
    const auto fmt = Bytes().chunk("fmt ", Bytes().pcm(1, 8000, 8, 1));
    EXPECT_EQ(openError(Bytes().chunk("RIFX", Bytes().tag("WAVE").raw(fmt.bytes())), dir),
              WAVE_ERR_NOT_WAVE);
    EXPECT_EQ(openError(Bytes().chunk("RIFF", Bytes().tag("AVI ").raw(fmt.bytes())), dir),
              WAVE_ERR_NOT_WAVE);
    // An old header without the bits-per-sample field.
    const auto fmt14 = Bytes().u16(1).u16(1).u32(8000).u32(8000).u16(1);
    EXPECT_EQ(openError(waveFile(Bytes().chunk("fmt ", fmt14)), dir), WAVE_ERR_NOT_WAVE);
    // The `fmt ` chunk claims 16 bytes, the file ends after 10.
    const auto cut = Bytes().tag("RIFF").u32(30).tag("WAVE").tag("fmt ").u32(16);
    EXPECT_EQ(openError(Bytes(cut).u32(1).u32(2).u16(3), dir), WAVE_ERR_READ);
    EXPECT_EQ(openError(waveFile(Bytes().chunk("data", samples)), dir), RIFF_ERR_CHUNK_NOT_FOUND);
    EXPECT_EQ(openError(Bytes(), dir), RIFF_ERR_CHUNK_NOT_FOUND);

    WaveReader r;
    EXPECT_EQ(OpenWaveForReading(dir / "missing.wav", r), WAVE_ERR_OPEN);
    EXPECT_STREQ(waveErrorPrefix(WAVE_ERR_OPEN), "Error opening wave file: ");
}

TEST(WaveReader, findsTheDataWhereverItStandsInsideTheRiffChunk)
{
    test::TempDir dir;
    const auto fmt = Bytes().chunk("fmt ", Bytes().pcm(1, 11025, 16, 2));
    // PCM takes no extra size, whatever the two bytes say.
    const auto fmt18 = Bytes().chunk("fmt ", Bytes().pcm(1, 11025, 16, 2).u16(0x5555));
    const auto list = Bytes().chunk("LIST", Bytes().tag("INFO").chunk("INAM", Bytes().tag("abc")));
    const auto data = Bytes().chunk("data", samples);
    const std::vector<Bytes> layouts = {
        Bytes(fmt18).raw(data.bytes()),
        Bytes(fmt).raw(list.bytes()).chunk("fact", Bytes().u32(3)).raw(data.bytes()),
        Bytes(data).raw(fmt.bytes()),
    };
    for (const auto &chunks : layouts) {
        waveFile(chunks).save(dir / "in.wav");
        WaveFormat format;
        EXPECT_EQ(readWave(dir / "in.wav", &format), samples.bytes());
        EXPECT_EQ(format, WaveFormat::pcm({ 1, 11025, 16 }));
    }
}

TEST(WaveReader, aDataChunkLongerThanTheFileIsCorruptOnTheReadThatReachesTheEnd)
{
    test::TempDir dir;
    const auto fmt = Bytes().chunk("fmt ", Bytes().pcm(1, 8000, 8, 1));
    Bytes().tag("RIFF")
            .u32(1000)
            .tag("WAVE")
            .raw(fmt.bytes())
            .tag("data")
            .u32(100)
            .raw(ByteVector(40, 0x80))
            .save(dir / "cut.wav");
    WaveReader r;
    ASSERT_EQ(OpenWaveForReading(dir / "cut.wav", r), 0u);
    ASSERT_EQ(SeekWaveData(r), 0u);
    EXPECT_EQ(r.dataBytesLeft(), 100u);
    std::vector<std::byte> block(32);
    size_t got = 0;
    EXPECT_EQ(ReadWaveData(r, block, got), 0u);
    EXPECT_EQ(got, 32u);
    EXPECT_EQ(ReadWaveData(r, block, got), WAVE_ERR_CORRUPT);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(r.dataBytesLeft(), 36u);
}

TEST(WaveReader, aFormatBlockIsNeverTakenFromBeyondItsChunk)
{
    test::TempDir dir;
    // A 16-byte float format has no extra-size field: the next chunk's name is not one.
    auto floatFmt = Bytes().u16(3).u16(1).u32(8000).u32(32000).u16(4).u16(32);
    waveFile(Bytes().chunk("fmt ", floatFmt).chunk("data", samples)).save(dir / "f.wav");
    WaveFormat format;
    EXPECT_EQ(readWave(dir / "f.wav", &format), samples.bytes());
    EXPECT_EQ(format.formatTag, 3);
    EXPECT_TRUE(format.extra.empty());

    // Extra bytes claimed but not held by the chunk are missing.
    floatFmt.u16(2).raw({ 1 });
    EXPECT_EQ(openError(waveFile(Bytes().chunk("fmt ", floatFmt).chunk("data", samples)), dir),
              WAVE_ERR_NOT_WAVE);
}

TEST(WaveWriter, stopsAppendingAtItsCapAndLeavesAValidFile)
{
    test::TempDir dir;
    {
        WaveWriter w;
        ASSERT_EQ(CreateWaveFile(dir / "cap.wav", WaveFormat::pcm({ 2, 11025, 16 }), w), 0u);
        ASSERT_EQ(BeginWaveData(w), 0u);
        // Left alone, the cap is the last whole frame that keeps the RIFF size (everything
        // behind its 8-byte header, a pad byte included) within 32 bits.
        EXPECT_LE(w.dataByteCap() + 1 + (56 - 8), 0xFFFFFFFFull);
        EXPECT_GT(w.dataByteCap() + 4 + (56 - 8), 0xFFFFFFFFull);

        w.limitDataBytes(1002); // not a whole frame: rounds down to 1000
        const auto block = ramp(400);
        size_t put = 0;
        EXPECT_EQ(WriteWaveData(w, asBytes(block), put), 0u);
        EXPECT_EQ(WriteWaveData(w, asBytes(block), put), 0u);
        EXPECT_EQ(WriteWaveData(w, asBytes(block), put), RIFF_ERR_TOO_LARGE);
        EXPECT_EQ(put, 200u);
        EXPECT_EQ(WriteWaveData(w, asBytes(block), put), RIFF_ERR_TOO_LARGE);
        EXPECT_EQ(put, 0u);
        EXPECT_EQ(w.dataBytes(), 1000u);
        // Going out of scope finishes the file with its frame count: 1000 bytes / 4 per frame.
    }
    const auto written = test::fileBytes(dir / "cap.wav");
    EXPECT_EQ(written.size(), 56u + 1000);
    EXPECT_EQ(test::le32At(written, 4), written.size() - 8);
    EXPECT_EQ(test::le32At(written, 44), 250u);
    EXPECT_EQ(test::le32At(written, 52), 1000u);
}

TEST(WaveWriter, aFileThatCannotBeCreatedIsReportedAndLeavesTheWriterClosed)
{
    test::TempDir dir;
    const auto path = dir / "no-such-folder" / "out.wav";
    WaveWriter w;
    EXPECT_EQ(CreateWaveFile(path, SampleFormat { 1, 11025, 16 }, w), WAVE_ERR_WRITE);
    EXPECT_FALSE(w.isOpen());
    EXPECT_EQ(FinishWaveFile(w, 0), 0u);
    size_t put = 1;
    EXPECT_EQ(WriteWaveData(w, asBytes(ramp(4)), put), RIFF_ERR_NOT_READY);
    EXPECT_EQ(put, 0u);
}

TEST(WaveWriter, aFullDiskIsReportedAndNeverTakenForSuccess)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    // Buffered bytes fail when they are flushed, which may be during the header, a write or
    // the finish; some step must say so, and the writer ends closed.
    WaveWriter w;
    bool failed = CreateWaveFile("/dev/full", SampleFormat { 1, 11025, 16 }, w) != 0
            || BeginWaveData(w) != 0;
    const auto block = ramp(4096);
    for (int i = 0; i < 64 && !failed; ++i) {
        size_t put = 0;
        failed = WriteWaveData(w, asBytes(block), put) != 0;
    }
    failed = FinishWaveFile(w, 0) != 0 || failed;
    EXPECT_TRUE(failed);
    EXPECT_FALSE(w.isOpen());
}

// A take killed while it is written: the file as the disk holds it at that moment, copied aside
// while the writer still has it open.
TEST(WaveWriter, aFileCaughtMidWriteReadsUpToItsLastSizeUpdateInOtherPrograms)
{
    test::TempDir dir;
    const SampleFormat samples { 2, 44100, 24 };
    const auto data = stereoTones(samples); // two seconds
    const auto half = asBytes(data).first(data.size() / 2);
    WaveWriter w;
    ASSERT_EQ(CreateWaveFile(dir / "take.wav", samples, w), 0u);
    ASSERT_EQ(BeginWaveData(w), 0u);
    ASSERT_EQ(WriteWaveBlock(w, half), 0u);
    ASSERT_EQ(UpdateWaveSizes(w), 0u);
    // Half a second more reaches the disk after the update, as between two updates.
    ASSERT_EQ(WriteWaveBlock(w, asBytes(data).subspan(half.size(), half.size() / 2)), 0u);
    std::filesystem::copy_file(dir / "take.wav", dir / "killed.wav");

    const auto sox = test::readWithSox(dir / "killed.wav");
    ASSERT_TRUE(sox);
    EXPECT_NEAR(sox->seconds, 1.0, 1e-6);
    const auto python = test::readWithPython(dir / "killed.wav");
    ASSERT_TRUE(python);
    EXPECT_EQ(python->frames, 44100);
    EXPECT_NEAR(python->hz[1], 660.0, 2.0);

    // Our reader takes what lies behind the last update too, and says so.
    WaveReader r;
    ASSERT_EQ(OpenWaveForReading(dir / "killed.wav", r), 0u);
    ASSERT_EQ(SeekWaveData(r), 0u);
    EXPECT_TRUE(r.dataRecovered());
    EXPECT_EQ(r.claimedDataBytes(), 44100u * 6);
    EXPECT_EQ(r.dataBytesLeft(), 44100u * 6 * 3 / 2);

    // Finishing makes the sizes whole; nothing is recovered then.
    ASSERT_EQ(FinishWaveFile(w, 0), 0u);
    ASSERT_EQ(SeekWaveData(r), 0u); // the copy still is what it was
    ASSERT_EQ(OpenWaveForReading(dir / "take.wav", r), 0u);
    ASSERT_EQ(SeekWaveData(r), 0u);
    EXPECT_FALSE(r.dataRecovered());
    EXPECT_NEAR(test::readWithSox(dir / "take.wav")->seconds, 1.5, 1e-6);
}

TEST(WaveReader, aHeaderWithZeroSizesIsRecoveredButTrailingChunksAndTagsAreNotSamples)
{
    test::TempDir dir;
    const auto fmt = Bytes().chunk("fmt ", Bytes().pcm(1, 8000, 16, 2));
    const auto sound = ramp(1001); // 500 whole frames and a byte of a frame cut by the kill
    // What a take killed before its first size update holds: sizes of 0.
    Bytes().tag("RIFF")
            .u32(0)
            .tag("WAVE")
            .raw(fmt.bytes())
            .tag("data")
            .u32(0)
            .raw(sound)
            .save(dir / "zero.wav");
    WaveReader r;
    ASSERT_EQ(OpenWaveForReading(dir / "zero.wav", r), 0u);
    ASSERT_EQ(SeekWaveData(r), 0u);
    EXPECT_TRUE(r.dataRecovered());
    EXPECT_EQ(r.dataBytesLeft(), 1000u);
    EXPECT_EQ(readWave(dir / "zero.wav"), ByteVector(sound.begin(), sound.begin() + 1000));

    // A whole file followed by a tag, and one whose data chunk has a chunk behind it: their
    // headers are right, and what follows is not sound.
    const auto data = Bytes().chunk("data", Bytes().raw(ramp(40)));
    waveFile(Bytes(fmt).raw(data.bytes()))
            .raw({ 'I', 'D', '3', 4, 0, 0, 0, 0, 0, 0, 1 })
            .save(dir / "tagged.wav");
    waveFile(Bytes(fmt).raw(data.bytes()).chunk("LIST", Bytes().tag("INFO")))
            .save(dir / "list.wav");
    for (const char *name : { "tagged.wav", "list.wav" }) {
        ASSERT_EQ(OpenWaveForReading(dir / name, r), 0u);
        ASSERT_EQ(SeekWaveData(r), 0u);
        EXPECT_FALSE(r.dataRecovered()) << name;
        EXPECT_EQ(r.dataBytesLeft(), 40u) << name;
    }
}
