#pragma once

#include <QWidget>

class QPushButton;
class QTableWidget;

namespace corvane::tuner {

class PinwheelBoard;

// The table of the tuner's expanded panel: each degree as written in the key, how often it was
// heard, the mean and spread of its deviation in cents and its share in the in-tune zone, with a
// "Reset" button beside it. It shows what IntonationTableRows decides; the worst degree is bold
// and says so in its tooltip, never by color alone. User-interface thread only.
class IntonationTable : public QWidget
{
    Q_OBJECT

public:
    explicit IntonationTable(QWidget *parent = nullptr);

    // Shows the board's figures now; cheap enough for every display update.
    void showFigures(const PinwheelBoard &board);

    QTableWidget *table() const noexcept { return m_table; }
    QPushButton *resetButton() const noexcept { return m_reset; }

signals:
    // The user pressed "Reset": the owner forgets the figures and shows them again.
    void resetRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // Children of this widget, which owns and deletes them.
    QTableWidget *m_table = nullptr;
    QPushButton *m_reset = nullptr;
};

} // namespace corvane::tuner
