#include "ProgramTunerDialogs.h"

#include "CDlgConfigPitch.h"
#include "CDlgConfigSound.h"
#include "DlgOptimize.h"
#include "DlgTranspose.h"
#include "ProgramState.h"

namespace corvane {

bool ProgramTunerDialogs::openSoundcard(QWidget *parent)
{
    dialogs::CDlgConfigSound dialog(m_program.settings, dialogs::SoundBackends::program(), parent);
    return dialog.exec() == QDialog::Accepted;
}

bool ProgramTunerDialogs::openOptimize(QWidget *parent)
{
    dialogs::DlgOptimize dialog(m_program.noteTable, m_program.settings, m_program.keys, parent,
                                m_program.preferencesFile());
    return dialog.exec() == QDialog::Accepted;
}

bool ProgramTunerDialogs::openTranspose(QWidget *parent)
{
    dialogs::DlgTranspose dialog(m_program.keys, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool ProgramTunerDialogs::openPitchConfig(QWidget *parent, int degree)
{
    dialogs::CDlgConfigPitch dialog(degree, m_program.noteTable, m_program.settings, m_program.keys,
                                    parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace corvane
