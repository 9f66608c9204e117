#include "AnalyzerPreferences.h"
#include "AudioFacade.h"
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
#include "OptimizeDialogRules.h"
#include "PitchDialogRules.h"
#include "ScriptedFileChooser.h"
#include "ScriptedMessageService.h"
#include "SoundDialogRules.h"
#include "StaffFrame.h"
#include "TempDir.h"
#include "UpDownControl.h"
#include "VirtualBackend.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

using namespace corvane;
using namespace corvane::dialogs;
using Answer = widgets::MessageService::Answer;

namespace {

// Each test gets its own settings, note table and key context, and answers every box itself.
class DialogTest : public ::testing::Test
{
protected:
    void Type(QLineEdit *field, const QString &text)
    {
        field->clear();
        QTest::keyClicks(field, text);
    }

    CTCDefs settings;
    CPitch pitch;
    KeyContext keys { settings };
    widgets::ScriptedMessageService boxes;
    widgets::MessageServiceOverride installed { boxes };
};

using PitchConfiguration = DialogTest;

TEST_F(PitchConfiguration, OpensOnTheDegreeAndCancelStoresNothing)
{
    const CTCDefs before = settings;
    CDlgConfigPitch dialog(0, pitch, settings, keys);
    EXPECT_EQ(dialog.windowTitle(), "Pitch Configuration - Do (C)");
    EXPECT_EQ(dialog.adjustmentField()->text(), "0");
    EXPECT_EQ(dialog.frequencyLabel()->text(), "523.251Hz"); // c'' in the octave from a'
    EXPECT_EQ(dialog.referenceField()->text(), "440.000");
    EXPECT_EQ(dialog.centsLabel()->text(), "0 cents");
    EXPECT_EQ(dialog.levelSlider()->value(), 10);
    EXPECT_TRUE(dialog.waveformButton(1)->isChecked()); // triangle, code 2
    dialog.adjustmentArrows()->stepBy(5);
    dialog.levelSlider()->setValue(0);
    dialog.reject();
    EXPECT_EQ(settings, before);
    EXPECT_EQ(pitch.Reference(), 440.0);
}

TEST_F(PitchConfiguration, OkStoresTheDegreesToneAndAStepMakesTheTemperamentUserDefined)
{
    CDlgConfigPitch dialog(9, pitch, settings, keys); // La, a'
    dialog.adjustmentArrows()->stepBy(-10);
    EXPECT_EQ(dialog.adjustmentField()->text(), "-10");
    EXPECT_EQ(dialog.frequencyLabel()->text(), "437.466Hz");
    dialog.levelSlider()->setValue(0);
    dialog.octaveSlider()->setValue(-2); // 15va
    dialog.waveformButton(2)->click();   // sine
    Type(dialog.referenceField(), "442");
    EXPECT_EQ(dialog.centsLabel()->text(), "7.851 cents");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(settings.GetPitchAdjustCents()[9], -10.0f);
    EXPECT_EQ(settings.GetTemperamentName(), "User Defined");
    EXPECT_EQ(settings.GetToneLevel()[9], 1.0f);
    EXPECT_EQ(settings.GetToneOctave()[9], 2);
    EXPECT_EQ(settings.GetToneWaveform()[9], 3u);
    EXPECT_EQ(settings.GetToneLevel()[0], 0.5f); // other degrees untouched
    EXPECT_EQ(settings.GetReferenceHz(), 442.0f);
    EXPECT_EQ(pitch.Reference(), 442.0);
}

TEST_F(PitchConfiguration, ATypedAdjustmentKeepsTheTemperamentsNameAndItsLimitsAsk)
{
    CDlgConfigPitch dialog(2, pitch, settings, keys);
    for (const char *typed : { "50", "-50" }) {
        Type(dialog.adjustmentField(), typed);
        boxes.answers = { Answer::Cancel };
        dialog.accept();
        ASSERT_EQ(boxes.shown.size(), 1u) << typed;
        EXPECT_EQ(boxes.shown.back().title, "Warning");
        EXPECT_EQ(boxes.shown.back().text, QString::fromLatin1(kAdjustmentWarningText));
        EXPECT_EQ(dialog.result(), QDialog::Rejected); // still open
        EXPECT_EQ(settings.GetPitchAdjustCents()[2], 0.0f);
        boxes.shown.clear();
    }
    Type(dialog.adjustmentField(), "49.9");
    dialog.accept();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(settings.GetPitchAdjustCents()[2], 49.9f);
    EXPECT_EQ(settings.GetTemperamentName(), "Equal Temperament");
}

TEST_F(PitchConfiguration, TheArrowsStopAtFiftyAndOkThereStillAsks)
{
    CDlgConfigPitch dialog(0, pitch, settings, keys);
    for (int i = 0; i < 60; ++i)
        dialog.adjustmentArrows()->stepBy(1);
    EXPECT_EQ(dialog.adjustmentField()->text(), "50");
    boxes.answers = { Answer::Ok };
    dialog.accept();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(settings.GetPitchAdjustCents()[0], 50.0f);
    EXPECT_EQ(settings.GetTemperamentName(), "User Defined");
}

TEST_F(PitchConfiguration, TheReferenceIsCheckedFirstAndBadOnesAreRefused)
{
    CDlgConfigPitch dialog(0, pitch, settings, keys);
    Type(dialog.adjustmentField(), "50");
    Type(dialog.referenceField(), "453");
    boxes.answers = { Answer::Cancel };
    dialog.accept();
    ASSERT_EQ(boxes.shown.size(), 1u); // the adjustment is not asked about yet
    EXPECT_EQ(boxes.shown[0].text, QString::fromLatin1(kReferenceWarningText));
    EXPECT_EQ(settings.GetReferenceHz(), 440.0f);

    for (const char *bad : { "0", "-440", "abc", "25000", "219.9", "880.1", "442Hz", "" }) {
        boxes.shown.clear();
        Type(dialog.referenceField(), bad);
        EXPECT_EQ(dialog.centsLabel()->text(), "") << bad << ": no distance for no reference";
        dialog.accept();
        ASSERT_EQ(boxes.shown.size(), 1u) << bad;
        EXPECT_EQ(boxes.shown[0].text, QString::fromLatin1(kInvalidReferenceText)) << bad;
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(settings, CTCDefs());
    EXPECT_EQ(pitch.Reference(), 440.0);
}

TEST_F(PitchConfiguration, RestoreAndResetRefillTheFields)
{
    settings.SetReferenceHz(452.0f);
    pitch.SetReference(452.0);
    CDlgConfigPitch dialog(0, pitch, settings, keys);
    EXPECT_EQ(dialog.centsLabel()->text(), "46 cents");
    dialog.adjustmentArrows()->stepBy(3);
    dialog.button("restore")->click();
    EXPECT_EQ(dialog.adjustmentField()->text(), "0");
    EXPECT_EQ(dialog.referenceField()->text(), "440.000");
    EXPECT_EQ(dialog.centsLabel()->text(), "0.000 cents");
    EXPECT_EQ(dialog.frequencyLabel()->text(), "523.251Hz");
    dialog.button("resetReference")->click();
    EXPECT_EQ(dialog.referenceField()->text(), "452.000");
}

TEST_F(PitchConfiguration, ATemperamentChosenFromTheListStaysAfterCancel)
{
    CDlgConfigPitch dialog(9, pitch, settings, keys);
    dialog.setTemperamentListRunner([](DlgTemp &list) {
        QTreeWidget *rows = list.list();
        emit rows->itemDoubleClicked(rows->topLevelItem(5), 0); // 1/4 comma meantone
        list.accept();
    });
    dialog.button("temperaments")->click();
    EXPECT_EQ(dialog.adjustmentField()->text(), "-10");
    dialog.reject();
    EXPECT_EQ(settings.GetTemperamentName(), "1/4 comma Meantone");
    EXPECT_EQ(settings.GetPitchAdjustCents()[9], -10.0f);
}

using TemperamentList = DialogTest;

TEST_F(TemperamentList, ShowsTheCatalogAndStoresOnlyADoubleClickedRowOnOk)
{
    DlgTemp dialog(settings);
    QTreeWidget *rows = dialog.list();
    ASSERT_EQ(rows->topLevelItemCount(), 15);
    EXPECT_EQ(rows->columnCount(), 13);
    // Every name whole, never narrower than the classic 140 pixels.
    EXPECT_GE(rows->columnWidth(0), 140);
    for (int row = 0; row < rows->topLevelItemCount(); ++row)
        EXPECT_LT(rows->fontMetrics().horizontalAdvance(rows->topLevelItem(row)->text(0)),
                  rows->columnWidth(0) - 8);
    EXPECT_GE(dialog.valuesField()->minimumWidth(),
              dialog.valuesField()->fontMetrics().horizontalAdvance(
                      QStringLiteral("Do(0)  Ra(-37)  Re(-10)  Me(16)  Mi(-21)  Fa(5)  Se(-31)  "
                                     "So(-5)  Le(-42)  La(-16)  Te(10)  Ti(-26)")));
    EXPECT_EQ(rows->columnWidth(12), 30);
    EXPECT_EQ(rows->headerItem()->text(12), "Ti");
    EXPECT_EQ(rows->topLevelItem(1)->text(2), "14");
    EXPECT_EQ(rows->topLevelItem(3)->textAlignment(1) & Qt::AlignRight, Qt::AlignRight);
    EXPECT_EQ(dialog.nameField()->text(), "Equal Temperament");

    // A double click outside the rows comes without an item and chooses nothing.
    emit rows->itemDoubleClicked(nullptr, 0);
    EXPECT_EQ(dialog.chosenRow(), -1);
    emit rows->itemDoubleClicked(rows->topLevelItem(1), 3);
    EXPECT_EQ(dialog.chosenRow(), 1);
    EXPECT_EQ(dialog.nameField()->text(), "Pythagorean Tuning");
    EXPECT_TRUE(dialog.valuesField()->text().startsWith("Do(0)  Ra(14)  Re(4)"));
    EXPECT_EQ(settings.GetTemperamentName(), "Equal Temperament"); // not yet
    dialog.accept();
    EXPECT_EQ(settings.GetTemperamentName(), "Pythagorean Tuning");
}

TEST_F(TemperamentList, CancelAndOkWithoutAChoiceKeepAUserDefinedTemperament)
{
    settings.SetTemperamentName("User Defined");
    settings.SetPitchAdjustCents({ 1.5f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 });
    const CTCDefs before = settings;
    {
        DlgTemp dialog(settings);
        emit dialog.list()->itemDoubleClicked(dialog.list()->topLevelItem(2), 0);
        dialog.reject();
    }
    EXPECT_EQ(settings, before);
    DlgTemp dialog(settings);
    dialog.accept();
    EXPECT_EQ(settings, before);
}

TEST_F(TemperamentList, AScalaScaleOfTwelveNotesBecomesTheWorkingTemperamentAndOthersAreRefused)
{
    const test::TempDir dir;
    std::ofstream(dir / "meantone.scl") << "! meantone.scl\nQuarter-comma meantone\n12\n"
                                           "76.049\n193.157\n310.265\n386.314\n503.422\n"
                                           "579.471\n696.578\n772.627\n889.735\n1006.843\n"
                                           "1082.892\n2/1\n";
    std::ofstream(dir / "slendro.scl") << "Slendro\n5\n231.0\n474.0\n717.0\n955.0\n2/1\n";
    test::ScriptedFileChooser chooser;
    FileChooserOverride chooserInstalled { chooser };
    chooser.answers = { QString::fromStdString((dir / "slendro.scl").string()),
                        QString::fromStdString((dir / "meantone.scl").string()), QString() };

    DlgTemp dialog(settings);
    dialog.scalaButton()->click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.contains("slendro.scl: it has 5 notes"));
    EXPECT_EQ(dialog.nameField()->text(), "Equal Temperament") << "the working one stays";

    dialog.scalaButton()->click();
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(dialog.nameField()->text(), "Quarter-comma meantone");
    EXPECT_TRUE(dialog.valuesField()->text().startsWith("Do(0)  Ra(-23)  Re(-6)  Me(10)"))
            << dialog.valuesField()->text().toStdString();
    dialog.scalaButton()->click(); // canceled: nothing changes
    EXPECT_EQ(dialog.nameField()->text(), "Quarter-comma meantone");
    EXPECT_EQ(settings.GetTemperamentName(), "Equal Temperament"); // not yet
    dialog.accept();
    EXPECT_EQ(settings.GetTemperamentName(), "Quarter-comma meantone");
    EXPECT_NEAR(settings.GetPitchAdjustCents()[4], -13.686f, 0.001f);
}

// A scale with the keyboard map of its name beside it: the map puts A4 at 415 Hz (the scale's A
// lies 11.73 cents below equal temperament, so the note table's A4 goes 11.73 cents above 415);
// OK stores the name, the offsets and the reference, and they come back from "tonrik.def".
TEST_F(TemperamentList, AnImportedScaleWithItsMapIsStoredAndComesBackAfterARestart)
{
    const test::TempWorkingDir dir;
    std::filesystem::copy_file(std::string(CORVANE_SCALES_DIR) + "/werckmeister3.scl", "werck.scl");
    std::ofstream("werck.kbm") << "! werck.kbm\n12\n0\n127\n60\n69\n415.0\n12\n"
                                  "0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n";
    std::ofstream("bad.scl") << "Bad\n12\n100.0\n";
    test::ScriptedFileChooser chooser;
    FileChooserOverride chooserInstalled { chooser };
    const QString cwd = QDir::currentPath();
    chooser.answers = { cwd + "/bad.scl", cwd + "/werck.scl" };

    DlgTemp dialog(settings, nullptr, &pitch);
    EXPECT_EQ(dialog.scalaButton()->text(), "&Import Scala...");
    dialog.scalaButton()->click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.endsWith("bad.scl: line 4: the file ends after 1 of the 12 "
                                             "notes it names"))
            << boxes.shown[0].text.toStdString();
    dialog.scalaButton()->click();
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(dialog.nameField()->text(), "Werckmeister III");
    EXPECT_FALSE(dialog.mapNote()->isHidden());
    EXPECT_TRUE(dialog.mapNote()->text().contains("417.821 Hz"))
            << dialog.mapNote()->text().toStdString();
    dialog.accept();
    EXPECT_NEAR(pitch.Reference(), 417.821, 0.001);
    ASSERT_TRUE(settings.SaveDefaultsFile());

