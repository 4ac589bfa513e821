#include "core/FileFilter.h"

#include "core/catalogue/Checks.h"
#include "core/catalogue/Common.h"

#include <QFileInfo>

#include <array>

namespace vestimo {

namespace {

const std::array<FileKind, 2>& table() {
    // The directory-wide CMX commands say "BMP" in capitals.
    static const std::array<FileKind, 2> kinds = {{
        {FileFilter::Bitmaps, QStringLiteral("*.BMP"), QStringLiteral("bmp"), texts::noBmpFilesInDirectory,
         texts::notOnBmpFileUpper},
        {FileFilter::CmxFiles, QStringLiteral("*.CMX"), QStringLiteral("cmx"), texts::noCmxFilesInDirectory,
         texts::notOnCmxFile},
    }};
    return kinds;
}

} // namespace

std::span<const FileKind> fileKinds() {
    return table();
}

const FileKind& fileKind(FileFilter filter) {
    for (const FileKind& kind : table()) {
        if (kind.filter == filter) {
            return kind;
        }
    }
    return table().front();
}

std::optional<FileFilter> kindOfPath(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const FileKind& kind : table()) {
        if (suffix == kind.suffix) {
            return kind.filter;
        }
    }
    return std::nullopt;
}

} // namespace vestimo
