#include "platform/SkinFolder.h"

#include "platform/FileSystemInternal.h"

#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vestimo::platform {

SkinFolder::SkinFolder(const QString& path) : path_(path) {
    const QByteArray encoded = QFile::encodeName(path);
    int fd = -1;
    do {
        fd = ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error_ = systemError(errno);
    }
    fd_.reset(fd);
}

int SkinFolder::descriptor() const {
    return fd_.isOpen() ? fd_.get() : AT_FDCWD;
}

QByteArray SkinFolder::entry(const QString& name) const {
    return QFile::encodeName(fd_.isOpen() ? name : joinPath(path_, name));
}

QString SkinFolder::pathOf(const QString& name) const {
    return joinPath(path_, name);
}

FileNames SkinFolder::list(const QString& pattern) const {
    if (!fd_.isOpen()) {
        return FileNames{false, error_, {}, {}, {}};
    }
    return listFolderAt(fd_.get(), pattern);
}

QString SkinFolder::lookUp(const QString& name) const {
    // Follows a link, as the game would; a hidden name is no skin file.
    struct stat one {};
    if (name.isEmpty() || name.startsWith(u'.') || name.contains(u'/') ||
        ::fstatat(descriptor(), entry(name).constData(), &one, 0) != 0 || !S_ISREG(one.st_mode)) {
        return {};
    }
    // On a case-insensitive mount the file answers to any spelling, so the name asked for proves
    // nothing; the folder's listing has the real one, read only where the name in swapped case
    // reaches the same file (as lookUpFile does).
    QString swapped = name;
    for (QChar& c : swapped) {
        c = c.isUpper() ? c.toLower() : c.toUpper();
    }
    struct stat other {};
    if (swapped == name || ::fstatat(descriptor(), entry(swapped).constData(), &other, 0) != 0 ||
        one.st_ino != other.st_ino || one.st_dev != other.st_dev) {
        return name;
    }
    const int listed = fd_.isOpen()
                           ? ::dup(fd_.get())
                           : ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listed < 0 ? nullptr : ::fdopendir(listed);
    if (dir == nullptr) {
        if (listed >= 0) {
            ::close(listed);
        }
        return {};
    }
    ::rewinddir(dir);
    QList<QByteArray> entries;
    const QByteArray wanted = QFile::encodeName(name);
    while (const dirent* found = ::readdir(dir)) {
        const QByteArray stored(found->d_name);
        if (stored == wanted) {
            entries = {stored};
            break;
        }
        if (QFile::decodeName(stored).compare(name, Qt::CaseInsensitive) == 0) {
            entries.append(stored);
        }
    }
    ::closedir(dir);
    const std::optional<QString> stored = matchStoredName(entries, wanted);
    if (!stored || stored->startsWith(u'.')) {
        return {};
    }
    return *stored;
}

std::optional<FileIdentity> SkinFolder::identify(const QString& name) const {
    struct stat info {};
    if (::fstatat(descriptor(), entry(name).constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<qint64>(info.st_size),
                        static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                        static_cast<qint64>(info.st_ino), static_cast<qint64>(info.st_dev)};
}

ReadOpen SkinFolder::open(const QString& name) const {
    return openForReadingAt(descriptor(), entry(name).constData(), Links::Follow);
}

FileResult SkinFolder::read(const QString& name, qint64 limit, QByteArray& buffer) const {
    return readFileAt(descriptor(), entry(name).constData(), limit, buffer);
}

FileResult SkinFolder::moveOut(const QString& name, const QString& targetDirectory) const {
    return moveFileAt(descriptor(), entry(name), pathOf(name), joinPath(targetDirectory, name));
}

FileResult SkinFolder::trash(const QString& name, QString* pathInTrash) const {
    // The trash's note names the file by its path, so the path it is.
    return moveToTrash(pathOf(name), pathInTrash);
}

} // namespace vestimo::platform
