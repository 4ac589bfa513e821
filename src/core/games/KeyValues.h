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

// No player has more libraries than this; a list longer than that is not taken at its word.
inline constexpr qsizetype MostLibraryFolders = 1000;

// The same, the first `most` paths only; `ignored` counts the further ones, each once. One pass
// over the text, whatever its size.
struct LibraryFolders {
    QStringList paths;
    qsizetype ignored = 0;
};
LibraryFolders libraryFolders(QByteArrayView text, qsizetype most = MostLibraryFolders);

} // namespace vestimo::core::games
