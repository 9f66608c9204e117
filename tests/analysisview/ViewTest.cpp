#include "BlockLength.h"
#include "AnalysisFixture.h"
#include "AnalysisPicture.h"
#include "AudioDevices.h"
#include "AudioFacade.h"
#include "CTonrikDoc.h"
#include "CTonrikView.h"
#include "KeyContext.h"
#include "OverviewStrip.h"
#include "RulerStrip.h"
#include "StaffLayout.h"
#include "TempBandFiles.h"
#include "TimeRuler.h"
#include "VirtualBackend.h"

#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <cstring>
#include <fstream>

using namespace corvane;
using namespace corvane::test;

namespace {

constexpr uint32_t kAllPanes = 31 | PaneLayout::kTimingBit;

bool isColor(const QImage &image, int x, int y, QColor color)
{
    return image.pixelColor(x, y).rgb() == color.rgb();
}

// How many pixels of `color` the rectangle holds.
int countColor(const QImage &image, const QRect &rect, QColor color)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += isColor(image, x, y, color);
    return n;
}

// Pixels of text in black, antialiased edges included.
int countDark(const QImage &image, const QRect &rect)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += image.pixelColor(x, y).value() < 110;
    return n;
}

// Pixels that are clearly blue, antialiased text included.
int countBluish(const QImage &image, const QRect &rect)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.blue() > c.red() + 60;
        }
    }
    return n;
}

class ViewTest : public AnalysisFixture
{
protected:
    ViewTest()
        : doc(m_program.settings, m_dir.path())
        , view(doc, m_program)
    {
        view.resize(900, 600);
        view.setViewPanes(kAllPanes);
    }

    void open() { ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(writeMelody().string()))); }

    // The first steady note and where the view draws it.
    const NoteRun &firstNote()
    {
        for (const NoteRun &run : doc.analysis()->noteRuns()) {
            if (!run.rest && !run.unstable)
                return run;
        }
        throw std::runtime_error("no note");
    }

    QPoint inData(int x, int y) { return QPoint(x, y); }

    CTonrikDoc doc;
    CTonrikView view;
};

} // namespace

TEST_F(ViewTest, EachPaneDrawsTheMelodyAtItsBlocks)
{
    open();
    const QImage image = view.renderImage(900);
    const int zoom = view.axis().pixelsPerBlock();
    const NoteRun &note = firstNote();
    const int x = 101 + zoom * static_cast<int>(note.firstSample);
    const int mid = x + zoom * 2; // inside the note

    // Notes (0..119): a black head where the staff puts middle C, one ledger line below.
    const StaffLayout staff(m_program.keys, 60);
    const StaffLayout::NoteGlyph head = staff.note(note.noteIndex, x);
    EXPECT_EQ(note.noteIndex, 39);
    EXPECT_TRUE(isColor(image, head.headX + 4, head.headY + 3, Qt::black));
    EXPECT_TRUE(isColor(image, x - 8, head.ledgerYs.at(0), Qt::black));
    // Intonation (120..219): an in-tune note settles on the center line.
    const int late = x + zoom * (static_cast<int>(note.sampleCount) - 2) + zoom / 2;
    EXPECT_TRUE(isColor(image, late, 170, Qt::black));
    EXPECT_FALSE(isColor(image, late, 170 - 20, Qt::black));
    // Volume (220..319): a bar about the center while the note sounds, nothing in the rest.
    EXPECT_TRUE(isColor(image, mid, 270 - 5, Qt::black));
    EXPECT_TRUE(isColor(image, 101 + zoom + 1, 270 - 5, QColor(240, 240, 240)));
    // Wave (320..419): yellow over the note, the gray background over the first rest's start.
    EXPECT_GT(countColor(image, QRect(mid, 322, zoom, 96), Qt::yellow), 20);
    EXPECT_EQ(countColor(image, QRect(103, 322, zoom, 40), Qt::yellow), 0);
    // Octave bands (420..909): orange traces, middle C (262 Hz) strongest in band 2 or 3.
    EXPECT_GT(countColor(image, QRect(mid, 420 + 120, zoom * 3, 120), QColor(255, 127, 0)), 10);
    // The timing grid: a green mark at the left edge, over the whole stack.
    EXPECT_TRUE(isColor(image, 101, 700, QColor(0, 255, 0)));

    view.grab().save(QString::fromStdString((m_dir / "view.png").string()));
    if (const char *docs = std::getenv("CORVANE_VIEW_PNG"))
        view.renderImage(1000).save(QString::fromLocal8Bit(docs));
}

