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

// The other half: the copy, then the original removed (the copy taken back when it cannot be).
FileResult moveAcross(const QString& source, const QString& target);

// moveFile for the file `entry` names relative to the folder open as `directoryFd` (AT_FDCWD: the
// working folder); `source` is the same file as a path, for a copy across file systems.
FileResult moveFileAt(int directoryFd, const QByteArray& entry, const QString& source, const QString& target);

// listFiles for the folder open as `directoryFd`, which stays open.
FileNames listFolderAt(int directoryFd, const QString& pattern);

// Of a folder's entry names, the one stored for `wanted`: the same bytes if there is one, else
// the first that differs only in case.
std::optional<QString> matchStoredName(const QList<QByteArray>& entries, const QByteArray& wanted);

// Where the link at `path` points, as written in it; empty when it is no link.
QString rawLinkTarget(const QString& path);

} // namespace vestimo::platform
