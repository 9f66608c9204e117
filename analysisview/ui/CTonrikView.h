#pragma once

#include "BeatGrid.h"
#include "BlockSelection.h"
#include "EnvelopeCache.h"
#include "PaneLayout.h"
#include "RecordingPlayer.h"
#include "TimeAxis.h"

#include <QAbstractScrollArea>
#include <QImage>

#include <array>
#include <cstdint>

namespace corvane {

class CTonrikDoc;
class OverviewStrip;
class ProgramState;
class RulerStrip;
struct PaneContext;

// The analysis view: the document's recording as a stack of panes on one time axis (notes,
// intonation, volume, wave, octave bands, with the timing grid over them), scrolled, zoomed,
// selected with the mouse and played back; the overview strip of the whole recording above
// the panes and the time ruler under them stay in place while the panes scroll up and down.
//
// The frame drives it through the public slots below and hears of playback through
// playStateChanged(). Painting, the mouse and the grid are decided by the Qt-free core
// (TimeAxis, TimeRuler, BlockSelection, BeatGrid, PaneLayout); this widget only routes events to
// them and paints what they say through AnalysisPicture. User-interface thread; playback runs on
// the playback thread and posts back here.
class CTonrikView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    // `doc` and `program` must outlive the view. It reads the program's settings (the panes at
    // first, the capture rate while empty), note table and key context; it changes none of them.
    CTonrikView(CTonrikDoc &doc, const ProgramState &program, QWidget *parent = nullptr);
    ~CTonrikView() override;

    const TimeAxis &axis() const noexcept { return m_axis; }
    const BlockSelection &selection() const noexcept { return m_selection; }
    const BeatGrid &grid() const noexcept { return m_grid; }
    const PaneLayout &layout() const noexcept { return m_layout; }
    int verticalOffset() const noexcept { return m_verticalOffset; }
    bool bpmLabelShown() const noexcept { return m_bpmShown; }

    // Pane bits as in the settings (notes 1, intonation 2, volume 4, wave 8, bands 16, timing
    // marks 32). The frame stores them; the view only shows them.
    uint32_t viewPanes() const noexcept { return m_layout.bits(); }
    void setViewPanes(uint32_t bits);

    bool isPlaying() const noexcept { return m_player.playing(); }
    bool looping() const noexcept { return m_looping; }
    int32_t playPosition() const noexcept { return m_player.position(); }

    // The visible panes at the current scroll position, `width` pixels wide (the view's own
    // width when 0) and as tall as the whole stack with the ruler under it; for export.
    QImage renderImage(int width = 0);
    // Blocks first .. first + count - 1 as a picture at the view's zoom (or at zoom step
    // `zoomIndex`), the label column, the panes and the ruler; without the selection's shade or
    // the play cursor. For pictures of the whole recording or the selection, page by page. At
    // most kMaxSpanColumns columns wide: a longer span is cut off at its end.
    static constexpr int kMaxSpanColumns = 32768;
    QImage renderSpan(int32_t first, int32_t count, int zoomIndex = -1);
    // Paints the stack as the view would at `width` pixels, from its top, with the ruler under
    // it when `ruler`; for export and print.
    void renderTo(QPainter &painter, int width, bool ruler = true);

    // The strips above and below the panes (owned by this view).
    OverviewStrip &overview() const noexcept { return *m_overview; }
    RulerStrip &ruler() const noexcept { return *m_ruler; }

public slots:
    // Document changed (UpdateAllViews): takes the new sample count and format and repaints.
    void OnUpdate();
    // After a new analysis: clears the selection, the grid's phase, drags and playback; keeps
    // the zoom, the interval and (when it still fits) the scroll position.
    void ResetView();
    bool zoomIn();
    bool zoomOut();
    // Zoom index 0 .. TimeAxis::kZoomCount - 1, clamped; the frame keeps one zoom level for the
    // program.
    void setZoomIndex(int index);
    // The panes show the recording from block `first` (clamped to what can be shown).
    void scrollToBlock(int32_t first);
    // Home and End: the panes go to the recording's start or its end. Playback, which starts
    // at the selection or the start, is left alone.
    void goToStart();
    void goToEnd();
    // Plays the selection, or everything when nothing is selected. False when nothing could
    // be played (no recording, or the device did not open): playStateChanged(false) follows.
    bool Play();
    void StopPlaying();
    void SetLooping(bool looping);

signals:
    void playStateChanged(bool playing);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    PaneContext context(int right);
    void updateTimeScale();
    void UpdateScrollBars();
    double leftEdgeSeconds() const noexcept;
    std::optional<double> markUnder(int x) const noexcept;
    void onPlayerEvent(RecordingPlayer::Event event);
    void layoutStrips();
    void updateOverview();

    CTonrikDoc &m_doc;
    const ProgramState &m_program;
    TimeAxis m_axis;
    BlockSelection m_selection;
    BeatGrid m_grid;
    PaneLayout m_layout;
    RecordingPlayer m_player;
    std::array<EnvelopeCache, 9> m_envelopes; // bands 0..7, the signal
    int m_verticalOffset = 0;
    bool m_draggingGrid = false;
    int m_dragX = 0;
    bool m_bpmShown = false;
    QRect m_bpmRect;
    bool m_looping = false;
    OverviewStrip *m_overview = nullptr; // owned by this widget
    RulerStrip *m_ruler = nullptr;       // owned by this widget
};

} // namespace corvane
