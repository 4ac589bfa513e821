#include "core/journal/Journal.h"

#include "core/catalogue/FileErrors.h"
#include "core/catalogue/History.h"
#include "core/catalogue/PlatformErrors.h"
#include "platform/journal/FileDigest.h"

#include <QFileInfo>

#include <utility>

namespace vestimo::journal {

using platform::FileResult;

namespace {

// What tells the moved file from any other of its name later: read once it has arrived, while
// it is still in the cache. A file that cannot be read keeps what the intent recorded.
void noteIdentity(JournalChange& change, const QString& path) {
    const platform::FileDigest digest = platform::digestFile(path);
    if (digest.ok) {
        change.size = digest.size;
        change.hash = digest.sha256;
        change.modified = digest.modified;
    }
}

} // namespace

JournaledResult runJournaled(JournalStore* store, const JournalChange& intent,
                             const std::function<FileResult(JournalChange&)>& op) {
    JournaledResult result;
    JournalChange change = intent;
    if (store == nullptr || !store->isOpen()) {
        result.journalError = texts::journalNotOpen();
    } else {
        const auto recorded = store->recordIntent(change);
        if (recorded.ok) {
            result.changeId = recorded.value;
            change.id = recorded.value;
        } else {
            result.journalError = texts::journalError(recorded.error);
        }
    }
    result.file = op(change);
    if (result.changeId == 0) {
        return result;
    }
    const platform::JournalStatus marked =
        result.file.ok ? store->markDone(result.changeId, change.destination, change.size, change.hash, {},
                                         change.modified)
                       : store->markFailed(result.changeId, texts::fileError(result.file.error));
    if (!marked.ok) {
        // Still open in the journal: the next start settles it from the disk.
        result.journalError = texts::journalError(marked.error);
    }
    return result;
}

JournaledResult runJournaled(JournalStore* store, const JournalChange& intent,
                             const std::function<FileResult()>& op) {
    return runJournaled(store, intent, [&op](JournalChange&) { return op(); });
}

QString changeName(const JournalChange& change) {
    switch (change.kind) {
    case ChangeKind::Exported:
    case ChangeKind::Installed:
    case ChangeKind::Restored:
        return change.destination;
    case ChangeKind::Moved:
    case ChangeKind::Trashed:
    case ChangeKind::Saved:
        break;
    }
    return change.original;
}

int PutBackReport::count(PutBackOutcome outcome) const {
    int n = 0;
    for (const PutBackItem& item : items) {
        n += item.outcome == outcome ? 1 : 0;
    }
    return n;
}

platform::JournalStatus Journal::open(const QString& folder) {
    const platform::JournalStatus opened = store_.open(folder);
    openError_ = texts::journalError(opened.error);
    if (!opened.ok) {
        note(openError_);
    }
    return opened;
}

void Journal::note(const QString& problem) {
    if (problem_.isEmpty()) {
        problem_ = store_.busy() ? texts::journalInUse() : problem;
    }
}

bool Journal::beginRun(const QString& command, const QString& skinFolder) {
    runId_ = 0;
    problem_.clear();
    if (waitPerRun_) {
        store_.renewWait();
    }
    if (!store_.isOpen()) {
        note(openError_.isEmpty() ? texts::journalNotOpen() : openError_);
        return false;
    }
    const auto begun = store_.beginRun(command, skinFolder);
    if (!begun.ok) {
        note(texts::journalError(begun.error));
        return false;
    }
    runId_ = begun.value;
    return true;
}

void Journal::endRun(const QString& outcome) {
    if (recording()) {
        const platform::JournalStatus ended = store_.endRun(runId_, outcome);
        if (!ended.ok) {
            note(texts::journalError(ended.error));
        }
        if (store_.inBatch()) {
            commitBatch();
        }
    }
    runId_ = 0;
}

void Journal::beginBatch() {
    if (store_.isOpen()) {
        const platform::JournalStatus begun = store_.beginBatch();
        if (!begun.ok) {
            note(texts::journalError(begun.error));
        }
    }
}

void Journal::commitBatch() {
    if (store_.isOpen()) {
        const platform::JournalStatus committed = store_.commitBatch();
        if (!committed.ok) {
            note(texts::journalError(committed.error));
        }
    }
}

FileResult Journal::perform(JournalChange intent, const std::function<FileResult(JournalChange&)>& op) {
    lastChangeId_ = 0;
    if (!recording()) {
        return op(intent);
    }
    intent.runId = runId_;
    const JournaledResult result = runJournaled(&store_, intent, op);
    lastChangeId_ = result.changeId;
    if (!result.journalError.isEmpty()) {
        note(result.journalError);
    }
    return result.file;
}

FileResult Journal::journaled(JournalChange intent, const std::function<FileResult()>& op) {
    return perform(std::move(intent), [&op](JournalChange&) { return op(); });
}

FileResult Journal::move(const QString& from, const QString& to, const QString& reason) {
    JournalChange intent;
    intent.kind = ChangeKind::Moved;
    intent.original = from;
    intent.destination = to;
    intent.reason = reason;
    if (recording()) {
        intent.size = platform::fileLength(from).value_or(-1);
    }
    return perform(intent, [&](JournalChange& change) {
        const FileResult moved = platform::moveFile(from, to);
        if (moved.ok && recording()) {
            noteIdentity(change, to);
        }
        return moved;
    });
}

FileResult Journal::trash(const QString& path, const QString& reason) {
    JournalChange intent;
    intent.kind = ChangeKind::Trashed;
    intent.original = path;
    intent.reason = reason;
    if (recording()) {
        // The hash tells later whether the file in the trash is still this one.
        const platform::FileDigest digest = platform::digestFile(path);
        if (digest.ok) {
            intent.size = digest.size;
            intent.hash = digest.sha256;
        }
    }
    return perform(intent, [&](JournalChange& change) {
        QString inTrash;
        const FileResult trashed = platform::moveToTrash(path, &inTrash);
        change.destination = inTrash;
        return trashed;
    });
}

FileResult Journal::save(const QString& path, const QByteArray& bytes, const QString& reason) {
    JournalChange intent;
    intent.kind = ChangeKind::Saved;
    intent.original = path;
    intent.reason = reason;
    intent.size = bytes.size();
    intent.hash = platform::digestOf(bytes);
    if (recording()) {
        const platform::FileDigest before = platform::digestFile(path, kMaxKeptBytes);
        if (before.ok) {
            intent.hasPreviousBytes = true;
            intent.previousBytes = before.bytes;
        } else if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) {
            // Nothing is replaced: undoing it means taking the new file away, as for an export.
            intent.kind = ChangeKind::Exported;
            intent.destination = path;
            intent.original.clear();
        } else {
            intent.note = texts::digestError(before.error);
        }
    }
    return perform(intent, [&](JournalChange&) { return platform::saveFile(path, bytes); });
}

