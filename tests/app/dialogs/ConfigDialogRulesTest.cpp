#include "CPitch.h"
#include "BlockLength.h"
#include "CTCDefs.h"
#include "OptimizeDialogRules.h"
#include "PitchDialogRules.h"
#include "SoundDialogRules.h"
#include "ToneDialogRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

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

// The instrument list shows the preset the limits and filter length are, "Custom" only while
// they are none, and a preset keeps its entry either way.
TEST(OptimizeInstruments, TheListShowsTheMatchingPresetOrCustom)
{
    const auto &presets = instrumentPresets();
    const InstrumentPreset *factory =
            ShownInstrument(kFactoryHighestNoteHz, kFactoryLowestNoteHz, 3, {});
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(factory->id, "full-range") << "the limits in either order";
    const std::vector<std::string> listed = InstrumentListTexts(factory);
    ASSERT_EQ(listed.size(), kInstrumentPresetCount);
    EXPECT_EQ(listed[InstrumentListIndex(factory)], "Full range");

    const InstrumentPreset *byHand = ShownInstrument(82.5f, 1760.0f, 3, "full-range");
    EXPECT_EQ(byHand, nullptr);
    const std::vector<std::string> custom = InstrumentListTexts(byHand);
    ASSERT_EQ(custom.size(), kInstrumentPresetCount + 1);
    EXPECT_EQ(custom[InstrumentListIndex(byHand)], "Custom");
    EXPECT_EQ(InstrumentAtListIndex(kCustomInstrumentIndex), nullptr);
    EXPECT_EQ(ShownInstrument(kFactoryLowestNoteHz, kFactoryHighestNoteHz, 1, {}), nullptr)
            << "a filter length changed by hand";

    for (std::size_t i = 0; i < presets.size(); ++i) {
        EXPECT_EQ(custom[i], presets[i].name);
        EXPECT_EQ(InstrumentListIndex(InstrumentAtListIndex(i)), i);
    }

    // The double bass and the bass guitar share limits and filter length: the last chosen shows.
    const InstrumentPreset *bass = findInstrumentPreset("bass-guitar");
    ASSERT_NE(bass, nullptr);
    EXPECT_EQ(ShownInstrument(bass->lowestHz, bass->highestHz, 2, "bass-guitar"), bass);
    EXPECT_EQ(ShownInstrument(bass->lowestHz, bass->highestHz, 2, "cello")->id, "double-bass");
}

TEST(SoundCardLists, ShowEveryFormatAndSelectOnlyOneTheDeviceTakes)
{
    const auto rows = ConfigurationRows(0x800 | 0x004 | 0x001 | 0x80000);
    ASSERT_EQ(rows.size(), 20u);
    EXPECT_STREQ(rows[0].configuration.label, "11.025 kHz, Mono,   8-bit");
    EXPECT_TRUE(rows[0].available);
    EXPECT_FALSE(rows[1].available);
    EXPECT_STREQ(rows[19].configuration.label, "96     kHz, Stereo, 24-bit");
    EXPECT_TRUE(rows[19].available);
    EXPECT_EQ(ConfigurationFormat(rows[19].configuration), (SampleFormat { 2, 96000, 24 }));

    EXPECT_EQ(MatchingRow(rows, { 2, 44100, 16 }), 11);
    EXPECT_EQ(MatchingRow(rows, { 2, 96000, 24 }), 19);
    // Formats the device cannot open, or that no row holds, are never preselected.
    EXPECT_EQ(MatchingRow(rows, { 2, 48000, 16 }), -1);
    EXPECT_EQ(MatchingRow(rows, { 1, 8000, 16 }), -1);
    EXPECT_EQ(MatchingRow(ConfigurationRows(0), { 1, 11025, 8 }), -1);

    EXPECT_EQ(StoredFormatUnavailableText({ 2, 48000, 24 }).substr(0, 70),
              "This device cannot open the stored format (48 kHz, Stereo, 24-bit). Ch");
    EXPECT_NE(StoredFormatUnavailableText({ 1, 8000, 16 }).find("(8000 Hz, Mono, 16-bit)"),
              std::string::npos);
}

TEST(SoundCardLists, EveryFlagIsItsOwnBitAndEveryFormatCanRunTheAnalyzer)
{
    std::uint32_t seen = 0;
    for (const audio::DeviceConfiguration &c : audio::kDeviceConfigurations) {
        EXPECT_EQ(c.flag & (c.flag - 1), 0u) << c.label;
        EXPECT_EQ(seen & c.flag, 0u) << c.label;
        seen |= c.flag;
        // The analyzer halves its blocks down to the lowest band: 64 frames per block, 128 above
        // 48 kHz where it first decimates.
        const std::int32_t block = blockLengthForRate(c.sampleRate);
        EXPECT_EQ(block % (c.sampleRate > 48000 ? 128 : 64), 0) << c.label;
        EXPECT_TRUE(ConfigurationFormat(c).valid()) << c.label;
    }
    EXPECT_EQ(seen, audio::kAllConfigurations);
    EXPECT_EQ(seen & 0xFFF, audio::kClassicConfigurations);
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
    // The reference range the record keeps, ends included; a step beyond either is refused.
    EXPECT_EQ(CheckReference(kLowestPlausibleReferenceHz), ReferenceCheck::Warn);
    EXPECT_EQ(CheckReference(kHighestPlausibleReferenceHz), ReferenceCheck::Warn);
    EXPECT_EQ(CheckReference(219.99), ReferenceCheck::Refuse);
    EXPECT_EQ(CheckReference(880.01), ReferenceCheck::Refuse);
    EXPECT_EQ(CheckReference(20000.0), ReferenceCheck::Refuse);
    CTCDefs kept;
    for (double hz : { 220.0, 880.0 }) {
        kept.SetReferenceHz(float(hz));
        EXPECT_EQ(kept.ReplaceInvalidFields(), 0) << hz;
    }
    EXPECT_TRUE(AdjustmentStorable(-1200.0));
    EXPECT_FALSE(AdjustmentStorable(1200.5));
    EXPECT_FALSE(AdjustmentStorable(std::nan("")));
}
