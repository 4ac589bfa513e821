#include "platform/ReadOpen.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vestimo::platform {

ReadOpen openForReading(const char* path, Links links) {
    return openForReadingAt(AT_FDCWD, path, links);
}

ReadOpen openForReadingAt(int directoryFd, const char* name, Links links) {
    ReadOpen opened;
    // O_NONBLOCK keeps open() of a FIFO from waiting for a writer; it is cleared again below.
    int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    if (links == Links::Refuse) {
        flags |= O_NOFOLLOW;
    }
    int fd = -1;
    do {
        fd = ::openat(directoryFd, name, flags);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int code = errno;
        opened.error = links == Links::Refuse && code == ELOOP ? NotOrdinaryFile : std::strerror(code);
        return opened;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        opened.error = std::strerror(errno);
        ::close(fd);
        return opened;
    }
    if (!S_ISREG(info.st_mode)) {
        opened.error = S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : NotOrdinaryFile;
        ::close(fd);
        return opened;
    }
    // The status flags are those it was opened with: no need to ask for them first.
    if (::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        opened.error = std::strerror(errno);
        ::close(fd);
        return opened;
    }
    opened.fd = fd;
    opened.size = static_cast<std::int64_t>(info.st_size);
    opened.inode = static_cast<std::int64_t>(info.st_ino);
    opened.device = static_cast<std::int64_t>(info.st_dev);
    opened.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return opened;
}

} // namespace vestimo::platform
