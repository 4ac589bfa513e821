#include "platform/FileSystem.h"

#include "platform/Descriptor.h"
#include "platform/FileSystemInternal.h"
#include "platform/OrdinaryFile.h"
#include "platform/ReadOpen.h"
#include "platform/Wildcard.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vestimo::platform {

namespace {

bool occupied(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Closes a descriptor that was written to; a failed close can be the first news of a lost write.
bool closeWritten(int fd, QString& why) {
    if (::close(fd) != 0 && errno != EINTR) {
        why = systemError(errno);
        return false;
    }
    return true;
}

// The descriptor holds exactly `expected` bytes, as the disk has them.
bool holdsLength(int fd, qint64 expected, FileError& why) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        why = FileError::system(systemError(errno));
        return false;
    }
    if (static_cast<qint64>(info.st_size) != expected) {
        why = FileError::of(FileError::Kind::ShortWrite);
        why.number = static_cast<qint64>(info.st_size);
        why.total = expected;
        return false;
    }
    return true;
}

// writeAll, its failure as a FileError.
bool writeAll(int fd, const char* data, qint64 size, FileError& why) {
    QString reason;
    if (!platform::writeAll(fd, data, size, reason)) {
        why = FileError::system(reason);
        return false;
    }
    return true;
}

// Closes a descriptor that was written to, its failure as a FileError.
bool closeWritten(int fd, FileError& why) {
    QString reason;
    if (!closeWritten(fd, reason)) {
        why = FileError::system(reason);
        return false;
    }
    return true;
}

FileError linkRefusal(const QString& path) {
    FileError error = FileError::of(FileError::Kind::ThroughLink, {}, QDir::toNativeSeparators(path));
    error.other = rawLinkTarget(path);
    return error;
}

FileError nameTaken() {
    return FileError::of(FileError::Kind::NameTaken);
}

} // namespace

FileError openError(const std::string& error) {
    return error == NotOrdinaryFile ? FileError::of(FileError::Kind::NotOrdinary)
                                    : FileError::system(QString::fromLocal8Bit(error));
}

QString rawLinkTarget(const QString& path) {
    QByteArray target(4096, Qt::Uninitialized);
    const ssize_t length = ::readlink(QFile::encodeName(path).constData(), target.data(), target.size());
    if (length < 0) {
        return {};
    }
    target.truncate(length);
    return QFile::decodeName(target);
}

FileResult copyAcross(const QString& source, const QString& target) {
    const ReadOpen in = openForReading(QFile::encodeName(source).constData(), Links::Refuse);
    if (in.fd < 0) {
        return FileResult::failure(openError(in.error));
    }
    struct stat original {};
    if (::fstat(in.fd, &original) != 0) {
        const FileError why = FileError::system(systemError(errno));
        ::close(in.fd);
        return FileResult::failure(why);
    }
    // Made owner-only at first, so nobody reads a half copy of a private file; the mode comes
    // over at the end, as mv does.
    const QByteArray targetName = QFile::encodeName(target);
    const int out =
        ::open(targetName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (out < 0) {
        const int code = errno;
        ::close(in.fd);
        return FileResult::failure(code == EEXIST || occupied(target) ? nameTaken()
                                                                      : FileError::system(systemError(code)));
    }
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    bool failed = false;
    FileError why;
    qint64 total = 0;
    for (;;) {
        const ssize_t got = ::read(in.fd, buffer.data(), static_cast<size_t>(buffer.size()));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            failed = true;
            why = FileError::system(systemError(errno));
            break;
        }
        if (got == 0) {
            break;
        }
        total += got;
        if (!writeAll(out, buffer.constData(), got, why)) {
            failed = true;
            break;
        }
    }
    ::close(in.fd);
    if (!failed && total != static_cast<qint64>(original.st_size)) {
        failed = true;
        why = FileError::of(FileError::Kind::CopyLength);
    }
    failed = failed || !holdsLength(out, total, why);
    if (!failed && ::fchmod(out, original.st_mode & 07777) != 0) {
        failed = true;
        why = FileError::system(systemError(errno));
    }
    const struct timespec times[2] = {original.st_atim, original.st_mtim};
    if (!failed && ::futimens(out, times) != 0) {
        failed = true;
        why = FileError::system(systemError(errno));
    }
    failed = !closeWritten(out, why) || failed;
    if (failed) {
        ::unlink(targetName.constData());
    }
    return failed ? FileResult::failure(why) : FileResult::success();
}

