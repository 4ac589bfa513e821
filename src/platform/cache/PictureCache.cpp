#include "platform/cache/PictureCache.h"

#include "platform/Descriptor.h"
#include "platform/FileSystem.h"
#include "platform/ReadOpen.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace vestimo::platform {

namespace {

constexpr char Magic[8] = {'V', 'S', 'T', 'M', 'P', 'I', 'C', 'S'};
constexpr quint32 FormatVersion = 1;
const QString EntrySuffix = QStringLiteral(".pic");
const QString ScratchMark = QStringLiteral(".part-");
// No entry is larger; a file past it is no entry of ours.
constexpr qint64 MaxEntryBytes = qint64{64} * 1024 * 1024;
constexpr qint64 MaxSources = 4096;
constexpr int ChecksumBytes = 32;
// When over the limit, entries go until the folder is this share of it, so that a full cache does
// not sort its index at every store.
constexpr double EvictTo = 0.9;

QString entryName(const QString& key) {
    return QString::fromLatin1(
               QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(40)) +
           EntrySuffix;
}

struct SourceIdentity {
    QString path;
    FileIdentity identity;
};

QByteArray encode(const QString& key, const std::vector<SourceIdentity>& sources, const QByteArray& picture) {
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out.writeRawData(Magic, sizeof Magic);
        out << FormatVersion << key.toUtf8() << static_cast<qint64>(sources.size());
        for (const SourceIdentity& source : sources) {
            out << source.path.toUtf8() << source.identity.size << source.identity.modifiedNs
                << source.identity.inode << source.identity.device;
        }
        out << picture;
    }
    bytes.append(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256));
    return bytes;
}

struct Entry {
    QString key;
    std::vector<SourceIdentity> sources;
    QByteArray picture;
};

// Nothing when the bytes are not a whole, undamaged entry.
std::optional<Entry> decode(const QByteArray& bytes) {
    if (bytes.size() < qsizetype{sizeof Magic} + ChecksumBytes) {
        return std::nullopt;
    }
    const QByteArray body = bytes.left(bytes.size() - ChecksumBytes);
    if (QCryptographicHash::hash(body, QCryptographicHash::Sha256) != bytes.right(ChecksumBytes)) {
        return std::nullopt;
    }
    QDataStream in(body);
    in.setVersion(QDataStream::Qt_6_0);
    char magic[sizeof Magic] = {};
    quint32 version = 0;
    QByteArray key;
    qint64 count = 0;
    if (in.readRawData(magic, sizeof magic) != sizeof magic ||
        !std::equal(magic, magic + sizeof magic, Magic)) {
        return std::nullopt;
    }
    in >> version >> key >> count;
    if (in.status() != QDataStream::Ok || version != FormatVersion || count < 0 || count > MaxSources) {
        return std::nullopt;
    }
    Entry entry;
    entry.key = QString::fromUtf8(key);
    for (qint64 i = 0; i < count; ++i) {
        QByteArray path;
        SourceIdentity source;
        in >> path >> source.identity.size >> source.identity.modifiedNs >> source.identity.inode >>
            source.identity.device;
        source.path = QString::fromUtf8(path);
        entry.sources.push_back(std::move(source));
    }
    in >> entry.picture;
    if (in.status() != QDataStream::Ok || !in.atEnd()) {
        return std::nullopt;
    }
    return entry;
}

// An entry file opened without following a link, refused unless ordinary, and read whole.
struct Opened {
    Descriptor fd;
    QByteArray bytes;
    bool ok = false;
};
Opened openEntry(const QString& path) {
    Opened opened;
    const ReadOpen open = openForReading(QFile::encodeName(path).constData(), Links::Refuse);
    if (open.fd < 0) {
        return opened;
    }
    opened.fd.reset(open.fd);
    if (open.size > MaxEntryBytes) {
        return opened;
    }
    opened.bytes.resize(open.size);
    opened.ok = readFully(open.fd, opened.bytes.data(), open.size) == open.size;
    return opened;
}

