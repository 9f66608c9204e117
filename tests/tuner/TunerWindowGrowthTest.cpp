// The tuner window over an hour of playing, faster than real time: the blocks go to its engine on
// this thread in place of the capture worker, the window's timer slot runs five times a second of
// sound, and the window is painted every ten seconds. What the heap holds must not grow: measured,
// it gains about 5 KB in the first minutes after the warm-up (Qt's text and glyph caches filling
// with the readouts' figures) and then under 2 KB an hour, where a leak of one string a display
// update would be 700 KB.

#include "TunerDialogs.h"
#include "TunerWindowRig.h"

#include "CountingAllocator.h"

#include <QImage>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <vector>

using namespace corvane;
using namespace corvane::tuner;
using namespace corvane::tuner::test;

TEST(TunerWindowGrowth, AnHourOfDisplayUpdatesAndPaintsLeavesTheHeapAsItWas)
{
    constexpr int kRate = 11025;
    TunerWindowRig rig(kRate);
    NoDialogs dialogs;
    // Never shown, so it never opens the devices; its expanded panel has every control to update.
    CTuner window(rig.context(), false, dialogs);
    window.resize(900, 560);
    window.button(TunerControl::More)->click();
    TunerEngine &engine = window.engine();
    engine.prepareAnalyzer();

    const int length = engine.captureFormat().blockLength;
    // The twelve notes from A3 up, a new one every two seconds, with a second of silence after
    // each round, over and over.
    std::vector<SineBlocks> notes;
    for (int i = 0; i < 12; ++i)
        notes.emplace_back(220.0 * std::pow(2.0, i / 12.0), 0.5, kRate, length);
    SineBlocks silence(0.0, 0.0, kRate, length);
    const long blocksPerNote = std::lround(2.0 * kRate / length);
    const long blocksPerRound = 13 * blocksPerNote;
    const double updatesPerBlock = 5.0 * length / kRate;
    double updatesDue = 0.0;
    long updates = 0;
    auto play = [&](long from, long to) {
        for (long block = from; block < to; ++block) {
            const long note = block % blocksPerRound / blocksPerNote;
            engine.processBlock(note < 12 ? notes[std::size_t(note)].next() : silence.next());
            for (updatesDue += updatesPerBlock; updatesDue >= 1.0; updatesDue -= 1.0) {
                window.tunerUpdate(std::chrono::milliseconds(200));
                if (++updates % 50 == 0)
                    (void)window.grab();
            }
        }
    };

    // Two rounds of warm-up: every wheel, readout text and glyph has been drawn once.
    const long warmUp = 2 * blocksPerRound;
    play(0, warmUp);
    // The load bars show what the machine's speed gives them: every value once, so that a busy
    // machine's values are no news to the style's caches.
    for (int percent = 0; percent <= 100; ++percent) {
        window.captureLoadBar()->setValue(percent);
        window.playbackLoadBar()->setValue(percent);
        (void)window.grab();
    }
    const long long afterWarmUp = corvane::test::liveBytes();
    const long hour = std::lround(3600.0 * kRate / length);
    play(warmUp, hour);

    EXPECT_LE(corvane::test::liveBytes() - afterWarmUp, 16 * 1024)
            << "bytes the heap gained in an hour of " << updates << " display updates";
    EXPECT_FALSE(window.readoutText().isEmpty() && window.lastUpdate().readout.shown());
    EXPECT_GE(rig.practice.ticks(), updates * 3 / 4) << "the notes counted as practice";
}
