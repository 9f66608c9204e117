#pragma once

#include "TunerDialogs.h"

namespace corvane {

// The configuration dialogs the tuner window opens, on the program's settings, note table and
// key context. Each runs modally over the tuner and says whether the user accepted it.
class ProgramTunerDialogs final : public tuner::TunerDialogs
{
public:
    bool openSoundcard(QWidget *parent) override;
    bool openOptimize(QWidget *parent) override;
    bool openTranspose(QWidget *parent) override;
    bool openPitchConfig(QWidget *parent, int degree) override;
};

} // namespace corvane
