#pragma once

#include "IntonationSummary.h"

#include <QDialog>

class QLabel;
class QTableWidget;

namespace corvane {

// "Intonation Summary": how in tune each degree, then each note with its octave, was played in
// the recording or its selection: count of readings, mean and spread of the deviation in cents
// (positive = sharp) and the share in the in-tune zone, the rows `tonrik --analyze --summary`
// prints. Shows a summary made elsewhere; UI thread.
class DlgIntonationSummary : public QDialog
{
    Q_OBJECT

public:
    // `scope`: what the figures cover, said above the table ("Whole recording",
    // "Selection 1.20 s to 3.40 s").
    DlgIntonationSummary(const IntonationSummary &summary, const QString &scope,
                         QWidget *parent = nullptr);

    QTableWidget *table() const noexcept { return m_table; }
    QLabel *scopeLabel() const noexcept { return m_scope; }

private:
    // Children of the dialog, which owns them through its layout.
    QLabel *m_scope = nullptr;
    QTableWidget *m_table = nullptr;
};

} // namespace corvane
