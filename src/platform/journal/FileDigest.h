#pragma once

#include <QByteArray>
#include <QString>

namespace vestimo::platform {

// What a file holds, as far as the journal cares: its length and SHA-256 (lowercase hex), and
// its bytes when asked for.
struct FileDigest {
    bool ok = false;
    QString error;
    qint64 size = 0;
    QString sha256;
    QByteArray bytes;
};

// Reads an ordinary file without following a link or blocking on a device. With `keepLimit` > 0
// the bytes are kept, and a file longer than that is refused.
FileDigest digestFile(const QString& path, qint64 keepLimit = 0);

// SHA-256 of `bytes` as lowercase hex, the form the journal stores.
QString digestOf(const QByteArray& bytes);

} // namespace vestimo::platform
