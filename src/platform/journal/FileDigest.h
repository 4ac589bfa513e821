#pragma once

#include <QByteArray>
#include <QString>

namespace vestimo::platform {

// Why a file could not be digested; the catalogue makes the text.
struct DigestError {
    enum class Kind {
        None,
        Link,
        NotRegularFile,
        TooLarge, // number: the limit in bytes
        System,   // reason: the system's words
    };
    Kind kind = Kind::None;
    qint64 number = 0;
    QString reason;
    bool operator==(const DigestError&) const = default;
};

// What a file holds, as far as the journal cares: its length and SHA-256 (lowercase hex), and
// its bytes when asked for.
struct FileDigest {
    bool ok = false;
    DigestError error;
    qint64 size = 0;
    QString sha256;
    QByteArray bytes;
    qint64 modified = 0; // nanoseconds since 1970
    qint64 device = 0;
    qint64 inode = 0;
};

// Reads an ordinary file without following a link or blocking on a device. With `keepLimit` > 0
// the bytes are kept, and a file longer than that is refused.
FileDigest digestFile(const QString& path, qint64 keepLimit = 0);

// Whether the process `pid` is gone: no process has that id, or the one that has it now runs
// another program than this one (the id was given out again).
bool processGone(qint64 pid);

// SHA-256 of `bytes` as lowercase hex, the form the journal stores.
QString digestOf(const QByteArray& bytes);

} // namespace vestimo::platform
