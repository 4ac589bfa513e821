#include "core/journal/Disk.h"
#include "core/journal/Journal.h"

#include "core/catalogue/FileErrors.h"
#include "core/catalogue/History.h"
#include "core/catalogue/PlatformErrors.h"
#include "core/catalogue/PutBack.h"
#include "platform/Trash.h"
#include "platform/journal/FileDigest.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace vestimo::journal {

namespace detail {

bool occupied(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString folderOf(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

namespace {

// Whether the file in the trash still holds what was deleted (any content, when that is unknown).
bool holds(const QString& file, const QString& hash) {
    if (hash.isEmpty()) {
        return true;
    }
    const platform::FileDigest content = platform::digestFile(file);
    return content.ok && content.sha256 == hash;
}

} // namespace

QString findInTrash(const QString& original, const QString& hash) {
    return platform::findInTrash(original, [&hash](const QString& file) { return holds(file, hash); });
}

} // namespace detail

namespace {

using detail::folderOf;
using detail::occupied;
using platform::FileResult;

struct Step {
    bool go = false;
    QString reason;     // why not, when !go
    JournalChange undo; // what the undo does, as a change of its own
    std::function<FileResult(JournalChange&)> op;
    QString what;
    bool notTheFile = false;
};

Step refuse(const QString& why) {
    return {false, why, {}, {}, {}, false};
}

Step notTheFile(const JournalChange& change) {
    Step step = refuse(texts::notTheFileMoved(QFileInfo(change.destination).fileName(), change.runId));
    step.notTheFile = true;
    return step;
}

// Whether the file at `path` is the one a move left there: its size, modification time and
// content as recorded. Runs recorded before those were kept have only the size; `sizeOnly` says
// when that was all there was to go by. Nothing recorded at all matches nothing.
bool isTheFileMoved(const JournalChange& change, const QString& path, bool& sizeOnly) {
    sizeOnly = false;
    if (change.hash.isEmpty()) {
        const std::optional<qint64> length = platform::fileLength(path);
        sizeOnly = true;
        return change.size >= 0 && length && *length == change.size;
    }
    const platform::FileDigest now = platform::digestFile(path);
    return now.ok && now.size == change.size && now.sha256 == change.hash &&
           (change.modified < 0 || now.modified == change.modified);
}

// The file at `path` is still the one the change left there, as far as the journal can tell.
QString unchanged(const QString& path, const QString& hash, const QString& since) {
    if (hash.isEmpty()) {
        return {};
    }
    const platform::FileDigest now = platform::digestFile(path);
    if (!now.ok) {
        return texts::putBackUnreadable(texts::digestError(now.error));
    }
    return now.sha256 == hash ? QString() : texts::putBackChangedSince(since);
}

// Moving `from` back to `to`, without ever taking the place of another file.
Step moveBack(const JournalChange& change, const QString& from, const QString& to, ChangeKind kind,
              const QString& since, const QString& what) {
    if (from.isEmpty()) {
        return refuse(texts::putBackWhereNotRecorded());
    }
    if (!occupied(from)) {
        return refuse(texts::putBackNoLongerIn(folderOf(from)));
    }
    if (occupied(to)) {
        return refuse(texts::putBackNameTakenIn(folderOf(to)));
    }
    bool sizeOnly = false;
    if (change.kind == ChangeKind::Moved) {
        if (!isTheFileMoved(change, from, sizeOnly)) {
            return notTheFile(change);
        }
    } else if (const QString changed = unchanged(from, change.hash, since); !changed.isEmpty()) {
        return refuse(changed);
    }
    Step step;
    step.go = true;
    step.undo.kind = kind;
    step.undo.original = from;
    step.undo.destination = to;
    step.undo.size = change.size;
    step.undo.hash = change.hash;
    step.undo.modified = change.modified;
    step.op = [from, to, kind](JournalChange&) {
        const FileResult moved = platform::moveFile(from, to);
        if (moved.ok && kind == ChangeKind::Restored) {
            platform::forgetTrashNote(from, to);
        }
        return moved;
    };
    step.what = sizeOnly ? texts::matchedBySizeOnly(what) : what;
    return step;
}

// Sending a file the change made (or brought back) to the trash, only while it is unchanged.
Step trashAgain(const JournalChange& change, const QString& path, const QString& since) {
    if (!occupied(path)) {
        return refuse(texts::putBackNoLongerThere());
    }
    if (change.hash.isEmpty()) {
        return refuse(texts::putBackContentNotRecorded());
    }
    const QString changed = unchanged(path, change.hash, since);
    if (!changed.isEmpty()) {
        return refuse(changed);
    }
    Step step;
    step.go = true;
    step.undo.kind = ChangeKind::Trashed;
    step.undo.original = path;
    step.undo.size = change.size;
    step.undo.hash = change.hash;
    step.op = [path](JournalChange& done) {
        QString inTrash;
        const FileResult trashed = platform::moveToTrash(path, &inTrash);
        done.destination = inTrash;
        return trashed;
    };
    step.what = texts::putBackSinceTrashed();
    return step;
}

Step giveBackPrevious(const JournalChange& change) {
    if (!change.hasPreviousBytes) {
        return refuse(texts::putBackPreviousNotRecorded());
    }
    const platform::FileDigest now = platform::digestFile(change.original, kMaxKeptBytes);
    if (!now.ok) {
        return refuse(occupied(change.original) ? texts::putBackUnreadable(texts::digestError(now.error))
                                                : texts::putBackNoLongerThere());
    }
    if (now.sha256 != change.hash) {
        return refuse(texts::putBackChangedSince(texts::putBackSinceSaved()));
    }
    Step step;
    step.go = true;
    // The undo is a save of its own, keeping what it replaces, so it can be undone in turn.
    step.undo.kind = ChangeKind::Saved;
    step.undo.original = change.original;
    step.undo.hasPreviousBytes = true;
    step.undo.previousBytes = now.bytes;
    step.undo.size = change.previousBytes.size();
    step.undo.hash = platform::digestOf(change.previousBytes);
    const QString path = change.original;
    const QByteArray previous = change.previousBytes;
    step.op = [path, previous](JournalChange&) { return platform::saveFile(path, previous); };
    step.what = texts::putBackGaveBack();
    return step;
}

Step planUndo(const JournalChange& change) {
    switch (change.kind) {
    case ChangeKind::Moved:
        return moveBack(change, change.destination, change.original, ChangeKind::Moved,
                        texts::putBackSinceMoved(), texts::putBackMovedBack(folderOf(change.original)));
    case ChangeKind::Trashed:
        return moveBack(change, change.destination, change.original, ChangeKind::Restored,
                        texts::putBackSinceTrashed(), texts::putBackBroughtBack());
    case ChangeKind::Restored:
        return trashAgain(change, change.destination, texts::putBackSinceBroughtBack());
    case ChangeKind::Saved:
        return giveBackPrevious(change);
    case ChangeKind::Exported:
    case ChangeKind::Installed:
        return trashAgain(change, change.destination, texts::putBackSinceWritten());
    }
    return refuse(texts::putBackUnknownChange());
}

QString notDoneReason(ChangeState state) {
    switch (state) {
    case ChangeState::Intended:
        return texts::putBackNotKnownYet();
    case ChangeState::Failed:
    case ChangeState::SettledNotDone:
        return texts::putBackNeverHappened();
    case ChangeState::Undone:
        return texts::putBackPutBackBefore();
    case ChangeState::Done:
        break;
    }
    return {};
}

} // namespace

namespace {

void keepFirstError(PutBackReport& report, const QString& error) {
    if (report.error.isEmpty()) {
        report.error = error;
    }
}

// The undo is recorded like any run, started only once there is something to do; false (with the
// reason in `item`) when the journal cannot start it, and then nothing is put back at all.
bool startRunOnce(JournalStore& store, const QString& skinFolder, PutBackReport& report, PutBackItem& item) {
    if (report.runId != 0) {
        return true;
    }
    const auto begun = store.beginRun(kPutBackCommand, skinFolder);
    if (!begun.ok) {
        report.busy = store.busy();
        report.error = report.busy ? texts::journalInUse() : texts::journalError(begun.error);
        item.reason = texts::putBackNotRecordable(report.error);
        return false;
    }
    report.runId = begun.value;
    return true;
}

// Takes the planned step as a journaled change of its own and marks `change` undone when it worked.
void takeStep(JournalStore& store, const JournalChange& change, Step& step, PutBackReport& report,
              PutBackItem& item) {
    step.undo.runId = report.runId;
    step.undo.undoes = change.id;
    step.undo.reason = texts::putBackReason();
    const JournaledResult done = runJournaled(&store, step.undo, step.op);
    if (!done.file.ok) {
        item.reason = texts::fileError(done.file.error);
    } else {
        item.outcome = PutBackOutcome::PutBack;
        item.what = step.what;
        const platform::JournalStatus marked = store.markUndone(change.id, texts::putBackReason());
        if (!marked.ok) {
            keepFirstError(report, texts::journalError(marked.error));
        }
    }
    if (!done.journalError.isEmpty()) {
        keepFirstError(report, done.journalError);
    }
}

// Puts back the one change `id`, or says in its item why it is left alone.
PutBackItem putBackOne(JournalStore& store, qint64 id, const QString& skinFolder, PutBackReport& report) {
    PutBackItem item;
    item.changeId = id;
    const auto loaded = store.change(id);
    if (!loaded.ok) {
        item.reason = texts::journalError(loaded.error);
        return item;
    }
    const JournalChange& change = loaded.value;
    item.name = changeName(change);
    if (change.state == ChangeState::Intended) {
        // Left open (settling could not decide or could not write): not done, and said so.
        item.reason = notDoneReason(change.state);
        return item;
    }
    if (change.state != ChangeState::Done) {
        item.outcome = change.state == ChangeState::Undone ? PutBackOutcome::AlreadyPutBack
                                                           : PutBackOutcome::NeverHappened;
        item.reason = notDoneReason(change.state);
        return item;
    }
    Step step = planUndo(change);
    if (!step.go) {
        item.reason = step.reason;
        item.notTheFile = step.notTheFile;
        return item;
    }
    if (startRunOnce(store, skinFolder, report, item)) {
        takeStep(store, change, step, report, item);
    }
    return item;
}

} // namespace

PutBackReport putBack(JournalStore& store, const QList<qint64>& changeIds, const QString& skinFolder) {
    PutBackReport report;
    QList<qint64> ids = changeIds;
    // Newest first: a file saved twice gets its first content back only after its second.
    std::sort(ids.begin(), ids.end(), std::greater<>());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    // Marks go out with the next step's intent: one commit per file put back.
    const bool batched = store.isOpen() && !store.inBatch();
    if (batched) {
        store.beginBatch();
    }
    for (const qint64 id : ids) {
        report.items.append(putBackOne(store, id, skinFolder, report));
        if (report.runId == 0 && !report.error.isEmpty()) {
            // The undo cannot be recorded: nothing is put back, rather than each file unrecorded.
            break;
        }
    }
    if (report.runId > 0) {
        const int left = report.count(PutBackOutcome::LeftAlone);
        const platform::JournalStatus ended = store.endRun(
            report.runId, left == 0 ? texts::putBackFinished() : texts::putBackFinishedLeftAlone(left));
        if (!ended.ok) {
            keepFirstError(report, texts::journalError(ended.error));
        }
    }
    if (batched) {
        const platform::JournalStatus committed = store.commitBatch();
        if (!committed.ok) {
            keepFirstError(report, texts::journalError(committed.error));
        }
    }
    return report;
}

PutBackReport putBackRun(JournalStore& store, qint64 runId) {
    const auto run = store.run(runId);
    if (!run.ok) {
        PutBackReport report;
        report.error = texts::journalError(run.error);
        return report;
    }
    const auto changes = store.changesOf(runId);
    if (!changes.ok) {
        PutBackReport report;
        report.error = texts::journalError(changes.error);
        return report;
    }
    QList<qint64> ids;
    for (const JournalChange& change : changes.value) {
        ids.append(change.id);
    }
    return putBack(store, ids, run.value.skinFolder);
}

} // namespace vestimo::journal