    CTCDefs restarted;
    ASSERT_EQ(restarted.LoadDefaultsFile({}), DefaultsFileStatus::Loaded);
    EXPECT_EQ(restarted.GetTemperamentName(), "Werckmeister III");
    EXPECT_NEAR(restarted.GetPitchAdjustCents()[9], -11.730f, 0.001f);
    EXPECT_NEAR(restarted.GetReferenceHz(), 417.821f, 0.001f);
}

// Without the note table (the pitch configuration's list) the map's reference is only shown.
TEST_F(TemperamentList, WithoutTheNoteTableTheMapsReferenceIsOnlyShown)
{
    const test::TempWorkingDir dir;
    std::filesystem::copy_file(std::string(CORVANE_SCALES_DIR) + "/werckmeister3.scl", "werck.scl");
    std::ofstream("werck.kbm") << "0\n0\n127\n60\n69\n440\n12\n";
    test::ScriptedFileChooser chooser;
    FileChooserOverride chooserInstalled { chooser };
    chooser.answers = { QDir::currentPath() + "/werck.scl" };
    DlgTemp dialog(settings);
    dialog.scalaButton()->click();
    EXPECT_TRUE(dialog.mapNote()->text().contains("set it in the reference dialog"));
    dialog.accept();
    EXPECT_EQ(settings.GetTemperamentName(), "Werckmeister III");
    EXPECT_EQ(settings.GetReferenceHz(), 440.0f);
}