struct Indexed {
    qint64 size = 0;
    qint64 usedNs = 0; // the entry's modification time: its last use
};

qint64 modifiedNs(const struct stat& info) {
    return static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

} // namespace

struct PictureCache::State {
    QString folder;
    std::mutex mutex;
    qint64 limit = DefaultLimitBytes;
    bool indexed = false;
    QHash<QString, Indexed> index; // entry file name -> its size and last use
    qint64 total = 0;

    QString pathOf(const QString& name) const { return joinPath(folder, name); }

    // The folder's entries, listed once; later changes are known from this program's own stores
    // and removals (another program's show at the next eviction).
    void ensureIndex() {
        if (indexed) {
            return;
        }
        indexed = true;
        index.clear();
        total = 0;
        for (const QString& name : listFiles(folder, QStringLiteral("*") + EntrySuffix).names) {
            struct stat info {};
            if (::lstat(QFile::encodeName(pathOf(name)).constData(), &info) == 0 && S_ISREG(info.st_mode)) {
                index.insert(name, {static_cast<qint64>(info.st_size), modifiedNs(info)});
                total += info.st_size;
            }
        }
    }
    void forget(const QString& name) {
        const auto found = index.find(name);
        if (found != index.end()) {
            total -= found->size;
            index.erase(found);
        }
    }
    void remember(const QString& name, qint64 size, qint64 usedNs) {
        forget(name);
        index.insert(name, {size, usedNs});
        total += size;
    }
    // Drops the least recently used entries while over the limit.
    void evict() {
        if (total <= limit) {
            return;
        }
        std::vector<std::pair<qint64, QString>> byUse;
        byUse.reserve(static_cast<std::size_t>(index.size()));
        for (auto it = index.cbegin(); it != index.cend(); ++it) {
            byUse.emplace_back(it->usedNs, it.key());
        }
        std::sort(byUse.begin(), byUse.end());
        const auto target = static_cast<qint64>(static_cast<double>(limit) * EvictTo);
        for (const auto& [used, name] : byUse) {
            if (total <= target) {
                break;
            }
            const QByteArray path = QFile::encodeName(pathOf(name));
            struct stat info {};
            // Another program may have used it meanwhile: then it is no longer the oldest.
            if (::lstat(path.constData(), &info) == 0 && modifiedNs(info) > used) {
                continue;
            }
            if (::unlink(path.constData()) == 0 || errno == ENOENT) {
                forget(name);
            }
        }
    }
};

PictureCache::PictureCache(QString folder, qint64 limitBytes) : state_(std::make_unique<State>()) {
    state_->folder = QDir::cleanPath(folder);
    state_->limit = std::max<qint64>(0, limitBytes);
}

PictureCache::~PictureCache() = default;

QString PictureCache::defaultFolder() {
    // A relative setting is no setting, as the desktop standard says.
    QString cacheHome = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!cacheHome.startsWith(u'/')) {
        cacheHome = qEnvironmentVariable("HOME", QDir::homePath()) + QStringLiteral("/.cache");
    }
    return QDir::cleanPath(cacheHome + u'/' + applicationId() + QStringLiteral("/skins"));
}

