#pragma once

#include <QWidget>

#include <functional>

namespace corvane {

// The time ruler under the view's panes. It stays in place while the panes scroll up and down;
// what it draws comes from its owner (AnalysisPicture::renderRuler with the view's axis), so
// that screen and export share one drawing. User-interface thread.
class RulerStrip : public QWidget
{
    Q_OBJECT
public:
    using Paint = std::function<void(QPainter &, const QRect &)>;

    RulerStrip(Paint paint, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Paint m_paint;
};

} // namespace corvane
