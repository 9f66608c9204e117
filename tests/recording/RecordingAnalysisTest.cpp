#include "RecordingAnalysis.h"

#include "BlockRing.h"
#include "CPitch.h"
#include "PitchAnalyzer.h"
#include "StandardWaveReaders.h"
#include "TempDir.h"
#include "WaveFixtures.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

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
    bool stopRequested() const override { return stopAfter > 0 && last >= stopAfter; }

    std::vector<std::string> messages;
    std::vector<Icon> icons;
    int64_t total = -1;
    int64_t last = 0;
    int64_t stopAfter = 0; // blocks after which the analysis is asked to stop; 0 = never
};

struct Fixture
{
    TempDir dir;
    Recorder observer;
    RecordingAnalysis analysis { dir.path(), observer };
    // These tests pin the layout of one sample per block; HopAnalysisTest the one per hop.
    AnalysisSettings settings = [] {
        AnalysisSettings blocks;
        blocks.blockHop = true;
        return blocks;
    }();

    std::filesystem::path wave(const WaveHeader &header, const std::vector<uint8_t> &data,
                               const std::string &name = "in.wav")
    {
        writeWave(dir / name, header, data);
        return dir / name;
    }
    // Writes `frames` (every channel alike) as a wave file of `header` and analyzes it.
    bool analyze(const std::vector<double> &frames, const WaveHeader &header = {})
    {
        return analysis.openAndAnalyze(
                wave(header, pcmBytes(frames, header.channels, header.bitsPerSample)), settings);
    }
    std::vector<double> frequencies() const
    {
        std::vector<double> hz;
        for (const CSample &sample : analysis.samples())
            hz.push_back(sample.frequency());
        return hz;
    }
    std::uintmax_t tempSize(int index) const
    {
        return std::filesystem::file_size(TempBandFiles::filePath(dir.path(), index));
    }
    // Voiced, stable samples whose frequency lies within `cents` of `hz`.
    int samplesNear(double hz, double cents) const
    {
        int count = 0;
        for (const CSample &sample : analysis.samples())
            count += sample.voiced() && sample.stable()
                    && std::abs(CPitch::Cents(sample.frequency(), hz)) <= cents;
        return count;
    }
};

// Feeds `frames` into `ring` block by block, as the capture worker does: fill the block being
// written, then advance.
void capture(BlockRing &ring, const std::vector<double> &frames, int channels)
{
    const std::vector<uint8_t> bytes = pcmBytes(frames, channels, 16);
    const auto blockBytes = static_cast<std::size_t>(ring.blockSize());
    int32_t writer = ring.newestIndex();
    for (std::size_t at = 0; at + blockBytes <= bytes.size(); at += blockBytes) {
        std::memcpy(ring.blockAddress(writer), bytes.data() + at, blockBytes);
        ring.advance(writer);
    }
}

const SampleFormat kStereoCapture { 2, 11025, 16 };

} // namespace

TEST(RecordingAnalysis, ASteadyToneGivesOneSamplePerBlockOneLongNoteAndItsBandFiles)
{
    Fixture f;
    ASSERT_TRUE(f.analyze(tone(440.0, 3.0, 11025))); // mono 16-bit: blocks of 1024 frames
    EXPECT_TRUE(f.analysis.loaded());
    EXPECT_TRUE(f.observer.messages.empty());

    // 33075 frames: 32 whole blocks, the rest dropped.
    EXPECT_EQ(f.analysis.sampleCount(), 32);
    EXPECT_EQ(f.observer.last, 32);
    EXPECT_EQ(f.observer.total,
              static_cast<int64_t>(std::filesystem::file_size(f.dir / "in.wav") / 2048));
    EXPECT_EQ(f.analysis.blockFormat(), (PcmFormat { 1024, 1, 11025, 16 }));
    EXPECT_GT(f.analysis.maxDelay(), 0.0);

    // Once the analyzer's delay has passed, the blocks make one long A4.
    std::size_t a4Blocks = 0;
    ASSERT_FALSE(f.analysis.noteRuns().empty());
    for (const NoteRun &note : f.analysis.noteRuns())
        a4Blocks += !note.rest && note.noteIndex == 48 ? note.sampleCount : 0;
    EXPECT_GE(a4Blocks, 25u);

    // Each paged reader gives its own band file as written.
    for (int i = 0; i < TempBandFiles::kFileCount; ++i) {
        const auto bytes = fileBytes(TempBandFiles::filePath(f.dir.path(), i));
        ASSERT_EQ(f.analysis.reader(i).floatCount(), static_cast<int64_t>(bytes.size() / 4));
        for (std::size_t at = 0; at < bytes.size(); at += 4 * 97) {
            float value;
            std::memcpy(&value, bytes.data() + at, 4);
            ASSERT_EQ(f.analysis.reader(i).at(static_cast<int64_t>(at / 4)), value)
                    << "file " << i << " index " << at / 4;
        }
    }
}

