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
    // The Reset button is a child of `parent` (the tuner window places it at the end of the
    // readout's row), shown and hidden with the table.
    explicit IntonationTable(QWidget *parent = nullptr);
    void setVisible(bool visible) override;

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
    QTableWidget *m_table = nullptr; // a child of this widget
    QPushButton *m_reset = nullptr;  // a child of the parent, or of this widget without one
};

} // namespace corvane::tuner