std::optional<QString> matchStoredName(const QList<QByteArray>& entries, const QByteArray& wanted) {
    std::optional<QString> folded;
    const QString wantedText = QFile::decodeName(wanted);
    for (const QByteArray& entry : entries) {
        if (entry == wanted) {
            return QFile::decodeName(entry);
        }
        if (!folded && QFile::decodeName(entry).compare(wantedText, Qt::CaseInsensitive) == 0) {
            folded = QFile::decodeName(entry);
        }
    }
    return folded;
}

QString joinPath(const QString& directory, const QString& name) {
    if (directory.endsWith(u'/') || directory.endsWith(u'\\')) {
        return directory + name;
    }
    return directory + u'/' + name;
}

FileNames listFolderAt(int directoryFd, const QString& pattern) {
    FileNames result;
    // readdir straight away: a folder of ten thousand skins is listed without a file-info object
    // per entry, and names that are not valid text are seen rather than silently dropped.
    const int listed = ::dup(directoryFd);
    DIR* dir = listed < 0 ? nullptr : ::fdopendir(listed);
    if (dir == nullptr) {
        if (listed >= 0) {
            ::close(listed);
        }
        result.ok = false;
        result.error = systemError(errno);
        return result;
    }
    // The copy shares its position with the folder's descriptor, which an earlier listing moved.
    ::rewinddir(dir);
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            if (errno != 0) {
                // Half a folder is no listing: a check would take the missing files for absent.
                result = FileNames{false, systemError(errno), {}, {}, {}};
            }
            break;
        }
        const char* raw = entry->d_name;
        if (raw[0] == '.') {
            continue; // hidden files, "." and ".."
        }
        bool ordinary = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            ordinary = ::fstatat(::dirfd(dir), raw, &info, 0) == 0 && S_ISREG(info.st_mode);
        }
        if (!ordinary) {
            continue;
        }
        const QByteArray bytes(raw);
        // Nearly every skin's name is plain ASCII, which reads back unchanged; only other names
        // need the full decoding and the round trip that proves the name can be given back.
        const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
        const QString name = ascii ? QString::fromLatin1(bytes) : QFile::decodeName(bytes);
        if (!wildcardMatch(pattern, name)) {
            continue;
        }
        if (!ascii && QFile::encodeName(name) != bytes) {
            result.unnamable.append(name);
            result.unnamableBytes.append(bytes);
            continue;
        }
        result.names.append(name);
    }
    ::closedir(dir);
    return result;
}

FileNames listFiles(const QString& directory, const QString& pattern) {
    FileNames result;
#ifdef Q_OS_LINUX
    const Descriptor folder(
        ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.isOpen()) {
        result.ok = false;
        result.error = systemError(errno);
        return result;
    }
    result = listFolderAt(folder.get(), pattern);
#else
    const QDir folder(directory);
    if (!folder.exists() || !folder.isReadable()) {
        result.ok = false;
        result.error = systemError(EACCES);
        return result;
    }
    QDirIterator it(directory, QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (wildcardMatch(pattern, name)) {
            result.names.append(name);
        }
    }
#endif
    return result;
}

