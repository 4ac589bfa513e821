#pragma once

#include <QByteArrayView>
#include <QStringList>

// Steam's KeyValues text: quoted keys and values, braces for nesting, "//" comments.
namespace vestimo::core::games {

// The library folders listed in a libraryfolders.vdf, in file order and each once: the "path" of
// each entry of the current form ("libraryfolders" { "0" { "path" "..." } }) and the numbered
// values of the old one ("LibraryFolders" { "1" "..." }). Read tolerantly: whatever cannot be
// understood is passed over, and garbage yields what could be understood before it, or nothing.
QStringList libraryFolderPaths(QByteArrayView text);

} // namespace vestimo::core::games
