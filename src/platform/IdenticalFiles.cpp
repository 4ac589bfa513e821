#include "platform/IdenticalFiles.h"

#include "platform/Descriptor.h"
#include "platform/FileSystem.h"
#include "platform/ReadOpen.h"

#include <QHash>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <span>
#include <tuple>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vestimo::platform {

namespace {

// Files up to this length are read whole whenever they are read at all; files the caller wants
// whole always are.
constexpr qint64 WholeReadLength = qint64{64} * 1024;
// Longer files of a shared length are first told apart by their last bytes: textures of one size
// share every header byte, but their last rows of pixels almost never agree.
constexpr qint64 SampleLength = 4096;
// Long files are compared in pieces of this length, read into one buffer.
constexpr qint64 ChunkLength = qint64{128} * 1024;
// Room for the contents that files are compared with byte for byte, for each kind of grouping;
// past it a content is found by its hash and confirmed by reading its first file again.
constexpr qint64 DistinctBytes = qint64{16} * 1024 * 1024;

size_t tailHash(const char* bytes, qint64 length) {
    const qint64 from = std::max<qint64>(0, length - SampleLength);
    return qHashBits(bytes + from, static_cast<size_t>(length - from));
}

// The hash of the last SampleLength bytes of the file (all of it when shorter), or nothing with `why`.
std::optional<size_t> readTail(const SkinFolder& folder, const QByteArray& entry, QByteArray& buffer,
                               FileError& why) {
    const ReadOpen opened = openForReadingAt(folder.descriptor(), entry.constData(), Links::Follow);
    if (opened.fd < 0) {
        why = openError(opened.error);
        return std::nullopt;
    }
    const qint64 from = std::max<qint64>(0, opened.size - SampleLength);
    buffer.resize(static_cast<qsizetype>(opened.size - from));
    qsizetype total = 0;
    while (total < buffer.size()) {
        const ssize_t got =
            ::pread(opened.fd, buffer.data() + total, static_cast<size_t>(buffer.size() - total),
                    static_cast<off_t>(from + total));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            why = FileError::system(systemError(errno));
            ::close(opened.fd);
            return std::nullopt;
        }
        if (got == 0) {
            break; // shorter than it said: what was read still tells it apart
        }
        total += got;
    }
    ::close(opened.fd);
    return qHashBits(buffer.constData(), static_cast<size_t>(total));
}

// The length of the file (through a link), as fileLength gives it, in one stat: the
// report asks it of every file in the folder.
std::optional<qint64> lengthOf(const SkinFolder& folder, const QByteArray& entry, FileError& why) {
    struct stat status {};
    if (::fstatat(folder.descriptor(), entry.constData(), &status, 0) != 0) {
        why = FileError::system(systemError(errno));
        return std::nullopt;
    }
    if (S_ISDIR(status.st_mode)) {
        why = FileError::system(systemError(EISDIR));
        return std::nullopt;
    }
    return S_ISREG(status.st_mode) ? qint64{status.st_size} : 0;
}

// The contents of files read whole, to tell which are identical: found by length and a 64-bit
// hash, then confirmed byte for byte against the first file of that content, so equal hashes
// alone never make files identical. The first file's bytes are kept while they fit in
// DistinctBytes; past that it is read again to confirm.
class WholeContents {
public:
    WholeContents(const SkinFolder& folder, const std::vector<QByteArray>& entries, qint64 limit)
        : folder_(folder), entries_(entries), limit_(limit) {}

    void add(qsizetype index, const QByteArray& bytes) {
        const size_t key = qHashBits(bytes.constData(), static_cast<size_t>(bytes.size()),
                                     static_cast<size_t>(bytes.size()));
        const auto head = heads_.find(key);
        const std::size_t first = head == heads_.end() ? NoContent : *head;
        for (std::size_t at = first; at != NoContent; at = contents_[at].next) {
            Content& content = contents_[at];
            if (content.length == bytes.size() && sameAsFirst(content, bytes)) {
                content.members.append(index);
                return;
            }
        }
        Content content;
        content.length = bytes.size();
        content.members.append(index);
        content.next = first;
        if (keptBytes_ + bytes.size() <= DistinctBytes) {
            content.bytes = QByteArray(bytes.constData(), bytes.size()); // a copy of its own
            content.kept = true;
            keptBytes_ += bytes.size();
        }
        contents_.push_back(std::move(content));
        heads_.insert(key, contents_.size() - 1);
    }

