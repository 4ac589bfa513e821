#include "platform/journal/JournalStore.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>

#include <algorithm>
#include <array>
#include <atomic>
#include <unistd.h>
#include <utility>

namespace vestimo::platform {

namespace {

using Kind = JournalError::Kind;

JournalError problem(Kind kind, QString name = {}, qint64 number = 0) {
    return {kind, Kind::None, std::move(name), number, {}};
}

// Every call made before open() or after close() gets this.
JournalError notOpen() {
    return problem(Kind::NotOpen);
}

// The journal file `path` could not be opened, used or read, for the reason `inner`.
JournalError about(Kind kind, const QString& path, const JournalError& inner) {
    return {kind, inner.kind, path, inner.number, inner.reason};
}

constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteCorrupt = 11;
// How long one wait for a locked journal sleeps before trying again.
constexpr int kBusyStepMs = 20;
constexpr int kSqliteNotADatabase = 26;

// Each step lifts the schema by one version; existing steps never change once released.
struct Migration {
    int version;
    QStringList statements;
};

const QList<Migration>& migrations() {
    static const QList<Migration> steps = {
        {1,
         {QStringLiteral("CREATE TABLE runs ("
                         " id INTEGER PRIMARY KEY,"
                         " command TEXT NOT NULL,"
                         " skin_folder TEXT NOT NULL,"
                         " started INTEGER NOT NULL,"
                         " ended INTEGER,"
                         " outcome TEXT NOT NULL DEFAULT '')"),
          QStringLiteral("CREATE TABLE changes ("
                         " id INTEGER PRIMARY KEY,"
                         " run_id INTEGER NOT NULL REFERENCES runs(id),"
                         " kind TEXT NOT NULL,"
                         " state TEXT NOT NULL,"
                         " original TEXT NOT NULL,"
                         " destination TEXT NOT NULL,"
                         " previous BLOB,"
                         " size INTEGER,"
                         " hash TEXT NOT NULL DEFAULT '',"
                         " reason TEXT NOT NULL DEFAULT '',"
                         " note TEXT NOT NULL DEFAULT '',"
                         " undoes INTEGER REFERENCES changes(id),"
                         " recorded INTEGER NOT NULL)"),
          // No index on the state: every one would cost each change a page written, and open
          // intentions are looked for only once, at the start.
          QStringLiteral("CREATE INDEX changes_by_run ON changes(run_id)")}},
        // What tells a moved file from another of its name, and the listing files the program wrote.
        {2,
         {QStringLiteral("ALTER TABLE changes ADD COLUMN modified INTEGER"),
          QStringLiteral("CREATE TABLE listings ("
                         " path TEXT PRIMARY KEY,"
                         " device INTEGER NOT NULL,"
                         " inode INTEGER NOT NULL,"
                         " size INTEGER NOT NULL,"
                         " modified INTEGER NOT NULL,"
                         " hash TEXT NOT NULL)")}},
    };
    return steps;
}

const char* const kChangeColumns =
    "id, run_id, kind, state, original, destination, previous IS NOT NULL, size, "
    "hash, reason, note, undoes, recorded, modified";
const char* const kRunColumns = "id, command, skin_folder, started, ended, outcome";

// The database's own words; the catalogue says so when it gave none.
JournalError describe(const QSqlError& error) {
    JournalError found = problem(Kind::Database);
    found.reason = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return found;
}

bool isBusy(const QSqlError& error) {
    bool number = false;
    const int code = error.nativeErrorCode().toInt(&number);
    return number && ((code & 0xff) == kSqliteBusy || (code & 0xff) == kSqliteLocked);
}

bool isCorruption(const QSqlError& error) {
    bool number = false;
    const int code = error.nativeErrorCode().toInt(&number);
    if (number && ((code & 0xff) == kSqliteCorrupt || (code & 0xff) == kSqliteNotADatabase)) {
        return true;
    }
    const QString text = error.databaseText();
    return text.contains(QLatin1String("not a database")) || text.contains(QLatin1String("malformed"));
}

bool occupied(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QVariant nullUnless(bool given, const QVariant& value) {
    return given ? value : QVariant(value.metaType());
}

// Qt binds a null string as NULL; the text columns hold '' instead.
QVariant text(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

QVariant bytes(const QByteArray& bytes) {
    return bytes.isNull() ? QVariant(QByteArray("", 0)) : QVariant(bytes);
}

QDateTime fromStored(const QVariant& value) {
    return value.isNull() ? QDateTime() : QDateTime::fromMSecsSinceEpoch(value.toLongLong());
}

JournalRun runFrom(const QSqlQuery& q) {
    JournalRun run;
    run.id = q.value(0).toLongLong();
    run.command = q.value(1).toString();
    run.skinFolder = q.value(2).toString();
    run.started = fromStored(q.value(3));
    run.ended = fromStored(q.value(4));
    run.outcome = q.value(5).toString();
    return run;
}

JournalChange changeFrom(const QSqlQuery& q) {
    JournalChange change;
    change.id = q.value(0).toLongLong();
    change.runId = q.value(1).toLongLong();
    change.kind = kindFromName(q.value(2).toString()).value_or(ChangeKind::Moved);
    change.state = stateFromName(q.value(3).toString()).value_or(ChangeState::Failed);
    change.original = q.value(4).toString();
    change.destination = q.value(5).toString();
    change.hasPreviousBytes = q.value(6).toBool();
    change.size = q.value(7).isNull() ? -1 : q.value(7).toLongLong();
    change.hash = q.value(8).toString();
    change.reason = q.value(9).toString();
    change.note = q.value(10).toString();
    change.undoes = q.value(11).isNull() ? 0 : q.value(11).toLongLong();
    change.recorded = fromStored(q.value(12));
    change.modified = q.value(13).isNull() ? -1 : q.value(13).toLongLong();
    return change;
}

// Runs a prepared query that lists rows (none: the journal is not open) and turns each row into
// a value with `from`.
template <class T, class Run>
JournalResult<QList<T>> listed(QSqlQuery* q, T (*from)(const QSqlQuery&), const Run& run) {
    if (q == nullptr) {
        return JournalResult<QList<T>>::failure(notOpen());
    }
    if (!run(*q)) {
        return JournalResult<QList<T>>::failure(describe(q->lastError()));
    }
    QList<T> rows;
    while (q->next()) {
        rows.append(from(*q));
    }
    q->finish();
    return JournalResult<QList<T>>::success(rows);
}

// The one row `id` of a prepared query, read by `from`.
template <typename From, class Run>
auto single(QSqlQuery* q, qint64 id, Kind missing, From from, const Run& run)
    -> JournalResult<decltype(from(std::declval<const QSqlQuery&>()))> {
    using T = decltype(from(std::declval<const QSqlQuery&>()));
    if (q == nullptr) {
        return JournalResult<T>::failure(notOpen());
    }
    q->bindValue(0, id);
    if (!run(*q)) {
        return JournalResult<T>::failure(describe(q->lastError()));
    }
    if (!q->next()) {
        return JournalResult<T>::failure(problem(missing, {}, id));
    }
    T found = from(*q);
    q->finish();
    return JournalResult<T>::success(found);
}

} // namespace

namespace {

// The names stored in the database; they are the file format, so they never change.
template <typename E> struct StoredName {
    E value;
    const char* name;
};

constexpr std::array<StoredName<ChangeKind>, 6> kKindNames{{
    {ChangeKind::Moved, "moved"},
    {ChangeKind::Trashed, "trashed"},
    {ChangeKind::Saved, "saved"},
    {ChangeKind::Exported, "exported"},
    {ChangeKind::Installed, "installed"},
    {ChangeKind::Restored, "restored"},
}};

constexpr std::array<StoredName<ChangeState>, 5> kStateNames{{
    {ChangeState::Intended, "intended"},
    {ChangeState::Done, "done"},
    {ChangeState::Failed, "failed"},
    {ChangeState::Undone, "undone"},
    {ChangeState::SettledNotDone, "settled-not-done"},
}};

template <typename E, std::size_t N> QString nameOf(const std::array<StoredName<E>, N>& names, E value) {
    for (const auto& entry : names) {
        if (entry.value == value) {
            return QString::fromLatin1(entry.name);
        }
    }
    return {};
}

template <typename E, std::size_t N>
std::optional<E> valueNamed(const std::array<StoredName<E>, N>& names, const QString& name) {
    for (const auto& entry : names) {
        if (name == QLatin1String(entry.name)) {
            return entry.value;
        }
    }
    return std::nullopt;
}

} // namespace

QString kindName(ChangeKind kind) {
    return nameOf(kKindNames, kind);
}

QString stateName(ChangeState state) {
    return nameOf(kStateNames, state);
}

std::optional<ChangeKind> kindFromName(const QString& name) {
    return valueNamed(kKindNames, name);
}

std::optional<ChangeState> stateFromName(const QString& name) {
    return valueNamed(kStateNames, name);
}

// Prepared once per connection and reused for every call.
struct JournalStore::Statements {
    explicit Statements(const QSqlDatabase& database)
        : db(database), begin(db), commit(db), rollback(db), insertRun(db), endRun(db), insertChange(db),
          markDone(db), setState(db), changesOfRun(db), oneChange(db), openIntents(db), listRuns(db),
          oneRun(db), unendedRuns(db), getListing(db), putListing(db), dropListing(db) {}
    QSqlDatabase db;
    QSqlQuery begin, commit, rollback, insertRun, endRun, insertChange, markDone, setState, changesOfRun,
        oneChange, openIntents, listRuns, oneRun, unendedRuns, getListing, putListing, dropListing;
};

JournalStore::JournalStore() {
    static std::atomic<quint64> next{0};
    connection_ = QStringLiteral("vestimo-journal-%1").arg(++next);
}

JournalStore::~JournalStore() {
    close();
}

bool JournalStore::isOpen() const {
    return statements_ != nullptr;
}

void JournalStore::close() {
    if (statements_ != nullptr && pending_) {
        // Whatever waits in a batch is worth keeping; a failure here leaves open intents that
        // the next start settles from the disk.
        commitPending();
    }
    batch_ = false;
    pending_ = false;
    disconnect();
}

void JournalStore::disconnect() {
    if (statements_ != nullptr) {
        statements_->db.close();
        statements_.reset();
    }
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::removeDatabase(connection_);
    }
}

JournalStatus JournalStore::connect(const QString& file) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    if (!db.isValid()) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
        return JournalStatus::failure(problem(Kind::NoDriver));
    }
    db.setDatabaseName(file);
    // No waiting inside the driver: execute() waits, within the time the command has left.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
    if (!db.open()) {
        const JournalError why = describe(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
        return JournalStatus::failure(why);
    }
    statements_ = std::make_unique<Statements>(db);
    return JournalStatus::success();
}

namespace {

// The journal and its log files are plain files, never links; no kind when they are (or are not there).
JournalError journalFilesProblem(const QString& path) {
    for (const QString& part : {path, path + QStringLiteral("-wal"), path + QStringLiteral("-shm")}) {
        const QFileInfo info(part);
        if (info.isSymLink()) {
            return problem(Kind::FileIsLink, info.fileName());
        }
        if (info.exists() && !info.isFile()) {
            return problem(Kind::FileNotAFile, info.fileName());
        }
    }
    return {};
}

// Whether a journal file that is there starts as a database does; `corrupt` (with `why`) when not.
JournalStatus checkDatabaseHeader(const QString& path, bool& corrupt, JournalError& why) {
    const QFileInfo info(path);
    if (!info.exists() || info.size() <= 0) {
        return JournalStatus::success();
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return JournalStatus::failure({Kind::Unreadable, Kind::None, path, 0, file.errorString()});
    }
    corrupt = file.read(16) != QByteArray("SQLite format 3\0", 16);
    if (corrupt) {
        why = problem(Kind::NotADatabase);
    }
    return JournalStatus::success();
}

// Sets the damaged file aside with its write-ahead log, so nothing in it is lost; `aside` is where.
JournalStatus setAsideDamaged(const QString& path, const JournalError& why, QString& aside) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString target = path + QStringLiteral(".corrupt-") + stamp;
    for (int n = 2; occupied(target) && n < 100; ++n) {
        target = path + QStringLiteral(".corrupt-") + stamp + u'-' + QString::number(n);
    }
    if (occupied(target) || !QFile::rename(path, target)) {
        return JournalStatus::failure(about(Kind::NotSetAside, path, why));
    }
    for (const QString& tail : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (QFileInfo::exists(path + tail) && !QFile::rename(path + tail, target + tail)) {
            return JournalStatus::failure(about(Kind::LogNotSetAside, path, why));
        }
    }
    aside = target;
    return JournalStatus::success();
}

} // namespace

