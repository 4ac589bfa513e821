#include "platform/ProgramLock.h"

#include "platform/FileSystem.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLockFile>
#include <QThread>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace vestimo::platform {

ProgramLock::ProgramLock(const QString& programDirectory)
    : path_(JoinPath(programDirectory, QStringLiteral(".vestimo.lock"))) {}

ProgramLock::~ProgramLock() {
#ifdef Q_OS_UNIX
    if (fd_ >= 0) {
        ::close(fd_); // releases the lock; the empty lock file may stay, it holds nothing
    }
#endif
}

bool ProgramLock::Acquire(int waitMs) {
#ifdef Q_OS_UNIX
    // An advisory lock on a small file: the system drops it with the process, so a copy that
    // crashed never leaves the folder locked, and taking it costs no write to disk.
    fd_ = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd_ < 0) {
        return false;
    }
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        if (deadline.hasExpired()) {
            ::close(fd_);
            fd_ = -1;
            return false;
        }
        QThread::msleep(20);
    }
#else
    fallback_ = std::make_unique<QLockFile>(path_);
    return fallback_->tryLock(waitMs);
#endif
}

} // namespace vestimo::platform
