#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Looking at fixed places on disk without changing anything: for code that decides where things
// are and must not touch the file system itself. Every function answers "nothing" for a place
// that is missing or unreadable; none of them reports an error.
namespace vestimo::platform::probe {

// A directory, or a link to one.
bool isDirectory(const QString& path);

// Names of the subdirectories of `path` (links to directories included), in no particular order.
// Names that are not valid text are left out: they could not be named back.
QStringList subdirectories(const QString& path);

// Names of the regular files of `path` (links to them included), in no particular order; names
// that are not valid text are left out.
QStringList files(const QString& path);

// The absolute path with every link resolved, or empty when `path` does not exist.
QString canonicalPath(const QString& path);

// The target of the symbolic link at `path` as stored (possibly relative), or empty when `path`
// is not a link.
QString linkTarget(const QString& path);

// The bytes of the regular file at `path` when it holds at most `limit` bytes. Links are not
// followed and nothing blocks (a pipe or device is refused).
std::optional<QByteArray> readSmallFile(const QString& path, qint64 limit);

// Hands each line of the regular file at `path` to `line` (without its line end; a line longer
// than `longestLine` bytes is cut there) until `line` returns false, the end, or `limit` bytes
// were read. Opened like ReadSmallFile. False when the file could not be read at all.
bool forEachLine(const QString& path, qint64 limit, qsizetype longestLine,
                 const std::function<bool(QByteArrayView)>& line);

} // namespace vestimo::platform::probe
