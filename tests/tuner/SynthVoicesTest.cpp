// The synth voices as the window keeps them, and how their changes travel to the worker.

#include "CPitch.h"
#include "CTCDefs.h"
#include "KeyContext.h"
#include "SynthVoices.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace corvane;
using namespace corvane::tuner;

TEST(SynthVoices, EachDegreeSoundsItsTemperedPitchInTheOctaveFromA)
{
    CTCDefs settings;
    CPitch pitch;
    KeyContext keys;
    SynthVoices voices;
    voices.configure(settings, pitch, keys);
    EXPECT_NEAR(voices.voice(9).hz, 440.0, 1e-9);
    EXPECT_NEAR(voices.voice(0).hz, 523.2511, 1e-4);
    EXPECT_EQ(voices.voice(0).waveform, 2);
    EXPECT_DOUBLE_EQ(voices.voice(0).level, 0.5);

    // In G, degree 0 is G, and an octave shift moves only its own degree.
    DegreeOctaves octaves {};
    octaves[0] = -1;
    settings.SetToneOctave(octaves);
    ASSERT_TRUE(keys.SetKey(8));
    voices.configure(settings, pitch, keys);
    EXPECT_NEAR(voices.voice(0).hz, 783.9909 / 2.0, 1e-4);
    EXPECT_NEAR(voices.voice(2).hz, 440.0, 1e-9);
}

TEST(SynthVoices, DamagedSettingsGiveTheFactoryVoiceInsteadOfAnError)
{
    CTCDefs settings;
    DegreeWaveforms waveforms {};
    waveforms.fill(2);
    waveforms[1] = 9;
    DegreeFloats levels {};
    levels.fill(0.5f);
    levels[2] = std::nanf("");
    levels[3] = -1.0f;
    DegreeOctaves octaves {};
    octaves[4] = 7;
    settings.SetToneWaveform(waveforms);
    settings.SetToneLevel(levels);
    settings.SetToneOctave(octaves);
    SynthVoices voices;
    voices.configure(settings, CPitch(), KeyContext());
    EXPECT_EQ(voices.voice(1).waveform, 2);
    EXPECT_DOUBLE_EQ(voices.voice(2).level, 0.5);
    EXPECT_DOUBLE_EQ(voices.voice(3).level, 0.5);
    EXPECT_GT(voices.voice(4).hz, 600.0); // degree 4 (E) in its own octave, not seven up
    EXPECT_LT(voices.voice(4).hz, 700.0);
}

TEST(SynthVoices, ChangesThatFindTheQueueFullWaitAndTravelAsOneCommandPerVoice)
{
    SynthVoices voices;
    SynthVoices::Queue queue;
    VoiceCommand filler;
    while (queue.push(filler)) { }
    EXPECT_TRUE(voices.toggle(3));
    voices.configure(CTCDefs(), CPitch(), KeyContext());
    EXPECT_FALSE(voices.toggle(3));
    EXPECT_TRUE(voices.toggle(3));
    EXPECT_FALSE(voices.flush(queue));
    EXPECT_TRUE(voices.pending());

    VoiceCommand command;
    while (queue.pop(command)) { }
    EXPECT_TRUE(voices.flush(queue));
    EXPECT_FALSE(voices.pending());
    ASSERT_EQ(queue.size(), 12u); // every voice retuned, the toggles folded into degree 3's
    int on = 0;
    while (queue.pop(command)) {
        EXPECT_TRUE(command.retune);
        on += command.on;
        EXPECT_EQ(command.on, command.degree == 3);
    }
    EXPECT_EQ(on, 1);

    // A switch alone does not restart the voice's phase.
    EXPECT_FALSE(voices.toggle(3));
    EXPECT_TRUE(voices.flush(queue));
    ASSERT_TRUE(queue.pop(command));
    EXPECT_FALSE(command.retune);
    EXPECT_FALSE(command.on);
}

TEST(SynthVoices, DegreesOutsideTheScaleAreRefused)
{
    SynthVoices voices;
    EXPECT_FALSE(voices.toggle(-1));
    EXPECT_FALSE(voices.toggle(12));
    EXPECT_FALSE(voices.pending());
    EXPECT_FALSE(voices.isOn(12));
}
