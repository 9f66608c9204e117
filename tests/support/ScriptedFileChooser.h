#pragma once

#include "FileChooser.h"

#include <QString>
#include <QStringList>

#include <deque>

namespace corvane::test {

// A file chooser for tests: answers from a queue of names (an empty name is a cancel) and
// records the titles it was asked with. Install it with FileChooserOverride.
class ScriptedFileChooser final : public FileChooser
{
public:
    QString openFileName(QWidget *, const QString &title, const QString &) override
    {
        return next(title);
    }
    QString saveFileName(QWidget *, const QString &title, const QString &suggestion,
                         const QString &, QString *selectedFilter) override
    {
        suggestions << suggestion;
        if (selectedFilter)
            *selectedFilter = filter;
        return next(title);
    }

    std::deque<QString> answers;
    QStringList asked;
    QStringList suggestions;
    QString filter; // what the user "selected" in a save box

private:
    QString next(const QString &title)
    {
        asked << title;
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace corvane::test