using ReferenceDialog = DialogTest;

// Where the comma is the decimal separator, "440,5" is what the musician means.
TEST_F(ReferenceDialog, AReferenceTypedWithTheLocalesCommaIsTaken)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    CDlgRef dialog(pitch, settings);
    Type(dialog.referenceField(), "440,5");
    EXPECT_EQ(dialog.centsLabel()->text(), "1.966 cents");
    dialog.accept();
    QLocale::setDefault(previous);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(settings.GetReferenceHz(), 440.5f);
}

TEST_F(ReferenceDialog, WarnsRefusesAndStoresTheReference)
{
    CDlgRef dialog(pitch, settings);
    EXPECT_EQ(dialog.referenceField()->text(), "440.000");
    Type(dialog.referenceField(), "452");
    EXPECT_EQ(dialog.centsLabel()->text(), "46.583 cents");
    Type(dialog.referenceField(), "427");
    boxes.answers = { Answer::Cancel };
    dialog.accept();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(settings.GetReferenceHz(), 440.0f);
    Type(dialog.referenceField(), "");
    dialog.accept();
    EXPECT_EQ(boxes.shown.back().text, QString::fromLatin1(kInvalidReferenceText));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    QTest::mouseClick(dialog.findChild<QPushButton *>("restoreDefaults"), Qt::LeftButton);
    EXPECT_EQ(dialog.centsLabel()->text(), "0.000 cents");
    Type(dialog.referenceField(), "427");
    boxes.answers = { Answer::Ok };
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.GetReferenceHz(), 427.0f);
    EXPECT_EQ(pitch.Reference(), 427.0);
}

