#include "platform/archive/FarArchive.h"

#include "platform/ReadOpen.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace vestimo::platform::archive {

namespace {

using Kind = FarError::Kind;

constexpr qint64 EntryFixedBytes = 16; // four 32-bit fields before the name
constexpr quint32 Version1 = 1;

bool fail(FarError* error, FarError e) {
    if (error != nullptr) {
        *error = std::move(e);
    }
    return false;
}

// Little-endian, as every number in the archive is stored.
quint32 word(QByteArrayView bytes, qint64 at) {
    const auto byte = [&](qint64 i) {
        return static_cast<quint32>(static_cast<unsigned char>(bytes[at + i]));
    };
    return byte(0) | (byte(1) << 8) | (byte(2) << 16) | (byte(3) << 24);
}

// Reads exactly `size` bytes at `offset`, however the system splits them.
bool readAt(int fd, qint64 offset, char* into, qint64 size, int* code) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t got =
            ::pread(fd, into + done, static_cast<size_t>(size - done), static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            *code = got < 0 ? errno : 0;
            return false;
        }
        done += got;
    }
    return true;
}

} // namespace

std::optional<quint32> parseFarHeader(QByteArrayView header, qint64 fileSize, FarError* error) {
    if (header.size() < FarHeaderBytes) {
        fail(error, {Kind::Truncated, {}, 0, {}});
        return std::nullopt;
    }
    if (header.first(8) != QByteArrayView("FAR!byAZ")) {
        fail(error, {Kind::NotAFar, {}, 0, {}});
        return std::nullopt;
    }
    const quint32 version = word(header, 8);
    if (version != Version1) {
        fail(error, {Kind::UnknownVersion, {}, version, {}});
        return std::nullopt;
    }
    const quint32 offset = word(header, 12);
    // The manifest holds at least its count.
    if (offset < FarHeaderBytes || qint64{offset} + 4 > fileSize) {
        fail(error, {Kind::ManifestOutside, {}, offset, {}});
        return std::nullopt;
    }
    return offset;
}

std::optional<std::vector<FarEntry>> parseFarManifest(QByteArrayView manifest, qint64 fileSize,
                                                      FarError* error) {
    if (manifest.size() < 4) {
        fail(error, {Kind::Truncated, {}, 0, {}});
        return std::nullopt;
    }
    const quint32 count = word(manifest, 0);
    // Each entry takes at least its four numbers, so the manifest's size bounds the count before
    // anything is reserved for it.
    if (qint64{count} > (manifest.size() - 4) / EntryFixedBytes) {
        fail(error, {Kind::TooManyEntries, {}, count, {}});
        return std::nullopt;
    }
    std::vector<FarEntry> entries;
    entries.reserve(count);
    qint64 at = 4;
    for (quint32 i = 0; i < count; ++i) {
        if (at + EntryFixedBytes > manifest.size()) {
            fail(error, {Kind::Truncated, {}, i, {}});
            return std::nullopt;
        }
        FarEntry entry;
        entry.size = word(manifest, at);
        entry.storedSize = word(manifest, at + 4);
        entry.offset = word(manifest, at + 8);
        const quint32 nameLength = word(manifest, at + 12);
        at += EntryFixedBytes;
        if (qint64{nameLength} > manifest.size() - at) {
            fail(error, {Kind::NameOutside, {}, i, {}});
            return std::nullopt;
        }
        entry.name = manifest.sliced(at, nameLength).toByteArray();
        at += nameLength;
        if (qint64{entry.offset} + entry.storedSize > fileSize) {
            fail(error, {Kind::EntryOutside, QString::fromLatin1(entry.name), entry.offset, {}});
            return std::nullopt;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::optional<FarArchive> FarArchive::open(const QString& path, FarError* error) {
    const ReadOpen opened = openForReading(QFile::encodeName(path).constData(), Links::Refuse);
    if (opened.fd < 0) {
        fail(error, {Kind::NotOpened, {}, 0, QString::fromStdString(opened.error)});
        return std::nullopt;
    }
    Descriptor fd(opened.fd);
    QByteArray header(FarHeaderBytes, '\0');
    int code = 0;
    if (opened.size < FarHeaderBytes) {
        fail(error, {Kind::Truncated, {}, 0, {}});
        return std::nullopt;
    }
    if (!readAt(fd.get(), 0, header.data(), FarHeaderBytes, &code)) {
        fail(error, {code == 0 ? Kind::Truncated : Kind::NotOpened, {}, 0, systemError(code)});
        return std::nullopt;
    }
    const std::optional<quint32> offset = parseFarHeader(header, opened.size, error);
    if (!offset) {
        return std::nullopt;
    }
    const qint64 manifestBytes = opened.size - *offset;
    if (manifestBytes > FarMaxManifestBytes) {
        fail(error, {Kind::ManifestTooLarge, {}, FarMaxManifestBytes, {}});
        return std::nullopt;
    }
    QByteArray manifest(manifestBytes, '\0');
    if (!readAt(fd.get(), *offset, manifest.data(), manifestBytes, &code)) {
        fail(error, {code == 0 ? Kind::Truncated : Kind::NotOpened, {}, 0, systemError(code)});
        return std::nullopt;
    }
    std::optional<std::vector<FarEntry>> entries = parseFarManifest(manifest, opened.size, error);
    if (!entries) {
        return std::nullopt;
    }
    return FarArchive(std::move(fd), std::move(*entries));
}

QStringList FarArchive::names() const {
    QStringList names;
    names.reserve(static_cast<qsizetype>(entries_.size()));
    for (const FarEntry& entry : entries_) {
        names.append(QString::fromLatin1(entry.name));
    }
    return names;
}

const FarEntry* FarArchive::find(QByteArrayView name) const {
    for (const FarEntry& entry : entries_) {
        if (QByteArrayView(entry.name).compare(name, Qt::CaseInsensitive) == 0) {
            return &entry;
        }
    }
    return nullptr;
}

std::optional<QByteArray> FarArchive::read(const FarEntry& entry, qint64 sizeLimit, FarError* error) const {
    const QString name = QString::fromLatin1(entry.name);
    if (entry.storedSize != entry.size) {
        fail(error, {Kind::Compressed, name, 0, {}});
        return std::nullopt;
    }
    if (qint64{entry.size} > sizeLimit) {
        fail(error, {Kind::EntryTooLarge, name, sizeLimit, {}});
        return std::nullopt;
    }
    QByteArray bytes(entry.size, '\0');
    int code = 0;
    if (!readAt(fd_.get(), entry.offset, bytes.data(), entry.size, &code)) {
        // The file shrank since its manifest was read.
        fail(error, {Kind::NotRead, name, 0, code == 0 ? QString() : systemError(code)});
        return std::nullopt;
    }
    return bytes;
}

std::optional<QByteArray> FarArchive::read(QByteArrayView name, qint64 sizeLimit, FarError* error) const {
    const FarEntry* entry = find(name);
    if (entry == nullptr) {
        fail(error, {Kind::NoSuchEntry, QString::fromLatin1(name), 0, {}});
        return std::nullopt;
    }
    return read(*entry, sizeLimit, error);
}

} // namespace vestimo::platform::archive
