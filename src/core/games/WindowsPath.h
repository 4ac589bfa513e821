#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace vestimo::core::games {

// Finds folders the way Windows names them: each name without regard to case. Remembers the
// folders it listed, so asking about many places under the same folder lists it once.
class FolderFinder {
public:
    // `relative` ("Program Files/Maxis/The Sims", "/" or "\" between names) under `root`, with
    // each name as stored on disk; empty when some folder is missing or a name is "..".
    QString find(const QString& root, const QString& relative);

    // The Linux folder a Windows path ("D:\Games\The Sims") names inside a Wine prefix: the
    // drive letter through the prefix's dosdevices link (a relative target is relative to
    // dosdevices; C: falls back to drive_c), then the folders as Find finds them. Empty when the
    // path is not an absolute path with a drive letter or the folder is not there.
    QString linuxPath(const QString& prefix, const QString& windowsPath);

private:
    const QStringList& listing(const QString& folder);

    QHash<QString, QStringList> listings_;
};

} // namespace vestimo::core::games
