#pragma once

#include "TemperamentCatalog.h"

#include <QDialog>

#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvane {
class CPitch;
class CTCDefs;
}

namespace corvane::dialogs {

// "Temperaments": the catalog as a list (name, then the twelve degrees' offsets in whole
// cents), and above it the working temperament's name and values. It opens with the stored
// temperament; double-clicking a row makes that row the working one, and "Import Scala..." makes
// a twelve-note Scala scale (".scl") the working one, named by its description. A keyboard map
// of the same name beside the scale ("werck3.kbm" beside "werck3.scl") is applied with it: the
// scale's 1/1 goes on the map's middle note (counted in the sounding key of the settings), and
// the map's reference note and frequency set the reference on OK when the dialog was given the
// program's note table (else the dialog says that the reference stays). OK stores the working
// temperament (an imported one by its name and twelve offsets in the settings record, kept in
// "tonrik.def" as a catalog row is); Cancel stores nothing.
//
// UI thread only; `settings` (and `noteTable`, when given) must outlive the dialog.
class DlgTemp : public QDialog
{
    Q_OBJECT

public:
    explicit DlgTemp(CTCDefs &settings, QWidget *parent = nullptr, CPitch *noteTable = nullptr);

    QTreeWidget *list() const noexcept { return m_list; }
    QLineEdit *nameField() const noexcept { return m_name; }
    QLineEdit *valuesField() const noexcept { return m_values; }
    QPushButton *scalaButton() const noexcept { return m_scala; }
    // What the keyboard map of the imported scale does; hidden without one.
    QLabel *mapNote() const noexcept { return m_mapNote; }
    // The catalog row of the working temperament; -1 while it is the one the dialog opened
    // with.
    int chosenRow() const noexcept { return m_row; }

    void accept() override;
    // Asks for a Scala file and makes its scale (with the keyboard map beside it) the working
    // temperament; a file that cannot be read, whose scale does not fit the twelve degrees or
    // whose map cannot be applied is said so in one box, naming the file, the line where there
    // is one and the reason, and the working temperament stays.
    void ImportScala();

private:
    void Choose(QTreeWidgetItem *item);
    void ShowWorking(const std::string &name, const DegreeCents &cents);

    CTCDefs &m_settings;
    int m_row = -1;
    // A Scala scale loaded as the working temperament, and its name.
    std::optional<DegreeCents> m_loaded;
    std::string m_loadedName;
    std::optional<double> m_loadedReference; // from its keyboard map, Hz of A4
    CPitch *m_noteTable;
    // Children of the dialog.
    QTreeWidget *m_list = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_values = nullptr;
    QPushButton *m_scala = nullptr;
    QLabel *m_mapNote = nullptr;
};

} // namespace corvane::dialogs
