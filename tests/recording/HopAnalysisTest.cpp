// The analysis with a result every hop, on sounds whose changes are known to the sample: where it
// places a note change and a start from silence, that the old note does not come back after a
// change, and that a note below the limits is never named.

#include "AnalysisReport.h"
#include "RecordingAnalysis.h"
#include "TempDir.h"
#include "WaveFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::test;

namespace {

class Quiet : public AnalysisObserver
{
public:
    void message(const std::string &, Icon) override { }
    void progressBegin(int64_t) override { }
    void progress(int64_t) override { }
    bool stopRequested() const override { return false; }
};

// A note with three partials: `before` Hz from `start` seconds, `after` Hz from `change` seconds
// to `seconds`, the phase running on across the change as a slur plays it; silence before
// `start`.
std::vector<double> playedNote(double before, double after, double start, double change,
                               double seconds, uint32_t rate)
{
    std::vector<double> frames(static_cast<std::size_t>(seconds * rate));
    double phase = 0.0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        if (t < start)
            continue;
        phase += 2.0 * M_PI * (t < change ? before : after) / rate;
        frames[i] = 0.3 * std::sin(phase) + 0.15 * std::sin(2 * phase) + 0.1 * std::sin(3 * phase);
    }
    return frames;
}

double cents(double hz, double reference)
{
    return 1200.0 * std::log2(hz / reference);
}

struct HopRig
{
    TempDir dir;
    Quiet quiet;
    RecordingAnalysis analysis { dir.path(), quiet };
    AnalysisSettings settings = [] {
        AnalysisSettings s;
        s.lowestHz = 30.87;
        s.highestHz = 4186.0;
        return s;
    }();

    void analyze(const std::vector<double> &frames, uint32_t rate)
    {
        WaveHeader header;
        header.sampleRate = rate;
        const auto path = dir.path() / "in.wav";
        writeWave(path, header, pcmBytes(frames, 1, 16));
        ASSERT_TRUE(analysis.openAndAnalyze(path, settings));
    }
    // When the sound of sample i began in the recording.
    double timeOf(std::size_t i) const
    {
        const PcmFormat &format = analysis.blockFormat();
        return static_cast<double>(i) * format.blockLength / format.sampleRate
                - analysis.maxDelay();
    }
    // The first sample from `from` seconds on that names `hz` within 50 cents, or -1.
    double firstNaming(double hz, double from) const
    {
        const SampleList &samples = analysis.samples();
        for (std::size_t i = 0; i < samples.size(); ++i)
            if (timeOf(i) >= from && samples[i].voiced() && samples[i].frequency() > 0.0
                && std::abs(cents(samples[i].frequency(), hz)) < 50.0)
                return timeOf(i);
        return -1.0;
    }
};

} // namespace

TEST(HopAnalysis, ALegatoChangeIsPlacedWhereItIsPlayedAndTheOldNoteDoesNotComeBack)
{
    for (uint32_t rate : { 11025u, 44100u }) {
        SCOPED_TRACE(rate);
        HopRig rig;
        rig.analyze(playedNote(440.0, 523.25, 0.0, 2.0, 3.0, rate), rate);
        EXPECT_EQ(rig.analysis.blockFormat().blockLength, rate == 11025 ? 256 : 1024);
        const double change = rig.firstNaming(523.25, 1.0);
        EXPECT_NEAR(change, 2.0, 0.025);

        // From the change on, every sample with a pitch names C5: no ghost of the A4.
        const SampleList &samples = rig.analysis.samples();
        for (std::size_t i = 0; i < samples.size(); ++i) {
            if (rig.timeOf(i) > change && rig.timeOf(i) < 2.9 && samples[i].frequency() > 0.0) {
                EXPECT_LT(std::abs(cents(samples[i].frequency(), 523.25)), 5.0) << rig.timeOf(i);
            }
        }

        // Two notes, not three.
        int notes = 0;
        for (const NoteRun &run : rig.analysis.noteRuns())
            notes += run.rest ? 0 : 1;
        EXPECT_EQ(notes, 2);
    }
}

TEST(HopAnalysis, ANoteFromSilenceStartsWithItsSoundAndARepeatedNoteIsANoteOfItsOwn)
{
    for (uint32_t rate : { 11025u, 44100u }) {
        SCOPED_TRACE(rate);
        HopRig rig;
        std::vector<double> frames = playedNote(220.0, 220.0, 1.0, 9.0, 2.0, rate);
        // The same note again after a short breath.
        std::vector<double> again = playedNote(220.0, 220.0, 0.05, 9.0, 1.0, rate);
        frames.insert(frames.end(), again.begin(), again.end());
        rig.analyze(frames, rate);
        EXPECT_NEAR(rig.firstNaming(220.0, 0.0), 1.0, 0.025);
        EXPECT_NEAR(rig.firstNaming(220.0, 2.01), 2.05, 0.025);
        int notes = 0;
        for (const NoteRun &run : rig.analysis.noteRuns())
            notes += run.rest ? 0 : 1;
        EXPECT_GE(notes, 2) << "the second attack makes a note of its own";
    }
}

TEST(HopAnalysis, ANoteBelowTheLowestLimitIsNeverNamedAndTheRowsSayWhy)
{
    // A cello's open C2 with the former factory limits (82.5 ... 1760 Hz): it used to be named by
    // a partial ("G3 -47 cents").
    HopRig rig;
    rig.settings.lowestHz = 82.5;
    rig.settings.highestHz = 1760.0;
    rig.analyze(playedNote(65.41, 65.41, 0.5, 9.0, 2.5, 44100), 44100);
    int below = 0;
    const SampleList &samples = rig.analysis.samples();
    for (std::size_t i = 0; i < samples.size(); ++i) {
        EXPECT_EQ(samples[i].frequency(), 0.0) << rig.timeOf(i);
        below += samples[i].outOfRange() == CSample::OutOfRange::Below ? 1 : 0;
    }
    EXPECT_GT(below, static_cast<int>(samples.size()) / 2);

    AnalysisReport report;
    report.describe(rig.analysis);
    std::ostringstream json;
    report.writeJson(json, false);
    EXPECT_NE(json.str().find("\"voiced\": false, \"stable\": false, \"note\": null, \"cents\": "
                              "null, \"reason\": \"below range\""),
              std::string::npos);
}