TEST_F(ViewTest, WithoutARecordingEveryPaneHasItsLabelsAndAnEmptyDataArea)
{
    const QImage image = view.renderImage(600);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 910 - view.viewport()->height());
    EXPECT_GT(countBluish(image, QRect(0, 120, 100, 100)), 60);            // "+50 cents" ...
    EXPECT_GT(countColor(image, QRect(0, 420, 100, 490), Qt::black), 100); // band labels
    EXPECT_EQ(countColor(image, QRect(101, 0, 499, 910), Qt::yellow), 0);
    EXPECT_EQ(countColor(image, QRect(101, 0, 499, 910), QColor(255, 127, 0)), 0);
    EXPECT_EQ(countColor(image, QRect(101, 220, 499, 100), Qt::black), 0);

    view.setViewPanes(0);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(view.layout().totalHeight(), 0);
}

TEST_F(ViewTest, ZoomStopsAtItsEndsAndKeepsTheScrollWithinTheRecording)
{
    open();
    while (view.zoomIn()) { }
    EXPECT_EQ(view.axis().pixelsPerBlock(), 512);
    EXPECT_FALSE(view.zoomIn());
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
    EXPECT_EQ(view.axis().firstVisibleBlock(), view.axis().maxFirstBlock());
    EXPECT_GT(view.axis().firstVisibleBlock(), 0);
    while (view.zoomOut()) { }
    EXPECT_EQ(view.axis().zoomIndex(), 0);
    EXPECT_EQ(view.axis().firstVisibleBlock(), 0); // it all fits now
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
}

TEST_F(ViewTest, AClickClearsTheSelectionAndShiftClickExtendsIt)
{
    open();
    QWidget *area = view.viewport();
    const int zoom = view.axis().pixelsPerBlock();
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(101 + 2 * zoom, 50));
    QTest::mouseMove(area, QPoint(101 + 6 * zoom, 50));
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(101 + 6 * zoom, 50));
    EXPECT_EQ(view.selection().start(), 2);
    EXPECT_EQ(view.selection().end(), 6);

    QTest::mouseClick(area, Qt::LeftButton, Qt::ShiftModifier, QPoint(101 + 9 * zoom, 50));
    EXPECT_EQ(view.selection().start(), 2);
    EXPECT_EQ(view.selection().end(), 9);
    const QImage image = view.renderImage(600);
    EXPECT_TRUE(isColor(image, 101 + 8 * zoom, 230, QColor(150, 150, 150)));

    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(101 + 4 * zoom, 50));
    EXPECT_TRUE(view.selection().empty());
}

