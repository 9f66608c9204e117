#include "DlgTemp.h"

#include "CTCDefs.h"
#include "FileChooser.h"
#include "MessageService.h"
#include "ScalaScale.h"
#include "Tuning.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace corvane::dialogs {

namespace {

    constexpr int kNameColumnWidth = 140;
    constexpr int kDegreeColumnWidth = 30;

    QString Text(std::string_view text)
    {
        return QString::fromUtf8(text.data(), qsizetype(text.size()));
    }

} // namespace

DlgTemp::DlgTemp(CTCDefs &settings, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
{
    setWindowTitle(QStringLiteral("Temperaments"));

    // Every widget is a child of the dialog through the layouts.
    auto *fields = new QFormLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setReadOnly(true);
    m_values = new QLineEdit(this);
    m_values->setObjectName(QStringLiteral("values"));
    m_values->setReadOnly(true);
    fields->addRow(QStringLiteral("Temperament:"), m_name);
    fields->addRow(QStringLiteral("Values:"), m_values);

    m_list = new QTreeWidget(this);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setColumnCount(1 + kDegreeCount);
    QStringList headers { QStringLiteral("Temperaments") };
    for (int degree = 0; degree < kDegreeCount; ++degree)
        headers << Text(DegreeSyllable(degree));
    m_list->setHeaderLabels(headers);
    m_list->header()->setStretchLastSection(false);
    // Wide enough for every name ("1/11 comma Meantone" is cut at the classic width).
    int nameWidth = kNameColumnWidth;
    for (const Temperament &temperament : TemperamentCatalog())
        nameWidth = std::max(nameWidth,
                             m_list->fontMetrics().horizontalAdvance(Text(temperament.name)) + 16);
    m_list->setColumnWidth(0, nameWidth);
    for (int column = 1; column <= kDegreeCount; ++column) {
        m_list->setColumnWidth(column, kDegreeColumnWidth);
        m_list->headerItem()->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (const Temperament &temperament : TemperamentCatalog()) {
        auto *item = new QTreeWidgetItem(m_list); // owned by the list
        item->setText(0, Text(temperament.name));
        for (int degree = 0; degree < kDegreeCount; ++degree) {
            item->setText(1 + degree,
                          QString::number(WholeCents(temperament.cents[std::size_t(degree)])));
            item->setTextAlignment(1 + degree, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    const int listWidth = nameWidth + kDegreeCount * kDegreeColumnWidth;
    // The values line is whole for every row of the catalog.
    int valuesWidth = 0;
    for (const Temperament &temperament : TemperamentCatalog())
        valuesWidth = std::max(valuesWidth,
                               m_values->fontMetrics().horizontalAdvance(
                                       QString::fromStdString(TemperamentLine(temperament.cents))));
    m_values->setMinimumWidth(valuesWidth + 16);
    m_list->setMinimumWidth(listWidth + 2 * m_list->frameWidth() + 20);
    m_list->setMinimumHeight(300);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_scala =
            buttons->addButton(QStringLiteral("&Load Scala File..."), QDialogButtonBox::ActionRole);
    m_scala->setToolTip(QStringLiteral("A twelve-note scale in the Scala format (.scl)"));
    connect(m_scala, &QPushButton::clicked, this, &DlgTemp::LoadScala);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_list);
    layout->addWidget(buttons);

    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { Choose(item); });
    connect(buttons, &QDialogButtonBox::accepted, this, &DlgTemp::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DlgTemp::reject);

    ShowWorking(settings.GetTemperamentName(), settings.GetPitchAdjustCents());
}

void DlgTemp::Choose(QTreeWidgetItem *item)
{
    const int row = m_list->indexOfTopLevelItem(item);
    if (row < 0 || row >= kTemperamentCount)
        return;
    m_row = row;
    m_loaded.reset();
    const Temperament &chosen = TemperamentCatalog()[std::size_t(row)];
    ShowWorking(std::string(chosen.name), chosen.cents);
}

void DlgTemp::ShowWorking(const std::string &name, const DegreeCents &cents)
{
    m_name->setText(QString::fromStdString(name));
    m_values->setText(QString::fromStdString(TemperamentLine(cents)));
    m_values->setCursorPosition(0);
}

void DlgTemp::LoadScala()
{
    const QString path =
            fileChooser().openFileName(this, QStringLiteral("Load Scala File"),
                                       QStringLiteral("Scala scales (*.scl);;All files (*)"));
    if (path.isEmpty())
        return;
    // A scale is a few lines; anything the size of a recording is not one.
    constexpr qint64 kMaxScalaBytes = 1 << 20;
    QFile file(path);
    std::string why;
    std::optional<DegreeCents> offsets;
    std::string description;
    if (!file.open(QIODevice::ReadOnly))
        why = file.errorString().toStdString();
    else if (file.size() > kMaxScalaBytes)
        why = "too large for a Scala scale";
    else {
        const QByteArray text = file.readAll();
        const auto parsed = ScalaScale::parse(std::string_view(text.constData(), text.size()));
        if (const auto *error = std::get_if<std::string>(&parsed)) {
            why = *error;
        } else {
            const ScalaScale &scale = std::get<ScalaScale>(parsed);
            const auto fitted = scale.degreeOffsets();
            if (const auto *error = std::get_if<std::string>(&fitted))
                why = *error;
            else
                offsets = std::get<DegreeCents>(fitted);
            description = scale.description;
        }
    }
    if (!offsets) {
        widgets::messages().error(this,
                                  QStringLiteral("%1: %2").arg(path, QString::fromStdString(why)));
        return;
    }
    m_row = -1;
    m_loadedName =
            description.empty() ? QFileInfo(path).completeBaseName().toStdString() : description;
    m_loaded = offsets;
    ShowWorking(m_loadedName, *offsets);
}

void DlgTemp::accept()
{
    // The temperament the dialog opened with is already stored as it is.
    if (m_row >= 0) {
        SelectTemperament(m_settings, m_row);
    } else if (m_loaded) {
        m_settings.SetTemperamentName(m_loadedName);
        for (int degree = 0; degree < kDegreeCount; ++degree)
            SetDegreeAdjustment(m_settings, degree, (*m_loaded)[std::size_t(degree)], false);
    }
    QDialog::accept();
}

} // namespace corvane::dialogs
