#include "core/checks/DirectoryCheck.h"

#include "core/catalogue/Checks.h"
#include "core/catalogue/FileErrors.h"
#include "core/catalogue/History.h"
#include "core/catalogue/PlatformErrors.h"
#include "core/catalogue/SkinEdit.h"
#include "core/checks/ScratchListing.h"
#include "core/journal/Journal.h"
#include "platform/ProgramLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>
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

// A failed move that may be the file itself "already there": only then is it worth resolving
// both folders to say so.
platform::FileResult explained(const platform::FileResult& moved, const QString& skinDirectory,
                               const QString& programDirectory) {
    if (!moved.ok) {
        const QString from = QFileInfo(skinDirectory).canonicalFilePath();
        if (!from.isEmpty() && from == QFileInfo(programDirectory).canonicalFilePath()) {
            return platform::FileResult::failure(
                platform::FileError::text(texts::skinFolderIsProgramFolderShort()));
        }
    }
    return moved;
}

// What moving `name` into the program folder would meet, without moving it: the refusal a move
// would give when a file of that name is already there, or success.
platform::FileResult wouldMove(const DirectoryReport& report, const QString& name) {
    if (platform::identifyFile(platform::joinPath(report.programDirectory, name))) {
        return platform::FileResult::failure(platform::FileError::text(
            texts::alreadyInFolder(QDir::toNativeSeparators(report.programDirectory))));
    }
    return platform::FileResult::success();
}

// What carrying out a run's verdicts needs: the report, the skin folder the run holds open, and
// the journal with its queue of moves when the run is recorded.
struct Carrier {
    DirectoryReport& report;
    const platform::SkinFolder& folder;
    journal::Journal* journal = nullptr;
    std::unique_ptr<journal::MoveQueue> queue;
};

// Moves a file of the open skin folder into the program folder, unrecorded.
platform::FileResult moveOut(const Carrier& carrier, const QString& name) {
    const DirectoryReport& report = carrier.report;
    return explained(carrier.folder.moveOut(name, report.programDirectory), report.skinDirectory,
                     report.programDirectory);
}

platform::FileResult moveCompanion(Carrier& carrier, const QString& name, const QString& reason) {
    const DirectoryReport& report = carrier.report;
    if (report.dryRun) {
        return wouldMove(report, name);
    }
    if (carrier.journal == nullptr) {
        return moveOut(carrier, name);
    }
    // Rare enough for a commit of its own.
    return explained(carrier.journal->move(platform::joinPath(report.skinDirectory, name),
                                           platform::joinPath(report.programDirectory, name), reason),
                     report.skinDirectory, report.programDirectory);
}

// Notes a moved (or not moved) file and takes its companions along.
void moved(Carrier& carrier, const Verdict& verdict, const QString& name,
           const platform::FileResult& result) {
    DirectoryReport& report = carrier.report;
    if (!result.ok) {
        // Its companions stay with it.
        report.trouble.append(
            {name, texts::couldNotBeMoved(verdict.reason, texts::fileError(result.error)), {}, true});
        return;
    }
    report.moved.append({name, verdict.reason});
    for (const Companion& companion : verdict.companions) {
        if (carrier.folder.lookUp(companion.name) != companion.name) {
            continue; // only under exactly its own name
        }
        const platform::FileResult along = moveCompanion(
            carrier, companion.name, texts::companionReason(companion.role, name, verdict.reason));
        if (along.ok) {
            ++report.companionsMoved;
            report.moved.last().reason += texts::companionWentWith(companion.role, companion.name);
            report.moved.last().companions.append(companion);
            report.companions.append({companion.name, texts::companionOf(companion.role, name)});
        } else {
            report.trouble.append(
                {companion.name,
                 texts::companionNotMoved(companion.role, name, texts::fileError(along.error)),
                 {},
                 true});
        }
    }
}

// Carries out one verdict: the single place where a check's file leaves the skin folder.
void carryOut(const Verdict& verdict, const QString& name, Carrier& carrier) {
    DirectoryReport& report = carrier.report;
    switch (verdict.kind) {
    case Verdict::Kind::Keep:
        report.kept.append({name, verdict.reason});
        return;
    case Verdict::Kind::PassOver:
        ++report.passedOver;
        report.passedOverFiles.append({name, verdict.reason});
        return;
    case Verdict::Kind::Trouble:
        // The details keep the listing's order.
        if (carrier.queue) {
            carrier.queue->flush();
        }
        report.trouble.append({name, verdict.reason});
        return;
    case Verdict::Kind::Move:
        break;
    }
    if (!carrier.queue) {
        moved(carrier, verdict, name, report.dryRun ? wouldMove(report, name) : moveOut(carrier, name));
        return;
    }
    // Recorded with its group before any of the group moves; noted once it has.
    carrier.queue->add(
        platform::joinPath(report.skinDirectory, name), platform::joinPath(report.programDirectory, name),
        verdict.reason, [&carrier, verdict, name](const platform::FileResult& result) {
            moved(carrier, verdict, name,
                  explained(result, carrier.report.skinDirectory, carrier.report.programDirectory));
        });
}

