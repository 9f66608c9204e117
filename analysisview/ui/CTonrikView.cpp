#include "CTonrikView.h"

#include "AnalysisPicture.h"
#include "BlockLength.h"
#include "CTonrikDoc.h"
#include "OverviewStrip.h"
#include "PaneContext.h"
#include "ProgramState.h"
#include "RulerStrip.h"
#include "TempBandFiles.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

    constexpr int kVerticalLine = 6;

    // The grid with its interval doubled until its marks are at least kMinShownPixels apart.
    BeatGrid drawable(BeatGrid grid, double secondsPerPixel)
    {
        for (int i = 0; i < 64 && grid.interval() < BeatGrid::kMinShownPixels * secondsPerPixel;
             ++i)
            grid.keepDrawable(secondsPerPixel);
        return grid;
    }

    QString paneName(PaneKind kind)
    {
        switch (kind) {
        case PaneKind::Notes:
            return QStringLiteral("notes");
        case PaneKind::Intonation:
            return QStringLiteral("intonation");
        case PaneKind::Volume:
            return QStringLiteral("volume");
        case PaneKind::Wave:
            return QStringLiteral("wave");
        case PaneKind::Bands:
            return QStringLiteral("octave bands");
        }
        return {};
    }

} // namespace

CTonrikView::CTonrikView(CTonrikDoc &doc, const ProgramState &program, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_doc(doc)
    , m_program(program)
    , m_layout(program.settings.GetViewPanes())
    , m_player([this](RecordingPlayer::Event event) {
        // Playback thread: hand over to the user-interface thread and return at once.
        QMetaObject::invokeMethod(
                this, [this, event] { onPlayerEvent(event); }, Qt::QueuedConnection);
    })
{
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAccessibleName(QStringLiteral("Analysis panes"));
    m_overview = new OverviewStrip(this);
    connect(m_overview, &OverviewStrip::moveRequested, this, &CTonrikView::scrollToBlock);
    m_ruler = new RulerStrip(
            [this](QPainter &painter, const QRect &rect) {
                const BeatGrid *grid = m_layout.timingShown() ? &m_grid : nullptr;
                AnalysisPicture::renderRuler(painter, rect, context(rect.width() - 1), grid,
                                             palette());
            },
            this);
    connect(&m_doc, &CTonrikDoc::contentsChanged, this, [this] {
        for (EnvelopeCache &cache : m_envelopes)
            cache.clear();
        m_overview->setLevels({}, m_axis.secondsPerBlock()); // taken afresh by OnUpdate
        StopPlaying();
        ResetView();
        OnUpdate();
    });
    layoutStrips();
    updateTimeScale();
    UpdateScrollBars();
}

void CTonrikView::layoutStrips()
{
    const int rulerHeight = AnalysisPicture::rulerHeight(m_layout.timingShown());
    setViewportMargins(0, OverviewStrip::kHeight, 0, rulerHeight);
    const QRect area = viewport()->geometry();
    m_overview->setGeometry(area.left(), area.top() - OverviewStrip::kHeight, area.width(),
                            OverviewStrip::kHeight);
    m_ruler->setGeometry(area.left(), area.bottom() + 1, area.width(), rulerHeight);
    m_ruler->update();
}

void CTonrikView::updateOverview()
{
    // A new analysis may hold as many samples as the last one, but of another length.
    if (m_overview->blockCount() != m_doc.sampleCount()
        || m_overview->secondsPerBlock() != m_axis.secondsPerBlock()) {
        std::vector<float> levels;
        if (RecordingAnalysis *analysis = m_doc.analysis(); analysis && analysis->loaded()) {
            levels.reserve(analysis->samples().size());
            // As the volume pane scales its bars: the square root of the level.
            for (const CSample &sample : analysis->samples())
                levels.push_back(static_cast<float>(
                        std::min(std::sqrt(std::max(sample.level(), 0.0)), 1.0)));
        }
        m_overview->setLevels(std::move(levels), m_axis.secondsPerBlock());
    }
    m_overview->setVisibleBlocks(m_axis.firstVisibleBlock(), m_axis.pageBlocks());
    m_overview->setPlayBlock(m_player.playing() ? m_player.position() : -1);

    // A screen reader hears which panes are shown and which part of the recording they show,
    // as the overview says it.
    QStringList names;
    for (const PaneSlot &slot : m_layout.panes())
        names << paneName(slot.kind);
    QString description =
            names.isEmpty() ? QStringLiteral("No panes") : names.join(QLatin1String(", "));
    if (m_doc.sampleCount() > 0)
        description += QStringLiteral("; ") + m_overview->accessibleDescription();
    viewport()->setAccessibleDescription(description);
}

void CTonrikView::scrollToBlock(int32_t first)
{
    m_axis.scrollTo(first);
    horizontalScrollBar()->setValue(m_axis.firstVisibleBlock());
    updateOverview();
    m_ruler->update();
    viewport()->update();
}

void CTonrikView::goToStart()
{
    scrollToBlock(0);
}

void CTonrikView::goToEnd()
{
    scrollToBlock(m_axis.maxFirstBlock());
}

void CTonrikView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Home && event->modifiers() == Qt::NoModifier)
        goToStart();
    else if (event->key() == Qt::Key_End && event->modifiers() == Qt::NoModifier)
        goToEnd();
    else
        QAbstractScrollArea::keyPressEvent(event);
}

