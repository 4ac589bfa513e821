#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class QSqlQuery;

namespace vestimo::platform {

// What was done to a file. An undo is recorded as what it physically did (a file moved back is a
// move, a saved file given its old bytes back is a save), linked to the change it undid.
enum class ChangeKind {
    Moved,     // original -> destination
    Trashed,   // original -> destination, the path the desktop trash gave it
    Saved,     // original overwritten; previousBytes is what it held before
    Exported,  // destination newly written; original is what it was made from, if anything
    Installed, // likewise, into the game's own folders
    Restored,  // brought back from the trash: original is the trash path, destination where it went
};

enum class ChangeState {
    Intended,       // recorded before the file operation; still open
    Done,           // the operation happened
    Failed,         // the operation was tried and did not happen
    Undone,         // it happened and has been put back since
    SettledNotDone, // left open by a crash; the disk showed it never happened
};

QString kindName(ChangeKind kind);
QString stateName(ChangeState state);
std::optional<ChangeKind> kindFromName(const QString& name);
std::optional<ChangeState> stateFromName(const QString& name);

struct JournalRun {
    qint64 id = 0;
    QString command;
    QString skinFolder;
    QDateTime started;
    QDateTime ended; // invalid while the run is going on (or if it never ended)
    QString outcome;
};

struct JournalChange {
    qint64 id = 0;
    qint64 runId = 0;
    ChangeKind kind = ChangeKind::Moved;
    ChangeState state = ChangeState::Intended;
    QString original;
    QString destination;
    // Only saves keep what they replaced; loaded only where asked for (see change()).
    bool hasPreviousBytes = false;
    QByteArray previousBytes;
    qint64 size = -1;     // of the file as the change left it; -1 when not known
    QString hash;         // SHA-256 hex of that content; empty when not known
    qint64 modified = -1; // its modification time then, in nanoseconds since 1970; -1 when not known
    QString reason;       // why the change was made, as the details showed it
    QString note;         // how it ended when it did not simply happen (failure, settling, ...)
    qint64 undoes = 0;    // the change this one put back, if it is an undo
    QDateTime recorded;
};

// Why the journal could not do what was asked: the kind, what it names, and the database's or
// the system's own words where it gave any. The catalogue makes the text.
struct JournalError {
    enum class Kind {
        None,
        NotOpen,
        Database,     // reason: the database's words, when it gave any
        Check,        // reason: the integrity check's answer
        NoSuchRun,    // number: the run
        NoSuchChange, // number: the change
        NoDriver,
        NotADatabase,
        NoWriteAheadLog,
        Newer,             // number: the journal's version
        FolderMissing,     // name: the folder
        FolderNotWritable, // name: the folder
        FileIsLink,        // name: the file's name
        FileNotAFile,      // name: the file's name
        // About the journal file `name`, for the reason `cause` (with number and reason; without a
        // cause, the reason alone).
        NotOpened,
        NotUsable,
        Unreadable,
        NotSetAside,
        LogNotSetAside,
        NotStartedAfresh,
    };
    Kind kind = Kind::None;
    Kind cause = Kind::None;
    QString name;
    qint64 number = 0;
    QString reason;
    bool operator==(const JournalError&) const = default;
};

struct JournalStatus {
    bool ok = true;
    JournalError error;
    static JournalStatus success() { return {}; }
    static JournalStatus failure(JournalError why) { return {false, std::move(why)}; }
};

// What a listing file written by the program looked like when it was written, so that a later
// run (of this or another copy of the program) can tell it from anyone else's file of that name.
struct ListingFingerprint {
    qint64 device = 0;
    qint64 inode = 0;
    qint64 size = 0;
    qint64 modified = 0; // nanoseconds since 1970
    QString hash;        // SHA-256 hex of its content
    bool operator==(const ListingFingerprint&) const = default;
};

template <class T> struct JournalResult {
    bool ok = true;
    JournalError error;
    T value{};
    static JournalResult success(T v) { return {true, {}, std::move(v)}; }
    static JournalResult failure(JournalError why) { return {false, std::move(why), T{}}; }
};

// The journal database, journal.sqlite in a given folder. Nothing here throws: every call says
// whether it worked and why not. One instance per thread; each has its own connection.
//
// Write-ahead: recordIntent() and recordIntents() return only once the intents are committed, so
// they reach the file before the operations they describe. Within a batch the marks that follow
// (markDone, markFailed, endRun) wait in an open transaction and go out with the next intents or at
// commitBatch(), so a directory run costs one commit per group of changes and no sync to disk per
// file. Other connections (another copy of the program) may read and write between commits.
//
// A journal that another program holds locked is waited for, but only so long in all (kBusyWaitMs,
// shared by every statement until renewWait()); after that every statement that needs the lock
// fails at once and busy() says why.
class JournalStore {
public:
    static constexpr int SchemaVersion = 2;
    static constexpr int kBusyWaitMs = 5000;
    static QString fileName() { return QStringLiteral("journal.sqlite"); }