TEST_F(ReferenceDialog, ResetPutsBackTheOpeningReference)
{
    settings.SetReferenceHz(415.3f);
    CDlgRef dialog(pitch, settings);
    EXPECT_EQ(dialog.centsLabel()->text(), "-100 cents");
    Type(dialog.referenceField(), "430");
    QTest::mouseClick(dialog.findChild<QPushButton *>("reset"), Qt::LeftButton);
    EXPECT_EQ(dialog.referenceField()->text(), "415.300");
    dialog.reject();
    EXPECT_EQ(settings.GetReferenceHz(), 415.3f);
}

using OptimizeDialog = DialogTest;

TEST_F(OptimizeDialog, StepsRefusedAtTheEndsAndTheRangeStoredInOrder)
{
    settings.SetLowestNoteHz(float(pitch.NoteFreq(1)));
    DlgOptimize dialog(pitch, settings, keys);
    widgets::UpDownControl *lowest = dialog.noteArrows(0);
    widgets::UpDownControl *highest = dialog.noteArrows(1);
    EXPECT_EQ(lowest->value(), 1);
    EXPECT_EQ(highest->value(), 87); // the factory's C8
    EXPECT_EQ(dialog.frequencyField(1)->text(), "4186.009Hz");
    lowest->stepBy(-1);
    lowest->stepBy(-1); // refused
    EXPECT_EQ(lowest->value(), 0);
    EXPECT_EQ(dialog.noteFrame(0)->picture().label, "-3 oct");
    for (int i = 0; i < 30; ++i)
        highest->stepBy(1);
    EXPECT_EQ(highest->value(), 96);
    EXPECT_EQ(dialog.noteFrame(1)->picture().label, "+3 oct");
    // Now the "lowest" note above the "highest".
    for (int i = 0; i < 90; ++i)
        lowest->stepBy(1);
    for (int i = 0; i < 96; ++i)
        highest->stepBy(-1);
    dialog.sensitivity()->button(3)->click();
    dialog.filterLength()->button(1)->click();
    dialog.noiseSlider()->setValue(95);
    dialog.accept();
    EXPECT_FLOAT_EQ(settings.GetLowestNoteHz(), float(pitch.NoteFreq(0)));
    EXPECT_FLOAT_EQ(settings.GetHighestNoteHz(), float(pitch.NoteFreq(90)));
    EXPECT_EQ(settings.GetSensitivity(), 3u);
    EXPECT_EQ(settings.GetFilterLength(), 1u);
    EXPECT_FLOAT_EQ(settings.GetNoiseThreshold(), 0.05f);
}

