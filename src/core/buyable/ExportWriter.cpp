#include "core/buyable/ExportWriter.h"

#include "core/catalogue/Buyable.h"
#include "core/catalogue/FileErrors.h"
#include "core/catalogue/History.h"
#include "core/journal/Journal.h"
#include "platform/FileSystem.h"

#include <QDir>
#include <QFileInfo>

namespace vestimo::buyable {

namespace {

// The stored name of a file (not a folder) in `directory` called `name` without regard to case,
// as the game's platform sees names; empty when there is none. Folders are left to the write,
// which refuses them.
QString fileCalled(const QString& directory, const QString& name) {
    const QFileInfo exact(platform::joinPath(directory, name));
    if ((exact.exists() && !exact.isDir()) || exact.isSymLink()) {
        return name;
    }
    const QStringList names =
        QDir(directory).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& stored : names) {
        if (stored.compare(name, Qt::CaseInsensitive) == 0) {
            return stored;
        }
    }
    return {};
}

} // namespace

QString writeExport(const QString& directory, const ExportPlan& plan, const QByteArray& bitmapBytes,
                    journal::Journal* journal) {
    // Never replace a file, not even the source skin's own when the names come out unchanged.
    for (const QString& file : {plan.cmxFileName, plan.bitmapFileName}) {
        const QString inTheWay = fileCalled(directory, file);
        if (!inTheWay.isEmpty()) {
            return texts::fileAlreadyInSkinDirectory(inTheWay);
        }
    }
    if (journal != nullptr) {
        journal->beginRun(texts::exportAsBuyable(), directory);
    }
    const auto writeNew = [journal](const QString& path, const QByteArray& bytes, const QString& reason) {
        return journal != nullptr ? journal->writeNew(path, bytes, reason)
                                  : platform::saveNewFile(path, bytes);
    };
    const auto endRun = [journal](const QString& outcome) {
        if (journal != nullptr) {
            journal->endRun(outcome);
        }
    };
    const QString cmxPath = platform::joinPath(directory, plan.cmxFileName);
    const platform::FileResult cmxWritten = writeNew(cmxPath, plan.cmxText, texts::exportedCmx());
    if (!cmxWritten.ok) {
        endRun(texts::runFailed(texts::fileError(cmxWritten.error)));
        return texts::exportWriteFailed(plan.cmxFileName, texts::fileError(cmxWritten.error));
    }
    const qint64 cmxChange = journal != nullptr ? journal->lastChangeId() : 0;
    const platform::FileResult bitmapWritten =
        writeNew(platform::joinPath(directory, plan.bitmapFileName), bitmapBytes, texts::exportedBitmap());
    if (bitmapWritten.ok) {
        endRun(texts::runFinished());
        return {};
    }
    // Half an outfit is no outfit: take the CMX file back.
    const platform::FileResult removed = platform::removeFile(cmxPath);
    if (removed.ok && cmxChange > 0) {
        journal->store().markUndone(cmxChange, texts::exportTakenBack());
    }
    const QString why = texts::fileError(bitmapWritten.error);
    endRun(texts::runFailed(why));
    return removed.ok ? texts::exportWriteFailed(plan.bitmapFileName, why)
                      : texts::exportWriteFailedCmxLeft(plan.bitmapFileName, why, plan.cmxFileName,
                                                        texts::fileError(removed.error));
}

} // namespace vestimo::buyable