JournalStatus JournalStore::open(const QString& folder) {
    close();
    setAside_.clear();
    renewWait();
    busy_ = false;
    const QFileInfo where(folder);
    if (!where.isDir()) {
        return JournalStatus::failure(problem(Kind::FolderMissing, folder));
    }
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0) {
        return JournalStatus::failure(problem(Kind::FolderNotWritable, folder));
    }
    path_ = folder.endsWith(u'/') ? folder + fileName() : folder + u'/' + fileName();
    const JournalError refused = journalFilesProblem(path_);
    if (refused.kind != Kind::None) {
        return JournalStatus::failure(refused);
    }

    // Two tries: the second only after a damaged file has been set aside.
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool corrupt = false;
        JournalError why;
        const JournalStatus header = checkDatabaseHeader(path_, corrupt, why);
        if (!header.ok) {
            return header;
        }
        if (!corrupt) {
            const std::optional<JournalStatus> opened = connectAndReady(why);
            if (opened) {
                return *opened;
            }
        }
        if (attempt > 0) {
            break;
        }
        const JournalStatus setAside = setAsideDamaged(path_, why, setAside_);
        if (!setAside.ok) {
            return setAside;
        }
    }
    return JournalStatus::failure(problem(Kind::NotStartedAfresh, path_));
}