CTonrikView::~CTonrikView()
{
    // Joins the playback worker: no player event arrives after this.
    m_player.stop();
}

void CTonrikView::setViewPanes(uint32_t bits)
{
    m_layout = PaneLayout(bits);
    layoutStrips();
    updateOverview();
    UpdateScrollBars();
    viewport()->update();
}

void CTonrikView::updateTimeScale()
{
    RecordingAnalysis *analysis = m_doc.analysis();
    if (analysis) {
        m_axis.setFormat(analysis->blockFormat().blockLength, analysis->blockFormat().sampleRate);
    } else {
        const auto rate = m_program.settings.GetCaptureFormat().sampleRate;
        m_axis.setFormat(blockLengthForRate(rate), rate);
    }
    m_axis.setSampleCount(m_doc.sampleCount());
    m_axis.setDataWidth(viewport()->width() - TimeAxis::kDataLeft);
    // A jump of several zoom steps needs as many doublings as steps.
    m_grid = drawable(m_grid, m_axis.secondsPerPixel());
}

void CTonrikView::UpdateScrollBars()
{
    QScrollBar *h = horizontalScrollBar();
    h->setRange(0, m_axis.maxFirstBlock());
    h->setPageStep(std::max(m_axis.pageBlocks(), 1));
    h->setSingleStep(1);
    h->setValue(m_axis.firstVisibleBlock());

    QScrollBar *v = verticalScrollBar();
    const int height = viewport()->height();
    v->setRange(0, std::max(m_layout.totalHeight() - height, 0));
    v->setPageStep(std::max(height, 1));
    v->setSingleStep(kVerticalLine);
    m_verticalOffset = std::min(m_verticalOffset, v->maximum());
    v->setValue(m_verticalOffset);
}

void CTonrikView::OnUpdate()
{
    updateTimeScale();
    UpdateScrollBars();
    updateOverview();
    m_ruler->update();
    viewport()->update();
}

void CTonrikView::ResetView()
{
    m_selection.clear();
    m_grid.resetPhase();
    m_grid.endStretch();
    m_draggingGrid = false;
    m_bpmShown = false;
    m_verticalOffset = 0;
    updateTimeScale();
    UpdateScrollBars();
    viewport()->update();
}

bool CTonrikView::zoomIn()
{
    const bool changed = m_axis.zoomIn();
    OnUpdate();
    return changed;
}

