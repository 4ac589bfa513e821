#include "platform/archive/Unpack.h"

#include "platform/Descriptor.h"

#include <archive.h>
#include <archive_entry.h>

#include <QByteArray>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace vestimo::platform::archive {

namespace {

// Deeper than any download needs; it keeps the removal's recursion and the paths short.
constexpr int MaxFolderDepth = 32;
constexpr std::size_t ChunkBytes = std::size_t{64} * 1024;

using Kind = UnpackError::Kind;

UnpackError problem(Kind kind, QString reason = {}) {
    return {kind, {}, 0, std::move(reason)};
}

UnpackError named(Kind kind, QString name, QString reason = {}) {
    return {kind, std::move(name), 0, std::move(reason)};
}

using Fd = Descriptor;

// Everything inside the open folder `dir`, never following a link.
void removeContents(int dir, int depth) {
    const int listed = ::dup(dir);
    if (listed < 0) {
        return;
    }
    DIR* stream = ::fdopendir(listed);
    if (stream == nullptr) {
        ::close(listed);
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(stream)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            names.emplace_back(entry->d_name);
        }
    }
    ::closedir(stream);
    for (const std::string& name : names) {
        struct stat info {};
        if (::fstatat(dir, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        if (S_ISDIR(info.st_mode) && depth < MaxFolderDepth + 2) {
            const Fd inner(::openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (inner.get() >= 0) {
                removeContents(inner.get(), depth + 1);
            }
            ::unlinkat(dir, name.c_str(), AT_REMOVEDIR);
        } else {
            ::unlinkat(dir, name.c_str(), 0);
        }
    }
}

// Shared by both kinds of download: counting, limits, and making the staged files.
class Reader {
public:
    Reader(const StagingFolder& staging, const Wanted& wanted, const Limits& limits,
           const EntryProgress& progress)
        : staging_(staging), wanted_(wanted), limits_(limits), progress_(progress) {}

    Unpacked result;

    // Counts one more entry; false once past the limit.
    bool countEntry() {
        ++result.entries;
        if (result.entries > limits_.entries) {
            failure({Kind::TooManyEntries, {}, limits_.entries, {}});
            return false;
        }
        if (progress_) {
            progress_(result.entries);
        }
        return true;
    }

    void failure(const UnpackError& why) {
        if (result.ok) {
            result.ok = false;
            result.error = why;
        }
    }

    void refuse(const QByteArray& raw, const UnpackError& reason) {
        result.refused.append({shownName(raw), reason, raw});
    }

    bool isWanted(const QStringList& parts) const { return wanted_ && wanted_(parts.join(u'/')); }

    // Notes another entry of this path; false when an earlier entry had it already.
    bool firstOfItsName(const QStringList& parts) {
        const QString path = parts.join(u'/');
        if (!seen_.contains(path)) {
            seen_.insert(path);
            return true;
        }
        if (!result.duplicates.contains(path)) {
            result.duplicates.append(path);
        }
        return false;
    }

    // Opens the staged file for `parts`, making its folders one by one without following links.
    // -1 with `why` set when it cannot be made (the entry is then refused, not the download).
    int create(const QStringList& parts, UnpackError* why) {
        Fd dir(::dup(staging_.fd()));
        if (dir.get() < 0) {
            *why = problem(Kind::NotCreated, systemError(errno));
            return -1;
        }
        for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
            const QByteArray part = parts[i].toUtf8();
            if (::mkdirat(dir.get(), part.constData(), 0700) != 0 && errno != EEXIST) {
                *why = problem(Kind::NotCreated, systemError(errno));
                return -1;
            }
            const int next =
                ::openat(dir.get(), part.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (next < 0) {
                *why = errno == ENOTDIR || errno == ELOOP ? named(Kind::FolderNameTaken, parts[i])
                                                          : problem(Kind::NotCreated, systemError(errno));
                return -1;
            }
            dir.reset(next);
        }
        const int fd = ::openat(dir.get(), parts.last().toUtf8().constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            *why = errno == EEXIST ? problem(Kind::NameTwice) : problem(Kind::NotCreated, systemError(errno));
        }
        return fd;
    }

    // Counts `size` more bytes of the entry `raw`; false once past a limit.
    bool countBytes(const QByteArray& raw, qint64& entryBytes, qint64 size) {
        entryBytes += size;
        result.bytes += size;
        if (entryBytes > limits_.entryBytes) {
            failure({Kind::EntryTooLarge, shownName(raw), limits_.entryBytes, {}});
            return false;
        }
        if (result.bytes > limits_.totalBytes) {
            failure({Kind::TooLargeInAll, {}, limits_.totalBytes, {}});
            return false;
        }
        return true;
    }

    QString stagedPath(const QStringList& parts) const { return staging_.path() + u'/' + parts.join(u'/'); }

    const StagingFolder& staging_;

private:
    const Wanted& wanted_;
    const Limits& limits_;
    const EntryProgress& progress_;
    QSet<QString> seen_;
};

// Libarchive's own words, or nothing when it gave none.
QString archiveReason(struct archive* a) {
    const char* why = archive_error_string(a);
    return why != nullptr ? QString::fromUtf8(why) : QString();
}

// Why an entry is not unpacked (its name, or a kind other than file or folder), or nothing.
std::optional<UnpackError> entryRefusal(struct archive_entry* entry, const QByteArray& raw,
                                        QStringList* parts) {
    std::optional<UnpackError> refusal = refuseName(raw, parts);
    if (refusal) {
        return refusal;
    }
    const auto type = archive_entry_filetype(entry);
    if (archive_entry_hardlink(entry) != nullptr) {
        return problem(Kind::HardLink);
    }
    if (type == AE_IFLNK || archive_entry_symlink(entry) != nullptr) {
        return problem(Kind::SymbolicLink);
    }
    if (type != AE_IFREG && type != AE_IFDIR) {
        return problem(Kind::NotAFile);
    }
    return std::nullopt;
}

// Whether the entry is protected by a password; the download then fails, saying so.
bool stoppedByPassword(struct archive* a, struct archive_entry* entry, std::vector<char>& buffer,
                       Reader& reader) {
    if (!archive_entry_is_encrypted(entry) && archive_read_has_encrypted_entries(a) <= 0) {
        return false;
    }
    // Reading it is what makes the library say why it cannot.
    const la_ssize_t got = archive_read_data(a, buffer.data(), buffer.size());
    reader.failure(problem(Kind::Password, got < 0 ? archiveReason(a) : QString()));
    return true;
}

// Reads the entry's data, counting it and writing it to `out` when that is open; false once the
// download as a whole has failed.
bool readEntryData(struct archive* a, Reader& reader, const QByteArray& raw, const Fd& out,
                   std::vector<char>& buffer, qint64& entryBytes) {
    for (;;) {
        const la_ssize_t got = archive_read_data(a, buffer.data(), buffer.size());
        if (got == 0) {
            return true;
        }
        if (got < 0) {
            reader.failure(named(Kind::EntryDamaged, shownName(raw), archiveReason(a)));
            return false;
        }
        if (!reader.countBytes(raw, entryBytes, got)) {
            return false;
        }
        QString why;
        if (out.get() >= 0 && !writeAll(out.get(), buffer.data(), got, why)) {
            reader.failure(named(Kind::EntryNotWritten, shownName(raw), why));
            return false;
        }
    }
}

// Unpacks one file entry into the staging folder when it is wanted, else only reads it through;
// false once the download as a whole has failed.
bool unpackFile(struct archive* a, Reader& reader, const QByteArray& raw, const QStringList& parts,
                std::vector<char>& buffer) {
    Fd out;
    UnpackError why;
    // A later entry of a name already read is only read through, so that it counts.
    if (!reader.firstOfItsName(parts)) {
        qint64 entryBytes = 0;
        return readEntryData(a, reader, raw, out, buffer, entryBytes);
    }
    const bool wanted = reader.isWanted(parts);
    if (wanted) {
        out.reset(reader.create(parts, &why));
        if (out.get() < 0) {
            reader.refuse(raw, why);
        }
    }
    qint64 entryBytes = 0;
    if (!readEntryData(a, reader, raw, out, buffer, entryBytes)) {
        return false;
    }
    if (out.get() >= 0) {
        if (!out.close()) {
            reader.failure(named(Kind::EntryNotWritten, shownName(raw), systemError(errno)));
            return false;
        }
        reader.result.files.append({parts.join(u'/'), reader.stagedPath(parts), entryBytes});
    } else if (!wanted) {
        reader.result.others.append(parts.join(u'/'));
    }
    return true;
}

// Handles the next entry of the archive; false when there is none or the download has failed.
bool readNextEntry(struct archive* a, Reader& reader, std::vector<char>& buffer) {
    struct archive_entry* entry = nullptr;
    const int status = archive_read_next_header(a, &entry);
    if (status == ARCHIVE_EOF) {
        return false;
    }
    if (status < ARCHIVE_WARN) {
        reader.failure(problem(Kind::Damaged, archiveReason(a)));
        return false;
    }
    if (!reader.countEntry()) {
        return false;
    }
    const char* utf8 = archive_entry_pathname_utf8(entry);
    const char* plain = archive_entry_pathname(entry);
    const QByteArray raw(utf8 != nullptr ? utf8 : (plain != nullptr ? plain : ""));
    QStringList parts;
    const std::optional<UnpackError> refusal = entryRefusal(entry, raw, &parts);
    if (stoppedByPassword(a, entry, buffer, reader)) {
        return false;
    }
    if (refusal) {
        reader.refuse(raw, *refusal);
        if (!parts.isEmpty() && archive_entry_filetype(entry) != AE_IFDIR) {
            reader.firstOfItsName(parts);
        }
        // Read through, not skipped: skipping still unpacks compressed data, and only what is
        // read is counted against the limits.
        qint64 entryBytes = 0;
        return readEntryData(a, reader, raw, Fd(), buffer, entryBytes);
    }
    if (archive_entry_filetype(entry) == AE_IFDIR) {
        return true;
    }
    return unpackFile(a, reader, raw, parts, buffer);
}

void readArchive(int fd, Reader& reader) {
    struct archive* a = archive_read_new();
    if (a == nullptr) {
        reader.failure(problem(Kind::LibraryNotStarted));
        return;
    }
    archive_read_support_filter_all(a);
    archive_read_support_format_all(a);
    if (archive_read_open_fd(a, fd, ChunkBytes) != ARCHIVE_OK) {
        reader.failure(problem(Kind::NotAnArchive, archiveReason(a)));
        archive_read_free(a);
        return;
    }
    std::vector<char> buffer(ChunkBytes);
    // Entry after entry, until the end of the archive or a failure of the whole download.
    while (readNextEntry(a, reader, buffer)) {
    }
    archive_read_free(a);
}

struct FolderWalk {
    Reader& reader;
    dev_t stagingDevice = 0;
    ino_t stagingInode = 0;
    std::vector<char> buffer = std::vector<char>(ChunkBytes);

    // Copies one file of the folder into the staging folder, counting as it reads.
    bool copy(int dir, const char* name, const QByteArray& raw, const QStringList& parts) {
        const Fd in(::openat(dir, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat info {};
        if (in.get() < 0 || ::fstat(in.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
            reader.refuse(raw, in.get() < 0 ? problem(Kind::NotReadable, systemError(errno))
                                            : problem(Kind::NotReadableFile));
            return true;
        }
        UnpackError why;
        Fd out(reader.create(parts, &why));
        if (out.get() < 0) {
            reader.refuse(raw, why);
            return true;
        }
        qint64 entryBytes = 0;
        for (;;) {
            const ssize_t got = ::read(in.get(), buffer.data(), buffer.size());
            if (got == 0) {
                break;
            }
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                reader.failure(named(Kind::EntryNotRead, shownName(raw), systemError(errno)));
                return false;
            }
            if (!reader.countBytes(raw, entryBytes, got)) {
                return false;
            }
            QString notWritten;
            if (!writeAll(out.get(), buffer.data(), got, notWritten)) {
                reader.failure(named(Kind::EntryNotWritten, shownName(raw), notWritten));
                return false;
            }
        }
        if (!out.close()) {
            reader.failure(named(Kind::EntryNotWritten, shownName(raw), systemError(errno)));
            return false;
        }
        reader.result.files.append({parts.join(u'/'), reader.stagedPath(parts), entryBytes});
        return true;
    }

    // The names in the folder, sorted; false (the download failed) when it cannot be listed.
    bool listNames(int dir, std::vector<std::string>* names) {
        const int listed = ::dup(dir);
        DIR* stream = listed >= 0 ? ::fdopendir(listed) : nullptr;
        if (stream == nullptr) {
            if (listed >= 0) {
                ::close(listed);
            }
            reader.failure(problem(Kind::FolderNotListed, systemError(errno)));
            return false;
        }
        while (const dirent* entry = ::readdir(stream)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
                names->emplace_back(entry->d_name);
            }
        }
        ::closedir(stream);
        std::sort(names->begin(), names->end());
        return true;
    }

    // Why an entry of this kind at this depth is not taken, or nothing.
    static std::optional<UnpackError> kindRefusal(const struct stat& info, int depth) {
        if (S_ISLNK(info.st_mode)) {
            return problem(Kind::SymbolicLink);
        }
        if (!S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode)) {
            return problem(Kind::NotAFile);
        }
        if (S_ISDIR(info.st_mode) && depth >= MaxFolderDepth) {
            return UnpackError{Kind::TooDeep, {}, MaxFolderDepth, {}};
        }
        return std::nullopt;
    }

    // Walks into the inner folder `name`; false once the download as a whole has failed.
    bool walkInto(int dir, const std::string& name, const QByteArray& raw, int depth) {
        const Fd inner(::openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (inner.get() < 0) {
            reader.refuse(raw, problem(Kind::NotReadable, systemError(errno)));
            return true;
        }
        return walk(inner.get(), raw + '/', depth + 1);
    }

    // False once the download as a whole has failed.
    bool walk(int dir, const QByteArray& prefix, int depth) {
        std::vector<std::string> names;
        if (!listNames(dir, &names)) {
            return false;
        }
        for (const std::string& name : names) {
            if (!reader.countEntry()) {
                return false;
            }
            const QByteArray raw = prefix + QByteArray(name.c_str());
            struct stat info {};
            if (::fstatat(dir, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
                reader.refuse(raw, problem(Kind::NotReadable, systemError(errno)));
                continue;
            }
            if (S_ISDIR(info.st_mode) && info.st_dev == stagingDevice && info.st_ino == stagingInode) {
                continue; // our own staging folder, when the download is the folder that holds it
            }
            QStringList parts;
            std::optional<UnpackError> refusal = refuseName(raw, &parts);
            if (!refusal) {
                refusal = kindRefusal(info, depth);
            }
            if (refusal) {
                reader.refuse(raw, *refusal);
                continue;
            }
            if (S_ISDIR(info.st_mode)) {
                if (!walkInto(dir, name, raw, depth)) {
                    return false;
                }
                continue;
            }
            if (!reader.isWanted(parts)) {
                reader.result.others.append(parts.join(u'/'));
                continue;
            }
            if (!copy(dir, name.c_str(), raw, parts)) {
                return false;
            }
        }
        return true;
    }
};

bool isControl(char16_t c) {
    return c < 0x20 || (c >= 0x7f && c <= 0x9f);
}

} // namespace

std::optional<StagingFolder> StagingFolder::create(const QString& path, UnpackError* error) {
    const QByteArray encoded = path.toUtf8();
    if (::mkdir(encoded.constData(), 0700) != 0) {
        *error = errno == EEXIST ? named(Kind::StagingTaken, path)
                                 : named(Kind::StagingNotMade, path, systemError(errno));
        return std::nullopt;
    }
    const int fd = ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        *error = named(Kind::StagingNotOpened, path, systemError(errno));
        ::rmdir(encoded.constData());
        return std::nullopt;
    }
    return StagingFolder(path, fd);
}

StagingFolder::StagingFolder(StagingFolder&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)) {}

StagingFolder::~StagingFolder() {
    if (fd_ < 0) {
        return;
    }
    removeContents(fd_, 0);
    ::close(fd_);
    ::rmdir(path_.toUtf8().constData());
}

QString shownName(const QByteArray& rawName) {
    QString shown;
    shown.reserve(rawName.size());
    const auto escaped = [](uint code) {
        return QStringLiteral("\\x%1").arg(code, 2, 16, QChar(u'0')).toUpper().replace(u'X', u'x');
    };
    qsizetype at = 0;
    while (at < rawName.size()) {
        const auto lead = static_cast<unsigned char>(rawName[at]);
        const qsizetype length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const QByteArray sequence = rawName.mid(at, length);
        const QString text = QString::fromUtf8(sequence);
        // A sequence is valid exactly when it comes back unchanged: stray, overlong and cut
        // sequences are replaced on the way in.
        if (text.toUtf8() != sequence) {
            shown += escaped(lead);
            ++at;
            continue;
        }
        shown += text.size() == 1 && isControl(text[0].unicode()) ? escaped(text[0].unicode()) : text;
        at += length;
    }
    return shown;
}

std::optional<UnpackError> refuseName(const QByteArray& rawName, QStringList* parts) {
    const QString text = QString::fromUtf8(rawName);
    if (text.toUtf8() != rawName) {
        return problem(Kind::NameNotText);
    }
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return isControl(c.unicode()); })) {
        return problem(Kind::NameHasControl);
    }
    if (text.startsWith(u'/') || text.startsWith(u'\\')) {
        return problem(Kind::AbsolutePath);
    }
    // Downloads made on Windows separate folders with backslashes, and may name a drive.
    QStringList found = text.split(QRegularExpression(QStringLiteral("[/\\\\]")), Qt::SkipEmptyParts);
    if (!found.isEmpty() && found.first().size() == 2 && found.first()[1] == u':' &&
        found.first()[0].isLetter()) {
        return problem(Kind::AbsolutePath);
    }
    found.removeAll(QStringLiteral("."));
    if (found.contains(QStringLiteral(".."))) {
        return problem(Kind::DotDotInPath);
    }
    if (found.isEmpty()) {
        return problem(Kind::NoName);
    }
    if (found.size() > MaxFolderDepth + 1) {
        return UnpackError{Kind::TooDeep, {}, MaxFolderDepth, {}};
    }
    *parts = std::move(found);
    return std::nullopt;
}