std::optional<JournalStatus> JournalStore::connectAndReady(JournalError& why) {
    const JournalStatus connected = connect(path_);
    if (!connected.ok) {
        return JournalStatus::failure(about(Kind::NotOpened, path_, connected.error));
    }
    bool corrupt = false;
    const JournalStatus sound = checkSound(corrupt);
    if (sound.ok) {
        JournalStatus ready = migrate();
        if (ready.ok) {
            ready = prepare();
        }
        if (ready.ok) {
            return ready;
        }
        disconnect();
        return JournalStatus::failure(about(Kind::NotUsable, path_, ready.error));
    }
    disconnect();
    if (!corrupt) {
        return JournalStatus::failure(about(Kind::Unreadable, path_, sound.error));
    }
    why = sound.error;
    return std::nullopt;
}

JournalStatus JournalStore::checkSound(bool& corrupt) {
    QSqlQuery check(statements_->db);
    corrupt = false;
    if (!check.exec(QStringLiteral("PRAGMA quick_check"))) {
        corrupt = isCorruption(check.lastError());
        return JournalStatus::failure(describe(check.lastError()));
    }
    if (!check.next()) {
        corrupt = isCorruption(check.lastError());
        return JournalStatus::failure(describe(check.lastError()));
    }
    const QString answer = check.value(0).toString();
    if (answer != QLatin1String("ok")) {
        corrupt = true;
        return JournalStatus::failure({Kind::Check, Kind::None, {}, 0, answer});
    }
    return JournalStatus::success();
}

