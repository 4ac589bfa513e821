#include "platform/Probe.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vestimo::platform::probe {

namespace {

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

// A name that survives the trip to text and back; others could not be opened by name later.
bool nameable(const char* raw, QString& name) {
    name = QFile::decodeName(raw);
    return QFile::encodeName(name) == QByteArray(raw);
}

// Reads up to `size` bytes, retrying after signals; -1 on error.
ssize_t readSome(int fd, char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

class RegularFile {
public:
    explicit RegularFile(const QString& path) {
        fd_ = ::open(encoded(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) {
            return;
        }
        struct stat info {};
        if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
        size_ = info.st_size;
    }
    ~RegularFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    qint64 Size() const { return size_; }
    int Descriptor() const { return fd_; }

private:
    int fd_ = -1;
    qint64 size_ = 0;
};

} // namespace

bool isDirectory(const QString& path) {
    struct stat info {};
    return !path.isEmpty() && ::stat(encoded(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

namespace {

// The names in `path` whose entries are directories (or regular files when `wantDirectories` is false).
QStringList entries(const QString& path, bool wantDirectories) {
    QStringList names;
    DIR* dir = ::opendir(encoded(path).constData());
    if (dir == nullptr) {
        return names;
    }
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const char* raw = entry->d_name;
        if (raw[0] == '.' && (raw[1] == '\0' || (raw[1] == '.' && raw[2] == '\0'))) {
            continue;
        }
        bool wanted = entry->d_type == (wantDirectories ? DT_DIR : DT_REG);
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            wanted = ::fstatat(dirFd, raw, &info, 0) == 0 &&
                     (wantDirectories ? S_ISDIR(info.st_mode) : S_ISREG(info.st_mode));
        }
        QString name;
        if (wanted && nameable(raw, name)) {
            names.append(name);
        }
    }
    ::closedir(dir);
    return names;
}

} // namespace

QStringList subdirectories(const QString& path) {
    return entries(path, true);
}

QStringList files(const QString& path) {
    return entries(path, false);
}

QString canonicalPath(const QString& path) {
    if (path.isEmpty()) {
        return {};
    }
    char* resolved = ::realpath(encoded(path).constData(), nullptr);
    if (resolved == nullptr) {
        return {};
    }
    QString result = QFile::decodeName(resolved);
    std::free(resolved);
    return result;
}

QString linkTarget(const QString& path) {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(encoded(path).constData(), buffer, sizeof buffer);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer) {
        return {};
    }
    const QByteArray raw(buffer, length);
    const QString target = QFile::decodeName(raw);
    return QFile::encodeName(target) == raw ? target : QString();
}

std::optional<QByteArray> readSmallFile(const QString& path, qint64 limit) {
    RegularFile file(path);
    if (!file.isOpen() || file.Size() > limit) {
        return std::nullopt;
    }
    // One byte past the limit shows a file that grew meanwhile.
    QByteArray bytes(static_cast<qsizetype>(limit + 1), Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = readSome(file.Descriptor(), bytes.data() + filled,
                                     static_cast<std::size_t>(bytes.size() - filled));
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        filled += got;
    }
    if (filled > limit) {
        return std::nullopt;
    }
    bytes.truncate(filled);
    return bytes;
}

bool forEachLine(const QString& path, qint64 limit, qsizetype longestLine,
                 const std::function<bool(QByteArrayView)>& line) {
    RegularFile file(path);
    if (!file.isOpen()) {
        return false;
    }
    constexpr qsizetype ChunkSize = 1 << 16;
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    // The start of a line that runs on into the next chunk; never longer than `longestLine`.
    QByteArray carried;
    bool carrying = false;
    auto hand = [&line](QByteArrayView text) {
        if (text.endsWith('\r')) {
            text.chop(1);
        }
        return line(text);
    };
    qint64 total = 0;
    while (total < limit) {
        const qint64 wanted = std::min<qint64>(ChunkSize, limit - total);
        const ssize_t got = readSome(file.Descriptor(), chunk.data(), static_cast<std::size_t>(wanted));
        if (got <= 0) {
            if (got < 0 && total == 0) {
                return false;
            }
            break;
        }
        total += got;
        const char* data = chunk.constData();
        qsizetype start = 0;
        while (start < got) {
            const void* found = std::memchr(data + start, '\n', static_cast<std::size_t>(got - start));
            const qsizetype end = found ? static_cast<const char*>(found) - data : got;
            const QByteArrayView piece(data + start, end - start);
            if (found == nullptr) {
                // The line goes on in the next chunk: keep what fits.
                carried.append(piece.first(
                    std::min(piece.size(), std::max<qsizetype>(0, longestLine - carried.size()))));
                carrying = true;
                break;
            }
            if (carrying) {
                carried.append(piece.first(
                    std::min(piece.size(), std::max<qsizetype>(0, longestLine - carried.size()))));
                const bool more = hand(carried);
                carried.resize(0);
                carrying = false;
                if (!more) {
                    return true;
                }
            } else if (!hand(piece.first(std::min(piece.size(), longestLine)))) {
                return true;
            }
            start = end + 1;
        }
    }
    if (carrying && !carried.isEmpty()) {
        hand(carried);
    }
    return true;
}

} // namespace vestimo::platform::probe