// Each analysis pages its band files through its own pages: reading one recording never evicts
// the pages of another (which the panes of another window, or another thread, are reading).
TEST(RecordingAnalysis, TwoAnalysesKeepTheirPagesApart)
{
    Fixture a, b;
    // About eleven pages of signal each: together more than one pool holds.
    ASSERT_TRUE(a.analyze(tone(440.0, 9.0, 11025)));
    ASSERT_TRUE(b.analyze(tone(330.0, 9.0, 11025)));
    // Reads every page of the file; returns how many that is.
    auto readAll = [](PagedFloatReader &reader) {
        for (int64_t i = 0; i < reader.floatCount(); i += 1024)
            reader.at(i);
        const auto pageBytes = static_cast<int64_t>(PagePool::kPageBytes);
        return static_cast<int>((reader.fileSize() + pageBytes - 1) / pageBytes);
    };
    PagedFloatReader &first = a.analysis.reader(TempBandFiles::kSignalFile);
    PagedFloatReader &second = b.analysis.reader(TempBandFiles::kSignalFile);

    const int firstPages = readAll(first);
    EXPECT_EQ(first.pagesLoaded(), firstPages);
    const int secondPages = readAll(second);
    ASSERT_GT(firstPages + secondPages, PagePool::kPageCount);
    EXPECT_EQ(second.pagesLoaded(), secondPages);
    EXPECT_EQ(first.pagesLoaded(), firstPages);
}

// A caller that needs only the samples and notes gets the same ones without a byte on the disk;
// the next analysis writes its band files again unless told otherwise.
TEST(RecordingAnalysis, WithoutBandFilesNothingIsWrittenAndTheSamplesAreTheSame)
{
    Fixture f;
    ASSERT_TRUE(f.analyze(tone(440.0, 3.0, 11025)));
    const std::vector<double> withFiles = f.frequencies();
    f.analysis.clear();
    for (int i = 0; i < TempBandFiles::kFileCount; ++i)
        std::filesystem::remove(TempBandFiles::filePath(f.dir.path(), i));

    f.analysis.setFileOptions({ StereoChannel::Left, false });
    ASSERT_TRUE(f.analyze(tone(440.0, 3.0, 11025)));
    EXPECT_TRUE(f.analysis.loaded());
    EXPECT_EQ(f.frequencies(), withFiles);
    EXPECT_FALSE(std::filesystem::exists(TempBandFiles::filePath(f.dir.path(), 0)));
    EXPECT_FALSE(std::filesystem::exists(TempBandFiles::filePath(f.dir.path(), 8)));
    EXPECT_EQ(f.analysis.fileReport().wholeBlocks, 32);
    EXPECT_EQ(f.analysis.fileReport().leftoverFrames, 33075 - 32 * 1024);
    // Saving copies the recording's own file, band files or not.
    EXPECT_TRUE(f.analysis.save(f.dir / "out.wav"));
}

TEST(RecordingAnalysis, StereoAtFortyFourKilohertzIsReadInBigBlocksAndKeptAsMono)
{
    Fixture f;
    const WaveHeader stereo = waveHeader(2, 44100);
    std::vector<double> frames = tone(220.0, 1.0, 44100);
    frames.resize(4096 * 5 + 1000); // five whole blocks and a part
    // A longer analysis first: the second one must replace its band files, not add to them.
    ASSERT_TRUE(f.analyze(tone(220.0, 2.0, 44100), stereo));
    ASSERT_TRUE(f.analyze(frames, stereo));
    EXPECT_EQ(f.analysis.sampleCount(), 5);
    EXPECT_EQ(f.analysis.blockFormat(), (PcmFormat { 4096, 2, 44100, 16 }));
    EXPECT_EQ(f.analysis.monoFileFormat(), (SampleFormat { 1, 44100, 16 }));

    // The signal keeps one float per frame; band 0 runs at the full rate, each lower band at
    // half the one above, and band 7 at the rate of band 6.
    EXPECT_EQ(f.tempSize(8), 5u * 4096 * 4);
    for (int band = 0; band < 7; ++band)
        EXPECT_EQ(f.tempSize(band), 5u * (4096u >> band) * 4) << "band " << band;
    EXPECT_EQ(f.tempSize(7), f.tempSize(6));
}