    void appendGroups(IdenticalFiles& result) const {
        for (const Content& content : contents_) {
            if (content.members.size() > 1) {
                result.groups.append({content.length, content.members});
            }
        }
    }

private:
    static constexpr std::size_t NoContent = ~std::size_t{0};
    struct Content {
        qsizetype length = 0;
        QByteArray bytes; // of its first file, when kept
        bool kept = false;
        QList<qsizetype> members;     // the first file first
        std::size_t next = NoContent; // the next content of the same hash
    };

    bool sameAsFirst(const Content& content, const QByteArray& bytes) {
        if (content.kept) {
            return content.bytes == bytes;
        }
        const QByteArray& entry = entries_[static_cast<std::size_t>(content.members.first())];
        return readFileAt(folder_.descriptor(), entry.constData(), limit_, again_).ok && again_ == bytes;
    }

    const SkinFolder& folder_;
    const std::vector<QByteArray>& entries_;
    qint64 limit_;
    QHash<size_t, std::size_t> heads_; // hash -> the last content added with it
    std::vector<Content> contents_;
    qint64 keptBytes_ = 0;
    QByteArray again_;
};

// A long file of a shared length, told apart from the others by its length and its last bytes.
struct Sampled {
    qint64 length = 0;
    size_t tail = 0;
    qsizetype index = 0;
};

// One group of long files of equal length and equal last bytes, each read through in pieces and
// compared as it comes with the distinct contents met so far in the group, as many as fit in
// DistinctBytes. Past those a content is found by a hash of its pieces and confirmed by comparing
// the two files byte for byte.
class LongContents {
public:
    LongContents(const SkinFolder& folder, const std::vector<QByteArray>& entries, qint64 limit)
        : folder_(folder), entries_(entries), limit_(limit), chunk_(ChunkLength, Qt::Uninitialized) {}

    void group(std::span<const Sampled> files, IdenticalFiles& result) {
        distinct_.clear();
        unkept_.clear();
        const auto room = static_cast<std::size_t>(std::max<qint64>(1, DistinctBytes / files.front().length));
        for (const Sampled& file : files) {
            add(file.index, distinct_.size() < room, result);
        }
        for (const Distinct& content : distinct_) {
            appendGroup(content.members, content.bytes.size(), result);
        }
        for (const Unkept& content : unkept_) {
            appendGroup(content.members, content.length, result);
        }
    }

private:
    struct Distinct {
        QByteArray bytes;
        QList<qsizetype> members;
    };
    struct Unkept {
        qint64 length = 0;
        size_t hash = 0;
        QList<qsizetype> members; // the first file first
    };

    static void appendGroup(const QList<qsizetype>& members, qint64 length, IdenticalFiles& result) {
        if (members.size() >= 2) {
            result.groups.append({length, members});
        }
    }

    // Reads the file through once: compared with every kept content, and either kept itself
    // (`keep`) or hashed.
    void add(qsizetype index, bool keep, IdenticalFiles& result) {
        const QByteArray& entry = entries_[static_cast<std::size_t>(index)];
        const ReadOpen opened = openForReadingAt(folder_.descriptor(), entry.constData(), Links::Follow);
        if (opened.fd < 0) {
            result.unreadable.append({index, openError(opened.error)});
            return;
        }
        if (opened.size > limit_) {
            ::close(opened.fd);
            result.unreadable.append({index, tooLargeError(limit_)});
            return;
        }
        size_t hash = 0;
        qint64 total = 0;
        const FileError why = readComparing(opened, keep, total, hash);
        ::close(opened.fd);
        if (!why.isNone()) {
            result.unreadable.append({index, why});
            return;
        }
        settle(index, keep, total, hash);
    }

