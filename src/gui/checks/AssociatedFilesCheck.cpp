#include "gui/checks/AssociatedFilesCheck.h"

#include "core/cmx/CmxLayout.h"
#include "platform/FileSystem.h"
#include "platform/Wildcard.h"
#include "gui/checks/FileOperations.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace vestimo::textures {

namespace {

const QString BitmapPattern = QStringLiteral("*.BMP");

} // namespace

shell::DirectoryReport checkAssociatedFilesIn(const QString& skinDirectory, const QString& programDirectory,
                                              shell::RunProgress& progress, int lockWaitMs) {
    // Bitmaps never move during this run, so the folder's one enumeration (the same that lists
    // the CMX files) answers every prefix.
    std::optional<BitmapIndex> bitmaps;
    const auto listed = [&bitmaps](const platform::FileNames& allFiles, shell::DirectoryReport& report) {
        QStringList names;
        for (const QString& name : allFiles.names) {
            if (platform::wildcardMatch(BitmapPattern, name)) {
                names.append(name);
            }
        }
        // A bitmap whose name is not valid text still belongs to its CMX file; the player is told
        // to rename it all the same.
        QList<QByteArray> storedOnly;
        for (qsizetype i = 0; i < allFiles.unnamable.size(); ++i) {
            if (platform::wildcardMatch(BitmapPattern, allFiles.unnamable[i])) {
                storedOnly.append(allFiles.unnamableBytes[i]);
                report.unnamable.append(allFiles.unnamable[i]);
            }
        }
        bitmaps.emplace(std::move(names), storedOnly);
    };
    const auto turn = [&](const QString& name, shell::DirectoryReport& report) {
        const QString prefix = bitmapPrefix(name);
        if (prefix.isEmpty()) {
            ++report.passedOver;
            return;
        }
        if (bitmaps->hasBitmapFor(prefix)) {
            return;
        }
        if (!report.Move(name, QStringLiteral("no bitmap begins with \"%1\"").arg(prefix))) {
            return; // its mesh stays with it
        }
        const QString mesh = meshFileName(name);
        if (platform::lookUpFile(platform::joinPath(skinDirectory, mesh)) != mesh) {
            return;
        }
        const platform::FileResult moved =
            shell::moveToProgramDirectory(skinDirectory, programDirectory, mesh);
        if (moved.ok) {
            ++report.companionsMoved;
            report.moved.last().reason += QStringLiteral("; its mesh %1 went with it").arg(mesh);
        } else {
            report.trouble.append(
                {mesh, QStringLiteral("the mesh of %1 could not be moved: %2").arg(name, moved.error)});
        }
    };
    shell::DirectoryReport report = shell::runOverListing(
        skinDirectory, programDirectory, QStringLiteral("*.CMX"), progress, turn, true, lockWaitMs, listed);
    report.passedOverLabel =
        QStringLiteral("Not skin descriptions this check reads (animations and other kinds), left");
    report.companionsLabel = QStringLiteral("Mesh files moved with them");
    return report;
}

} // namespace vestimo::textures
