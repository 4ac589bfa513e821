#include "core/cmx/CheckCmxFile.h"

#include "core/catalogue/Common.h"
#include "core/catalogue/SingleChecks.h"
#include "core/cmx/CmxFileSource.h"
#include "core/cmx/CmxLayout.h"
#include "core/cmx/CmxWalk.h"
#include "platform/FileSystem.h"

#include <QFile>

namespace vestimo::cmx {

QString checkCmxFile(bool selected, std::optional<FileFilter> shown, const QString& skinDirectory,
                     const QString& fileName, const QString& nameBoxText) {
    if (!selected) {
        return texts::selectFileFirst();
    }
    if (shown == FileFilter::Bitmaps) {
        return texts::notOnBmpFileLower();
    }
    if (!isSkinClass(classKey(nameBoxText.toStdString()))) {
        return texts::notCheckableCmxType();
    }
    const auto couldNotRead = [&](const std::string& why) {
        return QStringLiteral("Could not read %1: %2").arg(fileName, QString::fromStdString(why));
    };
    CmxFileSource source(QFile::encodeName(platform::joinPath(skinDirectory, fileName)).toStdString());
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
        return texts::noErrorsFound();
    case WalkVerdict::Kind::Animation:
        return texts::animationNotChecked();
    case WalkVerdict::Kind::Fault:
        break;
    }
    return texts::cmxFaultAtLine(verdict.line);
}

} // namespace vestimo::cmx
