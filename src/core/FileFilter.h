#pragma once

#include <QString>

#include <optional>
#include <span>

namespace vestimo {

// Which files a window's file list shows: the two kinds of skin file the program works on.
enum class FileFilter { Bitmaps, CmxFiles };

// What the program knows of one kind of skin file: one row per kind in fileKinds() (FileFilter.cpp),
// the one place that knows the patterns and the words tied to a kind.
struct FileKind {
    FileFilter filter;
    QString pattern; // the file list's wildcard
    QString suffix;  // lower-case, as the command line tells a file's kind
    // An empty listing of a directory-wide check of this kind.
    QString (*noFiles)();
    // A directory-wide check of another kind refused while the list shows this kind.
    QString (*wrongKind)();
};

// Every kind, bitmaps first.
std::span<const FileKind> fileKinds();
const FileKind& fileKind(FileFilter filter);
// The kind whose suffix `path` ends in (any case), if any.
std::optional<FileFilter> kindOfPath(const QString& path);

// The file list's wildcard for `filter`.
inline QString patternOf(FileFilter filter) {
    return fileKind(filter).pattern;
}

} // namespace vestimo
