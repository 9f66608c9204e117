#include "OverviewStrip.h"

#include "TimeRuler.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace corvane {

OverviewStrip::OverviewStrip(QWidget *parent)
    : QWidget(parent)
{
    setFixedHeight(kHeight);
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(QStringLiteral("Overview of the recording"));
    updateDescription();
}

void OverviewStrip::setLevels(std::vector<float> levels, double secondsPerBlock)
{
    m_levels = std::move(levels);
    m_secondsPerBlock = secondsPerBlock;
    m_columns.clear();
    updateDescription();
    update();
}

void OverviewStrip::setVisibleBlocks(int32_t first, int32_t count)
{
    if (first == m_first && count == m_count)
        return;
    m_first = first;
    m_count = count;
    updateDescription();
    update();
}

void OverviewStrip::setPlayBlock(int32_t block)
{
    if (block == m_playBlock)
        return;
    m_playBlock = block;
    update();
}

int OverviewStrip::xOfBlock(int64_t block) const noexcept
{
    if (m_levels.empty())
        return 0;
    return static_cast<int>(block * width() / static_cast<int64_t>(m_levels.size()));
}

int32_t OverviewStrip::blockAtX(int x) const noexcept
{
    if (width() <= 0)
        return 0;
    const int64_t block = int64_t { std::clamp(x, 0, width()) } * blockCount() / width();
    return static_cast<int32_t>(std::min<int64_t>(block, std::max(blockCount() - 1, 0)));
}

QRect OverviewStrip::visibleRect() const
{
    const int left = xOfBlock(m_first);
    const int right = xOfBlock(std::min<int64_t>(int64_t { m_first } + m_count, blockCount()));
    return QRect(left, 0, std::max(right - left, 2), height());
}

void OverviewStrip::resizeEvent(QResizeEvent *)
{
    m_columns.clear();
}

void OverviewStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    painter.fillRect(rect(), pal.base());
    if (m_levels.empty())
        return;
    if (m_columns.size() != static_cast<std::size_t>(width())) {
        // Each column the loudest of the blocks it covers, or of the one block under it when
        // the recording is shorter than the strip is wide.
        const int64_t w = std::max(width(), 1);
        const auto n = static_cast<int64_t>(m_levels.size());
        m_columns.assign(static_cast<std::size_t>(w), 0.0f);
        for (int64_t c = 0; c < w; ++c) {
            const int64_t from = c * n / w;
            const int64_t to = std::max(from + 1, (c + 1) * n / w);
            for (int64_t i = from; i < to && i < n; ++i)
                m_columns[static_cast<std::size_t>(c)] =
                        std::max(m_columns[static_cast<std::size_t>(c)],
                                 m_levels[static_cast<std::size_t>(i)]);
        }
    }
    const int m = height() / 2;
    const int half = height() / 2 - 2;
    painter.setPen(pal.color(QPalette::Text));
    for (int x = 0; x < width(); ++x) {
        const int b = static_cast<int>(m_columns[static_cast<std::size_t>(x)] * half);
        painter.drawLine(x, m - b, x, m + b);
    }
    QColor shade = pal.color(QPalette::Highlight);
    shade.setAlpha(80);
    const QRect shown = visibleRect();
    painter.fillRect(shown, shade);
    painter.setPen(QPen(pal.color(QPalette::Highlight), 2));
    painter.drawRect(shown.adjusted(1, 1, -1, -1));
    if (m_playBlock >= 0) {
        painter.setPen(QPen(Qt::blue, 2));
        const int x = xOfBlock(m_playBlock);
        painter.drawLine(x, 0, x, height());
    }
}

void OverviewStrip::centerOn(int x)
{
    const int32_t first = std::max(blockAtX(x) - m_count / 2, 0);
    emit moveRequested(first);
}

void OverviewStrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        centerOn(event->position().toPoint().x());
}

void OverviewStrip::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        centerOn(event->position().toPoint().x());
}

void OverviewStrip::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Home)
        emit moveRequested(0);
    else if (event->key() == Qt::Key_End)
        emit moveRequested(std::max(blockCount() - m_count, 0));
    else
        QWidget::keyPressEvent(event);
}

void OverviewStrip::updateDescription()
{
    if (m_levels.empty()) {
        setAccessibleDescription(QStringLiteral("No recording"));
        return;
    }
    const double spb = m_secondsPerBlock;
    const int64_t end = std::min<int64_t>(int64_t { m_first } + m_count, blockCount());
    setAccessibleDescription(QString::fromStdString(TimeRuler::spanText(
            m_first * spb, static_cast<double>(end) * spb, blockCount() * spb)));
}

} // namespace corvane
