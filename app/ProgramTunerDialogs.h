#pragma once

#include "TunerDialogs.h"

namespace corvane {

class ProgramState;

// The configuration dialogs the tuner window opens, on the program's settings, note table and
// key context. Each runs modally over the tuner and says whether the user accepted it. `program`
// must outlive this object.
class ProgramTunerDialogs final : public tuner::TunerDialogs
{
public:
    explicit ProgramTunerDialogs(ProgramState &program) noexcept
        : m_program(program)
    {
    }

    bool openSoundcard(QWidget *parent) override;
    bool openOptimize(QWidget *parent) override;
    bool openTranspose(QWidget *parent) override;
    bool openPitchConfig(QWidget *parent, int degree) override;

private:
    ProgramState &m_program;
};

} // namespace corvane