TEST(RecordingAnalysis, AStopRequestEndsTheAnalysisEarlyAndLeavesItEmpty)
{
    Fixture f;
    f.observer.stopAfter = 3;
    EXPECT_FALSE(f.analyze(tone(440.0, 3.0, 11025)));
    EXPECT_EQ(f.observer.last, 3);
    EXPECT_FALSE(f.analysis.loaded());
    EXPECT_EQ(f.analysis.sampleCount(), 0);
    EXPECT_TRUE(f.observer.messages.empty());

    // The next analysis runs as usual.
    f.observer.stopAfter = 0;
    EXPECT_TRUE(f.analyze(tone(440.0, 3.0, 11025)));
    EXPECT_EQ(f.analysis.sampleCount(), 32);
}

TEST(RecordingAnalysis, AFileShorterThanABlockLoadsEmpty)
{
    Fixture f;
    ASSERT_TRUE(f.analyze(tone(440.0, 0.05, 11025)));
    EXPECT_TRUE(f.analysis.loaded());
    EXPECT_EQ(f.analysis.sampleCount(), 0);
    EXPECT_TRUE(f.analysis.noteRuns().empty());
    EXPECT_EQ(f.analysis.reader(8).at(0), 0.0f);
}

TEST(RecordingAnalysis, HeadersThatAreNotPcmAreRefusedAndLeaveNothingLoaded)
{
    Fixture f;
    // Load something first: a refused file must not leave the old analysis half in place.
    ASSERT_TRUE(f.analyze(tone(440.0, 0.5, 11025)));

    const WaveHeader bad[] = {
        adpcmHeader(),
        waveHeader(0, 11025, 16, 2), // no channels
        waveHeader(1, 0),            // no rate
        waveHeader(3),               // three channels
        waveHeader(1, 11025, 12, 2), // twelve bits
    };
    for (const WaveHeader &header : bad) {
        f.observer.messages.clear();
        EXPECT_FALSE(f.analysis.openAndAnalyze(f.wave(header, std::vector<uint8_t>(8192, 0x55)),
                                               f.settings));
        ASSERT_EQ(f.observer.messages.size(), 1u);
        EXPECT_EQ(f.observer.messages[0], "Not a PCM Wave file");
        EXPECT_EQ(f.observer.icons[0], AnalysisObserver::Icon::Stop);
        EXPECT_FALSE(f.analysis.loaded());
        EXPECT_EQ(f.analysis.sampleCount(), 0);
    }

    f.observer.messages.clear();
    EXPECT_FALSE(f.analysis.openAndAnalyze(f.dir / "missing.wav", f.settings));
    EXPECT_EQ(f.observer.messages,
              std::vector<std::string> { "Error opening wave file: "
                                         + (f.dir / "missing.wav").string()
                                         + ": no such file or directory" });
}

TEST(RecordingAnalysis, ExtensibleAndPacked24BitPcmAnalyzeLikeSixteenBit)
{
    Fixture f;
    const std::vector<double> frames = tone(330.0, 1.5, 11025);
    ASSERT_TRUE(f.analyze(frames));
    const std::vector<double> reference = f.frequencies();

    ASSERT_TRUE(f.analyze(frames, waveHeader(1, 11025, 24)));
    EXPECT_EQ(f.analysis.blockFormat().bitsPerSample, 24);
    const std::vector<double> packed = f.frequencies();
    ASSERT_EQ(packed.size(), reference.size());
    for (std::size_t i = 0; i < reference.size(); ++i)
        EXPECT_NEAR(packed[i], reference[i], 0.5) << "block " << i;

    ASSERT_TRUE(f.analyze(frames, waveHeader(1, 11025, 16, {}, 0xFFFE, extensibleExtra(1))));
    EXPECT_EQ(f.frequencies(), reference);
    // The program keeps the format as the plain PCM it was read as.
    EXPECT_EQ(f.analysis.monoFileFormat(), (SampleFormat { 1, 11025, 16 }));
}

