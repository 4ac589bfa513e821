#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Putting new files into a folder others may be using at the same time (the game's skin folders):
// a name is never taken from another file, and a file is taken out again only while it is still
// the one put there.
namespace vestimo::platform {

// How putting one file in place went; `device` and `inode` identify the file placed, so that only
// that file is ever taken out again.
struct Placement {
    enum class Problem {
        None,
        NoSpace,         // the disk or the user's quota is full
        NameTaken,       // a file of the name appeared meanwhile
        NoTemporaryName, // every temporary name tried was taken
        Other,           // `error` says why, in the system's words
    };
    bool ok = true;
    Problem problem = Problem::None;
    QString error;       // the system's words, when it gave some
    bool placed = false; // false when checking only
    qint64 device = 0;
    qint64 inode = 0;
};

// Copies `source` (an ordinary file, never through a link) into `folder` under a temporary name,
// synced to disk, then gives it `name` without replacing any file that has it; `checkOnly` removes
// the copy again instead, having shown that it could be written.
Placement placeNewFile(const QString& source, const QString& folder, const QString& name, bool checkOnly);

// Takes the file `placed` at `folder`/`name` out again; a file of that name that is not the one
// placed (someone put another there meanwhile) is left alone. Empty, or why it stays.
QString removePlaced(const QString& folder, const QString& name, const Placement& placed);

// Whether the two files hold the same bytes; a file that cannot be read is not the same.
bool sameBytes(const QString& first, const QString& second);

struct FreeSpace {
    qint64 bytes = 0; // free for this user
    qint64 block = 0; // the file system's block size
};
// The space left on the file system holding `folder`; nothing when it cannot be told.
std::optional<FreeSpace> freeSpace(const QString& folder);

// The id of this process, for scratch names no other running copy uses.
qint64 processId();

} // namespace vestimo::platform