QString lookUpFile(const QString& path) {
    const QFileInfo info(path);
#ifdef Q_OS_UNIX
    // Follows a link, as the game would; a hidden name is no skin file.
    struct stat one {};
    if (::stat(QFile::encodeName(path).constData(), &one) != 0 || !S_ISREG(one.st_mode) ||
        info.fileName().startsWith(u'.')) {
        return {};
    }
    // On a case-insensitive mount (the game's FAT or NTFS partition) the file answers to any
    // spelling, so the name asked for proves nothing; the folder's listing has the real one. The
    // listing is read only where the name in swapped case reaches the same file, so folders on
    // ordinary mounts cost two stat calls per name, not a listing each.
    const QString asked = info.fileName();
    QString swapped = asked;
    for (QChar& c : swapped) {
        c = c.isUpper() ? c.toLower() : c.toUpper();
    }
    struct stat other {};
    if (swapped == asked ||
        ::stat(QFile::encodeName(joinPath(info.path(), swapped)).constData(), &other) != 0 ||
        one.st_ino != other.st_ino || one.st_dev != other.st_dev) {
        return asked;
    }
    DIR* dir = ::opendir(QFile::encodeName(info.path()).constData());
    if (dir == nullptr) {
        return {};
    }
    QList<QByteArray> entries;
    const QByteArray wanted = QFile::encodeName(asked);
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == wanted) {
            entries = {name};
            break;
        }
        if (QFile::decodeName(name).compare(asked, Qt::CaseInsensitive) == 0) {
            entries.append(name);
        }
    }
    ::closedir(dir);
    const std::optional<QString> stored = matchStoredName(entries, wanted);
    if (!stored || stored->startsWith(u'.')) {
        return {};
    }
    return *stored;
#else
    if (!info.exists() || !info.isFile() || info.isHidden()) {
        return {};
    }
    return info.fileName();
#endif
}

std::optional<qint64> fileLength(const QString& path, QString* error) {
    const QFileInfo info(path);
    if (!info.exists()) {
        if (error != nullptr) {
            *error = systemError(ENOENT);
        }
        return std::nullopt;
    }
    if (info.isDir()) {
        if (error != nullptr) {
            *error = systemError(EISDIR);
        }
        return std::nullopt;
    }
    return info.size();
}

namespace {

FileResult alreadyIn(const QString& target) {
    return FileResult::failure(FileError::of(FileError::Kind::NameTakenIn, {},
                                             QDir::toNativeSeparators(QFileInfo(target).absolutePath())));
}

FileResult noLongerThere() {
    return FileResult::failure(FileError::of(FileError::Kind::NoLongerThere));
}

FileResult aFolder() {
    return FileResult::failure(FileError::of(FileError::Kind::IsFolder));
}

} // namespace

