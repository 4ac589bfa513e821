#include "core/cmx/CmxFileSource.h"

#include "platform/ReadOpen.h"

#include <string>
#include <utility>

namespace vestimo::cmx {

// Straight from the descriptor: a skin description comes in with the first read, and the walk
// asks for more only when its verdict needs it. Buffered streams would cost more system calls per
// file, a fair part of a directory-wide run. A skin file may be a link to one kept elsewhere; it
// is only read here, so links are followed.
CmxFileSource::CmxFileSource(const std::string& path) {
    const platform::ReadOpen opened = platform::openForReading(path.c_str(), platform::Links::Follow);
    take(opened.fd, opened.size, opened.error);
}

CmxFileSource::CmxFileSource(int directoryFd, const std::string& name) {
    const platform::ReadOpen opened =
        platform::openForReadingAt(directoryFd, name.c_str(), platform::Links::Follow);
    take(opened.fd, opened.size, opened.error);
}

void CmxFileSource::take(int fd, std::int64_t size, const std::string& error) {
    platform::Descriptor descriptor(fd);
    if (!descriptor.isOpen()) {
        error_ = error;
        return;
    }
    if (size > CmxSizeLimit) {
        tooLarge_ = true;
        error_ = "too large to be a skin description (" + std::to_string(size) + " bytes)";
        return;
    }
    fd_ = std::move(descriptor);
}

std::size_t CmxFileSource::read(char* buffer, std::size_t capacity) {
    if (!fd_.isOpen() || !error_.empty()) {
        return 0;
    }
    int code = 0;
    const qint64 got = platform::readSome(fd_.get(), buffer, static_cast<qint64>(capacity), &code);
    if (got < 0) {
        error_ = platform::systemError(code).toStdString();
        return 0;
    }
    return static_cast<std::size_t>(got);
}

} // namespace vestimo::cmx
