#include "core/games/WindowsPath.h"

#include "platform/Probe.h"

#include <QDir>

#include <algorithm>

namespace vestimo::core::games {

namespace probe = vestimo::platform::probe;

const QStringList& FolderFinder::listing(const QString& folder) {
    auto found = listings_.find(folder);
    if (found == listings_.end()) {
        QStringList names = probe::subdirectories(folder);
        // Sorted, so that of two names differing only in case the same one is always taken.
        std::sort(names.begin(), names.end());
        found = listings_.insert(folder, names);
    }
    return *found;
}

QString FolderFinder::find(const QString& root, const QString& relative) {
    if (root.isEmpty()) {
        return {};
    }
    QString path = QDir::cleanPath(root);
    const QStringList parts = QString(relative).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part == u".") {
            continue;
        }
        if (part == u"..") {
            return {};
        }
        const QString exact = path == u"/" ? path + part : path + u'/' + part;
        if (probe::isDirectory(exact)) {
            path = exact;
            continue;
        }
        const QStringList& names = listing(path);
        const auto match = std::find_if(names.begin(), names.end(), [&part](const QString& name) {
            return name.compare(part, Qt::CaseInsensitive) == 0;
        });
        if (match == names.end()) {
            return {};
        }
        path = path == u"/" ? path + *match : path + u'/' + *match;
    }
    return probe::isDirectory(path) ? path : QString();
}

QString FolderFinder::linuxPath(const QString& prefix, const QString& windowsPath) {
    QString path = windowsPath.trimmed();
    path.replace(u'/', u'\\');
    // Paths in the native spelling of the NT layer.
    for (const QStringView marker : {QStringView(u"\\??\\"), QStringView(u"\\\\?\\")}) {
        if (path.startsWith(marker)) {
            path.remove(0, marker.size());
        }
    }
    if (path.size() < 2 || path[1] != u':' || !path[0].isLetter() || path[0].unicode() > 127) {
        return {};
    }
    const QString letter = path.left(2).toLower();
    const QString devices = prefix + QStringLiteral("/dosdevices");
    const QString device = devices + u'/' + letter;
    QString drive;
    const QString target = probe::linkTarget(device);
    if (!target.isEmpty()) {
        drive = QDir::cleanPath(target.startsWith(u'/') ? target : devices + u'/' + target);
    } else if (probe::isDirectory(device)) {
        drive = device;
    } else if (letter == u"c:") {
        drive = prefix + QStringLiteral("/drive_c");
    } else {
        return {};
    }
    return find(drive, path.mid(2));
}

} // namespace vestimo::core::games
