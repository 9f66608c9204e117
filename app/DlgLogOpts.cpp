#include "DlgLogOpts.h"

#include "CTCDefs.h"
#include "LogOptions.h"
#include "MessageService.h"
#include "PracticeLogFile.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

namespace corvane {

namespace {

    constexpr LogListing kListings[4] = { LogListing::Today, LogListing::SevenDay,
                                          LogListing::Complete, LogListing::None };

} // namespace

DlgLogOpts::DlgLogOpts(CTCDefs &settings, std::filesystem::path logFile, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_logFile(std::move(logFile))
    , m_options(WithListing(settings.GetLogOptions(), ListingOf(settings.GetLogOptions())))
{
    setWindowTitle(QStringLiteral("Select Log Options"));

    auto *summaries = new QGroupBox(QStringLiteral("Summaries"));
    auto *summaryLayout = new QVBoxLayout(summaries);
    const auto makeSummary = [&](const char *text, std::uint32_t bit) {
        auto *box = new QCheckBox(QString::fromLatin1(text));
        box->setChecked(m_options & bit);
        connect(box, &QCheckBox::toggled, this,
                [this, bit](bool on) { m_options = on ? m_options | bit : m_options & ~bit; });
        summaryLayout->addWidget(box);
        return box;
    };
    m_today = makeSummary("Include Today's Summary", logoption::kTodaySummary);
    m_sevenDay = makeSummary("Include Seven Day Summary", logoption::kSevenDaySummary);
    m_complete = makeSummary("Include Complete Log Summary", logoption::kCompleteSummary);
    m_charts = makeSummary("Include Charts (Time and Intonation)", logoption::kCharts);

    auto *listings = new QGroupBox(QStringLiteral("Runs"));
    auto *listingLayout = new QVBoxLayout(listings);
    auto *group = new QButtonGroup(this); // owned by the dialog
    const char *texts[4] = { "Today's Log", "Seven Day Log", "Complete Log", "None" };
    const LogListing current = ListingOf(m_options);
    for (int i = 0; i < 4; ++i) {
        m_listings[i] = new QRadioButton(QString::fromLatin1(texts[i]));
        m_listings[i]->setChecked(kListings[i] == current);
        group->addButton(m_listings[i], i);
        listingLayout->addWidget(m_listings[i]);
    }
    connect(group, &QButtonGroup::idClicked, this,
            [this](int id) { m_options = WithListing(m_options, kListings[id]); });

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    m_clear = buttons->addButton(QStringLiteral("Clear Log"), QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &DlgLogOpts::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DlgLogOpts::reject);
    connect(m_clear, &QAbstractButton::clicked, this, &DlgLogOpts::ClearLog);

    auto *groups = new QHBoxLayout;
    groups->addWidget(summaries);
    groups->addWidget(listings);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(buttons);
}

void DlgLogOpts::accept()
{
    m_settings.SetLogOptions(m_options);
    QDialog::accept();
}

void DlgLogOpts::ClearLog()
{
    if (widgets::messages().warningOkCancel(this, QString::fromLatin1(kClearQuestion)))
        ClearPracticeLog(m_logFile); // a log that is not there is already clear
}

} // namespace corvane
