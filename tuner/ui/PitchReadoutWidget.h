#pragma once

#include "ReadoutPicture.h"

#include <QFont>
#include <QWidget>

namespace corvane::tuner {

// The tuner's readout: the note as written, its deviation in cents with the verdict in words,
// its frequency and, when the widget is tall enough, a cents scale with the in-tune zone and a
// needle. Every part grows with the widget (ReadoutGeometry), so the window can show it across
// the band under the panel or, in the large view, in place of the wheels, to be read from a music
// stand. Colors come from the palette; the zone is told in words as well.
//
// Screen readers hear "Pitch readout" and the picture's spoken text. User-interface thread.
class PitchReadoutWidget : public QWidget
{
    Q_OBJECT

public:
    explicit PitchReadoutWidget(QWidget *parent = nullptr);

    // Repaints only when the picture changed.
    void setPicture(const ReadoutPicture &picture);
    const ReadoutPicture &picture() const noexcept { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    ReadoutPicture m_picture;
    QFont m_noteFont;
    QFont m_textFont;
    QFont m_verdictFont;
};

} // namespace corvane::tuner
