#include "FileChooser.h"

#include <QFileDialog>

namespace corvane {

namespace {

    class DialogFileChooser final : public FileChooser
    {
    public:
        QString openFileName(QWidget *parent, const QString &title, const QString &filter) override
        {
            return QFileDialog::getOpenFileName(parent, title, {}, filter);
        }

        QString saveFileName(QWidget *parent, const QString &title, const QString &suggestion,
                             const QString &filter, QString *selectedFilter) override
        {
            return QFileDialog::getSaveFileName(parent, title, suggestion, filter, selectedFilter);
        }
    };

} // namespace

template<>
FileChooser *&widgets::ServiceOverride<FileChooser>::slot()
{
    static DialogFileChooser dialog;
    static FileChooser *current = &dialog;
    return current;
}

FileChooser &fileChooser()
{
    return FileChooserOverride::current();
}

} // namespace corvane