JournalStatus JournalStore::migrate() {
    QSqlQuery q(statements_->db);
    // WAL: a commit is an append to the log; NORMAL: no sync per commit, only at checkpoints.
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.next()) {
        return JournalStatus::failure(describe(q.lastError()));
    }
    if (q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0) {
        return JournalStatus::failure(problem(Kind::NoWriteAheadLog));
    }
    q.finish();
    if (!q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"))) {
        return JournalStatus::failure(describe(q.lastError()));
    }
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        return JournalStatus::failure(describe(q.lastError()));
    }
    const int version = q.value(0).toInt();
    q.finish();
    if (version > SchemaVersion) {
        return JournalStatus::failure(problem(Kind::Newer, {}, version));
    }
    for (const Migration& step : migrations()) {
        if (step.version <= version) {
            continue;
        }
        if (!q.prepare(QStringLiteral("BEGIN IMMEDIATE")) || !execute(q)) {
            return JournalStatus::failure(describe(q.lastError()));
        }
        QStringList statements = step.statements;
        statements.append(QStringLiteral("PRAGMA user_version=%1").arg(step.version));
        for (const QString& statement : statements) {
            if (!q.exec(statement)) {
                const JournalError why = describe(q.lastError());
                q.exec(QStringLiteral("ROLLBACK"));
                return JournalStatus::failure(why);
            }
        }
        if (!q.exec(QStringLiteral("COMMIT"))) {
            const JournalError why = describe(q.lastError());
            q.exec(QStringLiteral("ROLLBACK"));
            return JournalStatus::failure(why);
        }
    }
    return JournalStatus::success();
}