bool CTonrikView::zoomOut()
{
    const bool changed = m_axis.zoomOut();
    OnUpdate();
    return changed;
}

void CTonrikView::setZoomIndex(int index)
{
    m_axis.setZoomIndex(index);
    OnUpdate();
}

PaneContext CTonrikView::context(int right)
{
    RecordingAnalysis *analysis = m_doc.analysis();
    // The samples were named by the analysis's own note table; the intonation is measured
    // against the same one.
    const CPitch &pitch = analysis ? analysis->noteTable() : m_program.noteTable;
    return PaneContext { analysis, m_axis, m_selection,       m_program.keys,
                         pitch,    right,  m_envelopes.data() };
}

double CTonrikView::leftEdgeSeconds() const noexcept
{
    return m_axis.firstVisibleBlock() * m_axis.secondsPerBlock();
}

std::optional<double> CTonrikView::markUnder(int x) const noexcept
{
    if (!m_layout.timingShown() || m_doc.sampleCount() == 0)
        return std::nullopt;
    return m_grid.markAt(m_axis.timeAtX(x), leftEdgeSeconds(), m_axis.secondsPerPixel());
}

void CTonrikView::renderTo(QPainter &painter, int width, bool ruler)
{
    AnalysisPicture::Overlay overlay;
    overlay.grid = &m_grid;
    overlay.playing = m_player.playing();
    overlay.playBlock = m_player.position();
    overlay.bpmShown = m_bpmShown;
    overlay.bpmRect = m_bpmRect;
    overlay.bpmText = QString::fromStdString(m_grid.bpmText());
    overlay.ruler = ruler;
    AnalysisPicture::render(painter, m_layout, context(width - 1), m_verticalOffset, overlay);
}

QImage CTonrikView::renderImage(int width)
{
    const int w = width > 0 ? width : viewport()->width();
    QImage image(w, AnalysisPicture::pictureHeight(m_layout), QImage::Format_RGB32);
    image.fill(Qt::white);
    const int offset = std::exchange(m_verticalOffset, 0);
    const TimeAxis saved = m_axis;
    m_axis.setDataWidth(w - TimeAxis::kDataLeft);
    m_axis.scrollTo(saved.firstVisibleBlock());
    {
        QPainter painter(&image);
        renderTo(painter, w);
    }
    m_axis = saved;
    m_verticalOffset = offset;
    return image;
}

QImage CTonrikView::renderSpan(int32_t first, int32_t count, int zoomIndex)
{
    const TimeAxis saved = m_axis;
    const BlockSelection selection = std::exchange(m_selection, BlockSelection {});
    const int offset = std::exchange(m_verticalOffset, 0);
    if (zoomIndex >= 0)
        m_axis.setZoomIndex(zoomIndex);
    const int columns =
            static_cast<int>(std::min<int64_t>(m_axis.columnsOf(count), kMaxSpanColumns));
    // The axis may start the page past where the panes could scroll: it only needs to reach
    // the page's own end.
    m_axis.setDataWidth(columns);
    m_axis.setSampleCount(std::max(m_doc.sampleCount(), first + m_axis.pageBlocks()));
    m_axis.scrollTo(first);
    const int width = TimeAxis::kDataLeft + columns + 1;
    QImage image(width, AnalysisPicture::pictureHeight(m_layout), QImage::Format_RGB32);
    image.fill(Qt::white);
    // A picture zoomed further out than the screen thins its own grid, not the one on screen.
    const BeatGrid grid = drawable(m_grid, m_axis.secondsPerPixel());
    {
        QPainter painter(&image);
        AnalysisPicture::Overlay overlay;
        overlay.grid = &grid;
        overlay.ruler = true;
        AnalysisPicture::render(painter, m_layout, context(width - 1), 0, overlay);
    }
    m_axis = saved;
    m_selection = selection;
    m_verticalOffset = offset;
    return image;
}