FileResult moveFileAt(int directoryFd, const QByteArray& entry, const QString& source,
                      const QString& target) {
    // One look at each end: a check moves hundreds of files, and each look is a path walk.
    const QByteArray t = QFile::encodeName(target);
    struct stat info {};
    if (::fstatat(directoryFd, entry.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return noLongerThere();
    }
    struct stat followed {};
    if (S_ISDIR(info.st_mode) ||
        (S_ISLNK(info.st_mode) && ::fstatat(directoryFd, entry.constData(), &followed, 0) == 0 &&
         S_ISDIR(followed.st_mode))) {
        return aFolder();
    }
    if (::lstat(t.constData(), &info) == 0) {
        return alreadyIn(target);
    }
    // RENAME_NOREPLACE makes "never replace" hold even if a file appears in the meantime.
    int code =
        renameat2(directoryFd, entry.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0 ? 0 : errno;
    if (code == EINVAL || code == ENOSYS) {
        // A file system without no-replace renames; the target was checked just above.
        code = ::renameat(directoryFd, entry.constData(), AT_FDCWD, t.constData()) == 0 ? 0 : errno;
    }
    if (code == 0) {
        return FileResult::success();
    }
    if (code == EEXIST) {
        return alreadyIn(target);
    }
    if (code != EXDEV) {
        return FileResult::failure(FileError::system(systemError(code)));
    }
    return moveAcross(source, target);
}

FileResult moveFile(const QString& source, const QString& target) {
#ifdef Q_OS_LINUX
    return moveFileAt(AT_FDCWD, QFile::encodeName(source), source, target);
#else
    const QFileInfo from(source);
    if (!from.exists() && !from.isSymLink()) {
        return noLongerThere();
    }
    if (from.isDir()) {
        return aFolder();
    }
    if (occupied(target)) {
        return alreadyIn(target);
    }
    if (QFile::rename(source, target)) {
        return FileResult::success();
    }
    return moveAcross(source, target);
#endif
}

FileResult moveAcross(const QString& source, const QString& target) {
    const FileResult copied = copyAcross(source, target);
    if (!copied.ok) {
        return copied;
    }
    QFile original(source);
    if (!original.remove()) {
        // Two copies are better than none: take the new one back and report.
        const FileError why = FileError::system(original.errorString());
        QFile::remove(target);
        return FileResult::failure(why);
    }
    return FileResult::success();
}

FileError tooLargeError(qint64 limit) {
    FileError error = FileError::of(FileError::Kind::TooLarge);
    error.number = limit;
    return error;
}

ReadResult readFile(const QString& path, qint64 limit) {
    ReadResult result;
    const ReadOpen opened = openForReading(QFile::encodeName(path).constData(), Links::Follow);
    if (opened.fd < 0) {
        result.error = openError(opened.error);
        return result;
    }
    result.identity = {opened.size, opened.modifiedNs, opened.inode, opened.device};
    const FileError tooLarge = tooLargeError(limit);
    if (opened.size > limit) {
        ::close(opened.fd);
        result.error = tooLarge;
        return result;
    }
    // One byte past the stated size shows a file that grew meanwhile; a size of 0 may be a
    // file that does not know its size, so read those up to the limit.
    const qint64 wanted = opened.size > 0 ? opened.size + 1 : limit + 1;
    result.bytes.resize(wanted);
    qint64 total = 0;
    while (total < wanted) {
        const ssize_t got =
            ::read(opened.fd, result.bytes.data() + total, static_cast<size_t>(wanted - total));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            result.error = FileError::system(systemError(errno));
            result.bytes.clear();
            ::close(opened.fd);
            return result;
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    ::close(opened.fd);
    result.bytes.truncate(total);
    if (result.bytes.size() > limit) {
        result.error = tooLarge;
        result.bytes.clear();
        return result;
    }
    result.ok = true;
    return result;
}

FileResult readFileAt(int directoryFd, const char* name, qint64 limit, QByteArray& buffer) {
    buffer.resize(0); // keeps its room
    const ReadOpen opened = openForReadingAt(directoryFd, name, Links::Follow);
    if (opened.fd < 0) {
        return FileResult::failure(openError(opened.error));
    }
    if (opened.size > limit) {
        ::close(opened.fd);
        return FileResult::failure(tooLargeError(limit));
    }
    // As readFile: one byte past the stated size shows a file that grew meanwhile, and a file that
    // states no size is read up to the limit, its room grown as it comes.
    const qint64 wanted = opened.size > 0 ? opened.size + 1 : limit + 1;
    constexpr qint64 FirstRoom = qint64{64} * 1024;
    qint64 total = 0;
    while (total < wanted) {
        if (total == buffer.size()) {
            buffer.resize(opened.size > 0 ? wanted : std::min(wanted, std::max(FirstRoom, total * 2)));
        }
        const ssize_t got =
            ::read(opened.fd, buffer.data() + total, static_cast<size_t>(buffer.size() - total));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int code = errno;
            ::close(opened.fd);
            buffer.resize(0);
            return FileResult::failure(FileError::system(systemError(code)));
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    ::close(opened.fd);
    buffer.resize(total);
    if (total > limit) {
        buffer.resize(0);
        return FileResult::failure(tooLargeError(limit));
    }
    return FileResult::success();
}

std::optional<FileIdentity> identifyFile(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<qint64>(info.st_size),
                        static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                        static_cast<qint64>(info.st_ino), static_cast<qint64>(info.st_dev)};
}

std::optional<FileIdentity> identifyOrdinaryFile(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<qint64>(info.st_size),
                        static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                        static_cast<qint64>(info.st_ino), static_cast<qint64>(info.st_dev)};
}

bool isSymbolicLink(const QString& path) {
    return QFileInfo(path).isSymLink();
}

FileResult saveFile(const QString& path, const QByteArray& bytes) {
    const QByteArray name = QFile::encodeName(path);
    struct stat old {};
    const bool replacing = ::lstat(name.constData(), &old) == 0;
    if (replacing && S_ISLNK(old.st_mode)) {
        return FileResult::failure(linkRefusal(path));
    }
    if (replacing && !S_ISREG(old.st_mode)) {
        return FileResult::failure(S_ISDIR(old.st_mode) ? FileError::system(systemError(EISDIR))
                                                        : FileError::of(FileError::Kind::NotOrdinary));
    }
    // Written in full beside the file, checked, and only then renamed over it: a rename replaces
    // a link put there meanwhile instead of writing through it, and a failure leaves the old file.
    QByteArray scratch;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        scratch = name + ".vestimo-save-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = ::open(scratch.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                    replacing ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) {
            return FileResult::failure(FileError::system(systemError(errno)));
        }
    }
    if (fd < 0) {
        return FileResult::failure(FileError::system(systemError(EEXIST)));
    }
    FileError why;
    bool ok = writeAll(fd, bytes.constData(), bytes.size(), why) && holdsLength(fd, bytes.size(), why);
    if (ok && replacing && ::fchmod(fd, old.st_mode & 07777) != 0) {
        ok = false;
        why = FileError::system(systemError(errno));
    }
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        why = FileError::system(systemError(errno));
    }
    ok = closeWritten(fd, why) && ok;
    if (ok && ::rename(scratch.constData(), name.constData()) != 0) {
        ok = false;
        why = FileError::system(systemError(errno));
    }
    if (!ok) {
        ::unlink(scratch.constData());
        return FileResult::failure(why);
    }
    return FileResult::success();
}

