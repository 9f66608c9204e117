#include "RecordingAnalysis.h"

#include "BlockRing.h"
#include "CPitch.h"
#include "TempDir.h"
#include "WaveFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::test;

namespace {

// Keeps what the analysis reported.
class Recorder : public AnalysisObserver
{
public:
    void message(const std::string &text, Icon icon) override
    {
        messages.push_back(text);
        icons.push_back(icon);
    }
    void progressBegin(int64_t blocks) override { total = blocks; }
    void progress(int64_t done) override { last = done; }

    std::vector<std::string> messages;
    std::vector<Icon> icons;
    int64_t total = -1;
    int64_t last = 0;
};

struct Fixture
{
    TempDir dir;
    Recorder observer;
    RecordingAnalysis analysis { dir.path(), observer };
    AnalysisSettings settings;

    std::filesystem::path wave(const std::string &name, const WaveHeader &header,
                               const std::vector<uint8_t> &data)
    {
        const auto path = dir / name;
        writeWave(path, header, data);
        return path;
    }
};

std::uintmax_t tempSize(const Fixture &f, int index)
{
    return std::filesystem::file_size(TempBandFiles::filePath(f.dir.path(), index));
}

// Voiced, stable samples whose frequency lies within `cents` of `hz`.
int samplesNear(const RecordingAnalysis &analysis, double hz, double cents)
{
    int count = 0;
    for (const CSample &sample : analysis.samples()) {
        if (sample.voiced() && sample.stable()
            && std::abs(CPitch::Cents(sample.frequency(), hz)) <= cents)
            ++count;
    }
    return count;
}

// Feeds `frames` (one level per frame, both channels alike) into `ring` block by block, as the
// capture worker does: fill the block being written, then advance.
void capture(audio::BlockRing &ring, const std::vector<double> &frames, int channels,
             std::size_t blockFrames)
{
    const std::vector<uint8_t> bytes = pcmBytes(frames, channels, 16);
    const std::size_t blockBytes = blockFrames * static_cast<std::size_t>(channels) * 2;
    int32_t writer = ring.newestIndex();
    for (std::size_t at = 0; at + blockBytes <= bytes.size(); at += blockBytes) {
        std::memcpy(ring.blockAddress(writer), bytes.data() + at, blockBytes);
        ring.advance(writer);
    }
}

WaveFormatEx stereoCapture()
{
    WaveFormatEx format;
    format.channels = 2;
    format.samplesPerSec = 11025;
    format.bitsPerSample = 16;
    format.blockAlign = 4;
    format.avgBytesPerSec = 44100;
    return format;
}

} // namespace

TEST(RecordingAnalysis, ASteadyToneGivesOneSamplePerBlockNearItsPitch)
{
    Fixture f;
    WaveHeader header; // 11025 Hz mono 16-bit: blocks of 1024 frames
    const auto path = f.wave("a4.wav", header, pcmBytes(tone(440.0, 3.0, 11025), 1, 16));
    ASSERT_TRUE(f.analysis.openAndAnalyse(path, f.settings));
    EXPECT_TRUE(f.analysis.loaded());
    EXPECT_TRUE(f.observer.messages.empty());

    // 33075 frames: 32 whole blocks, the rest dropped.
    EXPECT_EQ(f.analysis.sampleCount(), 32);
    EXPECT_EQ(f.observer.last, 32);
    EXPECT_EQ(f.observer.total, static_cast<int64_t>(std::filesystem::file_size(path) / 2048));
    EXPECT_EQ(f.analysis.blockFormat(), (PcmFormat { 1024, 1, 11025, 16 }));
    // Once the analyser's delay has passed, nearly every block sits on A4.
    EXPECT_GE(samplesNear(f.analysis, 440.0, 10.0), 25);
    EXPECT_GT(f.analysis.maxDelay(), 0.0);

    const CNote *note = f.analysis.firstNote();
    ASSERT_NE(note, nullptr);
    int a4Blocks = 0;
    for (; note; note = note->Next()) {
        if (!note->IsRest() && note->NoteIndex() == 48)
            a4Blocks += static_cast<int>(note->SampleCount());
    }
    EXPECT_GE(a4Blocks, 25);
}

