#pragma once

#include "platform/FileSystem.h"
#include "platform/journal/JournalStore.h"

#include <QList>
#include <QString>

#include <functional>

namespace vestimo::journal {

using platform::ChangeKind;
using platform::ChangeState;
using platform::JournalChange;
using platform::JournalStore;

// Saves keep what they replaced in the journal; nothing larger than this is kept.
inline constexpr qint64 kMaxKeptBytes = qint64{16} * 1024 * 1024;

// What came of one journaled file operation.
struct JournaledResult {
    platform::FileResult file; // what the operation itself did
    qint64 changeId = 0;       // 0 when it could not be recorded
    QString journalError;      // why the journal could not record it; empty when it did
};

// Records `intent` (with its run) as intended, runs `op`, then marks it done or failed. The
// operation runs even when the journal cannot record it: a command never stops for its journal.
// `op` may fill in what is known only afterwards (destination, size, hash) in the change it gets.
JournaledResult runJournaled(JournalStore* store, const JournalChange& intent,
                             const std::function<platform::FileResult(JournalChange&)>& op);
JournaledResult runJournaled(JournalStore* store, const JournalChange& intent,
                             const std::function<platform::FileResult()>& op);

// The file a change is about, as the player knows it.
QString changeName(const JournalChange& change);

// ---- Settling after a crash -------------------------------------------------------------------

struct SettledChange {
    qint64 changeId = 0;
    QString name;
    ChangeState state = ChangeState::Intended; // what the disk showed
    QString note;
};

struct RecoveryReport {
    QList<SettledChange> settled;
    QList<qint64> interruptedRuns; // runs that never ended, now closed as "interrupted"
    QStringList removed;           // leftovers of installations whose process is gone
    QString error;                 // empty when the journal could be read and written
};

// Settles every intention left open (by a crash) by looking at the disk, closes the runs that
// never ended, and removes what installations killed on the way left behind (their staging
// folders in the journal's folder, their part files beside the files they were writing). Meant
// for the start of every command that changes the journal or shows its runs.
RecoveryReport recover(JournalStore& store);

// ---- Putting back ------------------------------------------------------------------------------

enum class PutBackOutcome {
    PutBack,        // undone now
    LeftAlone,      // could not be undone without overwriting or losing something; see reason
    AlreadyPutBack, // undone before: nothing to do
    NeverHappened,  // failed, or settled as not done: nothing to undo
};

struct PutBackItem {
    qint64 changeId = 0;
    QString name;
    PutBackOutcome outcome = PutBackOutcome::LeftAlone;
    QString what;            // what was done, for PutBack
    QString reason;          // why not, otherwise
    bool notTheFile = false; // left alone: the file in its place is another one than was moved
};

struct PutBackReport {
    qint64 runId = 0; // the run that recorded the undo; 0 when nothing was done
    QList<PutBackItem> items;
    QString error;     // a journal problem that stopped or spoiled the whole undo
    bool busy = false; // stopped before changing anything: another program holds the journal
    int count(PutBackOutcome outcome) const;
};

inline const QString kPutBackCommand = QStringLiteral("Put Back");

// Undoes the given changes, newest first. Never overwrites: a change whose original name is taken
// or whose file has changed since is left alone and reported; the rest go ahead. The undo is a
// run of its own, each step recorded like any change and linked to the change it undid.
PutBackReport putBack(JournalStore& store, const QList<qint64>& changeIds, const QString& skinFolder = {});
PutBackReport putBackRun(JournalStore& store, qint64 runId);

// ---- The facade for commands --------------------------------------------------------------------

// One command's view of the journal: the run it is in, the file operations it makes, and the
// first problem the journal had, for the command's details. When the journal could not be
// opened, the operations still happen, unrecorded.
class Journal {
public:
    Journal() = default;

    platform::JournalStatus open(const QString& folder);
    bool isOpen() const { return store_.isOpen(); }
    JournalStore& store() { return store_; }

    // Each run waits for a locked journal afresh (the windows, where every button is a command of
    // its own); otherwise the one wait is shared by the whole command.
    void setWaitPerRun(bool perRun) { waitPerRun_ = perRun; }
    // Renews the time a command waits for a journal another program holds.
    void renewWait() { store_.renewWait(); }

    // Starts a run; false (with problem() set) when it cannot be recorded.
    bool beginRun(const QString& command, const QString& skinFolder);
    // Ends the run, committing a batch still open.
    void endRun(const QString& outcome);
    qint64 runId() const { return runId_; }
    bool recording() const { return store_.isOpen() && runId_ > 0; }
    // Why (some of) this run could not be recorded; empty when all of it was. Cleared by beginRun.
    QString problem() const { return problem_; }
    // The change the last single operation (move, trash, save, writeNew, journaled) recorded; 0
    // when it could not be.
    qint64 lastChangeId() const { return lastChangeId_; }

    // Many changes, one commit each and no sync per file; see JournalStore.
    void beginBatch();
    void commitBatch();

    // One commit per call (about 50 microseconds of the processor's time): right for single
    // files; a directory run queues its moves in a MoveQueue instead.
    platform::FileResult move(const QString& from, const QString& to, const QString& reason);
    platform::FileResult trash(const QString& path, const QString& reason);
    // Overwrites (or creates) `path`, keeping what it held in the journal.
    platform::FileResult save(const QString& path, const QByteArray& bytes, const QString& reason);
    // Writes a file that must not exist yet (an exported or installed outfit's files).
    platform::FileResult writeNew(const QString& path, const QByteArray& bytes, const QString& reason,
                                  ChangeKind kind = ChangeKind::Exported, const QString& madeFrom = {});
    // Any other operation, recorded as `intent` within this run.
    platform::FileResult journaled(JournalChange intent, const std::function<platform::FileResult()>& op);

    // Settles what a crash left open (see journal::recover); every command that changes the
    // journal or shows its runs calls this first.
    RecoveryReport settle();
    RecoveryReport recover() { return settle(); }
    PutBackReport putBackRun(qint64 runId);
    PutBackReport putBack(const QList<qint64>& changeIds, const QString& skinFolder = {});

private:
    friend class MoveQueue;
    platform::FileResult perform(JournalChange intent,
                                 const std::function<platform::FileResult(JournalChange&)>& op);
    void note(const QString& problem);

    JournalStore store_;
    qint64 runId_ = 0;
    qint64 lastChangeId_ = 0;
    QString problem_;
    QString openError_;
    bool waitPerRun_ = false;
};

// Moves for a directory run, queued and journaled in groups: the intents of a group are committed
// together before any of its files moves (write-ahead), their outcomes go out with the next
// group. One commit per group rather than per file keeps the journal's share of a run small.
// `done` is called for each file, in the order added, once it has moved or not; a file is moved
// at the latest by flush() (or the destructor).
class MoveQueue {
public:
    using Done = std::function<void(const platform::FileResult&)>;
    explicit MoveQueue(Journal& journal, int groupSize = 64);
    ~MoveQueue();
    MoveQueue(const MoveQueue&) = delete;
    MoveQueue& operator=(const MoveQueue&) = delete;

    void add(const QString& from, const QString& to, const QString& reason, Done done = {});
    void flush();
    qsizetype waiting() const { return queued_.size(); }

private:
    struct Queued {
        QString from;
        QString to;
        QString reason;
        Done done;
    };
    Journal& journal_;
    int groupSize_;
    QList<Queued> queued_;
};

} // namespace vestimo::journal
