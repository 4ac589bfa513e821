#include "platform/FileSystem.h"

#include "platform/Wildcard.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>
#ifdef Q_OS_LINUX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace vestimo::platform {

namespace {

QString SystemError(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

bool Occupied(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

FileResult CopyAcross(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        return FileResult::Fail(in.errorString());
    }
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return FileResult::Fail(Occupied(target) ? QStringLiteral("a file of that name is already there")
                                                 : out.errorString());
    }
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    bool failed = false;
    QString why;
    for (;;) {
        const qint64 got = in.read(buffer.data(), buffer.size());
        if (got < 0) {
            failed = true;
            why = in.errorString();
            break;
        }
        if (got == 0) {
            break;
        }
        if (out.write(buffer.constData(), got) != got) {
            failed = true;
            why = out.errorString();
            break;
        }
    }
    if (!failed && !out.flush()) {
        failed = true;
        why = out.errorString();
    }
    out.close();
    if (!failed && QFileInfo(target).size() != in.size()) {
        failed = true;
        why = QStringLiteral("the copy came out at a different length");
    }
    if (failed) {
        out.remove();
    }
    return failed ? FileResult::Fail(why) : FileResult::Ok();
}

} // namespace

QString JoinPath(const QString& directory, const QString& name) {
    if (directory.endsWith(u'/') || directory.endsWith(u'\\')) {
        return directory + name;
    }
    return directory + u'/' + name;
}

QStringList ListFiles(const QString& directory, const QString& pattern, QStringList* unnamable) {
    QStringList names;
#ifdef Q_OS_LINUX
    // readdir straight away: a folder of ten thousand skins is listed without a file-info object
    // per entry, and names that are not valid text are seen rather than silently dropped.
    DIR* dir = ::opendir(QFile::encodeName(directory).constData());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
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
        const QString name = QFile::decodeName(bytes);
        if (QFile::encodeName(name) != bytes) {
            if (unnamable != nullptr && WildcardMatch(pattern, name)) {
                unnamable->append(name);
            }
            continue;
        }
        if (WildcardMatch(pattern, name)) {
            names.append(name);
        }
    }
    ::closedir(dir);
#else
    Q_UNUSED(unnamable);
    QDirIterator it(directory, QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (WildcardMatch(pattern, name)) {
            names.append(name);
        }
    }
#endif
    return names;
}

QString LookUpFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile() || info.isHidden()) {
        return {};
    }
    return info.fileName();
}

std::optional<qint64> FileLength(const QString& path, QString* error) {
    const QFileInfo info(path);
    if (!info.exists()) {
        if (error != nullptr) {
            *error = SystemError(ENOENT);
        }
        return std::nullopt;
    }
    if (info.isDir()) {
        if (error != nullptr) {
            *error = SystemError(EISDIR);
        }
        return std::nullopt;
    }
    return info.size();
}

