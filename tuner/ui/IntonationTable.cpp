#include "IntonationTable.h"

#include "IntonationTableModel.h"

#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

namespace corvane::tuner {

namespace {

    constexpr int kColumns = 5;

} // namespace

IntonationTable::IntonationTable(QWidget *parent)
    : QWidget(parent)
    , m_table(new QTableWidget(12, kColumns, this))
    , m_reset(new QPushButton(QStringLiteral("Reset"), parent ? parent : this))
{
    m_table->setObjectName(QStringLiteral("intonationTable"));
    // Short headings, each explained by its tooltip: the panel is narrow.
    m_table->setHorizontalHeaderLabels({ QString(), QStringLiteral("n"), QStringLiteral("Mean"),
                                         QStringLiteral("SD"), QStringLiteral("In tune") });
    m_table->horizontalHeaderItem(1)->setToolTip(
            QStringLiteral("Readings since the tuner started or was reset"));
    m_table->horizontalHeaderItem(2)->setToolTip(
            QStringLiteral("Mean deviation in cents, positive = sharp"));
    m_table->horizontalHeaderItem(3)->setToolTip(
            QStringLiteral("Spread: the standard deviation of the readings in cents"));
    m_table->horizontalHeaderItem(4)->setToolTip(
            QStringLiteral("Share of the readings within the in-tune zone"));
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setFocusPolicy(Qt::NoFocus);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A size smaller than the panel's captions, as dense tables take, so that the five columns
    // fit beside the Reset button at the window's smallest width.
    QFont small = m_table->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_table->setFont(small);
    m_table->horizontalHeader()->setFont(small);
    // Tight rows, so that as many degrees as the panel allows show without scrolling.
    const int rowHeight = m_table->fontMetrics().height() + 2;
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->horizontalHeader()->setMinimumSectionSize(12);
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (int r = 0; r < 12; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            auto *item = new QTableWidgetItem; // owned by the table
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(r, c, item);
        }
    }

    m_reset->setObjectName(QStringLiteral("intonationReset"));
    m_reset->setAutoDefault(false);
    m_reset->setToolTip(QStringLiteral("Forget how in tune each note has been played"));
    connect(m_reset, &QPushButton::clicked, this, &IntonationTable::resetRequested);
}

void IntonationTable::showFigures(const PinwheelBoard &board)
{
    const std::array<IntonationTableRow, 12> rows = IntonationTableRows(board);
    for (int r = 0; r < 12; ++r) {
        const IntonationTableRow &row = rows[std::size_t(r)];
        const std::string *texts[] = { &row.degree, &row.count, &row.mean, &row.spread,
                                       &row.inTune };
        const QString tip =
                QString::fromStdString(row.worst ? row.tip + " (the furthest off)" : row.tip);
        for (int c = 0; c < kColumns; ++c) {
            QTableWidgetItem *item = m_table->item(r, c);
            const QString text = QString::fromStdString(*texts[c]);
            if (item->text() != text)
                item->setText(text);
            if (item->toolTip() != tip)
                item->setToolTip(tip);
            if (item->font().bold() != row.worst) {
                QFont font = item->font();
                font.setBold(row.worst);
                item->setFont(font);
            }
        }
    }
}

void IntonationTable::setVisible(bool visible)
{
    QWidget::setVisible(visible);
    m_reset->setVisible(visible);
}

void IntonationTable::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int tableWidth = width();
    m_table->setGeometry(0, 0, tableWidth, height());
    // The columns share what the scroll bar leaves, each by what its widest text needs.
    static constexpr double kShares[kColumns] = { 0.18, 0.14, 0.24, 0.17, 0.27 };
    const int inside = tableWidth - 2 * m_table->frameWidth()
            - m_table->verticalScrollBar()->sizeHint().width();
    int used = 0;
    for (int c = 0; c < kColumns; ++c) {
        const int w = c + 1 < kColumns ? int(inside * kShares[c]) : inside - used;
        m_table->setColumnWidth(c, std::max(w, 12));
        used += w;
    }
}

} // namespace corvane::tuner
