#include "core/buyable/SkinsBuy.h"

#include "core/catalogue/FileErrors.h"
#include "core/catalogue/Games.h"
#include "core/catalogue/History.h"
#include "core/journal/Journal.h"
#include "platform/FileSystem.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace vestimo::buyable {

namespace {

platform::FileResult moveOne(const QString& from, const QString& to, journal::Journal* journal) {
    return journal != nullptr ? journal->move(from, to, texts::movedForTheGame())
                              : platform::moveFile(from, to);
}

// The folder as the report names it: a link with where it leads, so the player can find the files.
QString shownFolder(const QString& skinsBuy) {
    const QString folder = QDir::cleanPath(skinsBuy);
    if (!platform::isSymbolicLink(folder)) {
        return skinsBuy;
    }
    const QString target = QFileInfo(folder).canonicalFilePath();
    return texts::linkAndTarget(folder, target.isEmpty() ? QFileInfo(folder).symLinkTarget() : target);
}

} // namespace

QString moveIntoSkinsBuy(const QString& directory, const ExportPlan& plan, const QString& skinsBuy,
                         journal::Journal* journal) {
    const QStringList names = {plan.cmxFileName, plan.bitmapFileName};
    // The game folds case, so another case of the name is the same file to it.
    const platform::FileNames there = platform::listFiles(skinsBuy, QStringLiteral("*"));
    if (!there.ok) {
        return texts::notMovedIntoSkinsBuy(names[0], there.error);
    }
    for (const QString& name : names) {
        const bool taken = std::any_of(there.names.begin(), there.names.end(), [&](const QString& present) {
            return present.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (taken || platform::identifyFile(platform::joinPath(skinsBuy, name))) {
            return texts::nothingMovedIntoSkinsBuy(name, shownFolder(skinsBuy));
        }
    }
    if (journal != nullptr) {
        journal->beginRun(texts::putThemInSkinsBuy(), directory);
    }
    QString outcome;
    const platform::FileResult cmx =
        moveOne(platform::joinPath(directory, names[0]), platform::joinPath(skinsBuy, names[0]), journal);
    if (!cmx.ok) {
        outcome = texts::notMovedIntoSkinsBuy(names[0], texts::fileError(cmx.error));
    } else {
        const platform::FileResult bitmap =
            moveOne(platform::joinPath(directory, names[1]), platform::joinPath(skinsBuy, names[1]), journal);
        if (!bitmap.ok) {
            // A CMX file without its bitmap would be a broken outfit there: it goes back too.
            moveOne(platform::joinPath(skinsBuy, names[0]), platform::joinPath(directory, names[0]), journal);
            outcome = texts::notMovedIntoSkinsBuy(names[1], texts::fileError(bitmap.error));
        }
    }
    if (journal != nullptr) {
        journal->endRun(outcome.isEmpty() ? texts::runFinished() : outcome);
    }
    return outcome.isEmpty()
               ? texts::movedIntoSkinsBuy(plan.cmxFileName, plan.bitmapFileName, shownFolder(skinsBuy))
               : outcome;
}

} // namespace vestimo::buyable
