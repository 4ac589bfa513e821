#include "core/checks/DirectoryCheck.h"

#include "core/catalogue/Checks.h"
#include "core/checks/ScratchListing.h"
#include "platform/ProgramLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

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

// What moving `name` into the program folder would meet, without moving it: the refusal a move
// would give when a file of that name is already there, or success.
platform::FileResult wouldMove(const DirectoryReport& report, const QString& name) {
    if (platform::identifyFile(platform::joinPath(report.programDirectory, name))) {
        return platform::FileResult::failure(
            texts::alreadyInFolder(QDir::toNativeSeparators(report.programDirectory)));
    }
    return platform::FileResult::success();
}

platform::FileResult move(const DirectoryReport& report, const QString& name) {
    return report.dryRun ? wouldMove(report, name)
                         : moveToProgramDirectory(report.skinDirectory, report.programDirectory, name);
}

// Carries out one verdict: the single place where a check's file leaves the skin folder.
void carryOut(const Verdict& verdict, const QString& name, DirectoryReport& report) {
    switch (verdict.kind) {
    case Verdict::Kind::Keep:
        return;
    case Verdict::Kind::PassOver:
        ++report.passedOver;
        return;
    case Verdict::Kind::Trouble:
        report.trouble.append({name, verdict.reason});
        return;
    case Verdict::Kind::Move:
        break;
    }
    const platform::FileResult moved = move(report, name);
    if (!moved.ok) {
        // Its companions stay with it.
        report.trouble.append({name, texts::couldNotBeMoved(verdict.reason, moved.error)});
        return;
    }
    report.moved.append({name, verdict.reason});
    for (const Companion& companion : verdict.companions) {
        if (platform::lookUpFile(platform::joinPath(report.skinDirectory, companion.name)) !=
            companion.name) {
            continue; // only under exactly its own name
        }
        const platform::FileResult along = move(report, companion.name);
        if (along.ok) {
            ++report.companionsMoved;
            report.moved.last().reason += texts::companionWentWith(companion.role, companion.name);
            report.moved.last().companions.append(companion);
        } else {
            report.trouble.append(
                {companion.name, texts::companionNotMoved(companion.role, name, along.error)});
        }
    }
}

// A dry run's listing: what a real run would list, less what an earlier check would have moved.
ScratchListing::Written dryListing(const DirectoryCheck& check, const QString& skinDirectory,
                                   const QSet<QString>& gone) {
    ScratchListing::Written written =
        ScratchListing::enumerate(skinDirectory, check.filter, static_cast<bool>(check.prepare));
    if (!written.ok || gone.isEmpty()) {
        return written;
    }
    const auto isGone = [&gone](const QString& name) { return gone.contains(name); };
    written.names.removeIf(isGone);
    written.everything.names.removeIf(isGone);
    written.size = 0;
    for (const QString& name : std::as_const(written.names)) {
        written.size += QFile::encodeName(name).size() + 2;
    }
    return written;
}

} // namespace

QStringList DirectoryReport::countLines() const {
    QStringList lines;
    lines << texts::detailsSkinFolder(skinDirectory);
    lines << texts::detailsJudged(judged);
    lines << (dryRun ? texts::detailsWouldMove(moved.size(), programDirectory)
                     : texts::detailsMoved(moved.size(), programDirectory));
    if (companionsMoved > 0) {
        lines << texts::detailsCount(companionsLabel, companionsMoved);
    }
    lines << texts::detailsLeft(judged - static_cast<int>(moved.size()));
    if (passedOver > 0) {
        lines << texts::detailsCount(passedOverLabel, passedOver);
    }
    return lines;
}

QString DirectoryReport::details() const {
    QStringList lines = countLines();
    appendSection(lines, texts::detailsMovedHeading(), moved);
    appendSection(lines, texts::detailsTroubleHeading(), trouble);
    appendNames(lines, texts::detailsLeftOutHeading(), leftOut);
    appendNames(lines, texts::detailsUnnamableHeading(), unnamable);
    return lines.join(u'\n');
}

DirectoryReport runDirectoryCheck(const DirectoryCheck& check, const QString& skinDirectory,
                                  const QString& programDirectory, RunProgress& progress, int lockWaitMs) {
    RunOptions options;
    options.lockWaitMs = lockWaitMs;
    return runDirectoryCheck(check, skinDirectory, programDirectory, progress, options);
}

DirectoryReport runDirectoryCheck(const DirectoryCheck& check, const QString& skinDirectory,
                                  const QString& programDirectory, RunProgress& progress,
                                  const RunOptions& options) {
    DirectoryReport report;
    report.skinDirectory = skinDirectory;
    report.programDirectory = programDirectory;
    report.passedOverLabel = check.passedOverLabel;
    report.companionsLabel = check.companionsLabel;
    report.dryRun = options.dryRun;

    // Problem files go into the program folder: checking that folder itself could move nothing,
    // and its listing would replace whatever "Temp.txt" lies there.
    const QString skinFolder = QFileInfo(skinDirectory).canonicalFilePath();
    if (!skinFolder.isEmpty() && skinFolder == QFileInfo(programDirectory).canonicalFilePath()) {
        report.outcome = DirectoryReport::Outcome::SameFolder;
        return report;
    }

    // Held until the run ends, so no other copy rewrites the listing under this walk. A folder
    // that cannot be written cannot be locked either; the listing then says why. A dry run
    // writes nothing there, so it needs no hold.
    platform::ProgramLock lock(programDirectory);
    if (!options.dryRun) {
        const platform::ProgramLock::Result locked = lock.acquire(options.lockWaitMs);
        if (!locked.held() && QFileInfo(programDirectory).isWritable()) {
            if (locked.kind == platform::ProgramLock::Result::Kind::Busy) {
                report.outcome = DirectoryReport::Outcome::Busy;
            } else {
                report.outcome = DirectoryReport::Outcome::ListingFailed;
                report.failure = texts::lockFileUnusable(lock.path(), locked.reason);
            }
            return report;
        }
    }

    const ScratchListing listing(programDirectory);
    const bool wantsAll = static_cast<bool>(check.prepare);
    const ScratchListing::Written written = options.dryRun
                                                ? dryListing(check, skinDirectory, options.gone)
                                                : listing.write(skinDirectory, check.filter, wantsAll);
    report.leftOut = written.leftOut;
    report.unnamable = written.unnamable;
    report.unnamableBytes = written.unnamableBytes;
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
    if (!check.keepsListing && !options.dryRun) {
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