JournalStatus JournalStore::prepare() {
    Statements& s = *statements_;
    const QString changeColumns = QString::fromLatin1(kChangeColumns);
    const QString runColumns = QString::fromLatin1(kRunColumns);
    const QList<std::pair<QSqlQuery*, QString>> all = {
        // The write lock is taken at the start, where waiting for it is safe to repeat.
        {&s.begin, QStringLiteral("BEGIN IMMEDIATE")},
        {&s.commit, QStringLiteral("COMMIT")},
        {&s.rollback, QStringLiteral("ROLLBACK")},
        {&s.insertRun, QStringLiteral("INSERT INTO runs (command, skin_folder, started) VALUES (?, ?, ?)")},
        {&s.endRun, QStringLiteral("UPDATE runs SET ended = ?, outcome = ? WHERE id = ?")},
        {&s.insertChange,
         QStringLiteral(
             "INSERT INTO changes (run_id, kind, state, original, destination, previous, size, hash, "
             "reason, note, undoes, recorded, modified) "
             "VALUES (?, ?, 'intended', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")},
        {&s.markDone,
         QStringLiteral("UPDATE changes SET state = 'done', destination = COALESCE(?, destination), "
                        "size = COALESCE(?, size), hash = COALESCE(?, hash), note = COALESCE(?, note), "
                        "modified = COALESCE(?, modified) WHERE id = ?")},
        {&s.setState, QStringLiteral("UPDATE changes SET state = ?, note = ? WHERE id = ?")},
        {&s.changesOfRun,
         QStringLiteral("SELECT %1 FROM changes WHERE run_id = ? ORDER BY id").arg(changeColumns)},
        {&s.oneChange, QStringLiteral("SELECT %1, previous FROM changes WHERE id = ?").arg(changeColumns)},
        {&s.openIntents,
         QStringLiteral("SELECT %1 FROM changes WHERE state = 'intended' ORDER BY id").arg(changeColumns)},
        {&s.listRuns, QStringLiteral("SELECT %1 FROM runs ORDER BY id DESC LIMIT ?").arg(runColumns)},
        {&s.oneRun, QStringLiteral("SELECT %1 FROM runs WHERE id = ?").arg(runColumns)},
        {&s.unendedRuns,
         QStringLiteral("SELECT %1 FROM runs WHERE ended IS NULL ORDER BY id").arg(runColumns)},
        {&s.getListing,
         QStringLiteral("SELECT device, inode, size, modified, hash FROM listings WHERE path = ?")},
        {&s.putListing, QStringLiteral("INSERT OR REPLACE INTO listings (path, device, inode, size, "
                                       "modified, hash) VALUES (?, ?, ?, ?, ?, ?)")},
        {&s.dropListing, QStringLiteral("DELETE FROM listings WHERE path = ?")},
    };
    for (const auto& [query, text] : all) {
        if (!query->prepare(text)) {
            return JournalStatus::failure(describe(query->lastError()));
        }
    }
    return JournalStatus::success();
}