TEST(RecordingAnalysis, StereoAtFortyFourKilohertzIsReadInBigBlocksAndKeptAsMono)
{
    Fixture f;
    WaveHeader header;
    header.channels = 2;
    header.sampleRate = 44100;
    std::vector<double> frames = tone(220.0, 1.0, 44100);
    frames.resize(4096 * 5 + 1000); // five whole blocks and a part
    const auto path = f.wave("stereo.wav", header, pcmBytes(frames, 2, 16));
    ASSERT_TRUE(f.analysis.openAndAnalyse(path, f.settings));
    EXPECT_EQ(f.analysis.sampleCount(), 5);
    EXPECT_EQ(f.analysis.blockFormat(), (PcmFormat { 4096, 2, 44100, 16 }));

    const WaveFormatEx &mono = f.analysis.monoFileFormat();
    EXPECT_EQ(mono.channels, 1);
    EXPECT_EQ(mono.blockAlign, 2);
    EXPECT_EQ(mono.avgBytesPerSec, 88200u);
    EXPECT_EQ(mono.samplesPerSec, 44100u);

    // The signal keeps one float per frame; band 0 runs at the full rate, each lower band at
    // half the one above, and band 7 at the rate of band 6.
    const std::uintmax_t blocks = 5;
    EXPECT_EQ(tempSize(f, 8), blocks * 4096 * 4);
    for (int band = 0; band < 7; ++band)
        EXPECT_EQ(tempSize(f, band), blocks * (4096u >> band) * 4) << "band " << band;
    EXPECT_EQ(tempSize(f, 7), tempSize(f, 6));
}

TEST(RecordingAnalysis, AFileShorterThanABlockLoadsEmpty)
{
    Fixture f;
    const auto path = f.wave("short.wav", WaveHeader {}, pcmBytes(tone(440.0, 0.05, 11025), 1, 16));
    ASSERT_TRUE(f.analysis.openAndAnalyse(path, f.settings));
    EXPECT_TRUE(f.analysis.loaded());
    EXPECT_EQ(f.analysis.sampleCount(), 0);
    EXPECT_EQ(f.analysis.firstNote(), nullptr);
    EXPECT_EQ(f.analysis.reader(8).at(0), 0.0f);
}

TEST(RecordingAnalysis, HeadersThatAreNotPcmAreRefusedAndLeaveNothingLoaded)
{
    Fixture f;
    // Load something first: a refused file must not leave the old analysis half in place.
    const auto good = f.wave("good.wav", WaveHeader {}, pcmBytes(tone(440.0, 0.5, 11025), 1, 16));
    ASSERT_TRUE(f.analysis.openAndAnalyse(good, f.settings));

    WaveHeader adpcm;
    adpcm.formatTag = 2;
    adpcm.bitsPerSample = 4;
    adpcm.blockAlign = 256;
    adpcm.extra = { 0xf4, 0x01, 7, 0 };
    WaveHeader noChannels;
    noChannels.channels = 0;
    noChannels.blockAlign = 2;
    WaveHeader noRate;
    noRate.sampleRate = 0;
    WaveHeader threeChannels;
    threeChannels.channels = 3;
    WaveHeader twelveBits;
    twelveBits.bitsPerSample = 12;
    twelveBits.blockAlign = 2;
    int n = 0;
    for (const WaveHeader &header : { adpcm, noChannels, noRate, threeChannels, twelveBits }) {
        const auto path = f.wave("bad" + std::to_string(n++) + ".wav", header,
                                 std::vector<uint8_t>(8192, 0x55));
        f.observer.messages.clear();
        EXPECT_FALSE(f.analysis.openAndAnalyse(path, f.settings));
        ASSERT_EQ(f.observer.messages.size(), 1u);
        EXPECT_EQ(f.observer.messages[0], "Not a PCM Wave file");
        EXPECT_EQ(f.observer.icons[0], AnalysisObserver::Icon::Stop);
        EXPECT_FALSE(f.analysis.loaded());
        EXPECT_EQ(f.analysis.sampleCount(), 0);
    }

    f.observer.messages.clear();
    EXPECT_FALSE(f.analysis.openAndAnalyse(f.dir / "missing.wav", f.settings));
    ASSERT_EQ(f.observer.messages.size(), 1u);
    EXPECT_EQ(f.observer.messages[0],
              "Error opening wave file: " + (f.dir / "missing.wav").string());
}

