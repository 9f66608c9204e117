#include "StaffFrame.h"

#include "StaffPainter.h"

#include <QPainter>

namespace corvane::dialogs {

StaffFrame::StaffFrame(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette paper = palette();
    paper.setColor(QPalette::Window, Qt::white);
    setPalette(paper);
    setMinimumSize(sizeHint());
}

void StaffFrame::setPicture(const StaffPicture &picture)
{
    if (picture == m_picture)
        return;
    m_picture = picture;
    update();
}

void StaffFrame::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRectF area = QRectF(contentsRect()).adjusted(6, 0, -6, 0);
    StaffPainter staff(painter, area);
    staff.drawLines();
    const double musicX = staff.drawClef(m_picture.clef);
    const double noteX = (musicX + area.right()) / 2.0 + 4.0;
    if (m_picture.note) {
        staff.drawNoteHead(noteX, m_picture.note->step);
        staff.drawAccidental(noteX, m_picture.note->step, m_picture.note->accidental);
    }
    if (!m_picture.label.isEmpty())
        staff.drawLabel(noteX, m_picture.label, m_picture.labelAbove,
                        m_picture.note ? m_picture.note->step : 0);
}

} // namespace corvane::dialogs