JournalResult<int> JournalStore::schemaVersion() {
    if (!isOpen()) {
        return JournalResult<int>::failure(notOpen());
    }
    QSqlQuery q(statements_->db);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        return JournalResult<int>::failure(describe(q.lastError()));
    }
    return JournalResult<int>::success(q.value(0).toInt());
}

JournalStatus JournalStore::ensureWriting() {
    if (!isOpen()) {
        return JournalStatus::failure(notOpen());
    }
    if (pending_) {
        return JournalStatus::success();
    }
    if (!execute(statements_->begin)) {
        return JournalStatus::failure(describe(statements_->begin.lastError()));
    }
    pending_ = true;
    return JournalStatus::success();
}

JournalStatus JournalStore::commitPending() {
    if (!pending_) {
        return JournalStatus::success();
    }
    pending_ = false;
    if (!execute(statements_->commit)) {
        const JournalError why = describe(statements_->commit.lastError());
        statements_->rollback.exec();
        return JournalStatus::failure(why);
    }
    return JournalStatus::success();
}

JournalResult<qint64> JournalStore::beginRun(const QString& command, const QString& skinFolder) {
    const JournalStatus writing = ensureWriting();
    if (!writing.ok) {
        return JournalResult<qint64>::failure(writing.error);
    }
    QSqlQuery& q = statements_->insertRun;
    q.bindValue(0, text(command));
    q.bindValue(1, text(skinFolder));
    q.bindValue(2, QDateTime::currentMSecsSinceEpoch());
    if (!execute(q)) {
        const JournalError why = describe(q.lastError());
        pending_ = false;
        statements_->rollback.exec();
        return JournalResult<qint64>::failure(why);
    }
    const qint64 id = q.lastInsertId().toLongLong();
    // A run is committed at once: its changes refer to it.
    const JournalStatus committed = commitPending();
    if (!committed.ok) {
        return JournalResult<qint64>::failure(committed.error);
    }
    return JournalResult<qint64>::success(id);
}

JournalStatus JournalStore::endRun(qint64 runId, const QString& outcome) {
    return updateOne(&Statements::endRun, {QDateTime::currentMSecsSinceEpoch(), text(outcome), runId},
                     problem(Kind::NoSuchRun, {}, runId));
}

JournalStatus JournalStore::updateOne(QSqlQuery Statements::*query, const QVariantList& values,
                                      const JournalError& missing) {
    const JournalStatus writing = ensureWriting();
    if (!writing.ok) {
        return writing;
    }
    QSqlQuery& q = (*statements_).*query;
    for (qsizetype i = 0; i < values.size(); ++i) {
        q.bindValue(static_cast<int>(i), values[i]);
    }
    if (!execute(q)) {
        const JournalError why = describe(q.lastError());
        pending_ = false;
        statements_->rollback.exec();
        return JournalStatus::failure(why);
    }
    // No `missing`: the statement may touch any number of rows (an upsert, a delete).
    if (missing.kind != Kind::None && q.numRowsAffected() != 1) {
        return JournalStatus::failure(missing);
    }
    return batch_ ? JournalStatus::success() : commitPending();
}