FileResult writeNewFile(const QString& path, const QByteArray& bytes) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        const int code = errno;
        return FileResult::failure(code == EEXIST || occupied(path) ? nameTaken()
                                                                    : FileError::system(systemError(code)));
    }
    FileError why;
    bool ok = writeAll(fd, bytes.constData(), bytes.size(), why) && holdsLength(fd, bytes.size(), why);
    ok = closeWritten(fd, why) && ok;
    if (!ok) {
        ::unlink(name.constData());
        return FileResult::failure(why);
    }
    return FileResult::success();
}

FileResult saveNewFile(const QString& path, const QByteArray& bytes) {
    if (occupied(path)) {
        return FileResult::failure(nameTaken());
    }
    // Write beside it first, then move it in without replacing anything.
    const QString scratch = path + QStringLiteral(".vestimo-part");
    if (occupied(scratch)) {
        return FileResult::failure(
            FileError::of(FileError::Kind::InTheWay, {}, QFileInfo(scratch).fileName()));
    }
    const FileResult written = saveFile(scratch, bytes);
    if (!written.ok) {
        return written;
    }
    const FileResult moved = moveFile(scratch, path);
    if (!moved.ok) {
        QFile::remove(scratch);
    }
    return moved;
}

FileResult removeFile(const QString& path) {
    QFile file(path);
    return file.remove() ? FileResult::success() : FileResult::failure(FileError::system(file.errorString()));
}

QString applicationId() {
    return QStringLiteral(VESTIMO_APP_ID);
}

QString applicationVersion() {
    return QStringLiteral(VESTIMO_VERSION);
}

QString programDirectory() {
    return programDirectoryFor(QCoreApplication::applicationDirPath());
}

QString programDirectoryFor(const QString& executableFolder) {
    // Moved files must never land beside an installed binary, wherever it was installed; only a
    // copy that says it is portable keeps them in its own folder.
    if (QFileInfo(joinPath(executableFolder, PortableMarker)).isFile()) {
        return executableFolder;
    }
    const QString data =
        joinPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), applicationId());
    // A folder that cannot be made shows up as a failed move, with its reason, when it is used.
    QDir().mkpath(data);
    return data;
}

QString currentDirectory() {
    return QDir::currentPath();
}

QString resolveDirectory(const QString& root, const QString& relative) {
    QString path = root;
    const QStringList parts = QString(relative).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const QString exact = joinPath(path, part);
        if (QFileInfo(exact).isDir()) {
            path = exact;
            continue;
        }
        QString found;
        const QStringList dirs = QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
        for (const QString& dir : dirs) {
            if (dir.compare(part, Qt::CaseInsensitive) == 0) {
                found = joinPath(path, dir);
                break;
            }
        }
        if (found.isEmpty()) {
            return {};
        }
        path = found;
    }
    return QDir::cleanPath(path);
}

} // namespace vestimo::platform
