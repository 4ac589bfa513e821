#pragma once

#include <QString>

namespace vestimo {

// Which files a window's file list shows: the two kinds of skin file the program works on.
enum class FileFilter { Bitmaps, CmxFiles };

// The file list's wildcard for `filter`: the one place that knows the pattern texts.
inline QString patternOf(FileFilter filter) {
    return filter == FileFilter::Bitmaps ? QStringLiteral("*.BMP") : QStringLiteral("*.CMX");
}

} // namespace vestimo