JournalResult<qint64> JournalStore::insertIntent(const JournalChange& change) {
    QSqlQuery& q = statements_->insertChange;
    q.bindValue(0, change.runId);
    q.bindValue(1, kindName(change.kind));
    q.bindValue(2, text(change.original));
    q.bindValue(3, text(change.destination));
    q.bindValue(4, nullUnless(change.hasPreviousBytes, bytes(change.previousBytes)));
    q.bindValue(5, nullUnless(change.size >= 0, QVariant(change.size)));
    q.bindValue(6, text(change.hash));
    q.bindValue(7, text(change.reason));
    q.bindValue(8, text(change.note));
    q.bindValue(9, nullUnless(change.undoes > 0, QVariant(change.undoes)));
    q.bindValue(10, QDateTime::currentMSecsSinceEpoch());
    q.bindValue(11, nullUnless(change.modified >= 0, QVariant(change.modified)));
    if (!execute(q)) {
        // Marks waiting in the batch go too; their changes stay open and are settled from the
        // disk at the next start.
        const JournalError why = describe(q.lastError());
        pending_ = false;
        statements_->rollback.exec();
        return JournalResult<qint64>::failure(why);
    }
    return JournalResult<qint64>::success(q.lastInsertId().toLongLong());
}

JournalResult<qint64> JournalStore::recordIntent(const JournalChange& change) {
    const JournalStatus writing = ensureWriting();
    if (!writing.ok) {
        return JournalResult<qint64>::failure(writing.error);
    }
    const JournalResult<qint64> inserted = insertIntent(change);
    if (!inserted.ok) {
        return inserted;
    }
    // Write-ahead: the intent is committed before the caller touches the file.
    const JournalStatus committed = commitPending();
    if (!committed.ok) {
        return JournalResult<qint64>::failure(committed.error);
    }
    return inserted;
}

JournalResult<QList<qint64>> JournalStore::recordIntents(const QList<JournalChange>& changes) {
    const JournalStatus writing = ensureWriting();
    if (!writing.ok) {
        return JournalResult<QList<qint64>>::failure(writing.error);
    }
    QList<qint64> ids;
    ids.reserve(changes.size());
    for (const JournalChange& change : changes) {
        const JournalResult<qint64> inserted = insertIntent(change);
        if (!inserted.ok) {
            return JournalResult<QList<qint64>>::failure(inserted.error);
        }
        ids.append(inserted.value);
    }
    const JournalStatus committed = commitPending();
    if (!committed.ok) {
        return JournalResult<QList<qint64>>::failure(committed.error);
    }
    return JournalResult<QList<qint64>>::success(ids);
}

JournalStatus JournalStore::markDone(qint64 changeId, const QString& destination, qint64 size,
                                     const QString& hash, const QString& note, qint64 modified) {
    return updateOne(&Statements::markDone,
                     {nullUnless(!destination.isEmpty(), QVariant(destination)),
                      nullUnless(size >= 0, QVariant(size)), nullUnless(!hash.isEmpty(), QVariant(hash)),
                      nullUnless(!note.isEmpty(), QVariant(note)),
                      nullUnless(modified >= 0, QVariant(modified)), changeId},
                     problem(Kind::NoSuchChange, {}, changeId));
}

JournalStatus JournalStore::setState(qint64 changeId, ChangeState state, const QString& note) {
    return updateOne(&Statements::setState, {stateName(state), text(note), changeId},
                     problem(Kind::NoSuchChange, {}, changeId));
}

JournalStatus JournalStore::markFailed(qint64 changeId, const QString& why) {
    return setState(changeId, ChangeState::Failed, why);
}

JournalStatus JournalStore::markSettledNotDone(qint64 changeId, const QString& why) {
    return setState(changeId, ChangeState::SettledNotDone, why);
}

JournalStatus JournalStore::markUndone(qint64 changeId, const QString& note) {
    return setState(changeId, ChangeState::Undone, note);
}

JournalStatus JournalStore::beginBatch() {
    if (!isOpen()) {
        return JournalStatus::failure(notOpen());
    }
    if (batch_) {
        return JournalStatus::success();
    }
    // The log is folded back into the database after the run, not during it (that is where the
    // syncs to disk are). The journal is not locked for the whole run: another copy of the program
    // keeps its connection open, and an exclusive lock would make every statement of this run wait
    // for it.
    QSqlQuery q(statements_->db);
    q.exec(QStringLiteral("PRAGMA wal_autocheckpoint=0"));
    q.finish();
    batch_ = true;
    return JournalStatus::success();
}

