#include "core/cmx/CmxFileSource.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vestimo::cmx {

// Straight from the descriptor: a skin description comes in with the first read, and the walk
// asks for more only when its verdict needs it. Buffered streams would cost more system calls per
// file, a fair part of a directory-wide run.
CmxFileSource::CmxFileSource(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (fd_ < 0) {
        error_ = std::strerror(errno);
    }
}

CmxFileSource::~CmxFileSource() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::size_t CmxFileSource::Read(char* buffer, std::size_t capacity) {
    if (fd_ < 0 || !error_.empty()) {
        return 0;
    }
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, capacity);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            error_ = std::strerror(errno); // a folder opens, but reading it says "Is a directory"
            return 0;
        }
    }
}

} // namespace vestimo::cmx
