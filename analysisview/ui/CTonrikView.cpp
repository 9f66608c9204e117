#include "CTonrikView.h"

#include "AnalysisPicture.h"
#include "BlockLength.h"
#include "CTonrikDoc.h"
#include "PaneContext.h"
#include "ProgramState.h"
#include "TempBandFiles.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace corvane {

namespace {

    constexpr int kVerticalLine = 6;

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
    connect(&m_doc, &CTonrikDoc::contentsChanged, this, [this] {
        for (EnvelopeCache &cache : m_envelopes)
            cache.clear();
        StopPlaying();
        ResetView();
        OnUpdate();
    });
    updateTimeScale();
    UpdateScrollBars();
}

CTonrikView::~CTonrikView()
{
    // Joins the playback worker: no player event arrives after this.
    m_player.stop();
}

void CTonrikView::setViewPanes(uint32_t bits)
{
    m_layout = PaneLayout(bits);
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
    m_grid.keepDrawable(m_axis.secondsPerPixel());
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

void CTonrikView::renderTo(QPainter &painter, int width)
{
    AnalysisPicture::Overlay overlay;
    overlay.grid = &m_grid;
    overlay.playing = m_player.playing();
    overlay.playBlock = m_player.position();
    overlay.bpmShown = m_bpmShown;
    overlay.bpmRect = m_bpmRect;
    overlay.bpmText = QString::fromStdString(m_grid.bpmText());
    AnalysisPicture::render(painter, m_layout, context(width - 1), m_verticalOffset, overlay);
}

QImage CTonrikView::renderImage(int width)
{
    const int w = width > 0 ? width : viewport()->width();
    QImage image(w, std::max(m_layout.totalHeight(), 1), QImage::Format_RGB32);
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

void CTonrikView::paintEvent(QPaintEvent *)
{
    updateTimeScale();
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().window());
    renderTo(painter, viewport()->width());
}

void CTonrikView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateTimeScale();
    UpdateScrollBars();
}

void CTonrikView::scrollContentsBy(int, int)
{
    m_axis.scrollTo(horizontalScrollBar()->value());
    m_verticalOffset = verticalScrollBar()->value();
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
    emit playStateChanged(ok);
    viewport()->update();
    return ok;
}

void CTonrikView::StopPlaying()
{
    const bool was = m_player.playing();
    m_player.stop();
    viewport()->update();
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
}

} // namespace corvane