TEST(RecordingAnalysis, ExtensibleAndPacked24BitPcmAnalyseLikeSixteenBit)
{
    Fixture f;
    const std::vector<double> frames = tone(330.0, 1.5, 11025);
    ASSERT_TRUE(f.analysis.openAndAnalyse(f.wave("16.wav", WaveHeader {}, pcmBytes(frames, 1, 16)),
                                          f.settings));
    std::vector<double> reference;
    for (const CSample &sample : f.analysis.samples())
        reference.push_back(sample.frequency());

    WaveHeader packed;
    packed.bitsPerSample = 24;
    ASSERT_TRUE(f.analysis.openAndAnalyse(f.wave("24.wav", packed, pcmBytes(frames, 1, 24)),
                                          f.settings));
    ASSERT_EQ(f.analysis.samples().size(), reference.size());
    EXPECT_EQ(f.analysis.blockFormat().bitsPerSample, 24);
    for (std::size_t i = 0; i < reference.size(); ++i)
        EXPECT_NEAR(f.analysis.samples()[i].frequency(), reference[i], 0.5) << "block " << i;

    WaveHeader extensible;
    extensible.formatTag = 0xFFFE;
    extensible.extra = { 16, 0,    4, 0,    0, 0, 1,    0, 0,    0,    0,
                         0,  0x10, 0, 0x80, 0, 0, 0xaa, 0, 0x38, 0x9b, 0x71 };
    ASSERT_TRUE(f.analysis.openAndAnalyse(f.wave("ext.wav", extensible, pcmBytes(frames, 1, 16)),
                                          f.settings));
    ASSERT_EQ(f.analysis.samples().size(), reference.size());
    for (std::size_t i = 0; i < reference.size(); ++i)
        EXPECT_EQ(f.analysis.samples()[i].frequency(), reference[i]);
    EXPECT_EQ(f.analysis.monoFileFormat().formatTag, 1);
}

TEST(RecordingAnalysis, TemporaryFilesThatCannotBeOpenedAreReportedOnce)
{
    Fixture f;
    const auto path = f.wave("a.wav", WaveHeader {}, pcmBytes(tone(440.0, 0.5, 11025), 1, 16));
    std::filesystem::create_directory(f.dir / "tnrk0006.tmp");
    EXPECT_FALSE(f.analysis.openAndAnalyse(path, f.settings));
    ASSERT_EQ(f.observer.messages.size(), 1u);
    EXPECT_EQ(f.observer.messages[0], "Cannot open temporary files");
    EXPECT_EQ(f.observer.icons[0], AnalysisObserver::Icon::None);
    EXPECT_FALSE(f.analysis.loaded());
    EXPECT_EQ(f.analysis.sampleCount(), 0);
}

TEST(RecordingAnalysis, ALouderAttackOnTheSamePitchStartsANewNote)
{
    Fixture f;
    std::vector<double> frames = tone(440.0, 1.5, 11025, 0.3);
    append(frames, tone(440.0, 1.5, 11025, 0.9));
    ASSERT_TRUE(f.analysis.openAndAnalyse(
            f.wave("rise.wav", WaveHeader {}, pcmBytes(frames, 1, 16)), f.settings));
    std::vector<const CNote *> a4;
    for (const CNote *note = f.analysis.firstNote(); note; note = note->Next()) {
        if (!note->IsRest() && note->NoteIndex() == 48 && note->SampleCount() >= 5)
            a4.push_back(note);
    }
    ASSERT_EQ(a4.size(), 2u);
    EXPECT_GT(a4[1]->FirstSample()->level(), a4[0]->LastSample()->level() + 0.15);
}