JournalStatus JournalStore::commitBatch() {
    if (!isOpen()) {
        return JournalStatus::failure(notOpen());
    }
    if (!batch_) {
        return JournalStatus::success();
    }
    batch_ = false;
    const JournalStatus committed = commitPending();
    QSqlQuery q(statements_->db);
    q.exec(QStringLiteral("PRAGMA wal_autocheckpoint=1000"));
    q.finish();
    return committed;
}

JournalResult<QList<JournalRun>> JournalStore::listRuns(int limit) {
    QSqlQuery* q = isOpen() ? &statements_->listRuns : nullptr;
    if (q != nullptr) {
        q->bindValue(0, limit > 0 ? limit : -1);
    }
    return listed(q, runFrom, runner());
}

JournalResult<JournalRun> JournalStore::run(qint64 runId) {
    return single(isOpen() ? &statements_->oneRun : nullptr, runId, Kind::NoSuchRun, runFrom, runner());
}

JournalResult<QList<JournalRun>> JournalStore::unendedRuns() {
    return listed(isOpen() ? &statements_->unendedRuns : nullptr, runFrom, runner());
}

JournalResult<QList<JournalChange>> JournalStore::changesOf(qint64 runId) {
    QSqlQuery* q = isOpen() ? &statements_->changesOfRun : nullptr;
    if (q != nullptr) {
        q->bindValue(0, runId);
    }
    return listed(q, changeFrom, runner());
}

JournalResult<JournalChange> JournalStore::change(qint64 changeId) {
    return single(
        isOpen() ? &statements_->oneChange : nullptr, changeId, Kind::NoSuchChange,
        [](const QSqlQuery& q) {
            JournalChange found = changeFrom(q);
            found.previousBytes = q.value(14).toByteArray();
            return found;
        },
        runner());
}

JournalResult<QList<JournalChange>> JournalStore::openIntents() {
    return listed(isOpen() ? &statements_->openIntents : nullptr, changeFrom, runner());
}

std::function<bool(QSqlQuery&)> JournalStore::runner() {
    return [this](QSqlQuery& q) { return execute(q); };
}

bool JournalStore::execute(QSqlQuery& q) {
    busy_ = false;
    for (;;) {
        if (q.exec()) {
            return true;
        }
        if (!isBusy(q.lastError())) {
            return false;
        }
        if (waitLeftMs_ <= 0) {
            busy_ = true;
            return false;
        }
        const int step = std::min(kBusyStepMs, waitLeftMs_);
        waitLeftMs_ -= step;
        if (waiter_) {
            waiter_(step);
        } else {
            QThread::msleep(static_cast<unsigned long>(step));
        }
    }
}

JournalResult<std::optional<ListingFingerprint>> JournalStore::listing(const QString& path) {
    using Result = JournalResult<std::optional<ListingFingerprint>>;
    if (!isOpen()) {
        return Result::failure(notOpen());
    }
    QSqlQuery& q = statements_->getListing;
    q.bindValue(0, path);
    if (!execute(q)) {
        return Result::failure(describe(q.lastError()));
    }
    std::optional<ListingFingerprint> found;
    if (q.next()) {
        found = ListingFingerprint{q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toLongLong(),
                                   q.value(3).toLongLong(), q.value(4).toString()};
    }
    q.finish();
    return Result::success(found);
}

JournalStatus JournalStore::keepListing(const QString& path, const ListingFingerprint& fingerprint) {
    return updateOne(&Statements::putListing,
                     {path, fingerprint.device, fingerprint.inode, fingerprint.size, fingerprint.modified,
                      text(fingerprint.hash)},
                     {});
}

JournalStatus JournalStore::forgetListing(const QString& path) {
    return updateOne(&Statements::dropListing, {path}, {});
}

} // namespace vestimo::platform
