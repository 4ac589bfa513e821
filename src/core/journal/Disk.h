#pragma once

#include <QString>

// Small looks at the disk shared by settling and putting back.
namespace vestimo::journal::detail {

// Something (a file, a folder, even a broken link) has this name.
bool Occupied(const QString& path);

QString FolderOf(const QString& path);

// Removes the trash's note about a file brought back from `trashPath`, when the note is there and
// is about `original`; anything else in the trash is left as it is.
void ForgetTrashInfo(const QString& trashPath, const QString& original);

} // namespace vestimo::journal::detail
