#pragma once

#include "ServiceOverride.h"

#include <QString>

class QWidget;

namespace corvane {

// Asks the user for a file to open or a name to save under, so that tests can answer without a
// modal file dialog. The program uses Qt's file dialog; tests install their own with
// FileChooserOverride. UI thread only.
class FileChooser
{
public:
    virtual ~FileChooser() = default;

    // An existing file matching `filter` (Qt's "Name (*.ext);;..." form); empty when canceled.
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &filter) = 0;
    // A name to write, starting from `suggestion`; `selectedFilter` receives the filter the user
    // chose. Empty when canceled. Asking before overwriting a file is the chooser's part.
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &suggestion,
                                 const QString &filter, QString *selectedFilter) = 0;
};

// The chooser in use now: Qt's file dialog unless a test installed its own.
FileChooser &fileChooser();

// Installs one for the lifetime of the override.
using FileChooserOverride = widgets::ServiceOverride<FileChooser>;
template<>
FileChooser *&widgets::ServiceOverride<FileChooser>::slot();

} // namespace corvane
