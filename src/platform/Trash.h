#pragma once

#include <QString>

// The desktop's home trash, as file managers keep it: the files in Trash/files, beside each a note
// in Trash/info/<name>.trashinfo saying where it came from and when. moveToTrash (FileSystem.h)
// sends files there.
namespace vestimo::platform {

// $XDG_DATA_HOME/Trash, or ~/.local/share/Trash when that is unset or not absolute; empty when
// there is no absolute home folder either.
QString homeTrashDirectory();

} // namespace vestimo::platform
