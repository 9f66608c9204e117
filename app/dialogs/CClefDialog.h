#pragma once

#include "CTCDefs.h"

#include <QDialog>

#include <filesystem>

class QAbstractButton;
class QButtonGroup;

namespace corvane {
class KeyContext;
}

namespace corvane::dialogs {

// "Select Clef": four picture buttons, treble, alto, tenor and bass, the current clef checked.
// OK sets the clef and writes the defaults file at once (a failure to write is said in a box;
// the clef is set all the same). Cancel changes nothing.
//
// UI thread only; `keys` and `settings` must outlive the dialog.
class CClefDialog : public QDialog
{
    Q_OBJECT

public:
    // `settingsFile`: where OK keeps the settings ("tonrik.def" in the settings folder).
    CClefDialog(KeyContext &keys, const CTCDefs &settings,
                std::filesystem::path settingsFile = kDefaultsFileName, QWidget *parent = nullptr);

    QAbstractButton *clefButton(int clef) const;

    void accept() override;

private:
    KeyContext &m_keys;
    const CTCDefs &m_settings;
    std::filesystem::path m_settingsFile;
    QButtonGroup *m_clefs = nullptr; // owned by the dialog
};

} // namespace corvane::dialogs
