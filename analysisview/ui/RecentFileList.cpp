#include "RecentFileList.h"

#include <QSettings>

namespace corvane {

namespace {

    void store(const QStringList &files)
    {
        QSettings settings(QStringLiteral("Tarnwick"), QStringLiteral("Tonrik"));
        settings.beginGroup(QStringLiteral("Recent File List"));
        for (int i = 0; i < RecentFileList::kSize; ++i) {
            const QString key = QStringLiteral("File%1").arg(i + 1);
            if (i < files.size())
                settings.setValue(key, files[i]);
            else
                settings.remove(key);
        }
    }

} // namespace

QStringList RecentFileList::files() const
{
    QSettings settings(QStringLiteral("Tarnwick"), QStringLiteral("Tonrik"));
    settings.beginGroup(QStringLiteral("Recent File List"));
    QStringList files;
    for (int i = 0; i < kSize; ++i) {
        const QString file = settings.value(QStringLiteral("File%1").arg(i + 1)).toString();
        if (!file.isEmpty())
            files << file;
    }
    return files;
}

void RecentFileList::add(const QString &path)
{
    QStringList list = files();
    list.removeAll(path);
    list.prepend(path);
    store(list.mid(0, kSize));
}

void RecentFileList::remove(const QString &path)
{
    QStringList list = files();
    list.removeAll(path);
    store(list);
}

} // namespace corvane