TEST_F(ViewTest, StretchingTheGridStopsAtEightPixelsAndHidesTheBpmLabel)
{
    open();
    QWidget *area = view.viewport();
    const double spp = view.axis().secondsPerPixel();
    // Dragging the grid by its first mark moves every mark, and selects nothing.
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(101, 50));
    QTest::mouseMove(area, QPoint(111, 50));
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(111, 50));
    EXPECT_NEAR(view.grid().originPhase(), 10 * spp, 1e-9);
    EXPECT_TRUE(view.selection().empty());

    const int beat = 111 + static_cast<int>(1.0 / spp); // the second mark, one second on
    QTest::mousePress(area, Qt::RightButton, {}, QPoint(beat, 50));
    EXPECT_TRUE(view.grid().stretching());
    EXPECT_TRUE(view.bpmLabelShown());
    QTest::mouseMove(area, QPoint(beat + static_cast<int>(0.5 / spp), 50));
    EXPECT_NEAR(view.grid().interval(), 1.5, 2 * spp);
    EXPECT_EQ(view.grid().bpmText(), "40bpm");
    QTest::mouseMove(area, QPoint(101, 50));
    EXPECT_NEAR(view.grid().interval(), 8 * spp, 1e-9);
    EXPECT_FALSE(view.grid().stretching());
    EXPECT_FALSE(view.bpmLabelShown());
    QTest::mouseRelease(area, Qt::RightButton, {}, QPoint(101, 50));
    EXPECT_TRUE(view.selection().empty());
}

TEST_F(ViewTest, PlaybackSoundsTheRecordingInOrderAndEndsOnItsOwn)
{
    using namespace corvane::audio;
    VirtualBackend::instance().setPacing(VirtualPacing::AsFastAsTaken);
    VirtualBackend::instance().keepPlayed(true);
    setPlaybackDevice(VirtualBackend::playbackDeviceId());
    m_program.settings.SetVolume(
            1.0f); // the stored level the view plays at: full, sample for sample
    open();

    QSignalSpy state(&view, &CTonrikView::playStateChanged);
    ASSERT_TRUE(view.Play());
    EXPECT_TRUE(view.isPlaying());
    ASSERT_TRUE(state.count() == 2 || state.wait(20000));
    ASSERT_TRUE(state.count() == 2 || state.wait(20000));
    EXPECT_TRUE(state.at(0).at(0).toBool());
    EXPECT_FALSE(state.at(1).at(0).toBool());
    EXPECT_FALSE(view.isPlaying());

    // What was played is the signal file, converted to 16 bits, frame after frame.
    std::ifstream signal(TempBandFiles::filePath(doc.tempDir(), 8), std::ios::binary);
    std::vector<float> floats(static_cast<std::size_t>(doc.sampleCount())
                              * hopLengthForRate(kRate));
    signal.read(reinterpret_cast<char *>(floats.data()),
                static_cast<std::streamsize>(floats.size() * 4));
    const std::vector<std::byte> bytes = VirtualBackend::instance().played();
    std::vector<int16_t> played(bytes.size() / 2);
    std::memcpy(played.data(), bytes.data(), played.size() * 2);
    std::size_t at = 0;
    while (at < played.size() && played[at] == 0)
        ++at;
    std::size_t first = 0;
    while (static_cast<int16_t>(floats[first] * 32767.0f) == 0)
        ++first;
    ASSERT_GE(played.size() - at, floats.size() - first);
    for (std::size_t i = first; i < floats.size(); ++i)
        ASSERT_EQ(played[at + i - first], static_cast<int16_t>(floats[i] * 32767.0f)) << i;

    VirtualBackend::instance().setPacing(VirtualPacing::RealTime);
}

TEST_F(ViewTest, PlayWithNothingLoadedOrNoDeviceLeavesTheViewStopped)
{
    QSignalSpy state(&view, &CTonrikView::playStateChanged);
    EXPECT_FALSE(view.Play());
    ASSERT_EQ(state.count(), 1);
    EXPECT_FALSE(state.at(0).at(0).toBool());

    open();
    audio::setPlaybackDevice(audio::DeviceId { audio::VirtualBackend::kHostApi, "nowhere" });
    std::vector<std::string> errors;
    audio::setDeviceErrorHandler([&errors](const std::string &m) { errors.push_back(m); });
    EXPECT_FALSE(view.Play());
    EXPECT_FALSE(view.isPlaying());
    EXPECT_FALSE(state.last().at(0).toBool());
    EXPECT_EQ(errors.size(), 1u);
    audio::setDeviceErrorHandler({});
    audio::setPlaybackDevice(audio::VirtualBackend::playbackDeviceId());
}

