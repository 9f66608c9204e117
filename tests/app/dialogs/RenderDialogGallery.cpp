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
#include "FileChooser.h"
#include "KeyContext.h"
#include "ScriptedFileChooser.h"
#include "TempDir.h"
#include "VirtualBackend.h"
#include "VirtualToneDevices.h"

#include <QApplication>
#include <QDir>
#include "WidgetPictures.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QPushButton>

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>

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
        // Werckmeister III imported with a keyboard map that puts A4 at 415 Hz.
        const test::TempDir dir;
        std::filesystem::copy_file(CORVANE_SCALES_DIR "/werckmeister3.scl", dir / "werck.scl");
        std::ofstream(dir / "werck.kbm") << "12\n0\n127\n60\n69\n415.0\n12\n"
                                            "0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n";
        test::ScriptedFileChooser chooser;
        FileChooserOverride installed { chooser };
        chooser.answers = { QString::fromStdString((dir / "werck.scl").string()) };
        CPitch table;
        DlgTemp dialog(settings, nullptr, &table);
        dialog.scalaButton()->click();
        ok &= Save(dialog, folder, "temperaments-dialog-scala-import");
    }
    {
        // An oboe's A at 441.3 Hz heard through the virtual capture device, in real time.
        const test::VirtualToneDevices tone(441.3, audio::VirtualPacing::RealTime);
        CDlgRef dialog(pitch, settings);
        dialog.listenButton()->click();
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (dialog.listening() && std::chrono::steady_clock::now() < end) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ok &= !dialog.listening();
        ok &= Save(dialog, folder, "temperament-adjustment-dialog-listen");
    }
    {
        CDlgConfigSound dialog(settings, { nullptr, { &audio::VirtualBackend::instance() } });
        ok &= Save(dialog, folder, "sound-card-dialog");
    }
    {
        // A 48 kHz stereo 24-bit recording as the capture source: the device opens in that
        // format only, so the others are grayed out and the stored format is noted as missing.
        audio::VirtualBackend &virtualDevices = audio::VirtualBackend::instance();
        audio::VirtualCaptureSource recording;
        recording.kind = audio::VirtualCaptureSource::Kind::Samples;
        recording.samplesFormat = { 2, 48000, 24 };
        recording.samples = std::make_shared<std::vector<std::byte>>(8 * 4800);
        virtualDevices.setCaptureSource(recording);
        CDlgConfigSound dialog(settings, { nullptr, { &virtualDevices } });
        ok &= Save(dialog, folder, "sound-card-dialog-recording");
        // The capture configurations as the open list shows them.
        QListView list;
        list.setModel(dialog.configurationList(0)->model());
        list.setFont(dialog.configurationList(0)->font());
        list.resize(list.sizeHintForColumn(0) + 8,
                    list.sizeHintForRow(0) * dialog.configurationList(0)->count() + 4);
        ok &= corvane::testing::SaveWidgetPictures(list, folder, "sound-card-formats-dialog");
        virtualDevices.setCaptureSource({});
    }
    {
        // The factory range, B0 to C8, each note drawn whole octaves into the staff with its
        // label, and the instrument list showing it as "Full range".
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
