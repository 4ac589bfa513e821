#include "core/journal/Disk.h"
#include "core/journal/Journal.h"

#include "core/catalogue/History.h"
#include "core/catalogue/Install.h"
#include "core/catalogue/PlatformErrors.h"
#include "platform/Trash.h"
#include "platform/journal/FileDigest.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace vestimo::journal {

namespace {

struct Verdict {
    ChangeState state;
    QString note;
    QString destination = {};          // learnt from the disk
    platform::FileDigest arrived = {}; // a move's file where it arrived: what Put Back goes by
};

// A move (or a bringing back from the trash) is one rename, or a copy that removes the original
// only once the copy is complete: the origin tells whether it happened.
Verdict settleMove(const JournalChange& change) {
    const bool atOrigin = detail::occupied(change.original);
    const bool atDestination = detail::occupied(change.destination);
    if (atOrigin) {
        return {ChangeState::SettledNotDone, atDestination
                                                 ? texts::settledStillInPlaceBeside(change.destination)
                                                 : texts::settledStillInPlace()};
    }
    if (atDestination) {
        if (change.kind == ChangeKind::Restored) {
            platform::forgetTrashNote(change.original, change.destination);
        }
        return {ChangeState::Done, {}, {}, platform::digestFile(change.destination)};
    }
    return {ChangeState::Failed, texts::settledFoundNowhere(change.destination)};
}

Verdict settleTrash(const JournalChange& change) {
    if (detail::occupied(change.original)) {
        return {ChangeState::SettledNotDone, texts::settledStillInPlace()};
    }
    // The trash's own note about the file says where it went.
    const QString inTrash = detail::findInTrash(change.original, change.hash);
    if (!inTrash.isEmpty()) {
        return {ChangeState::Done, {}, inTrash};
    }
    return {ChangeState::Done, texts::settledTrashedNoTrace()};
}

Verdict settleSave(JournalStore& store, const JournalChange& open) {
    const platform::FileDigest now = platform::digestFile(open.original);
    if (!now.ok) {
        return {ChangeState::Failed, texts::settledUnreadable(texts::digestError(now.error))};
    }
    if (now.sha256 == open.hash) {
        return {ChangeState::Done, {}};
    }
    const auto full = store.change(open.id);
    if (full.ok && full.value.hasPreviousBytes &&
        platform::digestOf(full.value.previousBytes) == now.sha256) {
        return {ChangeState::SettledNotDone, texts::settledHeldBefore()};
    }
    return {ChangeState::Failed, texts::settledHoldsNeither()};
}

// New files are written beside their place and moved in whole, never over another file.
Verdict settleNewFile(const JournalChange& change) {
    if (!detail::occupied(change.destination)) {
        return {ChangeState::SettledNotDone, texts::settledNeverWritten()};
    }
    const platform::FileDigest now = platform::digestFile(change.destination);
    if (now.ok && !change.hash.isEmpty() && now.sha256 == change.hash) {
        return {ChangeState::Done, {}};
    }
    return {ChangeState::SettledNotDone, texts::settledAnotherFile()};
}

// The process id in the name of an installation's leftover ("install-staging-PID-N",
// ".vestimo-install-PID-N.part"); 0 when the name is not one.
qint64 leftoverPid(const QString& name, bool folder) {
    static const QRegularExpression staging(QStringLiteral("^install-staging-(\\d+)-\\d+$"));
    static const QRegularExpression part(QStringLiteral("^\\.vestimo-install-(\\d+)-\\d+\\.part$"));
    const QRegularExpressionMatch match = (folder ? staging : part).match(name);
    return match.hasMatch() ? match.captured(1).toLongLong() : 0;
}

// Removes from `folder` the leftovers (staging folders or part files) of installations whose
// process is gone; `removed` gets each path.
void sweepLeftovers(const QString& folder, bool folders, QStringList& removed) {
    const QDir dir(folder);
    const QStringList names = dir.entryList((folders ? QDir::Dirs : QDir::Files) | QDir::Hidden |
                                            QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QString& name : names) {
        const qint64 pid = leftoverPid(name, folders);
        if (pid == 0 || !platform::processGone(pid)) {
            continue;
        }
        const QString path = dir.filePath(name);
        const bool gone = folders ? QDir(path).removeRecursively() : platform::removeFile(path).ok;
        if (gone) {
            removed.append(path);
        }
    }
}

// The folders installations write into, as far as the journal knows: where its open intents
// were going, and the skin folders of installations that never ended.
QStringList installFolders(const QList<JournalChange>& open, const QList<platform::JournalRun>& unended) {
    QSet<QString> folders;
    for (const JournalChange& change : open) {
        if (change.kind == ChangeKind::Installed && !change.destination.isEmpty()) {
            folders.insert(QFileInfo(change.destination).absolutePath());
        }
    }
    for (const platform::JournalRun& run : unended) {
        if (run.command == texts::installCommandName() && !run.skinFolder.isEmpty()) {
            folders.insert(run.skinFolder);
        }
    }
    QStringList sorted(folders.begin(), folders.end());
    sorted.sort();
    return sorted;
}

} // namespace