TEST_F(ViewTest, TheRulerUnderThePanesMarksTheClockAndTheBarsOfTheGrid)
{
    open();
    EXPECT_EQ(view.ruler().height(), 2 * AnalysisPicture::kRulerRowHeight);
    EXPECT_EQ(view.ruler().accessibleName(), QStringLiteral("Time ruler"));
    const QImage image = view.renderImage(900);
    ASSERT_EQ(image.height(), view.layout().totalHeight() + 40);
    if (const char *out = std::getenv("CORVANE_RULER_PNG"))
        image.save(QString::fromLocal8Bit(out));
    const int top = view.layout().totalHeight();
    // At 16 pixels a block the marks come every half second, the labels between them.
    const TimeAxis &axis = view.axis();
    const int half = 101 + static_cast<int>(std::floor(0.5 / axis.secondsPerPixel() + 1e-6));
    for (int y = top + 1; y < top + 19; ++y)
        EXPECT_TRUE(isColor(image, half, y, Qt::black)) << y;
    EXPECT_FALSE(isColor(image, half - 3, top + 15, Qt::black));
    EXPECT_GT(countDark(image, QRect(half + 2, top + 2, 40, 16)), 10); // "0:00.5"
    // The grid marks a beat every second from the start: bar 1 beat 1 at the left edge.
    EXPECT_GT(countDark(image, QRect(103, top + 22, 20, 16)), 10); // "1.1"
    EXPECT_EQ(countDark(image, QRect(125, top + 22, 140, 16)), 0); // nothing up to beat 2
    EXPECT_TRUE(isColor(image, 101, top + 30, Qt::black));

    view.setViewPanes(kAllPanes & ~PaneLayout::kTimingBit);
    EXPECT_EQ(view.ruler().height(), AnalysisPicture::kRulerRowHeight);
    EXPECT_EQ(view.renderImage(900).height(), view.layout().totalHeight() + 20);
}