TEST_F(OptimizeDialog, CancelStoresNothingAndOkUntouchedKeepsTheStoredFrequencies)
{
    settings.SetLowestNoteHz(82.5f);  // between two notes
    settings.SetNoiseThreshold(0.2f); // slider position 80
    const CTCDefs before = settings;
    {
        DlgOptimize dialog(pitch, settings, keys);
        dialog.noteArrows(0)->stepBy(1);
        dialog.noiseSlider()->setValue(0);
        dialog.reject();
    }
    EXPECT_EQ(settings, before);
    DlgOptimize dialog(pitch, settings, keys);
    EXPECT_EQ(dialog.noiseSlider()->value(), 80);
    EXPECT_EQ(dialog.frequencyField(0)->text(), "82.500Hz");
    dialog.accept();
    EXPECT_EQ(settings, before);
}

TEST_F(OptimizeDialog, ShowsAndStoresThePitchAnalysisModeBesideTheSettings)
{
    corvane::test::TempDir dir;
    const std::filesystem::path file = dir.path() / AnalyzerPreferences::kFileName;
    {
        DlgOptimize dialog(pitch, settings, keys, nullptr, file);
        EXPECT_EQ(dialog.analysisMode()->checkedId(), 0); // refined without a file
        dialog.analysisMode()->button(1)->click();
        dialog.reject();
    }
    EXPECT_FALSE(std::filesystem::exists(file));
    {
        DlgOptimize dialog(pitch, settings, keys, nullptr, file);
        dialog.analysisMode()->button(1)->click();
        dialog.accept();
    }
    EXPECT_TRUE(AnalyzerPreferences::load(file).classic);
    EXPECT_EQ(settings, CTCDefs()); // the defaults file's record is untouched by the mode

    // A file that cannot be replaced (a folder has taken its name) is reported once, with the
    // file and the cause; the other choices are still stored.
    DlgOptimize dialog(pitch, settings, keys, nullptr, file);
    EXPECT_EQ(dialog.analysisMode()->checkedId(), 1);
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    dialog.analysisMode()->button(0)->click();
    dialog.sensitivity()->button(1)->click();
    dialog.accept();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.startsWith("The pitch analysis mode, the results, the "
                                               "display and the instrument could not be saved"));
    EXPECT_TRUE(boxes.shown[0].text.endsWith(
            QString::fromStdString("Cannot write \"" + file.string() + "\": Is a directory")))
            << boxes.shown[0].text.toStdString();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.GetSensitivity(), 1u);
}