RecoveryReport recover(JournalStore& store) {
    RecoveryReport report;
    const auto open = store.openIntents();
    if (!open.ok) {
        report.error = texts::journalError(open.error);
        return report;
    }
    const auto unended = store.unendedRuns();
    if (!unended.ok) {
        report.error = texts::journalError(unended.error);
        return report;
    }
    store.beginBatch();
    for (const JournalChange& change : open.value) {
        Verdict verdict{ChangeState::Failed, {}};
        switch (change.kind) {
        case ChangeKind::Moved:
        case ChangeKind::Restored:
            verdict = settleMove(change);
            break;
        case ChangeKind::Trashed:
            verdict = settleTrash(change);
            break;
        case ChangeKind::Saved:
            verdict = settleSave(store, change);
            break;
        case ChangeKind::Exported:
        case ChangeKind::Installed:
            verdict = settleNewFile(change);
            break;
        }
        platform::JournalStatus marked;
        if (verdict.state == ChangeState::Done) {
            const platform::FileDigest& arrived = verdict.arrived;
            marked = arrived.ok ? store.markDone(change.id, verdict.destination, arrived.size, arrived.sha256,
                                                 verdict.note, arrived.modified)
                                : store.markDone(change.id, verdict.destination, -1, {}, verdict.note);
            if (marked.ok && change.undoes > 0) {
                // The undo went through before the crash; so did the change it undid.
                marked = store.markUndone(change.undoes, texts::changePutBack());
            }
        } else if (verdict.state == ChangeState::SettledNotDone) {
            marked = store.markSettledNotDone(change.id, verdict.note);
        } else {
            marked = store.markFailed(change.id, verdict.note);
        }
        if (!marked.ok && report.error.isEmpty()) {
            report.error = texts::journalError(marked.error);
        }
        report.settled.append({change.id, changeName(change), verdict.state, verdict.note});
    }
    for (const platform::JournalRun& run : unended.value) {
        const platform::JournalStatus ended = store.endRun(run.id, texts::runInterrupted());
        if (!ended.ok && report.error.isEmpty()) {
            report.error = texts::journalError(ended.error);
        }
        report.interruptedRuns.append(run.id);
    }
    const platform::JournalStatus committed = store.commitBatch();
    if (!committed.ok && report.error.isEmpty()) {
        report.error = texts::journalError(committed.error);
    }
    sweepLeftovers(QFileInfo(store.path()).absolutePath(), true, report.removed);
    for (const QString& folder : installFolders(open.value, unended.value)) {
        sweepLeftovers(folder, false, report.removed);
    }
    return report;
}

} // namespace vestimo::journal
