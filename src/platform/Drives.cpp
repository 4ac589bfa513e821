#include "platform/Drives.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>

namespace vestimo::platform {

namespace {

bool isUnder(const QString& path, const QString& root) {
    if (root.endsWith(u'/')) {
        return path.startsWith(root) || path + u'/' == root;
    }
    return path == root || path.startsWith(root + u'/');
}

#ifndef Q_OS_WIN
// Mount points a player would browse; pseudo and system file systems are left out.
bool browsable(const QStorageInfo& volume, const QString& homeRoot) {
    const QString root = volume.rootPath();
    static const QStringList pseudo = {"proc",    "sysfs",   "tmpfs",       "devtmpfs",        "devpts",
                                       "cgroup",  "cgroup2", "securityfs",  "pstore",          "debugfs",
                                       "tracefs", "mqueue",  "hugetlbfs",   "configfs",        "fusectl",
                                       "bpf",     "autofs",  "binfmt_misc", "efivarfs",        "rpc_pipefs",
                                       "nsfs",    "ramfs",   "squashfs",    "fuse.gvfsd-fuse", "fuse.portal"};
    if (pseudo.contains(QString::fromLatin1(volume.fileSystemType()))) {
        return false;
    }
    if (root == QStringLiteral("/") || root == homeRoot) {
        return true;
    }
    return isUnder(root, QStringLiteral("/media")) || isUnder(root, QStringLiteral("/mnt")) ||
           isUnder(root, QStringLiteral("/run/media"));
}
#endif

} // namespace

QString winePrefix() {
    const QString fromEnvironment = qEnvironmentVariable("WINEPREFIX");
    return fromEnvironment.isEmpty() ? QDir::homePath() + QStringLiteral("/.wine") : fromEnvironment;
}

QList<Drive> wineDrives(const QString& prefix) {
    QList<Drive> drives;
    const QDir devices(prefix + QStringLiteral("/dosdevices"));
    static const QRegularExpression letter(QStringLiteral("^[a-zA-Z]:$"));
    QStringList names = devices.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        if (!letter.match(name).hasMatch()) {
            continue; // "c::" and the like are raw devices, not drives
        }
        const QFileInfo link(devices.filePath(name));
        if (!link.isSymLink()) {
            continue;
        }
        // A link whose target is missing is still offered: choosing it says the drive is not available.
        drives.append({name.toUpper(), QDir::cleanPath(link.symLinkTarget())});
    }
    return drives;
}

QList<Drive> availableDrives() {
    QList<Drive> drives;
#ifdef Q_OS_WIN
    for (const QFileInfo& info : QDir::drives()) {
        const QString root = info.absoluteFilePath();
        drives.append({root.left(2).toUpper(), root});
    }
#else
    drives = wineDrives(winePrefix());
    const QString homeRoot = QStorageInfo(QDir::homePath()).rootPath();
    QStringList seen;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || seen.contains(root) || !browsable(volume, homeRoot)) {
            continue;
        }
        seen.append(root);
        drives.append({root, root});
    }
    if (seen.isEmpty()) {
        drives.append({QStringLiteral("/"), QStringLiteral("/")});
    }
#endif
    return drives;
}

int driveIndexOf(const QList<Drive>& drives, const QString& path) {
    int best = -1;
    qsizetype bestLength = -1;
    const QString clean = QDir::cleanPath(path);
    for (int i = 0; i < drives.size(); ++i) {
        const QString root = QDir::cleanPath(drives[i].root);
        if (isUnder(clean, root) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

} // namespace vestimo::platform
