// `--analyze --png`: the view's default panes drawn without a window.

#include "AnalysisPicture.h"
#include "AnalysisPng.h"
#include "AnalyzeCommand.h"
#include "CTCDefs.h"
#include "PaneLayout.h"
#include "TimeAxis.h"

#include "TempDir.h"
#include "WaveFixtures.h"

#include <QImage>

#include <gtest/gtest.h>

#include <sstream>

using namespace corvane;
using namespace corvane::test;

namespace {

// Pixels right of the label column that are nearly black: note heads, stems, volume bars.
int inkInData(const QImage &image)
{
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = TimeAxis::kDataLeft + 1; x < image.width(); ++x)
            ink += qGray(image.pixel(x, y)) < 64;
    return ink;
}

int analyzeWithPicture(AnalyzeOptions &options, std::string &err)
{
    std::ostringstream out, e;
    const int status = runAnalyzeCommand(options, out, e, false, writeAnalysisPng);
    err = e.str();
    return status;
}

} // namespace

TEST(AnalysisPng, ThePanesOfTheRecordingAtTheWidthAskedOrItsOwn)
{
    TempWorkingDir dir;
    std::vector<double> frames = tone(261.63, 1.0, 11025);
    append(frames, silence(0.5, 11025));
    append(frames, tone(392.0, 1.0, 11025));
    writeWave("take1.wav", WaveHeader {}, pcmBytes(frames, 1, 16));
    writeWave("quiet.wav", WaveHeader {}, pcmBytes(silence(2.5, 11025), 1, 16));

    AnalyzeOptions options;
    options.file = "take1.wav";
    options.pngFile = "take1.png";
    options.pngWidth = 640;
    std::string err;
    ASSERT_EQ(analyzeWithPicture(options, err), 0) << err;
    EXPECT_TRUE(err.empty()) << err;
    QImage picture(QStringLiteral("take1.png"));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.width(), 640);
    EXPECT_EQ(picture.height(), AnalysisPicture::pictureHeight(PaneLayout()));

    options.file = "quiet.wav";
    options.pngFile = "quiet.png";
    ASSERT_EQ(analyzeWithPicture(options, err), 0) << err;
    const QImage quiet(QStringLiteral("quiet.png"));
    ASSERT_FALSE(quiet.isNull());
    // Two notes put heads on the staff and bars in the volume pane; silence puts neither.
    EXPECT_GT(inkInData(picture), inkInData(quiet) + 500);

    // Without a width the picture is as wide as the 26 blocks at the largest zoom that takes
    // them whole (32 pixels), with a block to spare.
    options.file = "take1.wav";
    options.pngFile = "own.png";
    options.pngWidth = 0;
    ASSERT_EQ(analyzeWithPicture(options, err), 0) << err;
    EXPECT_EQ(QImage(QStringLiteral("own.png")).width(), TimeAxis::kDataLeft + 27 * 32);

    options.pngFile = "no-such-folder/take1.png";
    EXPECT_EQ(analyzeWithPicture(options, err), 1);
    EXPECT_EQ(err, "tonrik: cannot write the picture no-such-folder/take1.png\n");
}

// The staff is drawn in the clef of the settings the command loaded ("tonrik.def" of the current
// folder), not in that of a key context the program shares.
TEST(AnalysisPng, TheStaffTakesTheClefOfTheSettingsTheCommandLoaded)
{
    TempWorkingDir dir;
    writeWave("take1.wav", WaveHeader {}, pcmBytes(tone(261.63, 1.5, 11025), 1, 16));
    AnalyzeOptions options;
    options.file = "take1.wav";
    options.pngFile = "treble.png";
    options.pngWidth = 640;
    std::string err;
    ASSERT_EQ(analyzeWithPicture(options, err), 0) << err;

    CTCDefs bass;
    bass.SetClef(3);
    ASSERT_TRUE(bass.SaveDefaultsFile());
    options.pngFile = "bass.png";
    ASSERT_EQ(analyzeWithPicture(options, err), 0) << err;

    const QImage treble(QStringLiteral("treble.png"));
    const QImage bassPicture(QStringLiteral("bass.png"));
    ASSERT_EQ(treble.size(), bassPicture.size());
    EXPECT_NE(treble, bassPicture);
}