    // Reads the open file to its end, striking off each kept content it differs from, keeping its
    // bytes (`keep`) or hashing them; why not, when it could not be read.
    FileError readComparing(const ReadOpen& opened, bool keep, qint64& total, size_t& hash) {
        if (keep) {
            pending_.reserve(static_cast<qsizetype>(opened.size + ChunkLength));
        }
        alive_.assign(distinct_.size(), true);
        for (;;) {
            if (keep) {
                pending_.resize(static_cast<qsizetype>(total + ChunkLength));
            }
            char* const into = keep ? pending_.data() + total : chunk_.data();
            int code = 0;
            const qint64 got = readFully(opened.fd, into, ChunkLength, &code);
            if (got < 0) {
                return FileError::system(systemError(code));
            }
            strikeOff(into, total, got);
            if (!keep) {
                hash = qHashBits(into, static_cast<size_t>(got), hash);
            }
            total += got;
            if (total > limit_) {
                return tooLargeError(limit_);
            }
            if (got < ChunkLength) {
                return {};
            }
        }
    }

    // Strikes off the kept contents whose bytes at `offset` are not these.
    void strikeOff(const char* bytes, qint64 offset, qint64 count) {
        for (std::size_t d = 0; d < distinct_.size(); ++d) {
            const QByteArray& seen = distinct_[d].bytes;
            if (alive_[d] && (seen.size() < offset + count || std::memcmp(seen.constData() + offset, bytes,
                                                                          static_cast<size_t>(count)) != 0)) {
                alive_[d] = false;
            }
        }
    }

    // Puts the file just read with the kept content it equals, or with the unkept content of its
    // length and hash whose bytes it shares, or starts a content of its own.
    void settle(qsizetype index, bool keep, qint64 total, size_t hash) {
        const QByteArray& entry = entries_[static_cast<std::size_t>(index)];
        for (std::size_t d = 0; d < distinct_.size(); ++d) {
            if (alive_[d] && distinct_[d].bytes.size() == total) {
                distinct_[d].members.append(index);
                return;
            }
        }
        if (keep) {
            pending_.resize(static_cast<qsizetype>(total));
            distinct_.push_back({std::exchange(pending_, QByteArray()), {index}});
            return;
        }
        for (Unkept& content : unkept_) {
            if (content.length == total && content.hash == hash &&
                sameFiles(entries_[static_cast<std::size_t>(content.members.first())], entry)) {
                content.members.append(index);
                return;
            }
        }
        unkept_.push_back({total, hash, {index}});
    }

    // Whether the two files hold the same bytes, read side by side; false when either cannot be.
    bool sameFiles(const QByteArray& first, const QByteArray& second) {
        const ReadOpen a = openForReadingAt(folder_.descriptor(), first.constData(), Links::Follow);
        if (a.fd < 0) {
            return false;
        }
        const ReadOpen b = openForReadingAt(folder_.descriptor(), second.constData(), Links::Follow);
        if (b.fd < 0) {
            ::close(a.fd);
            return false;
        }
        other_.resize(ChunkLength);
        bool same = true;
        for (;;) {
            const qint64 gotA = readFully(a.fd, chunk_.data(), ChunkLength);
            const qint64 gotB = readFully(b.fd, other_.data(), ChunkLength);
            if (gotA < 0 || gotA != gotB ||
                std::memcmp(chunk_.constData(), other_.constData(), static_cast<size_t>(gotA)) != 0) {
                same = false;
                break;
            }
            if (gotA < ChunkLength) {
                break;
            }
        }
        ::close(a.fd);
        ::close(b.fd);
        return same;
    }

