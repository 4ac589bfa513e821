#pragma once

#include <QString>

// Small looks at the disk shared by settling and putting back.
namespace vestimo::journal::detail {

// Something (a file, a folder, even a broken link) has this name.
bool occupied(const QString& path);

QString folderOf(const QString& path);

// Where the desktop trash keeps `original`, trashed earlier, when its note about it can be found
// (and the file there still has `hash`, when one is given); empty otherwise. The newest such
// file when there are several.
QString findInTrash(const QString& original, const QString& hash);

} // namespace vestimo::journal::detail