// A dry run's listing: what a real run would list, less what an earlier check would have moved.
ScratchListing::Written dryListing(const DirectoryCheck& check, const platform::SkinFolder& skinFolder,
                                   const QSet<QString>& gone) {
    ScratchListing::Written written =
        ScratchListing::enumerate(skinFolder, check.filter, static_cast<bool>(check.prepare));
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
    if (earlierListingTrashed) {
        lines << QString() << texts::earlierListingTrashed();
    }
    switch (recording) {
    case Recording::Off:
        break;
    case Recording::Recorded:
        lines << QString() << (changedNothing() ? texts::runChangedNothing() : texts::runCanBeUndone());
        break;
    case Recording::NotRecorded:
        lines << QString() << texts::runNotRecorded(notRecordedWhy);
        break;
    }
    return lines.join(u'\n');
}

DirectoryReport runDirectoryCheck(const DirectoryCheck& check, const QString& skinDirectory,
                                  const QString& programDirectory, RunProgress& progress, int lockWaitMs,
                                  journal::Journal* journal) {
    RunOptions options;
    options.lockWaitMs = lockWaitMs;
    options.journal = journal;
    return runDirectoryCheck(check, skinDirectory, programDirectory, progress, options);
}

namespace {

// Takes the program folder's lock for the run; false when the run must stop, with `report` saying
// why. A folder that cannot be written cannot be locked either: the listing then says why.
bool holdProgramFolder(platform::ProgramLock& lock, const QString& programDirectory, int waitMs,
                       DirectoryReport& report) {
    const platform::ProgramLock::Result locked = lock.acquire(waitMs);
    if (locked.held() || !QFileInfo(programDirectory).isWritable()) {
        return true;
    }
    if (locked.kind == platform::ProgramLock::Result::Kind::Busy) {
        report.outcome = DirectoryReport::Outcome::Busy;
    } else {
        report.outcome = DirectoryReport::Outcome::ListingFailed;
        report.failure = texts::lockFileUnusable(lock.path(), texts::lockError(locked));
    }
    return false;
}

} // namespace

DirectoryReport runDirectoryCheck(const DirectoryCheck& check, const QString& skinDirectory,
                                  const QString& programDirectory, RunProgress& progress,
                                  const RunOptions& options) {
    // A dry run changes nothing, so there is nothing to record.
    journal::Journal* journal = options.dryRun ? nullptr : options.journal;
    DirectoryReport report;
    report.dryRun = options.dryRun;
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
    // that cannot be written cannot be locked either; the listing then says why. A dry run
    // writes nothing there, so it needs no hold.
    platform::ProgramLock lock(programDirectory);
    if (!options.dryRun && !holdProgramFolder(lock, programDirectory, options.lockWaitMs, report)) {
        return report;
    }

    // Opened once: every name of the run is listed, read and moved relative to it.
    const platform::SkinFolder folder(skinDirectory);
    const ScratchListing listing(programDirectory, journal != nullptr ? &journal->store() : nullptr);
    const bool wantsAll = static_cast<bool>(check.prepare);
    const ScratchListing::Written written = options.dryRun ? dryListing(check, folder, options.gone)
                                                           : listing.write(folder, check.filter, wantsAll);
    report.leftOut = written.leftOut;
    report.earlierListingTrashed = written.earlierTrashed;
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
        if (!check.keepsListing && !options.dryRun) {
            listing.deleteIfOwn();
        }
        return report;
    }

    if (wantsAll) {
        check.prepare(written.everything, report);
    }
    Carrier carrier{report, folder, journal, nullptr};
    if (journal != nullptr) {
        journal->beginRun(check.command, skinDirectory);
        // One transaction per group of moves, held until the run ends; no sync per file.
        journal->beginBatch();
        carrier.queue = std::make_unique<journal::MoveQueue>(*journal);
    }
    progress.start(written.size);
    ScratchListing::walk(
        written, [&](int characters) { progress.advance(characters); },
        [&](const QString& name) {
            if (report.stoppedEarly || (options.stopRequested && options.stopRequested())) {
                report.stoppedEarly = true;
                return;
            }
            ++report.judged;
            carryOut(check.judge(folder, name), name, carrier);
        });
    if (journal != nullptr) {
        carrier.queue->flush();
        carrier.queue.reset();
        journal->endRun(texts::runMoved(report.moved.size(), report.trouble.size()));
        report.notRecordedWhy = journal->problem();
        report.recording = report.notRecordedWhy.isEmpty() ? DirectoryReport::Recording::Recorded
                                                           : DirectoryReport::Recording::NotRecorded;
    }
    progress.finish();
    if ((!check.keepsListing || report.stoppedEarly) && !options.dryRun) {
        listing.deleteIfOwn();
    }
    return report;
}

platform::FileResult moveToProgramDirectory(const QString& skinDirectory, const QString& programDirectory,
                                            const QString& name, journal::Journal* journal) {
    const QString from = platform::joinPath(skinDirectory, name);
    const QString to = platform::joinPath(programDirectory, name);
    if (journal == nullptr) {
        return explained(platform::moveFile(from, to), skinDirectory, programDirectory);
    }
    journal->beginRun(texts::moveFileButton(), skinDirectory);
    const platform::FileResult moved =
        explained(journal->move(from, to, texts::movedByThePlayer()), skinDirectory, programDirectory);
    journal->endRun(moved.ok ? texts::runFinished() : texts::runFailed(texts::fileError(moved.error)));
    return moved;
}

} // namespace vestimo::checks