// The user picks an instrument from the list (by keyboard, as a user would): both notes and the
// filter length follow; a note or the filter length set by hand shows "Custom", and setting them
// back shows the preset again. OK keeps what is shown, Cancel nothing.
TEST_F(OptimizeDialog, AnInstrumentSetsTheNotesAndFilterLengthAndAHandChangeShowsCustom)
{
    corvane::test::TempDir dir;
    const std::filesystem::path file = dir.path() / AnalyzerPreferences::kFileName;
    DlgOptimize dialog(pitch, settings, keys, nullptr, file);
    QComboBox *instrument = dialog.instrument();
    EXPECT_EQ(instrument->currentText(), "Full range");
    EXPECT_EQ(instrument->count(), 13) << "no Custom entry while a preset is in force";
    EXPECT_EQ(dialog.noteArrows(0)->value(), 2); // B0
    EXPECT_EQ(dialog.frequencyField(0)->text(), "30.868Hz");

    QTest::keyClick(instrument, Qt::Key_Home);
    QTest::keyClick(instrument, Qt::Key_Down);
    QTest::keyClick(instrument, Qt::Key_Down);
    EXPECT_EQ(instrument->currentText(), "Cello");
    EXPECT_EQ(dialog.noteArrows(0)->value(), 15); // C2
    EXPECT_EQ(dialog.noteArrows(1)->value(), 63); // C6
    EXPECT_EQ(dialog.frequencyField(0)->text(), "65.406Hz");
    EXPECT_EQ(dialog.noteFrame(0)->picture().note->step,
              LayoutNoteFrame(pitch, keys.Clef(), 15).step);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(instrument, Qt::Key_Down);
    EXPECT_EQ(instrument->currentText(), "Bass guitar") << "not the double bass of equal limits";
    EXPECT_EQ(dialog.filterLength()->checkedId(), 2);

    dialog.noteArrows(0)->stepBy(1);
    EXPECT_EQ(instrument->currentText(), "Custom");
    EXPECT_EQ(instrument->count(), 14);
    dialog.noteArrows(0)->stepBy(-1);
    EXPECT_EQ(instrument->currentText(), "Bass guitar");
    EXPECT_EQ(instrument->count(), 13);
    dialog.filterLength()->button(3)->click();
    EXPECT_EQ(instrument->currentText(), "Custom");
    dialog.filterLength()->button(2)->click();
    EXPECT_EQ(instrument->currentText(), "Bass guitar");

    dialog.results()->button(1)->click();
    dialog.classicDisplay()->setChecked(true);
    dialog.accept();
    EXPECT_NEAR(settings.GetLowestNoteHz(), 30.868f, 0.001f);
    EXPECT_NEAR(settings.GetHighestNoteHz(), 523.251f, 0.001f);
    EXPECT_EQ(settings.GetFilterLength(), 2u);
    AnalyzerPreferences stored = AnalyzerPreferences::load(file);
    EXPECT_EQ(stored.instrument, "bass-guitar");
    EXPECT_TRUE(stored.blockHop);
    EXPECT_TRUE(stored.classicDisplay);
    EXPECT_FALSE(stored.classic);

    // Reopened, it shows what was stored; a choice cancelled leaves the settings and the file.
    const CTCDefs before = settings;
    {
        DlgOptimize again(pitch, settings, keys, nullptr, file);
        EXPECT_EQ(again.instrument()->currentText(), "Bass guitar");
        EXPECT_EQ(again.results()->checkedId(), 1);
        EXPECT_TRUE(again.classicDisplay()->isChecked());
        QTest::keyClick(again.instrument(), Qt::Key_Home);
        again.results()->button(0)->click();
        again.classicDisplay()->setChecked(false);
        again.reject();
    }
    EXPECT_EQ(settings, before);
    EXPECT_EQ(AnalyzerPreferences::load(file).instrument, "bass-guitar");
    EXPECT_TRUE(AnalyzerPreferences::load(file).blockHop);

    // Limits set by hand store no instrument.
    DlgOptimize custom(pitch, settings, keys, nullptr, file);
    custom.noteArrows(1)->stepBy(1);
    custom.accept();
    stored = AnalyzerPreferences::load(file);
    EXPECT_EQ(stored.instrument, "");
    EXPECT_TRUE(stored.classicDisplay) << "the other choices kept";
}

using KeyDialogs = DialogTest;

TEST_F(KeyDialogs, TheClefIsSetAndWrittenToTheDefaultsFileOnOkOnly)
{
    corvane::test::TempDir dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    {
        CClefDialog dialog(keys, settings);
        EXPECT_TRUE(dialog.clefButton(0)->isChecked());
        dialog.clefButton(3)->click();
        dialog.reject();
    }
    EXPECT_EQ(keys.Clef(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / kDefaultsFileName));
    {
        CClefDialog dialog(keys, settings);
        dialog.clefButton(2)->click();
        dialog.accept();
    }
    EXPECT_EQ(keys.Clef(), 2);
    EXPECT_EQ(settings.GetClef(), 2u);
    EXPECT_EQ(std::filesystem::file_size(dir.path() / kDefaultsFileName), kDefaultsFileBytes);
    std::filesystem::current_path(previous);
}

TEST_F(KeyDialogs, TheKeyIsSetOnOkAndNotStored)
{
    {
        CKeyDialog dialog(keys);
        EXPECT_TRUE(dialog.keyButton(7)->isChecked());
        EXPECT_EQ(dialog.keyButton(0)->text(), "Key of Cb");
        dialog.keyButton(5)->click();
        dialog.reject();
    }
    EXPECT_EQ(keys.Key(), 7);
    CKeyDialog dialog(keys);
    dialog.keyButton(5)->click();
    dialog.accept();
    EXPECT_EQ(keys.Key(), 5);
    EXPECT_EQ(settings, CTCDefs());
}