    const SkinFolder& folder_;
    const std::vector<QByteArray>& entries_;
    qint64 limit_;
    QByteArray chunk_;
    QByteArray other_;
    QByteArray pending_; // the file being read, while it may become a kept content
    std::vector<Distinct> distinct_;
    std::vector<Unkept> unkept_;
    std::vector<bool> alive_;
};

// Each file's length (-1 when it could not be had, with an Unreadable row), and how many files
// have each length above zero.
std::vector<qint64> lengthsOf(const SkinFolder& folder, const std::vector<QByteArray>& entries,
                              QHash<qint64, int>& lengthCount, IdenticalFiles& result) {
    std::vector<qint64> lengths(entries.size(), -1);
    for (qsizetype i = 0; i < static_cast<qsizetype>(entries.size()); ++i) {
        FileError why;
        const std::optional<qint64> length = lengthOf(folder, entries[static_cast<std::size_t>(i)], why);
        if (!length) {
            result.unreadable.append({i, why});
            continue;
        }
        lengths[static_cast<std::size_t>(i)] = *length;
        if (*length > 0) {
            ++lengthCount[*length];
        }
    }
    return lengths;
}

// Only the long files that may have a twin (one length, one tail) are read whole.
void compareLongFiles(const SkinFolder& folder, const std::vector<QByteArray>& entries, qint64 limit,
                      std::vector<Sampled>& sampled, IdenticalFiles& result) {
    std::sort(sampled.begin(), sampled.end(), [](const Sampled& a, const Sampled& b) {
        return std::tie(a.length, a.tail, a.index) < std::tie(b.length, b.tail, b.index);
    });
    LongContents longFiles(folder, entries, limit);
    for (std::size_t first = 0; first < sampled.size();) {
        std::size_t end = first + 1;
        while (end < sampled.size() && sampled[end].length == sampled[first].length &&
               sampled[end].tail == sampled[first].tail) {
            ++end;
        }
        if (end - first > 1) {
            longFiles.group(std::span(sampled).subspan(first, end - first), result);
        }
        first = end;
    }
}

} // namespace

IdenticalFiles groupIdenticalFiles(const SkinFolder& folder, const QStringList& names, qint64 limit,
                                   const std::function<bool(qsizetype)>& wanted,
                                   const std::function<void(qsizetype, const QByteArray&)>& read) {
    IdenticalFiles result;
    std::vector<QByteArray> entries;
    entries.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& name : names) {
        entries.push_back(folder.entry(name));
    }
    QHash<qint64, int> lengthCount;
    const std::vector<qint64> lengths = lengthsOf(folder, entries, lengthCount, result);
    WholeContents whole(folder, entries, limit);
    std::vector<Sampled> sampled;
    QByteArray buffer; // every file read whole, in turn; only the first of each content is kept
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QByteArray& entry = entries[static_cast<std::size_t>(i)];
        const qint64 length = lengths[static_cast<std::size_t>(i)];
        const bool hashed = length > 0 && lengthCount.value(length) > 1;
        const bool forCaller = length >= 0 && wanted && wanted(i);
        if (!hashed && !forCaller) {
            continue;
        }
        if (!forCaller && length > WholeReadLength) {
            FileError why;
            const std::optional<size_t> tail = readTail(folder, entry, buffer, why);
            if (!tail) {
                result.unreadable.append({i, why});
                continue;
            }
            sampled.push_back({length, *tail, i});
            continue;
        }
        const FileResult got = readFileAt(folder.descriptor(), entry.constData(), limit, buffer);
        if (!got.ok) {
            result.unreadable.append({i, got.error});
            continue;
        }
        if (hashed && length > WholeReadLength) {
            // A long file read whole for the caller is compared with the long files of its length.
            sampled.push_back({length, tailHash(buffer.constData(), buffer.size()), i});
        } else if (hashed) {
            whole.add(i, buffer);
        }
        if (forCaller) {
            read(i, buffer);
        }
    }
    whole.appendGroups(result);
    compareLongFiles(folder, entries, limit, sampled, result);
    return result;
}

} // namespace vestimo::platform
