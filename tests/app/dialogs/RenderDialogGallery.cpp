// Renders the configuration dialogs to PNG files, at the normal and at double pixel density, so
// they can be looked at without a screen:
//     corvane_render_dialog_gallery <folder>

#include "CClefDialog.h"
#include "CDlgConfigPitch.h"
#include "CDlgConfigSound.h"
#include "CDlgRef.h"
#include "CKeyDialog.h"
#include "CPitch.h"
#include "CTCDefs.h"
#include "DlgOptimize.h"
#include "DlgTemp.h"
#include "DlgTranspose.h"
#include "KeyContext.h"
#include "VirtualBackend.h"

#include <QApplication>
#include <QDir>
#include "WidgetPictures.h"

#include <QImage>

#include <cstdio>

using namespace corvane;
using namespace corvane::dialogs;

namespace {

bool Save(QWidget &widget, const QString &folder, const QString &name)
{
    widget.adjustSize();
    return corvane::testing::SaveWidgetPictures(widget, folder, name);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    CTCDefs settings;
    settings.SetTemperamentName("1/4 comma Meantone");
    settings.SetPitchAdjustCents({ 0, -24, -7, 10, -14, 3, -21, -3, -27, -10, 7, -17 });
    CPitch pitch;
    KeyContext keys(settings);
    bool ok = true;
    {
        CDlgConfigPitch dialog(0, pitch, settings, keys);
        ok &= Save(dialog, folder, "pitch-configuration-dialog");
    }
    {
        DlgTemp dialog(settings);
        ok &= Save(dialog, folder, "temperaments-dialog");
    }
    {
        CDlgRef dialog(pitch, settings);
        ok &= Save(dialog, folder, "temperament-adjustment-dialog");
    }
    {
        CDlgConfigSound dialog(settings, { nullptr, { &audio::VirtualBackend::instance() } });
        ok &= Save(dialog, folder, "sound-card-dialog");
    }
    {
        settings.SetLowestNoteHz(float(pitch.NoteFreq(0)));
        settings.SetHighestNoteHz(float(pitch.NoteFreq(58)));
        DlgOptimize dialog(pitch, settings, keys);
        ok &= Save(dialog, folder, "optimize-dialog");
    }
    {
        CClefDialog dialog(keys, settings);
        ok &= Save(dialog, folder, "clef-dialog");
    }
    {
        keys.SetKey(4);
        CKeyDialog dialog(keys);
        ok &= Save(dialog, folder, "key-dialog");
    }
    {
        keys.SetTransposition(5, 0);
        DlgTranspose dialog(keys);
        ok &= Save(dialog, folder, "transposition-dialog");
    }
    {
        keys.SetClef(3);
        keys.SetTransposition(4, -1);
        DlgTranspose transposeBass(keys);
        ok &= Save(transposeBass, folder, "transposition-dialog-bass");
        CKeyDialog keyBass(keys);
        ok &= Save(keyBass, folder, "key-dialog-bass");
    }
    return ok ? 0 : 1;
}
