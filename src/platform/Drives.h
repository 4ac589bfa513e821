#pragma once

#include <QList>
#include <QString>

namespace vestimo::platform {

// A place the drive list offers: "C:" and its folder for a Wine drive letter, or a mount point
// (shown by its path) for a mounted file system.
struct Drive {
    QString name;
    QString root;
    bool operator==(const Drive&) const = default;
};

// The drive letters of the Wine prefix ($WINEPREFIX, else ~/.wine), then the mounted file systems
// a person browses: the root, the one holding the home folder, removable media. On Windows, the
// real drives.
QList<Drive> availableDrives();

// The Wine prefix's drive letters, read from its dosdevices links ("c:" -> "../drive_c").
QList<Drive> wineDrives(const QString& prefix);
QString winePrefix();

// The drive of `drives` that holds `path` (the longest root that contains it); -1 when none does.
int driveIndexOf(const QList<Drive>& drives, const QString& path);

} // namespace vestimo::platform
