#include "core/cmx/CmxFileSource.h"

#include "platform/ReadOpen.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace vestimo::cmx {

// Straight from the descriptor: a skin description comes in with the first read, and the walk
// asks for more only when its verdict needs it. Buffered streams would cost more system calls per
// file, a fair part of a directory-wide run. A skin file may be a link to one kept elsewhere; it
// is only read here, so links are followed.
CmxFileSource::CmxFileSource(const std::string& path) {
    platform::ReadOpen opened = platform::openForReading(path.c_str(), platform::Links::Follow);
    if (opened.fd < 0) {
        error_ = opened.error;
        return;
    }
    if (opened.size > CmxSizeLimit) {
        ::close(opened.fd);
        tooLarge_ = true;
        error_ = "too large to be a skin description (" + std::to_string(opened.size) + " bytes)";
        return;
    }
    fd_ = opened.fd;
}

CmxFileSource::~CmxFileSource() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::size_t CmxFileSource::read(char* buffer, std::size_t capacity) {
    if (fd_ < 0 || !error_.empty()) {
        return 0;
    }
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, capacity);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            error_ = std::strerror(errno);
            return 0;
        }
    }
}

} // namespace vestimo::cmx
