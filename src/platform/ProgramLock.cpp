#include "platform/ProgramLock.h"

#include "platform/FileSystem.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLockFile>
#include <QThread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vestimo::platform {

ProgramLock::ProgramLock(const QString& programDirectory)
    : path_(joinPath(programDirectory, QStringLiteral(".vestimo.lock"))) {}

ProgramLock::~ProgramLock() {
#ifdef Q_OS_UNIX
    if (fd_ >= 0) {
        ::close(fd_); // releases the lock; the empty lock file may stay, it holds nothing
    }
#endif
}

ProgramLock::Result ProgramLock::acquire(int waitMs) {
    using Kind = Result::Kind;
    using Problem = Result::Problem;
#ifdef Q_OS_UNIX
    // An advisory lock on a small file: the system drops it with the process, so a copy that
    // crashed never leaves the folder locked, and taking it costs no write to disk. Only a lock
    // another process holds means "busy"; a lock file that cannot be used is a different story.
    fd_ = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK,
                 0644);
    if (fd_ < 0) {
        const int code = errno;
        return code == ELOOP
                   ? Result{Kind::Failed, Problem::Link, {}}
                   : Result{Kind::Failed, Problem::System, QString::fromLocal8Bit(std::strerror(code))};
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        return {Kind::Failed, Problem::NotRegularFile, {}};
    }
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            return {};
        }
        const int code = errno;
        if (code != EWOULDBLOCK && code != EINTR) {
            ::close(fd_);
            fd_ = -1;
            return {Kind::Failed, Problem::System, QString::fromLocal8Bit(std::strerror(code))};
        }
        if (deadline.hasExpired()) {
            ::close(fd_);
            fd_ = -1;
            return {Kind::Busy, Problem::None, {}};
        }
        QThread::msleep(20);
    }
#else
    fallback_ = std::make_unique<QLockFile>(path_);
    if (fallback_->tryLock(waitMs)) {
        return {};
    }
    return fallback_->error() == QLockFile::LockFailedError ? Result{Kind::Busy, Problem::None, {}}
                                                            : Result{Kind::Failed, Problem::Unusable, {}};
#endif
}

} // namespace vestimo::platform
