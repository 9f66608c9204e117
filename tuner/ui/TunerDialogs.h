#pragma once

class QWidget;

namespace corvane::tuner {

// The configuration dialogs the tuner window opens but does not own: they belong to the program,
// which builds on the tuner. The program hands the window its implementation; each call runs the
// dialog modally over `parent` and returns whether the user accepted it (and so may have changed
// the settings).
//
// The window stops the devices before openSoundcard and openOptimize and restarts them after;
// it retunes the voices after openTranspose and openPitchConfig. UI thread only.
class TunerDialogs
{
public:
    virtual ~TunerDialogs() = default;

    // The capture and playback devices and formats.
    virtual bool openSoundcard(QWidget *parent) = 0;
    // The analysis settings: filter length, sensitivity, note limits, noise threshold.
    virtual bool openOptimize(QWidget *parent) = 0;
    // The transposition of the instrument.
    virtual bool openTranspose(QWidget *parent) = 0;
    // The waveform, level, octave and temperament offset of scale degree `degree` (0 ... 11).
    virtual bool openPitchConfig(QWidget *parent, int degree) = 0;
};

} // namespace corvane::tuner
