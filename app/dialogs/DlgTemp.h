#pragma once

#include "TemperamentCatalog.h"

#include <QDialog>

#include <string>

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvane {
class CTCDefs;
}

namespace corvane::dialogs {

// "Temperaments": the catalog as a list (name, then the twelve degrees' offsets in whole
// cents), and above it the working temperament's name and values. It opens with the stored
// temperament; double-clicking a row makes that row the working one. OK stores the working
// temperament; Cancel stores nothing.
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
    // The catalog row of the working temperament; -1 while it is the one the dialog opened
    // with.
    int chosenRow() const noexcept { return m_row; }

    void accept() override;

private:
    void Choose(QTreeWidgetItem *item);
    void ShowWorking(const std::string &name, const DegreeCents &cents);

    CTCDefs &m_settings;
    int m_row = -1;
    // Children of the dialog.
    QTreeWidget *m_list = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_values = nullptr;
};

} // namespace corvane::dialogs