Unpacked unpack(const QString& download, const StagingFolder& staging, const Wanted& wanted,
                const Limits& limits, const EntryProgress& progress) {
    Reader reader(staging, wanted, limits, progress);
    const Fd fd(::open(download.toUtf8().constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0) {
        reader.failure(errno == ELOOP ? problem(Kind::DownloadIsLink)
                                      : problem(Kind::DownloadNotOpened, systemError(errno)));
        return reader.result;
    }
    if (S_ISDIR(info.st_mode)) {
        struct stat own {};
        ::fstat(staging.fd(), &own);
        FolderWalk walk{reader, own.st_dev, own.st_ino};
        walk.walk(fd.get(), QByteArray(), 0);
    } else if (S_ISREG(info.st_mode) && info.st_size == 0) {
        reader.result.empty = true;
        reader.failure(problem(Kind::DownloadEmpty));
    } else if (S_ISREG(info.st_mode)) {
        // Reading blocks again: a regular file never waits, and libarchive expects it to.
        ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
        readArchive(fd.get(), reader);
    } else {
        reader.failure(problem(Kind::NeitherFileNorFolder));
    }
    if (!reader.result.ok) {
        reader.result.files.clear(); // nothing of it may be used
    }
    return reader.result;
}

} // namespace vestimo::platform::archive