TEST(RecordingAnalysis, TemporaryFilesThatCannotBeOpenedAreReportedOnce)
{
    Fixture f;
    std::filesystem::create_directory(f.dir / "tnrk0006.tmp");
    EXPECT_FALSE(f.analyze(tone(440.0, 0.5, 11025)));
    ASSERT_EQ(f.observer.messages.size(), 1u);
    EXPECT_EQ(f.observer.messages[0],
              "Cannot open temporary files: " + (f.dir / "tnrk0006.tmp").string()
                      + ": Is a directory");
    EXPECT_EQ(f.observer.icons[0], AnalysisObserver::Icon::None);
    EXPECT_FALSE(f.analysis.loaded());
    EXPECT_EQ(f.analysis.sampleCount(), 0);
}

TEST(RecordingAnalysis, ALouderAttackOnTheSamePitchStartsANewNote)
{
    Fixture f;
    std::vector<double> frames = tone(440.0, 1.5, 11025, 0.3);
    append(frames, tone(440.0, 1.5, 11025, 0.9));
    ASSERT_TRUE(f.analyze(frames));
    std::vector<NoteRun> a4;
    for (const NoteRun &note : f.analysis.noteRuns()) {
        if (!note.rest && note.noteIndex == 48 && note.sampleCount >= 5)
            a4.push_back(note);
    }
    ASSERT_EQ(a4.size(), 2u);
    const SampleList &samples = f.analysis.samples();
    const CSample &lastOfFirst = samples[a4[0].firstSample + a4[0].sampleCount - 1];
    EXPECT_GT(samples[a4[1].firstSample].level(), lastOfFirst.level() + 0.15);
}

TEST(RecordingAnalysis, SavingKeepsEveryChannelEveryFrameAndTheSourcesFormat)
{
    // 3.00 s is 32 whole blocks and a part of one at 11025 Hz; the right channel a fifth higher.
    const auto left = tone(440.0, 3.0, 11025);
    const auto right = tone(660.0, 3.0, 11025);
    const struct
    {
        WaveHeader header;
        std::vector<uint8_t> data;
    } cases[] = {
        { waveHeader(2), stereoPcmBytes(left, right, 16) },
        { waveHeader(2, 11025, 24), stereoPcmBytes(left, right, 24) },
        // Earlier versions kept 24-bit samples in 4-byte frames; saved, they become standard.
        { waveHeader(1, 11025, 24, 4),
          [&] {
              std::vector<uint8_t> slots;
              for (double x : left) {
                  const auto packed = pcmBytes({ x }, 1, 24);
                  slots.insert(slots.end(), packed.begin(), packed.end());
                  slots.push_back(packed[2] & 0x80 ? 0xff : 0);
              }
              return slots;
          }() },
    };
    for (const auto &c : cases) {
        Fixture f;
        // Saved over itself, as Save does for a file opened from disk.
        const auto path = f.wave(c.header, c.data);
        ASSERT_TRUE(f.analysis.openAndAnalyze(path, f.settings));
        const std::vector<double> first = f.frequencies();
        ASSERT_TRUE(f.analysis.save(path));
        EXPECT_TRUE(f.observer.messages.empty());

        const auto python = readWithPython(path);
        ASSERT_TRUE(python);
        EXPECT_EQ(python->channels, c.header.channels);
        EXPECT_EQ(python->rate, 11025);
        EXPECT_EQ(python->sampleBytes, c.header.bitsPerSample / 8);
        EXPECT_EQ(python->frames, 33075);
        EXPECT_NEAR(python->hz[0], 440.0, 2.0);
        if (c.header.channels == 2) {
            EXPECT_NEAR(python->hz[1], 660.0, 2.0);
        }
        const auto sox = readWithSox(path);
        ASSERT_TRUE(sox);
        EXPECT_NEAR(sox->seconds, 3.0, 1e-6);
        EXPECT_EQ(sox->bits, c.header.bitsPerSample);

        // Reading the saved file back gives the same analysis.
        ASSERT_TRUE(f.analysis.openAndAnalyze(path, f.settings));
        const std::vector<double> again = f.frequencies();
        ASSERT_EQ(again.size(), first.size());
        for (std::size_t i = 0; i < first.size(); ++i)
            EXPECT_NEAR(again[i], first[i], 0.01);
    }
}

