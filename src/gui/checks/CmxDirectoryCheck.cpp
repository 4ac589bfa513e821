#include "gui/checks/CmxDirectoryCheck.h"

#include "core/cmx/CmxFileSource.h"
#include "core/cmx/CmxLayout.h"
#include "core/cmx/CmxWalk.h"
#include "platform/FileSystem.h"

#include <QFile>

namespace vestimo::cmx {

shell::DirectoryReport checkCmxDirectory(const QString& skinDirectory, const QString& programDirectory,
                                         shell::RunProgress& progress, int lockWaitMs) {
    const auto turn = [&skinDirectory](const QString& name, shell::DirectoryReport& report) {
        if (!isSkinClass(classKey(name.toStdString()))) {
            ++report.passedOver;
            return;
        }
        WalkVerdict verdict;
        {
            // Closed again before the file is moved.
            CmxFileSource source(QFile::encodeName(platform::joinPath(skinDirectory, name)).toStdString());
            if (source.tooLarge()) {
                report.trouble.append({name, QString::fromStdString(source.error())});
                return;
            }
            if (!source.isOpen()) {
                report.trouble.append(
                    {name, QStringLiteral("could not be opened: %1").arg(QString::fromStdString(source.error()))});
                return;
            }
            verdict = walkCmxLines(source, true);
            if (!source.error().empty()) {
                // A verdict on part of the file is no verdict.
                report.trouble.append(
                    {name, QStringLiteral("could not be read: %1").arg(QString::fromStdString(source.error()))});
                return;
            }
        }
        if (verdict.kind == WalkVerdict::Kind::Fault) {
            report.Move(name, QStringLiteral("line %1").arg(verdict.line));
        }
    };
    shell::DirectoryReport report = shell::runOverListing(
        skinDirectory, programDirectory, QStringLiteral("*.CMX"), progress, turn, false, lockWaitMs);
    report.passedOverLabel =
        QStringLiteral("Not skin descriptions this check reads (animations and other kinds), left");
    return report;
}

} // namespace vestimo::cmx
