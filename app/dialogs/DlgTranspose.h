#pragma once

#include <QDialog>

class QButtonGroup;
class QLabel;

namespace corvane {
class KeyContext;
}

namespace corvane::widgets {
class UpDownControl;
}

namespace corvane::dialogs {

class StaffFrame;

// "Transposition": the key in which a written C sounds (arrows through Cb..C#, a step beyond
// refused), the octave between written and sounding pitch, the typical instruments of that
// choice, and two staves: the written C and the note it sounds as. OK sets the transposition;
// Cancel changes nothing.
//
// UI thread only; `keys` must outlive the dialog.
class DlgTranspose : public QDialog
{
    Q_OBJECT

public:
    explicit DlgTranspose(KeyContext &keys, QWidget *parent = nullptr);

    widgets::UpDownControl *keyArrows() const noexcept { return m_keyArrows; }
    QButtonGroup *octaves() const noexcept { return m_octaves; }
    QLabel *text() const noexcept { return m_text; }
    StaffFrame *writtenFrame() const noexcept { return m_written; }
    StaffFrame *soundsFrame() const noexcept { return m_sounds; }

    void accept() override;

private:
    void Show();
    int SelectedOctave() const;

    KeyContext &m_keys;
    // Children of the dialog.
    widgets::UpDownControl *m_keyArrows = nullptr;
    QButtonGroup *m_octaves = nullptr;
    QLabel *m_text = nullptr;
    StaffFrame *m_written = nullptr;
    StaffFrame *m_sounds = nullptr;
};

} // namespace corvane::dialogs