TEST(RecordingAnalysis, ThePagedReadersGiveTheBandFilesAsWritten)
{
    Fixture f;
    std::vector<double> frames = tone(196.0, 4.0, 11025);
    append(frames, tone(523.25, 4.0, 11025));
    ASSERT_TRUE(f.analysis.openAndAnalyse(
            f.wave("long.wav", WaveHeader {}, pcmBytes(frames, 1, 16)), f.settings));

    std::vector<std::vector<float>> plain(TempBandFiles::kFileCount);
    for (int i = 0; i < TempBandFiles::kFileCount; ++i) {
        std::ifstream in(TempBandFiles::filePath(f.dir.path(), i), std::ios::binary);
        plain[i].resize(tempSize(f, i) / 4);
        in.read(reinterpret_cast<char *>(plain[i].data()),
                static_cast<std::streamsize>(plain[i].size() * 4));
    }
    // Nine readers walking their files side by side need far more than the pool's twenty
    // pages, so pages keep moving between them.
    for (std::size_t k = 0; k < plain[8].size(); k += 97) {
        for (int i = 0; i < TempBandFiles::kFileCount; ++i) {
            if (plain[i].empty())
                continue;
            const std::size_t index = k % plain[i].size();
            ASSERT_EQ(f.analysis.reader(i).at(static_cast<int64_t>(index)), plain[i][index])
                    << "file " << i << " index " << index;
        }
    }
    EXPECT_EQ(f.analysis.reader(8).at(static_cast<int64_t>(plain[8].size()) + 10), plain[8].back());
}

TEST(RecordingAnalysis, SavingWritesOneChannelWithAMatchingHeaderTwice)
{
    Fixture f;
    WaveHeader stereo;
    stereo.channels = 2;
    const std::vector<double> frames = tone(440.0, 1.0, 11025);
    ASSERT_TRUE(f.analysis.openAndAnalyse(f.wave("st.wav", stereo, pcmBytes(frames, 2, 16)),
                                          f.settings));
    const int blocks = f.analysis.sampleCount();
    ASSERT_EQ(blocks, 10);

    ASSERT_TRUE(f.analysis.save(f.dir / "one.wav"));
    ASSERT_TRUE(f.analysis.save(f.dir / "two.wav"));
    EXPECT_TRUE(f.observer.messages.empty());
    for (const char *name : { "one.wav", "two.wav" }) {
        const auto path = f.dir / name;
        EXPECT_EQ(fileU16(path, 20), 1); // PCM
        EXPECT_EQ(fileU16(path, 22), 1); // one channel
        EXPECT_EQ(fileU32(path, 24), 11025u);
        EXPECT_EQ(fileU32(path, 28), 22050u); // bytes per second
        EXPECT_EQ(fileU16(path, 32), 2);      // block alignment
        EXPECT_EQ(fileU16(path, 34), 16);
        EXPECT_EQ(fileU32(path, 44), static_cast<uint32_t>(blocks * 1024));     // fact count
        EXPECT_EQ(fileU32(path, 52), static_cast<uint32_t>(blocks * 1024 * 2)); // data bytes
    }

    // Reading the saved file back gives the same analysis.
    std::vector<double> first;
    for (const CSample &sample : f.analysis.samples())
        first.push_back(sample.frequency());
    ASSERT_TRUE(f.analysis.openAndAnalyse(f.dir / "one.wav", f.settings));
    ASSERT_EQ(f.analysis.samples().size(), first.size());
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_NEAR(f.analysis.samples()[i].frequency(), first[i], 0.01);
}

TEST(RecordingAnalysis, A24BitSaveKeepsFourByteSlotsInItsHeader)
{
    Fixture f;
    WaveHeader packed;
    packed.bitsPerSample = 24;
    ASSERT_TRUE(f.analysis.openAndAnalyse(
            f.wave("24.wav", packed, pcmBytes(tone(440.0, 0.5, 11025), 1, 24)), f.settings));
    const int blocks = f.analysis.sampleCount();
    ASSERT_TRUE(f.analysis.save(f.dir / "out.wav"));
    const auto path = f.dir / "out.wav";
    EXPECT_EQ(fileU16(path, 32), 4);
    EXPECT_EQ(fileU32(path, 28), 11025u * 4);
    EXPECT_EQ(fileU32(path, 44), static_cast<uint32_t>(blocks * 1024));
    EXPECT_EQ(fileU32(path, 52), static_cast<uint32_t>(blocks * 1024 * 4));
}

