#include "ProgramTunerDialogs.h"

#include "CDlgConfigPitch.h"
#include "CDlgConfigSound.h"
#include "CPitch.h"
#include "CTCDefs.h"
#include "DlgOptimize.h"
#include "DlgTranspose.h"
#include "KeyContext.h"

namespace corvane {

bool ProgramTunerDialogs::openSoundcard(QWidget *parent)
{
    dialogs::CDlgConfigSound dialog(g_defs, dialogs::SoundBackends::program(), parent);
    return dialog.exec() == QDialog::Accepted;
}

bool ProgramTunerDialogs::openOptimize(QWidget *parent)
{
    dialogs::DlgOptimize dialog(g_pitch, g_defs, g_keyContext(), parent);
    return dialog.exec() == QDialog::Accepted;
}

bool ProgramTunerDialogs::openTranspose(QWidget *parent)
{
    dialogs::DlgTranspose dialog(g_keyContext(), parent);
    return dialog.exec() == QDialog::Accepted;
}

bool ProgramTunerDialogs::openPitchConfig(QWidget *parent, int degree)
{
    dialogs::CDlgConfigPitch dialog(degree, g_pitch, g_defs, g_keyContext(), parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace corvane
