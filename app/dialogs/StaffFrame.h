#pragma once

#include "KeyTables.h"

#include <QFrame>
#include <QString>

#include <optional>

namespace corvane::dialogs {

// What one staff frame shows: a clef, perhaps a note head with its sign, perhaps an octave label.
struct StaffPicture
{
    struct Note
    {
        int step = 0; // from the middle line, up
        Accidental accidental = Accidental::None;
        friend bool operator==(const Note &, const Note &) = default;
    };
    int clef = 0;
    std::optional<Note> note;
    QString label;
    bool labelAbove = true;
    friend bool operator==(const StaffPicture &, const StaffPicture &) = default;
};

// A sunken frame with a five-line staff (8 pixels between lines) that paints a StaffPicture. The
// owning dialog decides the picture; the frame only draws it. UI thread only.
class StaffFrame : public QFrame
{
    Q_OBJECT

public:
    explicit StaffFrame(QWidget *parent = nullptr);

    void setPicture(const StaffPicture &picture);
    const StaffPicture &picture() const noexcept { return m_picture; }

    QSize sizeHint() const override { return { 130, 110 }; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    StaffPicture m_picture;
};

} // namespace corvane::dialogs