TEST(RecordingAnalysis, AFailedSaveSaysSoOnceAndReportsFailure)
{
    Fixture f;
    ASSERT_TRUE(f.analysis.openAndAnalyse(
            f.wave("a.wav", WaveHeader {}, pcmBytes(tone(440.0, 2.0, 11025), 1, 16)), f.settings));

    EXPECT_FALSE(f.analysis.save(f.dir / "no-such-folder" / "x.wav"));
    ASSERT_EQ(f.observer.messages.size(), 1u);
    EXPECT_EQ(f.observer.messages[0], "Unable to open file.");

    // A device that takes the file but refuses every byte.
    if (std::filesystem::exists("/dev/full")) {
        f.observer.messages.clear();
        EXPECT_FALSE(f.analysis.save("/dev/full"));
        EXPECT_EQ(f.observer.messages.size(), 1u);
    }
    // The analysis is still whole afterwards.
    EXPECT_TRUE(f.analysis.loaded());
    EXPECT_NE(f.analysis.reader(8).at(5000), 0.0f);
}

TEST(RecordingAnalysis, ACaptureRingIsAnalysedFromItsOldestBlockAndSavedAsOneChannel)
{
    Fixture f;
    // Twenty blocks of stereo 16-bit at 11025 Hz; thirty are captured, so the ring has dropped
    // the first eleven and holds the last nineteen (the twentieth slot is the one being written).
    audio::BlockRing ring;
    ring.resize(1024 * 2 * 2, 20);
    std::vector<double> frames = tone(440.0, 30 * 1024 / 11025.0 + 0.01, 11025);
    // A marker ramp at the start of the first block still held tells the order apart.
    for (std::size_t i = 0; i < 64; ++i)
        frames[11 * 1024 + i] = static_cast<double>(i) / 128.0;
    capture(ring, frames, 2, 1024);
    ASSERT_EQ(ring.oldestIndex(), 11);
    ASSERT_EQ(ring.newestIndex(), 10);

    ASSERT_TRUE(f.analysis.analyzeCapture(ring, stereoCapture(), f.settings));
    EXPECT_TRUE(f.observer.messages.empty());
    EXPECT_TRUE(f.analysis.loaded());
    EXPECT_EQ(f.analysis.sampleCount(), 19);
    EXPECT_EQ(f.analysis.blockFormat(), (PcmFormat { 1024, 2, 11025, 16 }));
    EXPECT_GE(samplesNear(f.analysis, 440.0, 10.0), 14);

    // The signal file keeps one float per frame, starting with the oldest block.
    EXPECT_EQ(tempSize(f, 8), 19u * 1024 * 4);
    for (int i = 0; i < 64; i += 9)
        EXPECT_NEAR(f.analysis.reader(8).at(i), i / 128.0, 1e-4) << "frame " << i;
    EXPECT_NEAR(f.analysis.reader(8).at(19 * 1024 - 1), frames[30 * 1024 - 1], 1e-4);

    // The capture was stereo; what is saved is the one channel the analysis keeps.
    const auto path = f.dir / "capture.wav";
    ASSERT_TRUE(f.analysis.save(path));
    EXPECT_EQ(fileU16(path, 22), 1);
    EXPECT_EQ(fileU16(path, 32), 2);
    EXPECT_EQ(fileU32(path, 28), 22050u);
    EXPECT_EQ(fileU32(path, 44), 19u * 1024);
    EXPECT_EQ(fileU32(path, 52), 19u * 1024 * 2);
}

TEST(RecordingAnalysis, AnEmptyRingOrOneOfAnotherFormatLoadsNothingButStaysUsable)
{
    Fixture f;
    audio::BlockRing ring;
    ring.resize(1024 * 2 * 2, 20);
    ASSERT_TRUE(f.analysis.analyzeCapture(ring, stereoCapture(), f.settings));
    EXPECT_TRUE(f.analysis.loaded());
    EXPECT_EQ(f.analysis.sampleCount(), 0);

    // Blocks of mono 16-bit, while the capture format says stereo: the format changed after
    // the capture, so the blocks are not read as something they are not.
    audio::BlockRing mono;
    mono.resize(1024 * 2, 20);
    capture(mono, tone(440.0, 1.0, 11025), 1, 1024);
    ASSERT_TRUE(f.analysis.analyzeCapture(mono, stereoCapture(), f.settings));
    EXPECT_EQ(f.analysis.sampleCount(), 0);

    WaveFormatEx monoFormat = stereoCapture();
    monoFormat.channels = 1;
    ASSERT_TRUE(f.analysis.analyzeCapture(mono, monoFormat, f.settings));
    EXPECT_EQ(f.analysis.sampleCount(), 10);
    EXPECT_TRUE(f.observer.messages.empty());
}
