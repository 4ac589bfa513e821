#pragma once

#include <QString>

#include <functional>

// The desktop's home trash, as file managers keep it: the files in Trash/files, beside each a note
// in Trash/info/<name>.trashinfo saying where it came from and when. moveToTrash (FileSystem.h)
// sends files there.
namespace vestimo::platform {

// $XDG_DATA_HOME/Trash, or ~/.local/share/Trash when that is unset or not absolute; empty when
// there is no absolute home folder either.
QString homeTrashDirectory();

// Removes the trash's note about a file brought back from `trashPath`, when the note is there and
// is about `original`; anything else in the trash is left as it is.
void forgetTrashNote(const QString& trashPath, const QString& original);

// Where a desktop trash (the home trash first, then the drive's own) keeps `original`, trashed
// earlier, when its note about it can be found and `accept` takes the file there; empty otherwise.
// The newest such file when there are several.
QString findInTrash(const QString& original, const std::function<bool(const QString& file)>& accept);

} // namespace vestimo::platform