FileResult MoveFile(const QString& source, const QString& target) {
    const QFileInfo from(source);
    if (!from.exists() && !from.isSymLink()) {
        return FileResult::Fail(QStringLiteral("it is no longer there"));
    }
    if (from.isDir()) {
        return FileResult::Fail(QStringLiteral("it is a folder, not a file"));
    }
    if (Occupied(target)) {
        return FileResult::Fail(QStringLiteral("a file of that name is already in %1")
                                    .arg(QDir::toNativeSeparators(QFileInfo(target).absolutePath())));
    }
#ifdef Q_OS_LINUX
    const QByteArray s = QFile::encodeName(source);
    const QByteArray t = QFile::encodeName(target);
    // RENAME_NOREPLACE makes "never replace" hold even if a file appears in the meantime.
    int code = renameat2(AT_FDCWD, s.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0 ? 0 : errno;
    if (code == EINVAL || code == ENOSYS) {
        // A file system without no-replace renames; the target was checked just above.
        code = std::rename(s.constData(), t.constData()) == 0 ? 0 : errno;
    }
    if (code == 0) {
        return FileResult::Ok();
    }
    if (code == EEXIST) {
        return FileResult::Fail(QStringLiteral("a file of that name is already in %1")
                                    .arg(QDir::toNativeSeparators(QFileInfo(target).absolutePath())));
    }
    if (code != EXDEV) {
        return FileResult::Fail(SystemError(code));
    }
#else
    if (QFile::rename(source, target)) {
        return FileResult::Ok();
    }
#endif
    const FileResult copied = CopyAcross(source, target);
    if (!copied.ok) {
        return copied;
    }
    QFile original(source);
    if (!original.remove()) {
        // Two copies are better than none: take the new one back and report.
        const QString why = original.errorString();
        QFile::remove(target);
        return FileResult::Fail(why);
    }
    return FileResult::Ok();
}

FileResult MoveToTrash(const QString& path, QString* pathInTrash) {
    if (!QFileInfo::exists(path)) {
        return FileResult::Fail(QStringLiteral("it is no longer there"));
    }
    QFile file(path);
    if (file.moveToTrash()) {
        if (pathInTrash != nullptr) {
            *pathInTrash = file.fileName(); // now the file's place in the trash
        }
        return FileResult::Ok();
    }
    return FileResult::Fail(QStringLiteral("no trash is available for it here, so it was kept"));
}

ReadResult ReadFile(const QString& path, qint64 limit) {
    ReadResult result;
    QFile file(path);
    if (QFileInfo(path).isDir()) {
        result.error = SystemError(EISDIR);
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    if (file.size() > limit) {
        result.error = QStringLiteral("it is larger than %1 MiB").arg(limit / (1024 * 1024));
        return result;
    }
    // One byte past the stated size shows a file that grew meanwhile; a size of 0 may be a
    // file that does not know its size, so read those up to the limit.
    result.bytes = file.size() > 0 ? file.read(file.size() + 1) : file.read(limit + 1);
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        result.bytes.clear();
        return result;
    }
    if (result.bytes.size() > limit) {
        result.error = QStringLiteral("it is larger than %1 MiB").arg(limit / (1024 * 1024));
        result.bytes.clear();
        return result;
    }
    result.ok = true;
    return result;
}

FileResult SaveFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return FileResult::Fail(file.errorString());
    }
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return FileResult::Fail(why);
    }
    if (!file.commit()) {
        return FileResult::Fail(file.errorString());
    }
    return FileResult::Ok();
}

FileResult WriteNewFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return FileResult::Fail(Occupied(path) ? QStringLiteral("a file of that name is already there")
                                               : file.errorString());
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString why = file.errorString();
        file.remove();
        return FileResult::Fail(why);
    }
    return FileResult::Ok();
}

FileResult SaveNewFile(const QString& path, const QByteArray& bytes) {
    if (Occupied(path)) {
        return FileResult::Fail(QStringLiteral("a file of that name is already there"));
    }
    // Write beside it first, then move it in without replacing anything.
    const QString scratch = path + QStringLiteral(".vestimo-part");
    if (Occupied(scratch)) {
        return FileResult::Fail(QStringLiteral("a file named %1 is in the way").arg(QFileInfo(scratch).fileName()));
    }
    const FileResult written = SaveFile(scratch, bytes);
    if (!written.ok) {
        return written;
    }
    const FileResult moved = MoveFile(scratch, path);
    if (!moved.ok) {
        QFile::remove(scratch);
    }
    return moved;
}

FileResult RemoveFile(const QString& path) {
    QFile file(path);
    return file.remove() ? FileResult::Ok() : FileResult::Fail(file.errorString());
}

QString ProgramDirectory() {
    const QString own = QCoreApplication::applicationDirPath();
    // An installed program lives in a folder players cannot (or should not) write to; there the
    // problem files and the scratch listing go to the user's own data folder instead.
    static const QStringList systemFolders = {"/usr/bin", "/usr/local/bin", "/bin", "/usr/games", "/opt"};
    bool installed = !QFileInfo(own).isWritable();
    for (const QString& folder : systemFolders) {
        installed = installed || own == folder || own.startsWith(folder + u'/');
    }
    if (!installed) {
        return own;
    }
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}

QString CurrentDirectory() { return QDir::currentPath(); }

QString ResolveDirectory(const QString& root, const QString& relative) {
    QString path = root;
    const QStringList parts = QString(relative).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const QString exact = JoinPath(path, part);
        if (QFileInfo(exact).isDir()) {
            path = exact;
            continue;
        }
        QString found;
        const QStringList dirs = QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
        for (const QString& dir : dirs) {
            if (dir.compare(part, Qt::CaseInsensitive) == 0) {
                found = JoinPath(path, dir);
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
