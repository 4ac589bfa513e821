#include "core/checks/DirectoryCheck.h"

#include "core/catalogue/Checks.h"
#include "core/checks/ScratchListing.h"
#include "platform/ProgramLock.h"

#include <QFileInfo>

namespace vestimo::checks {

namespace {

// A name as it can stand on one line of the details.
QString oneLine(QString name) {
    return name.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
}

void appendSection(QStringList& lines, const QString& heading, const QList<DirectoryReport::Line>& entries) {
    if (entries.isEmpty()) {
        return;
    }
    lines << QString() << heading;
    for (const DirectoryReport::Line& line : entries) {
        lines << texts::detailsLine(oneLine(line.name), line.reason);
    }
}

void appendNames(QStringList& lines, const QString& heading, const QStringList& names) {
    if (names.isEmpty()) {
        return;
    }
    lines << QString() << heading;
    for (const QString& name : names) {
        lines << oneLine(name);
    }
}

// Carries out one verdict: the single place where a check's file leaves the skin folder.
void carryOut(const Verdict& verdict, const QString& name, DirectoryReport& report) {
    switch (verdict.kind) {
    case Verdict::Kind::Keep:
        report.kept.append({name, verdict.reason});
        return;
    case Verdict::Kind::PassOver:
        ++report.passedOver;
        report.passedOverFiles.append({name, verdict.reason});
        return;
    case Verdict::Kind::Trouble:
        report.trouble.append({name, verdict.reason});
        return;
    case Verdict::Kind::Move:
        break;
    }
    const platform::FileResult moved =
        moveToProgramDirectory(report.skinDirectory, report.programDirectory, name);
    if (!moved.ok) {
        // Its companions stay with it.
        report.trouble.append({name, texts::couldNotBeMoved(verdict.reason, moved.error), true});
        return;
    }
    report.moved.append({name, verdict.reason});
    for (const Companion& companion : verdict.companions) {
        if (platform::lookUpFile(platform::joinPath(report.skinDirectory, companion.name)) !=
            companion.name) {
            continue; // only under exactly its own name
        }
        const platform::FileResult along =
            moveToProgramDirectory(report.skinDirectory, report.programDirectory, companion.name);
        if (along.ok) {
            ++report.companionsMoved;
            report.moved.last().reason += texts::companionWentWith(companion.role, companion.name);
            report.companions.append({companion.name, texts::companionOf(companion.role, name)});
        } else {
            report.trouble.append(
                {companion.name, texts::companionNotMoved(companion.role, name, along.error), true});
        }
    }
}

} // namespace

QString DirectoryReport::details() const {
    QStringList lines;
    lines << texts::detailsSkinFolder(skinDirectory);
    lines << texts::detailsJudged(judged);
    lines << texts::detailsMoved(moved.size(), programDirectory);
    if (companionsMoved > 0) {
        lines << texts::detailsCount(companionsLabel, companionsMoved);
    }
    lines << texts::detailsLeft(judged - static_cast<int>(moved.size()));
    if (passedOver > 0) {
        lines << texts::detailsCount(passedOverLabel, passedOver);
    }
    appendSection(lines, texts::detailsMovedHeading(), moved);
    appendSection(lines, texts::detailsTroubleHeading(), trouble);
    appendNames(lines, texts::detailsLeftOutHeading(), leftOut);
    appendNames(lines, texts::detailsUnnamableHeading(), unnamable);
    return lines.join(u'\n');
}

DirectoryReport runDirectoryCheck(const DirectoryCheck& check, const QString& skinDirectory,
                                  const QString& programDirectory, RunProgress& progress, int lockWaitMs) {
    DirectoryReport report;
    report.skinDirectory = skinDirectory;
    report.programDirectory = programDirectory;
    report.passedOverLabel = check.passedOverLabel;
    report.companionsLabel = check.companionsLabel;

    // Problem files go into the program folder: checking that folder itself could move nothing,
    // and its listing would replace whatever "Temp.txt" lies there.
    const QString skinFolder = QFileInfo(skinDirectory).canonicalFilePath();
    if (!skinFolder.isEmpty() && skinFolder == QFileInfo(programDirectory).canonicalFilePath()) {
        report.outcome = DirectoryReport::Outcome::SameFolder;
        return report;
    }

    // Held until the run ends, so no other copy rewrites the listing under this walk. A folder
    // that cannot be written cannot be locked either; the listing then says why.
    platform::ProgramLock lock(programDirectory);
    const platform::ProgramLock::Result locked = lock.acquire(lockWaitMs);
    if (!locked.held() && QFileInfo(programDirectory).isWritable()) {
        if (locked.kind == platform::ProgramLock::Result::Kind::Busy) {
            report.outcome = DirectoryReport::Outcome::Busy;
        } else {
            report.outcome = DirectoryReport::Outcome::ListingFailed;
            report.failure = texts::lockFileUnusable(lock.path(), locked.reason);
        }
        return report;
    }

    const ScratchListing listing(programDirectory);
    const bool wantsAll = static_cast<bool>(check.prepare);
    const ScratchListing::Written written = listing.write(skinDirectory, check.filter, wantsAll);
    report.leftOut = written.leftOut;
    report.unnamable = written.unnamable;
    if (written.folderUnreadable) {
        report.outcome = DirectoryReport::Outcome::FolderUnreadable;
        report.failure = texts::folderUnreadable(skinDirectory, written.error);
        return report;
    }
    if (!written.ok) {
        report.outcome = DirectoryReport::Outcome::ListingFailed;
        report.failure = texts::listingNotWritten(ScratchListing::fileName, programDirectory, written.error);
        return report;
    }
    report.listingSize = written.size;
    if (written.size == 0) {
        report.outcome = DirectoryReport::Outcome::NothingListed;
        return report;
    }

    if (wantsAll) {
        check.prepare(written.everything, report);
    }
    progress.start(written.size);
    ScratchListing::walk(
        written, [&](int characters) { progress.advance(characters); },
        [&](const QString& name) {
            ++report.judged;
            carryOut(check.judge(skinDirectory, name), name, report);
        });
    progress.finish();
    if (!check.keepsListing) {
        listing.deleteIfOwn();
    }
    return report;
}

platform::FileResult moveToProgramDirectory(const QString& skinDirectory, const QString& programDirectory,
                                            const QString& name) {
    const platform::FileResult moved = platform::moveFile(platform::joinPath(skinDirectory, name),
                                                          platform::joinPath(programDirectory, name));
    // A file "already there" may be the file itself; only then is it worth resolving both folders.
    if (!moved.ok) {
        const QString from = QFileInfo(skinDirectory).canonicalFilePath();
        if (!from.isEmpty() && from == QFileInfo(programDirectory).canonicalFilePath()) {
            return platform::FileResult::failure(texts::skinFolderIsProgramFolderShort());
        }
    }
    return moved;
}

} // namespace vestimo::checks
