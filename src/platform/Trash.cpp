#include "platform/Trash.h"

#include "platform/Descriptor.h"
#include "platform/FileSystem.h"
#include "platform/FileSystemInternal.h"
#include "platform/ReadOpen.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStorageInfo>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace vestimo::platform {

namespace {

// Far more names than one file's copies in a trash ever need; past it the trash is taken as
// unusable rather than searched for ever.
constexpr int MostNameAttempts = 10000;

FileError systemFailure(int code) {
    return FileError::system(systemError(code));
}

FileError trashUnusable(const QString& trash, const FileError& why) {
    return why.trashUnusable(QDir::toNativeSeparators(trash));
}

// A folder of the trash, made owner-only when it is missing; one that is there must be a real
// folder of this user, never a link to somewhere else.
bool ensureFolder(const QByteArray& path, FileError& why) {
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0) {
        if (errno != ENOENT) {
            why = systemFailure(errno);
            return false;
        }
        if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
            why = systemFailure(errno);
            return false;
        }
        if (::lstat(path.constData(), &info) != 0) {
            why = systemFailure(errno);
            return false;
        }
    }
    if (!S_ISDIR(info.st_mode)) {
        why =
            FileError::of(S_ISLNK(info.st_mode) ? FileError::Kind::LinkInTrash : FileError::Kind::NotAFolder,
                          {}, QFile::decodeName(path));
        return false;
    }
    if (info.st_uid != ::getuid()) {
        why = FileError::of(FileError::Kind::OtherUsers, {}, QFile::decodeName(path));
        return false;
    }
    return true;
}

// The folders down to `path` that are missing, made owner-only as the desktop standard wants for
// a data folder it creates.
bool ensureParents(const QString& path, FileError& why) {
    QStringList missing;
    QString at = path;
    while (!at.isEmpty() && at != u'/' && !QFileInfo(at).exists() && !QFileInfo(at).isSymLink()) {
        missing.prepend(at);
        at = QFileInfo(at).path();
    }
    for (const QString& folder : missing) {
        if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST) {
            why = systemFailure(errno);
            return false;
        }
    }
    return true;
}

QByteArray trashInfo(const QString& original) {
    return "[Trash Info]\nPath=" + QFile::encodeName(original).toPercentEncoding("/") + "\nDeletionDate=" +
           QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toUtf8() + "\n";
}

// "name.ext", then "name.2.ext", "name.3.ext"...: every candidate begins with the original's
// base name, which is how a trashed file is looked up again.
QString candidateName(const QString& name, int attempt) {
    if (attempt == 1) {
        return name;
    }
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString number = QString::number(attempt);
    if (dot <= 0) {
        return name + u'.' + number;
    }
    return name.left(dot) + u'.' + number + name.mid(dot);
}

// Fills the reserved (empty) note at `note` in one step: the text is written and synced beside it
// and renamed over it, so a reader sees either nothing or the whole note.
bool fillNote(const QByteArray& note, const QByteArray& text, FileError& why) {
    QByteArray scratch;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        scratch = note + ".part-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = ::open(scratch.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0 && errno != EEXIST) {
            why = systemFailure(errno);
            return false;
        }
    }
    if (fd < 0) {
        why = systemFailure(EEXIST);
        return false;
    }
    QString reason;
    bool ok = writeAll(fd, text.constData(), text.size(), reason);
    if (!ok) {
        why = FileError::system(reason);
    }
    if (ok && ::fsync(fd) != 0) {
        why = systemFailure(errno);
        ok = false;
    }
    if (::close(fd) != 0 && ok && errno != EINTR) {
        why = systemFailure(errno);
        ok = false;
    }
    if (ok && ::rename(scratch.constData(), note.constData()) != 0) {
        why = systemFailure(errno);
        ok = false;
    }
    if (!ok) {
        ::unlink(scratch.constData());
    }
    return ok;
}

