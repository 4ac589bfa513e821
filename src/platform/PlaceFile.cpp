#include "platform/PlaceFile.h"

#include "platform/Descriptor.h"

#include <QByteArray>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace vestimo::platform {

namespace {

int openForReading(const QString& path) {
    const int fd = ::open(path.toUtf8().constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        errno = EISDIR;
        return -1;
    }
    return fd;
}

Placement failure(int code, Placement::Problem problem = Placement::Problem::Other) {
    Placement placement;
    placement.ok = false;
    placement.problem = problem == Placement::Problem::Other && (code == ENOSPC || code == EDQUOT)
                            ? Placement::Problem::NoSpace
                            : problem;
    placement.error = systemError(code);
    return placement;
}

// Creates a file of a free temporary name in `dir`; -1 with the error number in `code` when not.
int createTemporary(int dir, QByteArray* temporary, int* code, bool* noName) {
    static int counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temporary = QStringLiteral(".vestimo-install-%1-%2.part").arg(::getpid()).arg(++counter).toUtf8();
        const int fd =
            ::openat(dir, temporary->constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) {
            return fd;
        }
        if (errno != EEXIST) {
            *code = errno;
            return -1;
        }
    }
    *code = EEXIST;
    *noName = true;
    return -1;
}

// Copies all of `in` to `out`; 0 when it went well, else the error code.
int copyAll(int in, int out) {
    std::vector<char> buffer(std::size_t{1} << 16);
    for (;;) {
        int code = 0;
        const qint64 got = readFully(in, buffer.data(), static_cast<qint64>(buffer.size()), &code);
        if (got < 0) {
            return code;
        }
        if (got == 0) {
            return 0;
        }
        QString why;
        if (!writeAll(out, buffer.data(), got, why, &code)) {
            return code;
        }
    }
}

// Gives the temporary file in `dir` its name, never replacing a file that has it; 0 or the error code.
int renameWithoutReplacing(int dir, const QByteArray& temporary, const QByteArray& target) {
    // RENAME_NOREPLACE: a file that appeared meanwhile under this name is never replaced.
    int code =
        ::renameat2(dir, temporary.constData(), dir, target.constData(), RENAME_NOREPLACE) == 0 ? 0 : errno;
    if (code == EINVAL || code == ENOSYS) {
        // A file system without no-replace renames: a hard link fails just as surely on a taken name.
        code = ::linkat(dir, temporary.constData(), dir, target.constData(), 0) == 0 ? 0 : errno;
        if (code == 0) {
            ::unlinkat(dir, temporary.constData(), 0);
        }
    }
    return code;
}

} // namespace

Placement placeNewFile(const QString& source, const QString& folder, const QString& name, bool checkOnly) {
    const Descriptor dir(::open(folder.toUtf8().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.isOpen()) {
        return failure(errno);
    }
    const Descriptor in(openForReading(source));
    if (!in.isOpen()) {
        return failure(errno);
    }
    QByteArray temporary;
    int code = 0;
    bool noName = false;
    Descriptor out(createTemporary(dir.get(), &temporary, &code, &noName));
    if (!out.isOpen()) {
        return failure(code, noName ? Placement::Problem::NoTemporaryName : Placement::Problem::Other);
    }
    const auto fail = [&](int error) {
        ::unlinkat(dir.get(), temporary.constData(), 0);
        return failure(error);
    };
    const int copied = copyAll(in.get(), out.get());
    if (copied != 0) {
        return fail(copied);
    }
    struct stat written {};
    if (::fsync(out.get()) != 0 || ::fstat(out.get(), &written) != 0 || !out.close()) {
        return fail(errno);
    }
    if (checkOnly) {
        ::unlinkat(dir.get(), temporary.constData(), 0);
        return {};
    }
    code = renameWithoutReplacing(dir.get(), temporary, name.toUtf8());
    if (code != 0) {
        ::unlinkat(dir.get(), temporary.constData(), 0);
        return failure(code, code == EEXIST ? Placement::Problem::NameTaken : Placement::Problem::Other);
    }
    Placement placed;
    placed.placed = true;
    placed.device = static_cast<qint64>(written.st_dev);
    placed.inode = static_cast<qint64>(written.st_ino);
    return placed;
}

QString removePlaced(const QString& folder, const QString& name, const Placement& placed) {
    const Descriptor dir(::open(folder.toUtf8().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.isOpen()) {
        return systemError(errno);
    }
    const QByteArray encoded = name.toUtf8();
    struct stat now {};
    if (::fstatat(dir.get(), encoded.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0 ||
        static_cast<qint64>(now.st_dev) != placed.device || static_cast<qint64>(now.st_ino) != placed.inode) {
        return {}; // not ours any more
    }
    return ::unlinkat(dir.get(), encoded.constData(), 0) == 0 ? QString() : systemError(errno);
}

bool sameBytes(const QString& first, const QString& second) {
    const Descriptor a(openForReading(first));
    const Descriptor b(openForReading(second));
    struct stat sa {};
    struct stat sb {};
    if (!a.isOpen() || !b.isOpen() || ::fstat(a.get(), &sa) != 0 || ::fstat(b.get(), &sb) != 0 ||
        sa.st_size != sb.st_size) {
        return false;
    }
    constexpr qint64 Chunk = qint64{1} << 16;
    std::vector<char> left(Chunk);
    std::vector<char> right(Chunk);
    for (;;) {
        const qint64 gotLeft = readFully(a.get(), left.data(), Chunk);
        const qint64 gotRight = readFully(b.get(), right.data(), Chunk);
        if (gotLeft < 0 || gotRight < 0 || gotLeft != gotRight) {
            return false;
        }
        if (gotLeft == 0) {
            return true;
        }
        if (std::memcmp(left.data(), right.data(), static_cast<std::size_t>(gotLeft)) != 0) {
            return false;
        }
    }
}

std::optional<FreeSpace> freeSpace(const QString& folder) {
    struct statvfs volume {};
    if (::statvfs(folder.toUtf8().constData(), &volume) != 0) {
        return std::nullopt;
    }
    return FreeSpace{static_cast<qint64>(volume.f_bavail) * static_cast<qint64>(volume.f_frsize),
                     static_cast<qint64>(volume.f_frsize)};
}

qint64 processId() {
    return ::getpid();
}

} // namespace vestimo::platform
