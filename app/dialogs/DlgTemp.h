#pragma once

#include "TemperamentCatalog.h"

#include <QDialog>

#include <optional>
#include <string>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvane {
class CTCDefs;
}

namespace corvane::dialogs {

// "Temperaments": the catalog as a list (name, then the twelve degrees' offsets in whole
// cents), and above it the working temperament's name and values. It opens with the stored
// temperament; double-clicking a row makes that row the working one, and "Load Scala File..."
// makes a twelve-note Scala scale (".scl") the working one, named by its description. OK stores
// the working temperament; Cancel stores nothing.
//
// UI thread only; `settings` must outlive the dialog.
class DlgTemp : public QDialog
{
    Q_OBJECT

public:
    explicit DlgTemp(CTCDefs &settings, QWidget *parent = nullptr);

    QTreeWidget *list() const noexcept { return m_list; }
    QLineEdit *nameField() const noexcept { return m_name; }
    QLineEdit *valuesField() const noexcept { return m_values; }
    QPushButton *scalaButton() const noexcept { return m_scala; }
    // The catalog row of the working temperament; -1 while it is the one the dialog opened
    // with.
    int chosenRow() const noexcept { return m_row; }

    void accept() override;
    // Asks for a Scala file and makes its scale the working temperament; a file that cannot be
    // read or whose scale does not fit the twelve degrees is said so in one box, naming the file
    // and the reason, and the working temperament stays.
    void LoadScala();

private:
    void Choose(QTreeWidgetItem *item);
    void ShowWorking(const std::string &name, const DegreeCents &cents);

    CTCDefs &m_settings;
    int m_row = -1;
    // A Scala scale loaded as the working temperament, and its name.
    std::optional<DegreeCents> m_loaded;
    std::string m_loadedName;
    // Children of the dialog.
    QTreeWidget *m_list = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_values = nullptr;
    QPushButton *m_scala = nullptr;
};

} // namespace corvane::dialogs