int renameNoReplace(const QByteArray& from, const QByteArray& to) {
    if (renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    // A file system without no-replace renames: the name was reserved and checked just before.
    struct stat there {};
    if (::lstat(to.constData(), &there) == 0) {
        return EEXIST;
    }
    return std::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

} // namespace

QString homeTrashDirectory() {
    // A relative setting is no setting, as the desktop standard says.
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!dataHome.startsWith(u'/')) {
        const QString home = qEnvironmentVariable("HOME");
        if (!home.startsWith(u'/')) {
            return {};
        }
        dataHome = home + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(dataHome + QStringLiteral("/Trash"));
}

FileResult moveToTrash(const QString& path, QString* pathInTrash) {
    const QString original = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QByteArray source = QFile::encodeName(original);
    struct stat info {};
    if (::lstat(source.constData(), &info) != 0) {
        return FileResult::failure(FileError::of(FileError::Kind::NoLongerThere));
    }
    if (S_ISDIR(info.st_mode)) {
        return FileResult::failure(FileError::of(FileError::Kind::IsFolder));
    }
    // Sending to the trash takes the file out of its folder: without leave to change that folder
    // the trash is not the problem.
    const QString folder = QFileInfo(original).absolutePath();
    if (::access(QFile::encodeName(folder).constData(), W_OK) != 0) {
        return FileResult::failure(FileError::of(FileError::Kind::FolderLocked, systemError(EACCES),
                                                 QDir::toNativeSeparators(folder))
                                       .kept());
    }

    const QString trash = homeTrashDirectory();
    if (trash.isEmpty()) {
        return FileResult::failure(FileError::of(FileError::Kind::NoHome).kept());
    }
    FileError why;
    const QByteArray files = QFile::encodeName(trash + QStringLiteral("/files"));
    const QByteArray infoFolder = QFile::encodeName(trash + QStringLiteral("/info"));
    if (!ensureParents(QFileInfo(trash).path(), why) || !ensureFolder(QFile::encodeName(trash), why) ||
        !ensureFolder(files, why) || !ensureFolder(infoFolder, why)) {
        return FileResult::failure(trashUnusable(trash, why));
    }

    // The note's name is reserved first; whoever holds it owns that name in files/ too.
    const QString name = QFileInfo(original).fileName();
    QByteArray note;
    QByteArray target;
    for (int attempt = 1; attempt <= MostNameAttempts && note.isEmpty(); ++attempt) {
        const QByteArray candidate = QFile::encodeName(candidateName(name, attempt));
        const QByteArray notePath = infoFolder + '/' + candidate + ".trashinfo";
        const int fd =
            ::open(notePath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return FileResult::failure(trashUnusable(trash, systemFailure(errno)));
        }
        ::close(fd);
        struct stat there {};
        if (::lstat((files + '/' + candidate).constData(), &there) == 0) {
            // A file without its note: not ours to take the place of.
            ::unlink(notePath.constData());
            continue;
        }
        note = notePath;
        target = files + '/' + candidate;
    }
    if (note.isEmpty()) {
        return FileResult::failure(trashUnusable(trash, FileError::of(FileError::Kind::NoFreeName)));
    }
    if (!fillNote(note, trashInfo(original), why)) {
        ::unlink(note.constData());
        return FileResult::failure(trashUnusable(trash, why));
    }

    int code = renameNoReplace(source, target);
    if (code == EXDEV) {
        // Another file system: a whole copy first, then the original goes.
        const FileResult copied = copyAcross(original, QFile::decodeName(target));
        if (!copied.ok) {
            ::unlink(note.constData());
            return FileResult::failure(trashUnusable(trash, copied.error));
        }
        code = ::unlink(source.constData()) == 0 ? 0 : errno;
        if (code != 0) {
            ::unlink(target.constData());
        }
    }
    if (code != 0) {
        ::unlink(note.constData());
        return FileResult::failure(systemFailure(code).kept());
    }
    if (pathInTrash != nullptr) {
        *pathInTrash = QFile::decodeName(target);
    }
    return FileResult::success();
}

namespace {

// Trash notes are a few lines; nothing larger is read as one.
constexpr qint64 MostNoteBytes = qint64{64} * 1024;

// A note's text: an ordinary file, never read through a link; nothing when it cannot be read.
std::optional<QByteArray> readNote(const QString& path) {
    const ReadOpen opened = openForReading(QFile::encodeName(path).constData(), Links::Refuse);
    const Descriptor fd(opened.fd);
    if (!fd.isOpen() || opened.size > MostNoteBytes) {
        return std::nullopt;
    }
    QByteArray bytes(MostNoteBytes + 1, Qt::Uninitialized);
    const qint64 got = readFully(fd.get(), bytes.data(), bytes.size());
    if (got < 0 || got > MostNoteBytes) {
        return std::nullopt;
    }
    bytes.truncate(got);
    return bytes;
}

// A trash note's Path= line names `original`: percent-encoded as the desktop standard has it, or
// as it is (as Qt writes it); absolute in the home trash, relative to the drive's top in a drive's.
bool noteNames(const QByteArray& value, const QString& original) {
    for (const QString& recorded : {QString::fromUtf8(value), QUrl::fromPercentEncoding(value)}) {
        if (recorded == original || (!recorded.startsWith(u'/') && original.endsWith(u'/' + recorded))) {
            return true;
        }
    }
    return false;
}

// The trashes a file deleted from `original` may be in: the home trash first, then its drive's own.
QStringList trashesFor(const QString& original) {
    QStringList trashes;
    const QString home = homeTrashDirectory();
    if (!home.isEmpty()) {
        trashes.append(home);
    }
    // A drive's own trashes, for files that were not on the home drive.
    const QString top = QStorageInfo(QFileInfo(original).absolutePath()).rootPath();
    if (!top.isEmpty()) {
        const QString uid = QString::number(::getuid());
        trashes.append(QDir(top).filePath(QStringLiteral(".Trash-") + uid));
        trashes.append(QDir(top).filePath(QStringLiteral(".Trash/") + uid));
    }
    return trashes;
}

// What one trash note says: whether it is about `original`, and when that was deleted.
struct TrashNote {
    bool about = false;
    QString when;
};

std::optional<TrashNote> readTrashNote(const QString& path, const QString& original) {
    const std::optional<QByteArray> text = readNote(path);
    if (!text) {
        return std::nullopt;
    }
    TrashNote note;
    for (const QByteArray& line : text->split('\n')) {
        if (line.startsWith("Path=")) {
            note.about = noteNames(line.mid(5).trimmed(), original);
        } else if (line.startsWith("DeletionDate=")) {
            note.when = QString::fromUtf8(line.mid(13).trimmed());
        }
    }
    return note;
}

bool occupied(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

void forgetTrashNote(const QString& trashPath, const QString& original) {
    // A desktop trash keeps the file in files/ and a note about it in info/<name>.trashinfo.
    const QFileInfo inTrash(trashPath);
    QDir trash = inTrash.dir();
    if (trash.dirName() != QLatin1String("files") || !trash.cdUp()) {
        return;
    }
    const QString info =
        trash.filePath(QStringLiteral("info/") + inTrash.fileName() + QStringLiteral(".trashinfo"));
    const std::optional<QByteArray> note = readNote(info);
    if (!note) {
        return;
    }
    for (const QByteArray& line : note->split('\n')) {
        if (!line.startsWith("Path=")) {
            continue;
        }
        if (noteNames(line.mid(5).trimmed(), original)) {
            removeFile(info);
        }
        return;
    }
}

QString findInTrash(const QString& original, const std::function<bool(const QString& file)>& accept) {
    const QString name = QFileInfo(original).fileName();
    QString found;
    QString newest;
    for (const QString& trash : trashesFor(original)) {
        const QDir info(trash + QStringLiteral("/info"));
        // Only the notes whose names start like the file's: a full trash is not read through.
        const QStringList notes =
            info.entryList({QStringLiteral("*.trashinfo")}, QDir::Files | QDir::Hidden, QDir::Name);
        for (const QString& noteName : notes) {
            if (!noteName.startsWith(QFileInfo(name).completeBaseName())) {
                continue;
            }
            const std::optional<TrashNote> note = readTrashNote(info.filePath(noteName), original);
            if (!note) {
                continue;
            }
            const QString file =
                trash + QStringLiteral("/files/") + noteName.chopped(int(qstrlen(".trashinfo")));
            if (!note->about || !occupied(file) || note->when < newest || !accept(file)) {
                continue;
            }
            found = file;
            newest = note->when;
        }
    }
    return found;
}

} // namespace vestimo::platform
