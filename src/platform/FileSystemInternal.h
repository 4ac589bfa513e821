#pragma once

#include "platform/FileSystem.h"

#include <QList>

#include <optional>

// Pieces of the file system code that tests reach directly, because the situations that call
// them (a second file system, a case-insensitive mount) cannot be made on every test machine.
namespace vestimo::platform {

// The copy half of a move across file systems: a new file with the same bytes, mode and
// modification time; never replaces one, and leaves nothing behind on failure.
FileResult copyAcross(const QString& source, const QString& target);

// Of a folder's entry names, the one stored for `wanted`: the same bytes if there is one, else
// the first that differs only in case.
std::optional<QString> matchStoredName(const QList<QByteArray>& entries, const QByteArray& wanted);

// Where the link at `path` points, as written in it; empty when it is no link.
QString rawLinkTarget(const QString& path);

} // namespace vestimo::platform