// Every step of writing the new file fails in turn, as a full disk or a failing one would: the
// old file stays byte for byte what it was, nothing is left beside it, and one message names the
// file and the cause.
TEST(RecordingAnalysis, AFailedSaveLeavesTheOldFileWholeAndSaysWhyOnce)
{
    Fixture f;
    ASSERT_TRUE(f.analyze(tone(440.0, 2.0, 11025)));
    const auto target = f.dir / "keep.wav";
    writeWave(target, waveHeader(1, 22050), pcmBytes(tone(220.0, 1.0, 22050), 1, 16));
    const auto before = fileBytes(target);
    for (FileStep failing :
         { FileStep::Create, FileStep::Write, FileStep::Sync, FileStep::Close, FileStep::Rename }) {
        f.observer.messages.clear();
        EXPECT_FALSE(f.analysis.save(
                target, [failing](FileStep step) { return step == failing ? ENOSPC : 0; }));
        ASSERT_EQ(f.observer.messages.size(), 1u);
        EXPECT_NE(f.observer.messages[0].find(target.string()), std::string::npos);
        EXPECT_NE(f.observer.messages[0].find("No space left on device"), std::string::npos);
        EXPECT_EQ(fileBytes(target), before);
        int files = 0;
        for (const auto &entry : std::filesystem::directory_iterator(f.dir.path()))
            files += entry.path().filename().string().starts_with("keep.wav");
        EXPECT_EQ(files, 1);
    }

    f.observer.messages.clear();
    EXPECT_FALSE(f.analysis.save(f.dir / "no-such-folder" / "x.wav"));
    ASSERT_EQ(f.observer.messages.size(), 1u);
    EXPECT_NE(f.observer.messages[0].find("no-such-folder"), std::string::npos);
    // A folder or a device given as the name is never replaced.
    f.observer.messages.clear();
    EXPECT_FALSE(f.analysis.save(f.dir.path()));
    EXPECT_EQ(f.observer.messages.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(f.dir.path()));

    // The analysis is still whole afterwards.
    EXPECT_TRUE(f.analysis.loaded());
    EXPECT_NE(f.analysis.reader(8).at(5000), 0.0f);
}

// Once saved, the recording is saved again from the file it was saved to, whatever becomes of
// the one it was opened from.
TEST(RecordingAnalysis, ASavedRecordingNoLongerNeedsTheFileItWasOpenedFrom)
{
    Fixture f;
    ASSERT_TRUE(f.analyze(tone(440.0, 2.0, 11025), waveHeader(2)));
    ASSERT_TRUE(f.analysis.save(f.dir / "a.wav"));
    std::filesystem::remove(f.dir / "in.wav");
    ASSERT_TRUE(f.analysis.save(f.dir / "b.wav"));
    EXPECT_EQ(fileBytes(f.dir / "b.wav"), fileBytes(f.dir / "a.wav"));
    EXPECT_TRUE(f.observer.messages.empty());
}

// A process killed in the middle of writing the new file leaves the old one as it was.
TEST(RecordingAnalysis, ASaveKilledHalfWayLeavesTheOldFile)
{
    Fixture f;
    ASSERT_TRUE(f.analyze(tone(440.0, 4.0, 44100), waveHeader(2, 44100)));
    const auto target = f.dir / "in.wav";
    const auto before = fileBytes(target);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int writes = 0;
        f.analysis.save(target, [&writes](FileStep step) {
            if (step == FileStep::Write && ++writes == 3)
                raise(SIGKILL);
            return 0;
        });
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    EXPECT_EQ(fileBytes(target), before);
}