    JournalStore();
    ~JournalStore();
    JournalStore(const JournalStore&) = delete;
    JournalStore& operator=(const JournalStore&) = delete;

    // Opens (or starts) the journal in `folder`. A file that is not a sound database is renamed
    // aside to journal.sqlite.corrupt-<yyyyMMdd-hhmmss> (never deleted) and a new one started;
    // `setAside()` then names it.
    JournalStatus open(const QString& folder);
    bool isOpen() const;
    void close();
    QString path() const { return path_; }
    QString setAside() const { return setAside_; }
    JournalResult<int> schemaVersion();

    JournalResult<qint64> beginRun(const QString& command, const QString& skinFolder);
    JournalStatus endRun(qint64 runId, const QString& outcome);

    // Records `change` (its run, kind, paths, previous bytes, size, hash, reason, undoes) as
    // intended and commits it, batch or not. Returns its id.
    JournalResult<qint64> recordIntent(const JournalChange& change);
    // Many intents in one commit, before any of their operations: the way a directory run stays
    // cheap. Ids in the same order.
    JournalResult<QList<qint64>> recordIntents(const QList<JournalChange>& changes);
    // `destination`, `size`, `hash` and `note` are stored when given (non-empty / not -1): a trash
    // path is known only afterwards.
    JournalStatus markDone(qint64 changeId, const QString& destination = {}, qint64 size = -1,
                           const QString& hash = {}, const QString& note = {}, qint64 modified = -1);
    JournalStatus markFailed(qint64 changeId, const QString& why);
    JournalStatus markSettledNotDone(qint64 changeId, const QString& why);
    JournalStatus markUndone(qint64 changeId, const QString& note = {});

    JournalStatus beginBatch();
    JournalStatus commitBatch();
    bool inBatch() const { return batch_; }

    // Newest first; limit <= 0 means all.
    JournalResult<QList<JournalRun>> listRuns(int limit = 0);
    JournalResult<JournalRun> run(qint64 runId);
    // In the order they were recorded, without previous bytes.
    JournalResult<QList<JournalChange>> changesOf(qint64 runId);
    // One change, previous bytes included.
    JournalResult<JournalChange> change(qint64 changeId);
    JournalResult<QList<JournalChange>> openIntents();
    // Runs that never ended (the program stopped during them).
    JournalResult<QList<JournalRun>> unendedRuns();

    // The fingerprint of the listing file the program last wrote at `path`, kept so that a later
    // run knows that file as the program's own. Nothing when none is kept.
    JournalResult<std::optional<ListingFingerprint>> listing(const QString& path);
    JournalStatus keepListing(const QString& path, const ListingFingerprint& fingerprint);
    JournalStatus forgetListing(const QString& path);

    // Waiting for a journal locked by another program: the time left is shared by all statements
    // until renewed (once per command); `waiter` sleeps the given milliseconds (tests count instead).
    void renewWait() { waitLeftMs_ = waitLimitMs_; }
    void setWaitLimit(int ms) { waitLimitMs_ = waitLeftMs_ = ms; }
    void setWaiter(std::function<void(int ms)> waiter) { waiter_ = std::move(waiter); }
    // Whether the last statement failed because another program held the journal past the wait.
    bool busy() const { return busy_; }

private:
    struct Statements;
    JournalStatus connect(const QString& file);
    void disconnect();
    JournalStatus prepare();
    JournalStatus checkSound(bool& corrupt);
    // Connects to the journal file and readies it; no answer when the file proves damaged (`why`
    // says how), so that it may be set aside.
    std::optional<JournalStatus> connectAndReady(JournalError& why);
    JournalStatus migrate();
    JournalStatus setState(qint64 changeId, ChangeState state, const QString& note);
    JournalStatus commitPending();
    JournalResult<qint64> insertIntent(const JournalChange& change);
    JournalStatus ensureWriting();
    // Runs a prepared write of exactly one row; `missing` says which when there is none (no kind:
    // any number of rows will do).
    JournalStatus updateOne(QSqlQuery Statements::*query, const QVariantList& values,
                            const JournalError& missing);
    // Runs `q`, waiting (within what is left of the wait) while another program holds the journal.
    bool execute(QSqlQuery& q);
    std::function<bool(QSqlQuery&)> runner();

    QString connection_;
    QString path_;
    QString setAside_;
    std::unique_ptr<Statements> statements_;
    bool batch_ = false;
    bool pending_ = false; // a transaction is open with marks not yet committed
    int waitLimitMs_ = kBusyWaitMs;
    int waitLeftMs_ = kBusyWaitMs;
    std::function<void(int)> waiter_;
    bool busy_ = false;
};

} // namespace vestimo::platform
