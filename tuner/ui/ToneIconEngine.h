#pragma once

#include <QIconEngine>

namespace corvane::tuner {

// The tone buttons' icons, drawn rather than loaded so they are sharp at any size and screen
// scale: a loudspeaker sending out sound waves while the degree's tone is on, and a silent one
// with a cross while it is off. The design follows the button's icon size: one wave at 16
// pixels, two at 32, three with an outlined cabinet at 48.
class ToneIconEngine final : public QIconEngine
{
public:
    ToneIconEngine(bool on, int designSize) noexcept;

    // A QIcon that owns a new engine.
    static QIcon Icon(bool on, int designSize);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QIconEngine *clone() const override;
    QString key() const override { return QStringLiteral("corvane-tone"); }

private:
    bool m_on;
    int m_designSize;
};

} // namespace corvane::tuner