TEST_F(ViewTest, TheOverviewShowsTheWholeRecordingAndMovesThePanes)
{
    OverviewStrip &overview = view.overview();
    EXPECT_EQ(overview.accessibleDescription(), QStringLiteral("No recording"));
    open();
    while (view.zoomIn()) { } // a few blocks a page
    ASSERT_GT(view.axis().maxFirstBlock(), 0);
    EXPECT_EQ(overview.blockCount(), doc.sampleCount());
    EXPECT_EQ(overview.width(), view.viewport()->width());
    const double total = doc.sampleCount() * view.axis().secondsPerBlock();
    EXPECT_EQ(overview.accessibleDescription(),
              QString::fromStdString(TimeRuler::spanText(
                      0, view.axis().pageBlocks() * view.axis().secondsPerBlock(), total)));

    // The envelope: ink over a note all along it, none over the rest before it (the strip is
    // wider than the melody has blocks, so each block takes several columns).
    view.overview().resize(900, OverviewStrip::kHeight);
    const QImage strip = overview.grab().toImage();
    const QColor ink = overview.palette().color(QPalette::Text);
    const NoteRun &note = firstNote();
    int inkColumns = 0;
    for (int x = overview.xOfBlock(note.firstSample + 1);
         x < overview.xOfBlock(note.firstSample + note.sampleCount - 1); ++x)
        inkColumns += strip.pixelColor(x, OverviewStrip::kHeight / 2) == ink;
    EXPECT_EQ(inkColumns,
              overview.xOfBlock(note.firstSample + note.sampleCount - 1)
                      - overview.xOfBlock(note.firstSample + 1));
    EXPECT_GT(inkColumns, 10);
    EXPECT_NE(strip.pixelColor(overview.xOfBlock(1) + 1, 2), ink);
    view.resize(900, 600);

    // A click centers the panes on the point clicked, a click at the end shows the end.
    const int32_t page = view.axis().pageBlocks();
    const int32_t middle = doc.sampleCount() / 2;
    QTest::mouseClick(&overview, Qt::LeftButton, {}, QPoint(overview.xOfBlock(middle) + 1, 10));
    EXPECT_NEAR(view.axis().firstVisibleBlock(), middle - page / 2, 1);
    EXPECT_EQ(view.horizontalScrollBar()->value(), view.axis().firstVisibleBlock());
    EXPECT_TRUE(overview.visibleRect().contains(overview.xOfBlock(middle), 10));
    QTest::mouseClick(&overview, Qt::LeftButton, {}, QPoint(overview.width() - 1, 10));
    EXPECT_EQ(view.axis().firstVisibleBlock(), view.axis().maxFirstBlock());

    // Home and End on the panes go to the ends; the overview's mark follows a scroll.
    QTest::keyClick(&view, Qt::Key_Home);
    EXPECT_EQ(view.axis().firstVisibleBlock(), 0);
    EXPECT_EQ(overview.visibleRect().left(), 0);
    QTest::keyClick(&view, Qt::Key_End);
    EXPECT_EQ(view.axis().firstVisibleBlock(), view.axis().maxFirstBlock());
    view.horizontalScrollBar()->setValue(3);
    EXPECT_EQ(overview.visibleRect().left(), overview.xOfBlock(3));

    // The panes tell a screen reader what they show and where.
    EXPECT_EQ(view.viewport()->accessibleName(), QStringLiteral("Analysis panes"));
    EXPECT_TRUE(view.viewport()->accessibleDescription().startsWith(
            QStringLiteral("notes, intonation, volume, wave, octave bands; 0:0")))
            << view.viewport()->accessibleDescription().toStdString();
    EXPECT_TRUE(
            view.viewport()->accessibleDescription().endsWith(overview.accessibleDescription()));

    // Zoomed all the way out the whole melody is in view and the mark covers the strip.
    while (view.zoomOut()) { }
    EXPECT_EQ(view.axis().firstVisibleBlock(), 0);
    EXPECT_GE(overview.visibleRect().width(), overview.width() - 1);
}

TEST_F(ViewTest, ZoomedOutEveryPaneStillShowsTheNotesTheirPitchAndTheirLoudness)
{
    ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(writeMelody("long.wav", 8).string())));
    view.setViewPanes(31); // no grid over the panes
    // How far the tallest volume bar reaches above the pane's middle.
    auto tallestBar = [](const QImage &image) {
        for (int y = 221; y < 270; ++y)
            if (countColor(image, QRect(102, y, image.width() - 104, 1), Qt::black) > 0)
                return 270 - y;
        return 0;
    };
    view.setZoomIndex(7); // one pixel a block
    const QImage near = view.renderImage(900);
    view.setZoomIndex(2); // 32 blocks a pixel: the whole melody in 12 columns
    const QImage far = view.renderImage(900);
    EXPECT_EQ(tallestBar(far), tallestBar(near));
    // The melody's four notes start within the first 3 s: all four heads in the first column.
    const StaffLayout staff(m_program.keys, 60);
    for (int note : { 39, 43, 46, 51 }) {
        const StaffLayout::NoteGlyph head = staff.note(note, 101);
        EXPECT_TRUE(isColor(far, head.headX + 4, head.headY + 3, Qt::black)) << note;
    }
    EXPECT_GT(countColor(far, QRect(102, 121, 20, 98), Qt::black), 10); // the intonation strokes

    // The grid, jumped five zoom steps out, is thinned at once to marks it can draw apart.
    view.setViewPanes(kAllPanes);
    view.setZoomIndex(7);
    view.setZoomIndex(2);
    EXPECT_GE(view.grid().interval(), BeatGrid::kMinShownPixels * view.axis().secondsPerPixel());
}
