#pragma once

#include "platform/Descriptor.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The game's own archives ("FAR!byAZ", version 1a), where it keeps its skins, skeletons and meshes.
// Read in place, never unpacked to disk: every count, offset and length the archive claims is held
// against the file's real size before anything is allocated for it.
namespace vestimo::platform::archive {

// Why an archive, or one entry of it, could not be read. The catalogue makes the text.
struct FarError {
    enum class Kind {
        None,
        NotOpened,        // reason: the system's words
        NotAFar,          // no "FAR!byAZ" at the start
        UnknownVersion,   // number: the version found
        Truncated,        // shorter than its header or its manifest says
        ManifestOutside,  // number: the manifest's offset, past the end of the file
        ManifestTooLarge, // number: the limit in bytes
        TooManyEntries,   // number: the count the manifest claims
        EntryOutside,     // name: an entry whose data lies past the end of the file
        NameOutside,      // number: the entry whose name runs past the end of the manifest
        NoSuchEntry,      // name
        Compressed,       // name: the game never compresses, so such an entry is not trusted
        EntryTooLarge,    // name; number: the caller's limit in bytes
        NotRead,          // name, reason
    };
    Kind kind = Kind::None;
    QString name;
    qint64 number = 0;
    QString reason;
    bool operator==(const FarError&) const = default;
};

struct FarEntry {
    QByteArray name;        // as stored (the game's names are ASCII, folders separated by "\")
    quint32 size = 0;       // bytes the entry unpacks to
    quint32 storedSize = 0; // bytes it takes in the archive; differs from size only when compressed
    quint32 offset = 0;     // from the start of the archive
};

inline constexpr qint64 FarHeaderBytes = 16;
// Far beyond the game's largest archive (some 3,000 entries); keeps a damaged manifest small.
inline constexpr qint64 FarMaxManifestBytes = qint64{16} * 1024 * 1024;

// Pure parsing, for the reader and the fuzzer alike. The manifest's offset from the archive's
// first 16 bytes, held against `fileSize`.
std::optional<quint32> parseFarHeader(QByteArrayView header, qint64 fileSize, FarError* error);
// The entries from the manifest's bytes (everything from its offset to the end of the file);
// every entry's data must lie inside `fileSize`.
std::optional<std::vector<FarEntry>> parseFarManifest(QByteArrayView manifest, qint64 fileSize,
                                                      FarError* error);

// One archive kept open for reading its entries.
class FarArchive {
public:
    // Opens `path` (never through a link, regular files only) and reads its manifest.
    static std::optional<FarArchive> open(const QString& path, FarError* error);

    const std::vector<FarEntry>& entries() const { return entries_; }
    QStringList names() const;
    // The entry named so, case ignored as the game on Windows ignores it; nullptr if none.
    const FarEntry* find(QByteArrayView name) const;
    // The entry's bytes, if it is no larger than `sizeLimit`.
    std::optional<QByteArray> read(const FarEntry& entry, qint64 sizeLimit, FarError* error) const;
    std::optional<QByteArray> read(QByteArrayView name, qint64 sizeLimit, FarError* error) const;

private:
    FarArchive(Descriptor fd, std::vector<FarEntry> entries)
        : fd_(std::move(fd)), entries_(std::move(entries)) {}
    Descriptor fd_;
    std::vector<FarEntry> entries_;
};

} // namespace vestimo::platform::archive
