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

    DialogFileChooser s_dialog;
    FileChooser *s_current = &s_dialog;

} // namespace

FileChooser &fileChooser()
{
    return *s_current;
}

FileChooserOverride::FileChooserOverride(FileChooser &chooser)
    : m_previous(s_current)
{
    s_current = &chooser;
}

FileChooserOverride::~FileChooserOverride()
{
    s_current = m_previous;
}

} // namespace corvane
