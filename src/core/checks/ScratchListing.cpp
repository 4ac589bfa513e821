#include "core/checks/ScratchListing.h"

#include "core/catalogue/Checks.h"
#include "platform/Wildcard.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

#include <cerrno>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vestimo::checks {

namespace {

// What this copy of the program last wrote as a listing: enough to tell its own file from one
// that another program (or a player) put or rewrote there.
struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    QByteArray digest;
};

QByteArray digest(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// The listing's file, opened without following a link or waiting on a FIFO; -1 when it is not an
// ordinary file. `info` receives its status.
int openOrdinary(const QString& path, struct stat& info) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

qint64 modifiedNs(const struct stat& info) {
    return qint64{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec;
}

// Listings written by this copy, by the listing's path. The checks run one at a time, but the
// record is the program's, so it is guarded all the same.
class WrittenListings {
public:
    void remember(const QString& path, const QByteArray& bytes) {
        struct stat info {};
        const int fd = openOrdinary(path, info);
        if (fd < 0) {
            forget(path);
            return;
        }
        ::close(fd);
        const QMutexLocker lock(&mutex_);
        listings_.insert(key(path), Identity{info.st_dev, info.st_ino, static_cast<qint64>(info.st_size),
                                             modifiedNs(info), digest(bytes)});
    }
    void forget(const QString& path) {
        const QMutexLocker lock(&mutex_);
        listings_.remove(key(path));
    }
    std::optional<Identity> find(const QString& path) const {
        const QMutexLocker lock(&mutex_);
        const auto it = listings_.constFind(key(path));
        return it == listings_.constEnd() ? std::nullopt : std::optional<Identity>(*it);
    }

private:
    static QString key(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

    mutable QMutex mutex_;
    QHash<QString, Identity> listings_;
};

WrittenListings& ownListings() {
    static WrittenListings listings;
    return listings;
}

// True when the file at `path` is still the one described by `identity`, byte for byte.
bool unchanged(const QString& path, const Identity& identity) {
    struct stat info {};
    const int fd = openOrdinary(path, info);
    if (fd < 0) {
        return false;
    }
    bool same = info.st_dev == identity.device && info.st_ino == identity.inode &&
                static_cast<qint64>(info.st_size) == identity.size && modifiedNs(info) == identity.modifiedNs;
    if (same) {
        // One byte more than remembered shows a file that grew meanwhile.
        QByteArray bytes(identity.size + 1, Qt::Uninitialized);
        qint64 got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, static_cast<size_t>(bytes.size() - got));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                same = n == 0;
                break;
            }
            got += n;
        }
        bytes.truncate(got);
        same = same && digest(bytes) == identity.digest;
    }
    ::close(fd);
    return same;
}

// A name that names something other than a file of the folder itself.
bool reachesOutside(const QString& name) {
    return name.isEmpty() || name == u'.' || name == QStringLiteral("..") || name.contains(u'/');
}

} // namespace

ScratchListing::ScratchListing(QString programDirectory) : programDirectory_(std::move(programDirectory)) {}

QString ScratchListing::path() const {
    return platform::joinPath(programDirectory_, fileName);
}

void ScratchListing::remove() const {
    if (platform::lookUpFile(path()) == fileName) {
        ownListings().forget(path());
        platform::removeFile(path());
    }
}

void ScratchListing::deleteIfOwn() const {
    const std::optional<Identity> own = ownListings().find(path());
    if (!own) {
        return;
    }
    if (platform::lookUpFile(path()) == fileName && unchanged(path(), *own)) {
        platform::removeFile(path());
    }
    ownListings().forget(path());
}

ScratchListing::Written ScratchListing::enumerate(const QString& skinDirectory, FileFilter kind, bool keepAll,
                                                  QByteArray* bytes) {
    Written result;
    const QString filter = patternOf(kind);
    platform::FileNames listed = platform::listFiles(skinDirectory, keepAll ? QStringLiteral("*") : filter);
    if (!listed.ok) {
        result.folderUnreadable = true;
        result.error = listed.error;
        return result;
    }
    for (qsizetype i = 0; i < listed.unnamable.size(); ++i) {
        if (platform::wildcardMatch(filter, listed.unnamable[i])) {
            result.unnamable.append(listed.unnamable[i]);
            result.unnamableBytes.append(listed.unnamableBytes.value(i));
        }
    }
    QByteArray content;
    for (const QString& name : listed.names) {
        if (keepAll && !platform::wildcardMatch(filter, name)) {
            continue;
        }
        if (name.contains(u'\r') || name.contains(u'\n')) {
            result.leftOut.append(name);
            continue;
        }
        content += QFile::encodeName(name);
        content += "\r\n";
        result.names.append(name);
    }
    if (keepAll) {
        result.everything = std::move(listed);
    }
    result.ok = true;
    result.size = content.size();
    if (bytes != nullptr) {
        *bytes = std::move(content);
    }
    return result;
}

ScratchListing::Written ScratchListing::write(const QString& skinDirectory, FileFilter kind,
                                              bool keepAll) const {
    // The folder first: one that cannot be read leaves everything as it was.
    QByteArray bytes;
    Written result = enumerate(skinDirectory, kind, keepAll, &bytes);
    if (!result.ok) {
        return result;
    }
    result.ok = false;
    // Never write through a link someone left under the listing's name: take the link away, as
    // the old listing.
    if (platform::lookUpFile(path()) == fileName || QFileInfo(path()).isSymLink()) {
        ownListings().forget(path());
        const platform::FileResult removed = platform::removeFile(path());
        if (!removed.ok) {
            result.error = QFileInfo(programDirectory_).isWritable()
                               ? texts::oldListingNotDeleted(fileName, removed.error)
                               : texts::oldListingNotReplaced(fileName, removed.error);
            result.names.clear();
            result.everything = {};
            result.size = 0;
            return result;
        }
    }
    // A scratch file: written fresh (never through a link), without waiting for the disk.
    const platform::FileResult saved = platform::writeNewFile(path(), bytes);
    if (!saved.ok) {
        result.error = saved.error;
        result.names.clear();
        result.everything = {};
        result.size = 0;
        return result;
    }
    ownListings().remember(path(), bytes);
    result.ok = true;
    return result;
}

void ScratchListing::walk(const Written& written, const std::function<void(int)>& advance,
                          const std::function<void(const QString&)>& visit) {
    for (const QString& name : written.names) {
        advance(static_cast<int>(name.toUcs4().size()));
        if (!reachesOutside(name)) {
            visit(name);
        }
    }
}

} // namespace vestimo::checks
