#include "CDlgRef.h"
#include "CPitch.h"
#include "CTCDefs.h"
#include "ScriptedMessageService.h"
#include "VirtualToneDevices.h"
#include "WidgetPictures.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

using namespace corvane;
using namespace corvane::dialogs;

namespace {

// Waits, taking the readings as the dialog's timer would, until the dialog stops listening.
bool listenToTheEnd(CDlgRef &dialog)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (dialog.listening() && std::chrono::steady_clock::now() < end)
        QTest::qWait(20);
    return !dialog.listening();
}

class ReferenceListen : public ::testing::Test
{
protected:
    CTCDefs settings;
    CPitch pitch;
    widgets::ScriptedMessageService boxes;
    widgets::MessageServiceOverride installed { boxes };
};

} // namespace

// The virtual capture device sounds a steady tone: the dialog hears the chosen note for two
// seconds, shows the figure and the reference, puts it in the field, and OK stores it.
TEST_F(ReferenceListen, AHeldNoteGivesTheReferenceAndOkStoresIt)
{
    const test::VirtualToneDevices devices(442.0, audio::VirtualPacing::RealTime);
    CDlgRef dialog(pitch, settings);
    EXPECT_EQ(dialog.noteChoice()->currentText(), "A4");
    dialog.listenButton()->click();
    ASSERT_TRUE(dialog.listening()) << dialog.measurementLabel()->text().toStdString();
    EXPECT_EQ(dialog.listenButton()->text(), "&Stop");
    EXPECT_FALSE(dialog.noteChoice()->isEnabled());
    ASSERT_TRUE(listenToTheEnd(dialog));
    const QString shown = dialog.measurementLabel()->text();
    EXPECT_TRUE(shown.startsWith("A4 measured at 442.0")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("reference 442.0")) << shown.toStdString();
    EXPECT_NEAR(dialog.referenceField()->text().toDouble(), 442.0, 0.05);
    EXPECT_EQ(dialog.listenButton()->text(), "&Listen");
    dialog.accept();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_NEAR(settings.GetReferenceHz(), 442.0, 0.05);
    EXPECT_NEAR(pitch.Reference(), 442.0, 0.05);
}

// Another note, and a tone no reference the program takes would put there: E5 heard at 1400 Hz
// is not E5 at all (more than a semitone off), so nothing is measured; stopping keeps the field.
TEST_F(ReferenceListen, AnotherNoteIsNotMeasuredAndStopKeepsTheField)
{
    const test::VirtualToneDevices devices(1400.0, audio::VirtualPacing::RealTime);
    CDlgRef dialog(pitch, settings);
    dialog.noteChoice()->setCurrentText("E5");
    dialog.listenButton()->click();
    ASSERT_TRUE(dialog.listening());
    QTest::qWait(800);
    EXPECT_EQ(dialog.measurementLabel()->text(), "Play E5 and hold it...");
    dialog.listenButton()->click();
    EXPECT_FALSE(dialog.listening());
    EXPECT_EQ(dialog.referenceField()->text(), "440.000");
    dialog.reject();
    EXPECT_EQ(settings.GetReferenceHz(), 440.0f);
}
