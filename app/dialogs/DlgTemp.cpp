#include "DlgTemp.h"

#include "CPitch.h"
#include "CTCDefs.h"
#include "FileChooser.h"
#include "KeyContext.h"
#include "MessageService.h"
#include "ScalaTuning.h"
#include "Tuning.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
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

DlgTemp::DlgTemp(CTCDefs &settings, QWidget *parent, CPitch *noteTable)
    : QDialog(parent)
    , m_settings(settings)
    , m_noteTable(noteTable)
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
    m_mapNote = new QLabel(this);
    m_mapNote->setObjectName(QStringLiteral("mapNote"));
    m_mapNote->setWordWrap(true);
    m_mapNote->hide();
    fields->addRow(m_mapNote);

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
    m_scala = buttons->addButton(QStringLiteral("&Import Scala..."), QDialogButtonBox::ActionRole);
    m_scala->setToolTip(QStringLiteral("A twelve-note scale in the Scala format (.scl), with the "
                                       "keyboard map (.kbm) of the same name beside it"));
    connect(m_scala, &QPushButton::clicked, this, &DlgTemp::ImportScala);
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
    m_loadedReference.reset();
    m_mapNote->hide();
    const Temperament &chosen = TemperamentCatalog()[std::size_t(row)];
    ShowWorking(std::string(chosen.name), chosen.cents);
}

void DlgTemp::ShowWorking(const std::string &name, const DegreeCents &cents)
{
    m_name->setText(QString::fromStdString(name));
    m_values->setText(QString::fromStdString(TemperamentLine(cents)));
    m_values->setCursorPosition(0);
}

void DlgTemp::ImportScala()
{
    const QString path =
            fileChooser().openFileName(this, QStringLiteral("Import Scala"),
                                       QStringLiteral("Scala scales (*.scl);;All files (*)"));
    if (path.isEmpty())
        return;
    const QFileInfo scaleFile(path);
    const QString mapPath = scaleFile.dir().filePath(scaleFile.completeBaseName() + ".kbm");
    const bool mapped = QFileInfo(mapPath).isFile();
    // The degrees count from the tonic of the sounding key, as the wheels and the drones do.
    const KeyContext keys(m_settings);
    const auto read =
            ScalaTuning::read(path.toStdString(), mapped ? mapPath.toStdString() : std::string(),
                              keys.DegreePitchClass(0));
    std::string why;
    if (const auto *error = std::get_if<std::string>(&read))
        why = *error;
    else if (const auto &reference = std::get<ScalaTuning>(read).referenceHz;
             reference && !CPitch::IsPlausibleReference(*reference))
        why = mapPath.toStdString() + ": its reference note would put A4 at "
                + QString::number(*reference, 'f', 3).toStdString()
                + " Hz, which is no reference the program takes";
    if (!why.empty()) {
        widgets::messages().error(this, QString::fromStdString(why));
        return;
    }
    const ScalaTuning &tuning = std::get<ScalaTuning>(read);
    m_row = -1;
    m_loadedName = tuning.name.empty() ? scaleFile.completeBaseName().toStdString() : tuning.name;
    m_loaded = tuning.offsets;
    m_loadedReference = tuning.referenceHz;
    ShowWorking(m_loadedName, tuning.offsets);
    if (!mapped) {
        m_mapNote->hide();
        return;
    }
    QString note = QStringLiteral("Keyboard map %1: ").arg(QFileInfo(mapPath).fileName());
    const QString hz = QString::number(*tuning.referenceHz, 'f', 3);
    note += m_noteTable ? QStringLiteral("OK sets the reference to %1 Hz.").arg(hz)
                        : QStringLiteral("its reference would be %1 Hz; set it in the reference "
                                         "dialog.")
                                  .arg(hz);
    m_mapNote->setText(note);
    m_mapNote->show();
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
        if (m_loadedReference && m_noteTable)
            ChangeReference(*m_noteTable, m_settings, *m_loadedReference);
    }
    QDialog::accept();
}

} // namespace corvane::dialogs