TEST_F(KeyDialogs, TranspositionShowsTheInstrumentsAndStaffsAndStoresOnOk)
{
    {
        DlgTranspose dialog(keys);
        dialog.keyArrows()->stepBy(-2); // Bb
        EXPECT_TRUE(dialog.text()->text().contains("Bb clarinet"));
        ASSERT_TRUE(dialog.soundsFrame()->picture().note);
        EXPECT_EQ(dialog.soundsFrame()->picture().note->step, 0); // one step below treble's C
        EXPECT_EQ(dialog.soundsFrame()->picture().note->accidental, Accidental::Flat);
        EXPECT_EQ(dialog.writtenFrame()->picture().note->step, 1);
        dialog.reject();
    }
    EXPECT_EQ(settings.GetTransposeKey(), 7u);
    DlgTranspose dialog(keys);
    for (int i = 0; i < 20; ++i)
        dialog.keyArrows()->stepBy(-1);
    EXPECT_EQ(dialog.keyArrows()->value(), 0);  // steps below Cb refused
    dialog.keyArrows()->stepBy(4);              // Eb
    dialog.octaves()->buttons().at(3)->click(); // 8vb
    EXPECT_EQ(dialog.soundsFrame()->picture().label, "8vb");
    EXPECT_FALSE(dialog.soundsFrame()->picture().labelAbove);
    EXPECT_TRUE(dialog.text()->text().contains("Eb alto saxophone"));
    dialog.accept();
    EXPECT_EQ(keys.TransposeKey(), 4);
    EXPECT_EQ(keys.TransposeOctave(), -1);
    EXPECT_EQ(settings.GetTransposeKey(), 4u);
    EXPECT_EQ(settings.GetTransposeOctave(), -1);
}

using SoundCard = DialogTest;

TEST_F(SoundCard, ListsTheVirtualDevicesAndHandsTheChoiceToTheAudioLayer)
{
    audio::VirtualBackend &virtualDevices = audio::VirtualBackend::instance();
    audio::setCaptureDevice(std::nullopt);
    audio::setPlaybackDevice(std::nullopt);
    const SoundBackends backends { nullptr, { &virtualDevices } };
    {
        CDlgConfigSound dialog(settings, backends);
        ASSERT_EQ(dialog.deviceList(0)->count(), 1);
        EXPECT_EQ(dialog.deviceList(0)->currentIndex(), 0);
        EXPECT_EQ(dialog.deviceList(1)->count(), 1);
        // The stored 11.025 kHz mono 16-bit format is selected.
        EXPECT_EQ(dialog.configurationList(0)->currentText(), "11.025 kHz, Mono,   16-bit");
        dialog.configurationList(0)->setCurrentText("44.1   kHz, Stereo, 16-bit");
        dialog.reject();
    }
    EXPECT_EQ(settings, CTCDefs());
    EXPECT_FALSE(audio::captureDevice());

    CDlgConfigSound dialog(settings, backends);
    dialog.configurationList(0)->setCurrentText("44.1   kHz, Stereo, 16-bit");
    dialog.configurationList(1)->setCurrentText("22.05  kHz, Mono,   8-bit");
    dialog.accept();
    EXPECT_EQ(settings.GetCaptureFormat(), (SampleFormat { 2, 44100, 16 }));
    EXPECT_EQ(settings.GetPlaybackFormat(), (SampleFormat { 1, 22050, 8 }));
    EXPECT_EQ(audio::captureDevice(), audio::VirtualBackend::captureDeviceId());
    EXPECT_EQ(audio::playbackDevice(), audio::VirtualBackend::playbackDeviceId());
    // 8192 frames of two 16-bit channels.
    EXPECT_EQ(audio::AudioDevices::instance().captureBlockBytes(), 8192 * 2 * 2);
    audio::setCaptureDevice(std::nullopt);
    audio::setPlaybackDevice(std::nullopt);
}

// The program's lists: the system's devices first (PortAudio, not asked until the dialog fills
// its lists, so nothing of the sound system starts here), then the virtual ones.
TEST_F(SoundCard, TheProgramsListsOfferTheSystemsDevicesAndTheVirtualOnes)
{
    const SoundBackends program = SoundBackends::program();
    ASSERT_NE(program.owned, nullptr);
    EXPECT_EQ(program.system, program.owned.get());
    EXPECT_EQ(program.backends,
              (std::vector<audio::AudioBackend *> { program.owned.get(),
                                                    &audio::VirtualBackend::instance() }));
}

TEST_F(SoundCard, OkWithNothingSelectedKeepsThatGroupsSettings)
{
    const SampleFormat odd { 1, 8000, 16 }; // not among the listed configurations
    settings.SetCaptureFormat(odd);
    CDlgConfigSound dialog(settings, { nullptr, { &audio::VirtualBackend::instance() } });
    EXPECT_EQ(dialog.configurationList(0)->currentIndex(), -1);
    dialog.accept();
    EXPECT_EQ(settings.GetCaptureFormat(), odd);
    EXPECT_FALSE(audio::captureDevice());
}

