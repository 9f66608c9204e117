#include "DlgIntonationSummary.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace corvane {

namespace {

    QString SignedCents(double cents)
    {
        // A mean that rounds to zero is "0.0", never "-0.0".
        if (std::abs(cents) < 0.05)
            return QStringLiteral("0.0");
        return (cents > 0 ? QStringLiteral("+") : QString()) + QString::number(cents, 'f', 1);
    }

} // namespace

DlgIntonationSummary::DlgIntonationSummary(const IntonationSummary &summary, const QString &scope,
                                           QWidget *parent)
    : QDialog(parent)
    , m_scope(new QLabel(scope))
    , m_table(new QTableWidget)
{
    setWindowTitle(QStringLiteral("Intonation Summary"));
    const std::vector<IntonationSummary::Row> rows = summary.rows();
    m_table->setColumnCount(5);
    m_table->setRowCount(int(rows.size()));
    m_table->setHorizontalHeaderLabels(
            { QStringLiteral("Note"), QStringLiteral("Count"), QStringLiteral("Mean (cents)"),
              QStringLiteral("Spread (cents)"), QStringLiteral("In tune") });
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < int(rows.size()); ++r) {
        const IntonationSummary::Row &row = rows[std::size_t(r)];
        // Degrees ("F#") and notes with their octave ("F#4") read apart by their names; the
        // degrees come first, as in the CSV.
        const QString texts[] = {
            QString::fromStdString(row.name), QString::number(row.figures.count),
            SignedCents(row.figures.meanCents), QString::number(row.figures.spreadCents(), 'f', 1),
            QString::number(std::lround(100.0 * row.figures.inTuneShare())) + QStringLiteral("%")
        };
        for (int c = 0; c < 5; ++c) {
            auto *item = new QTableWidgetItem(texts[c]); // owned by the table
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            if (row.scope == "degree" && c == 0)
                item->setToolTip(QStringLiteral("Every octave of %1").arg(texts[0]));
            m_table->setItem(r, c, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);

    auto *empty = new QLabel(QStringLiteral("No held note was heard here."));
    empty->setVisible(rows.empty());
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_scope);
    layout->addWidget(empty);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(440, 420);
}

} // namespace corvane