FileResult Journal::writeNew(const QString& path, const QByteArray& bytes, const QString& reason,
                             ChangeKind kind, const QString& madeFrom) {
    JournalChange intent;
    intent.kind = kind;
    intent.original = madeFrom;
    intent.destination = path;
    intent.reason = reason;
    intent.size = bytes.size();
    intent.hash = platform::digestOf(bytes);
    return perform(intent, [&](JournalChange&) { return platform::saveNewFile(path, bytes); });
}

MoveQueue::MoveQueue(Journal& journal, int groupSize)
    : journal_(journal), groupSize_(groupSize > 0 ? groupSize : 1) {}

MoveQueue::~MoveQueue() {
    flush();
}

void MoveQueue::add(const QString& from, const QString& to, const QString& reason, Done done) {
    queued_.append({from, to, reason, std::move(done)});
    if (queued_.size() >= groupSize_) {
        flush();
    }
}

void MoveQueue::flush() {
    if (queued_.isEmpty()) {
        return;
    }
    // Taken first: a `done` that adds more files starts a queue of its own.
    const QList<Queued> group = std::exchange(queued_, {});
    JournalStore& store = journal_.store_;
    QList<qint64> ids;
    bool batched = false;
    if (journal_.recording()) {
        batched = !store.inBatch();
        if (batched) {
            journal_.beginBatch();
        }
        QList<JournalChange> intents;
        intents.reserve(group.size());
        for (const Queued& move : group) {
            JournalChange intent;
            intent.runId = journal_.runId_;
            intent.kind = ChangeKind::Moved;
            intent.original = move.from;
            intent.destination = move.to;
            intent.reason = move.reason;
            intent.size = platform::fileLength(move.from).value_or(-1);
            intents.append(intent);
        }
        const auto recorded = store.recordIntents(intents);
        if (recorded.ok) {
            ids = recorded.value;
        } else {
            // The files move all the same; the run's details say it was not recorded.
            journal_.note(texts::journalError(recorded.error));
        }
    }
    for (qsizetype i = 0; i < group.size(); ++i) {
        const FileResult moved = platform::moveFile(group[i].from, group[i].to);
        if (!ids.isEmpty()) {
            JournalChange arrived;
            if (moved.ok) {
                noteIdentity(arrived, group[i].to);
            }
            const platform::JournalStatus marked =
                moved.ok ? store.markDone(ids[i], {}, arrived.size, arrived.hash, {}, arrived.modified)
                         : store.markFailed(ids[i], texts::fileError(moved.error));
            if (!marked.ok) {
                journal_.note(texts::journalError(marked.error));
            }
        }
        if (group[i].done) {
            group[i].done(moved);
        }
    }
    if (batched) {
        journal_.commitBatch();
    }
}

RecoveryReport Journal::settle() {
    // This journal's own run is going on: its open intentions are no crash's.
    if (recording()) {
        return {};
    }
    return journal::recover(store_);
}

PutBackReport Journal::putBackRun(qint64 runId) {
    return journal::putBackRun(store_, runId);
}

PutBackReport Journal::putBack(const QList<qint64>& changeIds, const QString& skinFolder) {
    return journal::putBack(store_, changeIds, skinFolder);
}

} // namespace vestimo::journal