std::optional<QByteArray> PictureCache::find(const QString& key) {
    const QString name = entryName(key);
    const QString path = state_->pathOf(name);
    Opened opened = openEntry(path);
    if (!opened.fd.isOpen()) {
        return std::nullopt;
    }
    std::optional<Entry> entry = opened.ok ? decode(opened.bytes) : std::nullopt;
    if (!entry) {
        // Damaged: drawn again and stored anew; nothing of it is worth keeping. Removed only while
        // it is still the file read: another thread may have stored a good one meanwhile.
        const QByteArray name8 = QFile::encodeName(path);
        struct stat read {};
        struct stat now {};
        const bool same = ::fstat(opened.fd.get(), &read) == 0 && ::lstat(name8.constData(), &now) == 0 &&
                          read.st_ino == now.st_ino && read.st_dev == now.st_dev;
        opened.fd.close();
        const bool removed = same && ::unlink(name8.constData()) == 0;
        const std::lock_guard lock(state_->mutex);
        if (removed) {
            state_->forget(name);
        }
        return std::nullopt;
    }
    if (entry->key != key) {
        return std::nullopt;
    }
    for (const SourceIdentity& source : entry->sources) {
        if (identifyFile(source.path) != source.identity) {
            return std::nullopt;
        }
    }
    // Touched through the descriptor read from, so that the least recently used go first.
    ::futimens(opened.fd.get(), nullptr);
    struct stat info {};
    const qint64 usedNs = ::fstat(opened.fd.get(), &info) == 0 ? modifiedNs(info) : 0;
    {
        const std::lock_guard lock(state_->mutex);
        if (state_->indexed) {
            state_->remember(name, opened.bytes.size(), usedNs);
        }
    }
    return std::move(entry->picture);
}

bool PictureCache::store(const QString& key, const QStringList& sources, const QByteArray& picture) {
    std::vector<SourceIdentity> identities;
    identities.reserve(static_cast<std::size_t>(sources.size()));
    for (const QString& source : sources) {
        const std::optional<FileIdentity> identity = identifyFile(source);
        if (!identity) {
            // A picture of a file that is gone now could never be found again.
            return false;
        }
        identities.push_back({source, *identity});
    }
    const QByteArray bytes = encode(key, identities, picture);
    if (bytes.size() > MaxEntryBytes || !QDir().mkpath(state_->folder)) {
        return false;
    }
    const QString name = entryName(key);
    const QString path = state_->pathOf(name);
    // Written whole beside the entry, then renamed over it: a rename replaces a link put there
    // instead of writing through it, and a reader never sees half an entry.
    QString scratch;
    FileResult written = FileResult::failure(FileError::system(systemError(EEXIST)));
    for (int attempt = 0; attempt < 8 && !written.ok; ++attempt) {
        scratch = path + ScratchMark + QString::number(QRandomGenerator::global()->generate(), 36);
        written = writeNewFile(scratch, bytes);
    }
    if (!written.ok) {
        return false;
    }
    if (std::rename(QFile::encodeName(scratch).constData(), QFile::encodeName(path).constData()) != 0) {
        ::unlink(QFile::encodeName(scratch).constData());
        return false;
    }
    struct stat info {};
    const qint64 usedNs = ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? modifiedNs(info) : 0;
    const std::lock_guard lock(state_->mutex);
    state_->ensureIndex();
    state_->remember(name, bytes.size(), usedNs);
    state_->evict();
    return true;
}

void PictureCache::setLimit(qint64 limitBytes) {
    const std::lock_guard lock(state_->mutex);
    state_->limit = std::max<qint64>(0, limitBytes);
    state_->ensureIndex();
    state_->evict();
}

qint64 PictureCache::limit() const {
    const std::lock_guard lock(state_->mutex);
    return state_->limit;
}

qint64 PictureCache::sizeOnDisk() const {
    const std::lock_guard lock(state_->mutex);
    state_->ensureIndex();
    return state_->total;
}

bool PictureCache::clear() {
    const std::lock_guard lock(state_->mutex);
    bool ok = true;
    const FileNames names = listFiles(state_->folder, QStringLiteral("*"));
    for (const QString& name : names.names) {
        if (!name.endsWith(EntrySuffix) && !name.contains(EntrySuffix + ScratchMark)) {
            continue;
        }
        if (::unlink(QFile::encodeName(state_->pathOf(name)).constData()) != 0 && errno != ENOENT) {
            ok = false;
        }
    }
    state_->indexed = false;
    state_->ensureIndex();
    return ok;
}

} // namespace vestimo::platform