TEST_F(SoundCard, FormatsTheDeviceCannotOpenAreShownDisabledAndNeverStored)
{
    audio::VirtualBackend &virtualDevices = audio::VirtualBackend::instance();
    // A recording of 48 kHz stereo 24-bit: the virtual capture device opens in that format only.
    audio::VirtualCaptureSource recording;
    recording.kind = audio::VirtualCaptureSource::Kind::Samples;
    recording.samplesFormat = { 2, 48000, 24 };
    recording.samples = std::make_shared<std::vector<std::byte>>(8 * 4800);
    virtualDevices.setCaptureSource(recording);
    const SampleFormat stored = settings.GetCaptureFormat(); // 11.025 kHz mono 16-bit
    {
        CDlgConfigSound dialog(settings, { nullptr, { &virtualDevices } });
        QComboBox *capture = dialog.configurationList(0);
        ASSERT_EQ(capture->count(), 20);
        EXPECT_EQ(capture->currentIndex(), -1);
        EXPECT_FALSE(dialog.formatNote(0)->isHidden());
        EXPECT_TRUE(dialog.formatNote(0)->text().contains("(11.025 kHz, Mono, 16-bit)"));
        EXPECT_TRUE(dialog.formatNote(1)->isHidden());
        // A disabled row made current from code is not stored.
        capture->setCurrentText("44.1   kHz, Stereo, 16-bit");
        dialog.accept();
        EXPECT_EQ(settings.GetCaptureFormat(), stored);
    }
    CDlgConfigSound dialog(settings, { nullptr, { &virtualDevices } });
    dialog.configurationList(0)->setCurrentText("48     kHz, Stereo, 24-bit");
    EXPECT_TRUE(dialog.formatNote(0)->isHidden());
    dialog.configurationList(1)->setCurrentText("96     kHz, Stereo, 24-bit");
    dialog.accept();
    EXPECT_EQ(settings.GetCaptureFormat(), (SampleFormat { 2, 48000, 24 }));
    EXPECT_EQ(settings.GetPlaybackFormat(), (SampleFormat { 2, 96000, 24 }));
    // 8192 frames of two 24-bit channels in 4-byte slots.
    EXPECT_EQ(audio::AudioDevices::instance().captureBlockBytes(), 8192 * 2 * 4);
    virtualDevices.setCaptureSource({});
    audio::setCaptureDevice(std::nullopt);
    audio::setPlaybackDevice(std::nullopt);
}

TEST_F(SoundCard, ADeviceThatCannotBeAskedLeavesTheListAndSaysSo)
{
    audio::VirtualBackend &virtualDevices = audio::VirtualBackend::instance();
    // Samples at a rate no configuration has: the device answers with no format at all.
    audio::VirtualCaptureSource recording;
    recording.kind = audio::VirtualCaptureSource::Kind::Samples;
    recording.samplesFormat = { 1, 8000, 16 };
    recording.samples = std::make_shared<std::vector<std::byte>>(1600);
    virtualDevices.setCaptureSource(recording);
    CDlgConfigSound dialog(settings, { nullptr, { &virtualDevices } });
    EXPECT_EQ(dialog.configurationList(0)->count(), 0);
    EXPECT_FALSE(dialog.formatNote(0)->isHidden());
    EXPECT_EQ(dialog.formatNote(0)->text(), QString::fromLatin1(kDeviceNotAskedText));
    dialog.accept();
    EXPECT_EQ(settings.GetCaptureFormat(), CTCDefs().GetCaptureFormat());
    EXPECT_FALSE(audio::captureDevice());
    virtualDevices.setCaptureSource({});
    audio::setPlaybackDevice(std::nullopt);
}

// Every dialog opens within a 1920 by 1080 screen at twice the scale (960 by 540 points, less a
// title bar and the desktop's panel), and so within 1366 by 768 at the normal one.
TEST(DialogSizes, EveryDialogFitsAFullHdScreenAtScaleTwo)
{
    CTCDefs settings;
    CPitch pitch;
    KeyContext keys(settings);
    std::vector<std::unique_ptr<QDialog>> dialogs;
    dialogs.push_back(std::make_unique<CDlgConfigPitch>(0, pitch, settings, keys));
    dialogs.push_back(std::make_unique<DlgTemp>(settings));
    dialogs.push_back(std::make_unique<CDlgRef>(pitch, settings));
    dialogs.push_back(std::make_unique<CDlgConfigSound>(
            settings, SoundBackends { nullptr, { &audio::VirtualBackend::instance() } }));
    dialogs.push_back(std::make_unique<DlgOptimize>(pitch, settings, keys));
    dialogs.push_back(std::make_unique<CClefDialog>(keys, settings));
    dialogs.push_back(std::make_unique<CKeyDialog>(keys));
    dialogs.push_back(std::make_unique<DlgTranspose>(keys));
    for (const auto &dialog : dialogs) {
        const QSize size = dialog->sizeHint().expandedTo(dialog->minimumSizeHint());
        EXPECT_LE(size.width(), 940) << dialog->windowTitle().toStdString();
        EXPECT_LE(size.height(), 480) << dialog->windowTitle().toStdString();
    }
}

} // namespace
