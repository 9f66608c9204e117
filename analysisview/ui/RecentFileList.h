#pragma once

#include <QString>
#include <QStringList>

namespace corvane {

// The four most recently opened or saved recordings, newest first, kept in the user's settings
// under the organization "Tarnwick" (group "Recent File List", keys "File1" to "File4").
// User-interface thread.
class RecentFileList
{
public:
    static constexpr int kSize = 4;

    QStringList files() const;
    // Puts `path` first, dropping an older entry for the same file and the fifth entry.
    void add(const QString &path);
    void remove(const QString &path);
};

} // namespace corvane
