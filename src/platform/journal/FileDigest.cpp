#include "platform/journal/FileDigest.h"

#include "platform/Descriptor.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vestimo::platform {

namespace {

DigestError systemFailure(int code) {
    return {DigestError::Kind::System, 0, systemError(code)};
}

DigestError problem(DigestError::Kind kind, qint64 number = 0) {
    return {kind, number, {}};
}

} // namespace

bool processGone(qint64 pid) {
    if (pid <= 0) {
        return false;
    }
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
        return true;
    }
    if (pid == ::getpid()) {
        return false;
    }
    const QString theirs = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    const QString ours = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return !theirs.isEmpty() && !ours.isEmpty() && theirs != ours;
}

QString digestOf(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

FileDigest digestFile(const QString& path, qint64 keepLimit) {
    FileDigest digest;
    const QByteArray name = QFile::encodeName(path);
    const Descriptor fd(::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        digest.error = errno == ELOOP ? problem(DigestError::Kind::Link) : systemFailure(errno);
        return digest;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        digest.error = systemFailure(errno);
        return digest;
    }
    if (!S_ISREG(info.st_mode)) {
        digest.error = problem(DigestError::Kind::NotRegularFile);
        return digest;
    }
    if (keepLimit > 0 && info.st_size > keepLimit) {
        digest.error = problem(DigestError::Kind::TooLarge, keepLimit);
        return digest;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer.data(), static_cast<size_t>(buffer.size()));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            digest.error = systemFailure(errno);
            digest.bytes.clear();
            return digest;
        }
        if (got == 0) {
            break;
        }
        total += got;
        const QByteArrayView chunk(buffer.constData(), static_cast<qsizetype>(got));
        hash.addData(chunk);
        if (keepLimit > 0) {
            // A file that grows while it is read is still held to the limit.
            if (total > keepLimit) {
                digest.error = problem(DigestError::Kind::TooLarge, keepLimit);
                digest.bytes.clear();
                return digest;
            }
            digest.bytes.append(chunk);
        }
    }
    digest.ok = true;
    digest.size = total;
    digest.modified = qint64{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec;
    digest.device = static_cast<qint64>(info.st_dev);
    digest.inode = static_cast<qint64>(info.st_ino);
    digest.sha256 = QString::fromLatin1(hash.result().toHex());
    return digest;
}

} // namespace vestimo::platform
