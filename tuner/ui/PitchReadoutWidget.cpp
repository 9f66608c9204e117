#include "PitchReadoutWidget.h"

#include <QAccessible>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace corvane::tuner {

namespace {

    QRect ToQRect(const PixelRect &r)
    {
        return QRect(r.left, r.top, r.width(), r.height());
    }

    // A font whose capitals stand `capHeight` pixels high, narrowed until `sample` (the widest
    // text the part shows) fits `width`. The sizes depend on the widget's size alone, so the
    // fonts are made once per size and Qt keeps no font engine per text drawn.
    QFont FittedFont(const QFont &base, int capHeight, QFont::Weight weight, const QString &sample,
                     int width)
    {
        QFont font = base;
        font.setWeight(weight);
        font.setPixelSize(std::max(1, int(std::lround(capHeight / 0.72))));
        const int wide = QFontMetrics(font).horizontalAdvance(sample);
        if (wide > width && width > 0)
            font.setPixelSize(std::max(1, font.pixelSize() * width / wide));
        return font;
    }

    QColor ZoneColor(ReadoutPicture::Zone zone, const QPalette &palette)
    {
        // Green and red that read on light and dark grounds alike; the words say it too.
        const bool dark = palette.color(QPalette::Window).lightness() < 128;
        switch (zone) {
        case ReadoutPicture::Zone::InTune:
            return dark ? QColor(90, 220, 110) : QColor(0, 128, 0);
        case ReadoutPicture::Zone::Flat:
        case ReadoutPicture::Zone::Sharp:
            break;
        }
        return dark ? QColor(255, 120, 100) : QColor(190, 30, 20);
    }

} // namespace

PitchReadoutWidget::PitchReadoutWidget(QWidget *parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Pitch readout"));
    setAccessibleDescription(QString::fromStdString(m_picture.spoken));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PitchReadoutWidget::setPicture(const ReadoutPicture &picture)
{
    if (picture.spoken == m_picture.spoken && picture.needle == m_picture.needle
        && picture.inTuneHalfWidth == m_picture.inTuneHalfWidth)
        return;
    m_picture = picture;
    const QString spoken = QString::fromStdString(m_picture.spoken);
    if (accessibleDescription() != spoken) {
        setAccessibleDescription(spoken);
        // Only a listening screen reader is told; without one Qt would keep an interface for
        // the event's sake.
        if (QAccessible::isActive()) {
            QAccessibleEvent event(this, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&event);
        }
    }
    update();
}

void PitchReadoutWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const ReadoutGeometry g = ReadoutGeometry::within({ 0, 0, width(), height() });
    m_noteFont = FittedFont(font(), g.noteHeight, QFont::DemiBold, QStringLiteral("G#4"),
                            g.note.width());
    m_textFont = FittedFont(font(), g.textHeight, QFont::Normal,
                            QStringLiteral("-50.0 cents  in tune"), g.cents.width());
    m_verdictFont = m_textFont;
    m_verdictFont.setWeight(QFont::Bold);
}

void PitchReadoutWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ReadoutGeometry g = ReadoutGeometry::within({ 0, 0, width(), height() });
    const QColor ink = palette().color(QPalette::WindowText);

    if (g.tall()) {
        // The scale: ±50 cents, ticks every 10, the in-tune zone shaded, the needle on top.
        const QRectF scale = QRectF(ToQRect(g.scale)).adjusted(4, 2, -4, -2);
        const double middle = scale.center().x();
        const double half = scale.width() / 2.0;
        QColor zone = ZoneColor(ReadoutPicture::Zone::InTune, palette());
        zone.setAlpha(70);
        painter.fillRect(QRectF(middle - half * m_picture.inTuneHalfWidth, scale.top(),
                                2.0 * half * m_picture.inTuneHalfWidth, scale.height()),
                         zone);
        painter.setPen(QPen(palette().color(QPalette::Mid), 1.0));
        painter.drawLine(QPointF(scale.left(), scale.bottom()),
                         QPointF(scale.right(), scale.bottom()));
        for (int tick = -5; tick <= 5; ++tick) {
            const double x = middle + half * tick / 5.0;
            const double length = tick == 0 ? scale.height() : scale.height() * 0.4;
            painter.drawLine(QPointF(x, scale.bottom()), QPointF(x, scale.bottom() - length));
        }
        if (m_picture.shown) {
            const double x = middle + half * m_picture.needle;
            painter.setPen(QPen(ZoneColor(m_picture.zone, palette()),
                                std::max(3.0, scale.height() / 8.0), Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(QPointF(x, scale.top()), QPointF(x, scale.bottom()));
        }
    }
    if (!m_picture.outOfRange.empty()) {
        // Across the note's place and the texts', as large as the texts: the words are longer
        // than any note name.
        painter.setPen(ink);
        painter.setFont(m_verdictFont);
        painter.drawText(QRect(ToQRect(g.note).topLeft(), ToQRect(g.hz).bottomRight())
                                 .united(ToQRect(g.cents)),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromStdString(m_picture.outOfRange));
    }
    if (!m_picture.shown)
        return;

    const QString note = QString::fromStdString(m_picture.note);
    painter.setPen(ink);
    painter.setFont(m_noteFont);
    painter.drawText(ToQRect(g.note), Qt::AlignLeft | Qt::AlignVCenter, note);

    const QString cents = QString::fromStdString(m_picture.cents);
    const QString verdict = QString::fromStdString(m_picture.verdict);
    painter.setFont(m_textFont);
    const QRect centsArea = ToQRect(g.cents);
    painter.drawText(centsArea, Qt::AlignLeft | Qt::AlignVCenter, cents + QStringLiteral("  "));
    const int verdictLeft = QFontMetrics(m_textFont).horizontalAdvance(cents + QStringLiteral("  "))
            + centsArea.left();
    painter.setFont(m_verdictFont);
    painter.setPen(ZoneColor(m_picture.zone, palette()));
    painter.drawText(centsArea.adjusted(verdictLeft - centsArea.left(), 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignVCenter, verdict);
    painter.setFont(m_textFont);
    painter.setPen(ink);
    painter.drawText(ToQRect(g.hz), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(m_picture.hz));
}

} // namespace corvane::tuner
