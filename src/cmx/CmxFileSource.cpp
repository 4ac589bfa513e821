#include "cmx/CmxFileSource.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace vestimo::cmx {

CmxFileSource::CmxFileSource(const std::string& path) {
    errno = 0;
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
        error_ = std::strerror(errno != 0 ? errno : ENOENT);
        return;
    }
    // A directory opens on some systems but cannot be read as a file.
    struct stat info {};
    if (fstat(fileno(file_), &info) == 0 && S_ISDIR(info.st_mode)) {
        error_ = std::strerror(EISDIR);
        std::fclose(file_);
        file_ = nullptr;
    }
}

CmxFileSource::~CmxFileSource() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

std::size_t CmxFileSource::Read(char* buffer, std::size_t capacity) {
    if (file_ == nullptr || !error_.empty()) {
        return 0;
    }
    const std::size_t got = std::fread(buffer, 1, capacity, file_);
    if (got < capacity && std::ferror(file_) != 0) {
        error_ = std::strerror(errno != 0 ? errno : EIO);
    }
    return got;
}

} // namespace vestimo::cmx
