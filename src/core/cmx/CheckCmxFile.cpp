#include "core/cmx/CheckCmxFile.h"

#include "core/catalogue/Common.h"
#include "core/cmx/CmxFileSource.h"
#include "core/cmx/CmxLayout.h"
#include "core/cmx/CmxMessages.h"
#include "core/cmx/CmxWalk.h"

#include <QFile>

namespace vestimo::cmx {

namespace {

#ifdef _WIN32
constexpr char Separator = '\\';
#else
constexpr char Separator = '/';
#endif

} // namespace

std::string joinPath(std::string_view directory, std::string_view name) {
    std::string path(directory);
    if (path.empty() || (path.back() != Separator && path.back() != '/')) {
        path += Separator;
    }
    path += name;
    return path;
}

QString checkCmxFile(bool selected, std::optional<FileFilter> shown, const QString& skinDirectory,
                     const QString& fileName, const QString& nameBoxText) {
    if (!selected) {
        return texts::selectFileFirst();
    }
    if (shown == FileFilter::Bitmaps) {
        return texts::notOnBmpFileLower();
    }
    if (!isSkinClass(classKey(nameBoxText.toStdString()))) {
        return QString::fromUtf8(NotCheckableType.data(), static_cast<qsizetype>(NotCheckableType.size()));
    }
    const auto couldNotRead = [&](const std::string& why) {
        return QStringLiteral("Could not read %1: %2").arg(fileName, QString::fromStdString(why));
    };
    CmxFileSource source(
        joinPath(QFile::encodeName(skinDirectory).toStdString(), QFile::encodeName(fileName).toStdString()));
    if (!source.isOpen()) {
        return couldNotRead(source.error());
    }
    const WalkVerdict verdict = walkCmxLines(source, false);
    // A read that failed part way gives no trustworthy verdict.
    if (!source.error().empty()) {
        return couldNotRead(source.error());
    }
    switch (verdict.kind) {
    case WalkVerdict::Kind::Passed:
        return QString::fromUtf8(NoErrorsFound.data(), static_cast<qsizetype>(NoErrorsFound.size()));
    case WalkVerdict::Kind::Animation:
        return QString::fromUtf8(AnimationNotChecked.data(),
                                 static_cast<qsizetype>(AnimationNotChecked.size()));
    case WalkVerdict::Kind::Fault:
        break;
    }
    return QString::fromStdString(faultMessage(verdict.line));
}

} // namespace vestimo::cmx
