#include "CPitch.h"
#include "OptimizeDialogRules.h"
#include "PitchDialogRules.h"
#include "SoundDialogRules.h"
#include "ToneDialogRules.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace corvane;

TEST(ToneControls, SlidersMapOntoTheStoredValuesBothWays)
{
    EXPECT_EQ(LevelToPosition(0.5f), 10);
    EXPECT_EQ(LevelToPosition(1.0f), 0);
    EXPECT_EQ(LevelToPosition(0.0f), 20);
    EXPECT_FLOAT_EQ(PositionToLevel(0), 1.0f);
    EXPECT_FLOAT_EQ(PositionToLevel(10), 0.5f);
    // Every position survives a store and a reopen.
    for (int position = 0; position <= kLevelPositions; ++position)
        EXPECT_EQ(LevelToPosition(PositionToLevel(position)), position) << position;
    for (int position = 0; position <= 100; ++position)
        EXPECT_EQ(NoiseThresholdToPosition(PositionToNoiseThreshold(position)), position)
                << position;
    EXPECT_EQ(NoiseThresholdToPosition(0.2f), 80);
    EXPECT_EQ(OctaveToPosition(2), -2); // 15va at the top
    EXPECT_EQ(PositionToOctave(2), -2);
    // A damaged value from the file lands on an end of the slider, not outside it.
    EXPECT_EQ(LevelToPosition(7.0f), 0);
    EXPECT_EQ(LevelToPosition(-1.0f), 20);
    EXPECT_EQ(LevelToPosition(std::nanf("")), 20);
    EXPECT_EQ(NoiseThresholdToPosition(3.0f), 0);
}

TEST(ToneControls, WaveformPicturesFollowTheGeneratorsShapes)
{
    EXPECT_EQ(WaveformValue(Waveform::Square, 0.0), 1.0);
    EXPECT_EQ(WaveformValue(Waveform::Square, 0.75), -1.0);
    EXPECT_NEAR(WaveformValue(Waveform::Triangle, 0.25), 1.0, 1e-12);
    EXPECT_NEAR(WaveformValue(Waveform::Triangle, 0.75), -1.0, 1e-12);
    EXPECT_NEAR(WaveformValue(Waveform::Sine, 0.25), 1.0, 1e-12);
    EXPECT_NEAR(WaveformValue(Waveform::HarmonicMix, 0.0), 0.0, 1e-12);
}

TEST(OptimizeNoteFrames, NotesOutsideTheClefMoveByWholeOctavesWithALabel)
{
    const CPitch pitch;
    const NoteFramePicture a0 = LayoutNoteFrame(pitch, 0, 0); // A0 in treble
    EXPECT_EQ(a0.octaves, -3);
    EXPECT_EQ(a0.label, "-3 oct");
    EXPECT_EQ(a0.drawnIndex, 36);
    const NoteFramePicture a8 = LayoutNoteFrame(pitch, 3, 96); // A8 in bass
    EXPECT_EQ(a8.octaves, 4);
    EXPECT_EQ(a8.label, "+4 oct");
    EXPECT_EQ(a8.drawnIndex, 48);
    // Every note of every clef ends within that clef's range, with at most three ledger lines.
    for (int clef = 0; clef < 4; ++clef) {
        const NoteRange range = ClefDrawableRange(clef);
        for (int index = 0; index <= 96; ++index) {
            const NoteFramePicture p = LayoutNoteFrame(pitch, clef, index);
            EXPECT_GE(p.drawnIndex, range.low);
            EXPECT_LE(p.drawnIndex, range.high);
            EXPECT_EQ(p.drawnIndex + 12 * p.octaves, index);
            EXPECT_LE(std::abs(p.step), 11) << clef << ' ' << index;
            EXPECT_EQ(p.label.empty(), p.octaves == 0);
        }
    }
}

TEST(OptimizeNoteFrames, PlaceHeadsLedgerLinesAndSharps)
{
    const CPitch pitch;
    const NoteFramePicture middleC = LayoutNoteFrame(pitch, 0, CPitch::kMiddleC);
    EXPECT_EQ(middleC.step, -6);
    EXPECT_EQ(middleC.ledgersBelow, 1);
    EXPECT_EQ(middleC.ledgersAbove, 0);
    EXPECT_EQ(LayoutNoteFrame(pitch, 1, CPitch::kMiddleC).step, 0); // alto: on the middle line
    const NoteFramePicture e3 = LayoutNoteFrame(pitch, 0, 31);      // lowest treble note
    EXPECT_EQ(e3.ledgersBelow, 3);
    EXPECT_EQ(e3.octaves, 0);
    EXPECT_TRUE(LayoutNoteFrame(pitch, 0, 49).sharp); // A#4
    EXPECT_FALSE(LayoutNoteFrame(pitch, 0, 48).sharp);
}

TEST(OptimizeNoteFrames, StoreTheRangeInAscendingOrder)
{
    EXPECT_EQ(OrderedSpan(1760.0f, 82.5f).lowestHz, 82.5f);
    EXPECT_EQ(OrderedSpan(1760.0f, 82.5f).highestHz, 1760.0f);
    EXPECT_FALSE(NoteStepAllowed(-1));
    EXPECT_FALSE(NoteStepAllowed(97));
    EXPECT_TRUE(NoteStepAllowed(96));
}

TEST(SoundCardLists, ListTheConfigurationsADeviceTakes)
{
    const auto listed = ListedConfigurations(0x800 | 0x004 | 0x001);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_STREQ(listed[0].label, "11.025 kHz, Mono,   8-bit");
    EXPECT_STREQ(listed[2].label, "44.1   kHz, Stereo, 16-bit");
    EXPECT_EQ(ListedConfigurations(0).size(), 0u);
    EXPECT_EQ(ListedConfigurations(audio::kAllConfigurations).size(), 12u);

    SampleFormat stored { 2, 44100, 16 };
    EXPECT_EQ(MatchingConfiguration(listed, stored), 2);
    stored.bitsPerSample = 8;
    EXPECT_EQ(MatchingConfiguration(listed, stored), -1);
}

TEST(SoundCardLists, HandOverBlocksByRate)
{
    EXPECT_EQ(ConfigurationFormat(audio::kDeviceConfigurations[11]),
              (SampleFormat { 2, 44100, 16 }));
    EXPECT_EQ(DialogCaptureBlockLength(8000), 2048);
    EXPECT_EQ(DialogCaptureBlockLength(11025), 2048);
    EXPECT_EQ(DialogCaptureBlockLength(22050), 4096);
    EXPECT_EQ(DialogCaptureBlockLength(44100), 8192);
    EXPECT_EQ(DialogCaptureBlockLength(48000), 8192);
    EXPECT_EQ(DialogCaptureBlockLength(96000), 16384);
}

TEST(PitchDialogs, RefuseWhatTheDefaultsFileWouldThrowAwayAtTheNextStart)
{
    EXPECT_EQ(CheckReference(20000.0), ReferenceCheck::Warn);
    EXPECT_EQ(CheckReference(20000.5), ReferenceCheck::Refuse);
    EXPECT_TRUE(AdjustmentStorable(-1200.0));
    EXPECT_FALSE(AdjustmentStorable(1200.5));
    EXPECT_FALSE(AdjustmentStorable(std::nan("")));
}
