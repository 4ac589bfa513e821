#pragma once

#include "platform/SkinFolder.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace vestimo::platform {

// Files of one content: indexes into the names asked about, the first file first.
struct IdenticalGroup {
    qint64 length = 0;
    QList<qsizetype> members;
};

// A file that could not be measured or read, and why.
struct UnreadableFile {
    qsizetype index = 0;
    FileError why;
};

struct IdenticalFiles {
    QList<IdenticalGroup> groups; // two files or more each
    QList<UnreadableFile> unreadable;
};

// Groups the files `names` of `folder` whose bytes are identical, every byte. Lengths first: only a
// file whose length another shares can have a twin, so only those are read. A file up to 64 KiB
// is read whole; a longer one is first told apart by its last 4 KiB and read through only when
// another of its length ends alike. A 64-bit hash finds the candidates, and each is compared byte
// for byte with the first file of that content (kept in memory up to 16 MiB of contents, read
// again past that). Empty files are never grouped; files longer than `limit` are not read and come
// back unreadable; links are followed. The files `wanted` names are read whole as well, once, and
// handed to `read` with their bytes (a file's own rules need them); each file is looked at once,
// so a file is unreadable at most once.
IdenticalFiles groupIdenticalFiles(const SkinFolder& folder, const QStringList& names, qint64 limit,
                                   const std::function<bool(qsizetype)>& wanted = {},
                                   const std::function<void(qsizetype, const QByteArray&)>& read = {});

} // namespace vestimo::platform
