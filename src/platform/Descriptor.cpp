#include "platform/Descriptor.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace vestimo::platform {

QString systemError(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

Descriptor::~Descriptor() {
    close();
}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        reset(other.release());
    }
    return *this;
}

int Descriptor::release() {
    return std::exchange(fd_, -1);
}

void Descriptor::reset(int fd) {
    close();
    fd_ = fd;
}

bool Descriptor::close() {
    const int fd = release();
    return fd < 0 || ::close(fd) == 0;
}

bool writeAll(int fd, const char* data, qint64 size, QString& why, int* code) {
    while (size > 0) {
        const ssize_t wrote = ::write(fd, data, static_cast<size_t>(size));
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            const int error = wrote < 0 ? errno : ENOSPC;
            why = systemError(error);
            if (code != nullptr) {
                *code = error;
            }
            return false;
        }
        data += wrote;
        size -= wrote;
    }
    return true;
}

qint64 readSome(int fd, char* into, qint64 size, int* code) {
    for (;;) {
        const ssize_t got = ::read(fd, into, static_cast<size_t>(size));
        if (got >= 0) {
            return got;
        }
        if (errno != EINTR) {
            if (code != nullptr) {
                *code = errno;
            }
            return -1;
        }
    }
}

qint64 readFully(int fd, char* into, qint64 size, int* code) {
    qint64 total = 0;
    while (total < size) {
        const qint64 got = readSome(fd, into + total, size - total, code);
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    return total;
}

} // namespace vestimo::platform
