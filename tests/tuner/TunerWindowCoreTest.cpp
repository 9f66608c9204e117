// What the tuner window decides without widgets: the recording states and where its controls go.

#include "TunerRecordingState.h"
#include "TunerWindowLayout.h"

#include <gtest/gtest.h>

using namespace corvane::tuner;

namespace {

constexpr Rgb kRed { 255, 0, 0 };
constexpr Rgb kGray { 127, 127, 127 };

} // namespace

TEST(TunerRecordingState, EachStateEnablesItsButtonsCaptionsPauseAndLightsTheLampOnlyWhileRecording)
{
    EXPECT_EQ(TunerRecordingState::controlsOf(RecordingState::Tuning),
              (RecordingControls { true, false, false, "Pause", kGray }));
    EXPECT_EQ(TunerRecordingState::controlsOf(RecordingState::Recording),
              (RecordingControls { false, true, true, "Pause", kRed }));
    EXPECT_EQ(TunerRecordingState::controlsOf(RecordingState::Paused),
              (RecordingControls { false, true, true, "Resume", kGray }));
    EXPECT_EQ(TunerRecordingState::controlsOf(RecordingState::Stopped),
              (RecordingControls { true, false, false, "Pause", kGray }));
}

TEST(TunerRecordingState, RecordPauseResumeStopAndReviewAfterwardsReviewsTheRecording)
{
    TunerRecordingState s;
    EXPECT_EQ(s.reviewOutcome(), TunerClosing::ReviewWithoutRecording);
    EXPECT_TRUE(s.canRecord());
    EXPECT_FALSE(s.canPauseOrResume());
    EXPECT_FALSE(s.canStop());

    s.recordingStarted();
    s.pauseToggled();
    EXPECT_EQ(s.state(), RecordingState::Paused);
    s.pauseToggled();
    EXPECT_EQ(s.state(), RecordingState::Recording);
    s.pauseToggled();
    s.restartedWithoutRecording(); // Stop while paused
    EXPECT_EQ(s.state(), RecordingState::Stopped);
    EXPECT_EQ(s.reviewOutcome(), TunerClosing::ReviewRecording);

    // Pause means nothing outside a recording.
    s.pauseToggled();
    EXPECT_EQ(s.state(), RecordingState::Stopped);
}

TEST(TunerRecordingState, ARestartWithoutRecordingEndsARecordingButLeavesTuningAlone)
{
    TunerRecordingState tuning;
    tuning.restartedWithoutRecording();
    EXPECT_EQ(tuning.state(), RecordingState::Tuning);

    TunerRecordingState recording(RecordingState::Recording);
    recording.restartedWithoutRecording();
    EXPECT_EQ(recording.state(), RecordingState::Stopped);
    EXPECT_FALSE(recording.controls().stopEnabled);
}

TEST(TunerWindowLayout, ThePanelHangsFromTheWheelsAndTheButtonsSitUnderTheExpandedPanel)
{
    TunerWindowLayout layout(356);
    EXPECT_EQ(layout.minWidth(), 940);
    EXPECT_EQ(layout.preferredHeight(), 356 + 246);
    // The readout takes the band the expanded panel would fill.
    EXPECT_EQ(layout.rect(TunerControl::Readout), (PixelRect { 10, 356 + 51, 930, 356 + 204 }));
    EXPECT_EQ(layout.rect(TunerControl::KeySpin), (PixelRect { 5, 360, 20, 396 }));
    EXPECT_EQ(layout.rect(TunerControl::PanelFrame).height(), 45);
    EXPECT_EQ(layout.bandMeter(7), (PixelRect { 526, 360, 564, 512 }));
    EXPECT_EQ(layout.modeRadio(3).top, 356 + 100);

    layout.setExpanded(true);
    EXPECT_EQ(layout.rect(TunerControl::PanelFrame).height(), 200);
    const PixelRect review = layout.rect(TunerControl::Review);
    EXPECT_GE(review.top, 356 + 200);
    EXPECT_EQ(review.right, 940 - TunerWindowLayout::kMargin);
    EXPECT_LE(review.bottom, layout.preferredHeight());
    // Expanded, the readout moves right of the panel's last control.
    EXPECT_EQ(layout.rect(TunerControl::Readout), (PixelRect { 765, 360, 934, 398 }));
    EXPECT_GT(layout.rect(TunerControl::Readout).left,
              layout.rect(TunerControl::PlaybackLoadCaption).right);
    // The large view puts it where the wheels were, whatever the panel.
    layout.setLarge(true);
    EXPECT_EQ(layout.rect(TunerControl::Readout), (PixelRect { 10, 4, 930, 352 }));
    // The buttons left to right, none overlapping, the lamp clear of the first.
    for (int c = int(TunerControl::More); c < int(TunerControl::Review); ++c)
        EXPECT_LT(layout.rect(TunerControl(c)).right, layout.rect(TunerControl(c + 1)).left);
    EXPECT_LT(layout.rect(TunerControl::Lamp).right, layout.rect(TunerControl::LargeReadout).left);
    EXPECT_LT(layout.rect(TunerControl::LargeReadout).right, layout.rect(TunerControl::More).left);
}

TEST(TunerWindowLayout, CollapsedShowsTheSignalMeterAndExpandedEverythingElse)
{
    TunerWindowLayout layout(300);
    EXPECT_TRUE(layout.visible(TunerControl::FullMeter));
    EXPECT_FALSE(layout.visible(TunerControl::RunClock));
    EXPECT_TRUE(layout.visible(TunerControl::Lamp));
    layout.setExpanded(true);
    EXPECT_FALSE(layout.visible(TunerControl::FullMeter));
    for (TunerControl c :
         { TunerControl::MicSlider, TunerControl::SynthSlider, TunerControl::RunClock,
           TunerControl::ActiveClock, TunerControl::CaptureLoad, TunerControl::Soundcard })
        EXPECT_TRUE(layout.visible(c));
    EXPECT_TRUE(layout.visible(TunerControl::KeyDisplay));
}

TEST(TunerWindowLayout, ResizingIsClampedAndMovesThePanelWithTheWheelsAndTheButtonsWithTheEdge)
{
    TunerWindowLayout layout(356);
    EXPECT_EQ(layout.clampWidth(200), 940);
    EXPECT_EQ(layout.clampHeight(50), layout.minHeight());
    // The smallest window (940 by 496: a 1920 by 1080 screen at scale 2 holds it) shrinks the
    // wheels, never the room of the panel and the buttons.
    EXPECT_EQ(layout.minHeight(), 496);
    EXPECT_EQ(layout.wheelArea(10, 10), (PixelRect { 0, 0, 940, 250 }));
    EXPECT_EQ(layout.wheelArea(1400, layout.minHeight() + 200).bottom, 450);

    const PixelRect buttonBefore = layout.rect(TunerControl::Exit);
    layout.resized(1400, 456);
    EXPECT_EQ(layout.rect(TunerControl::KeyDisplay).top, 460);
    const PixelRect buttonAfter = layout.rect(TunerControl::Exit);
    EXPECT_EQ(buttonAfter.left - buttonBefore.left, 1400 - 940);
    EXPECT_EQ(buttonAfter.top - buttonBefore.top, 100);
    EXPECT_EQ(layout.rect(TunerControl::PanelFrame).width(), 1400);
    // The lamp follows the panel down but stays at the left.
    EXPECT_EQ(layout.rect(TunerControl::Lamp).left, TunerWindowLayout::kMargin + 74);

    layout.resized(300, 356);
    EXPECT_EQ(layout.width(), 940);
}