TEST(RecordingAnalysis, ACaptureRingIsAnalyzedFromItsOldestBlockAndSavedWhole)
{
    Fixture f;
    // Twenty blocks of stereo 16-bit at 11025 Hz; thirty are captured, so the ring has dropped
    // the first eleven and holds the last nineteen (the twentieth slot is the one being written).
    BlockRing ring;
    ring.resize(1024 * 2 * 2, 20);
    std::vector<double> frames = tone(440.0, 30 * 1024 / 11025.0 + 0.01, 11025);
    // A marker ramp at the start of the first block still held tells the order apart.
    for (std::size_t i = 0; i < 64; ++i)
        frames[11 * 1024 + i] = static_cast<double>(i) / 128.0;
    capture(ring, frames, 2);
    ASSERT_EQ(ring.oldestIndex(), 11);
    ASSERT_EQ(ring.newestIndex(), 10);

    ASSERT_TRUE(f.analysis.analyzeCapture(ring, kStereoCapture, f.settings));
    EXPECT_TRUE(f.observer.messages.empty());
    EXPECT_TRUE(f.analysis.loaded());
    EXPECT_EQ(f.analysis.sampleCount(), 19);
    EXPECT_EQ(f.analysis.blockFormat(), (PcmFormat { 1024, 2, 11025, 16 }));
    EXPECT_GE(f.samplesNear(440.0, 10.0), 14);

    // The signal file keeps one float per frame, starting with the oldest block.
    EXPECT_EQ(f.tempSize(8), 19u * 1024 * 4);
    for (int i = 0; i < 64; i += 9)
        EXPECT_NEAR(f.analysis.reader(8).at(i), i / 128.0, 1e-4) << "frame " << i;
    EXPECT_NEAR(f.analysis.reader(8).at(19 * 1024 - 1), frames[30 * 1024 - 1], 1e-4);

    // The capture was stereo, and so is what is saved: the blocks analyzed, as they were.
    ASSERT_TRUE(f.analysis.save(f.dir / "capture.wav"));
    const auto python = readWithPython(f.dir / "capture.wav");
    ASSERT_TRUE(python);
    EXPECT_EQ(python->channels, 2);
    EXPECT_EQ(python->sampleBytes, 2);
    EXPECT_EQ(python->rate, 11025);
    EXPECT_EQ(python->frames, 19 * 1024);
    // The next capture refills the ring; the saved take does not change with it.
    capture(ring, silence(30 * 1024 / 11025.0 + 0.01, 11025), 2);
    ASSERT_TRUE(f.analysis.save(f.dir / "again.wav"));
    EXPECT_EQ(fileBytes(f.dir / "again.wav"), fileBytes(f.dir / "capture.wav"));
}

TEST(RecordingAnalysis, AnEmptyRingOrOneOfAnotherFormatLoadsNothingButStaysUsable)
{
    Fixture f;
    BlockRing ring;
    ring.resize(1024 * 2 * 2, 20);
    ASSERT_TRUE(f.analysis.analyzeCapture(ring, kStereoCapture, f.settings));
    EXPECT_TRUE(f.analysis.loaded());
    EXPECT_EQ(f.analysis.sampleCount(), 0);

    // Blocks of mono 16-bit, while the capture format says stereo: the format changed after
    // the capture, so the blocks are not read as something they are not.
    BlockRing mono;
    mono.resize(1024 * 2, 20);
    capture(mono, tone(440.0, 1.0, 11025), 1);
    ASSERT_TRUE(f.analysis.analyzeCapture(mono, kStereoCapture, f.settings));
    EXPECT_EQ(f.analysis.sampleCount(), 0);

    SampleFormat monoFormat = kStereoCapture;
    monoFormat.channels = 1;
    ASSERT_TRUE(f.analysis.analyzeCapture(mono, monoFormat, f.settings));
    EXPECT_EQ(f.analysis.sampleCount(), 10);
    EXPECT_TRUE(f.observer.messages.empty());
}

// The highest note bounds what is reported as the lowest does: with the factory 1760 Hz a
// 3000 Hz whistle is no pitch, and raising the limit brings it back.
TEST(RecordingAnalysis, APitchAboveTheHighestNoteIsNotReported)
{
    Fixture f;
    WaveHeader header;
    header.sampleRate = 44100;
    ASSERT_TRUE(f.analyze(tone(3000.0, 2.0, 44100), header));
    EXPECT_EQ(f.samplesNear(3000.0, 50.0), 0);
    for (const CSample &sample : f.analysis.samples())
        EXPECT_LE(sample.frequency(), 1760.0 / PitchAnalyzer::kLowestNoteMargin);

    f.settings.highestHz = 4000.0;
    ASSERT_TRUE(f.analyze(tone(3000.0, 2.0, 44100), header));
    EXPECT_GE(f.samplesNear(3000.0, 50.0), 10);
}