void CTonrikView::paintEvent(QPaintEvent *)
{
    updateTimeScale();
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().window());
    renderTo(painter, viewport()->width(), false);
}

void CTonrikView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    layoutStrips();
    updateTimeScale();
    UpdateScrollBars();
    updateOverview();
}

void CTonrikView::scrollContentsBy(int, int)
{
    m_axis.scrollTo(horizontalScrollBar()->value());
    m_verticalOffset = verticalScrollBar()->value();
    updateOverview();
    m_ruler->update();
    viewport()->update();
}

void CTonrikView::mousePressEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    const std::optional<double> mark = markUnder(p.x());
    if (event->button() == Qt::LeftButton) {
        if (mark) {
            m_draggingGrid = true;
            m_dragX = p.x();
        } else {
            m_selection.press(m_axis.blockAtX(p.x()), event->modifiers() & Qt::ShiftModifier);
        }
    } else if (event->button() == Qt::RightButton && mark) {
        m_grid.beginStretch(leftEdgeSeconds() + *mark);
        m_dragX = p.x();
        m_bpmShown = true;
        m_bpmRect = QRect(p.x() + 10, p.y() - 10, 45, 15);
    }
    viewport()->update();
}

void CTonrikView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    const double spp = m_axis.secondsPerPixel();
    if (m_draggingGrid) {
        m_grid.drag((p.x() - m_dragX) * spp);
        m_dragX = p.x();
    } else if (m_grid.stretching()) {
        if (m_grid.stretch((p.x() - m_dragX) * spp, spp))
            m_bpmRect.moveTo(p.x() + 10, p.y() - 20);
        else
            m_bpmShown = false;
        m_dragX = p.x();
    } else if (m_selection.selecting()) {
        m_selection.move(m_axis.blockAtX(p.x()));
    } else {
        viewport()->setCursor(markUnder(p.x()) ? Qt::SizeHorCursor : Qt::ArrowCursor);
        return;
    }
    m_ruler->update();
    viewport()->update();
}

void CTonrikView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_draggingGrid = false;
        m_selection.release();
    } else if (event->button() == Qt::RightButton) {
        m_grid.endStretch();
        m_bpmShown = false;
    }
    m_ruler->update();
    viewport()->update();
}

bool CTonrikView::Play()
{
    RecordingAnalysis *analysis = m_doc.analysis();
    if (!analysis || analysis->sampleCount() == 0) {
        emit playStateChanged(false);
        return false;
    }
    const PcmFormat &format = analysis->blockFormat();
    const auto [start, end] =
            PlaybackFeed::rangeFor(m_selection.start(), m_selection.end(), analysis->sampleCount(),
                                   analysis->maxDelay(), m_axis.secondsPerBlock());
    RecordingPlayer::Request request;
    request.signalFile = TempBandFiles::filePath(m_doc.tempDir(), TempBandFiles::kSignalFile);
    request.blockLength = format.blockLength;
    request.sampleRate = format.sampleRate;
    request.bitsPerSample = format.bitsPerSample;
    request.sampleCount = analysis->sampleCount();
    request.start = start;
    request.end = end;
    request.looping = m_looping;
    request.volume = m_program.settings.GetVolume();
    const bool ok = m_player.play(request);
    updateOverview();
    emit playStateChanged(ok);
    viewport()->update();
    return ok;
}

void CTonrikView::StopPlaying()
{
    const bool was = m_player.playing();
    m_player.stop();
    viewport()->update();
    updateOverview();
    if (was)
        emit playStateChanged(false);
}

void CTonrikView::SetLooping(bool looping)
{
    m_looping = looping;
    m_player.setLooping(looping);
}

void CTonrikView::onPlayerEvent(RecordingPlayer::Event event)
{
    if (event == RecordingPlayer::Event::Ended)
        StopPlaying();
    else
        viewport()->update();
    updateOverview();
}

} // namespace corvane
