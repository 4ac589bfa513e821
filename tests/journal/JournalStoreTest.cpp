#include "platform/journal/JournalStore.h"
#include "core/catalogue/PlatformErrors.h"

#include "support/TempDir.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace vestimo::platform;
using vestimo::test::TempDir;
namespace texts = vestimo::texts;

namespace {

JournalChange Move(qint64 run, const QString& from, const QString& to) {
    JournalChange change;
    change.runId = run;
    change.kind = ChangeKind::Moved;
    change.original = from;
    change.destination = to;
    change.size = 12;
    change.reason = "reason text";
    return change;
}

} // namespace

TEST(JournalStore, StartsAFreshJournalAtTheCurrentSchemaVersion) {
    TempDir dir;
    JournalStore store;
    const JournalStatus opened = store.open(dir.path());
    ASSERT_TRUE(opened.ok) << texts::journalError(opened.error).toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("journal.sqlite")));
    EXPECT_EQ(store.schemaVersion().value, JournalStore::SchemaVersion);
    EXPECT_EQ(store.schemaVersion().value, 2);
    EXPECT_TRUE(store.setAside().isEmpty());
    {
        // The write-ahead log is a property of the file: another connection sees it.
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "peek");
        db.setDatabaseName(dir.filePath("journal.sqlite"));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("PRAGMA journal_mode") && q.next());
        EXPECT_EQ(q.value(0).toString(), "wal");
        ASSERT_TRUE(q.exec("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
        QStringList tables;
        while (q.next()) {
            tables.append(q.value(0).toString());
        }
        EXPECT_EQ(tables, QStringList({"changes", "listings", "runs"}));
    }
    QSqlDatabase::removeDatabase("peek");
    // Reopening keeps the version and does not migrate again.
    store.close();
    ASSERT_TRUE(store.open(dir.path()).ok);
    EXPECT_EQ(store.schemaVersion().value, 2);
}

// A journal of the first version, as older copies of the program wrote it: lifted in place, its
// changes keep what they recorded (the size) and gain nothing they did not.
TEST(JournalStore, AFirstVersionJournalIsLiftedAndKeepsItsChanges) {
    TempDir dir;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "old");
        db.setDatabaseName(dir.filePath("journal.sqlite"));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const char* statement :
             {"PRAGMA journal_mode=WAL",
              "CREATE TABLE runs (id INTEGER PRIMARY KEY, command TEXT NOT NULL, skin_folder TEXT NOT NULL,"
              " started INTEGER NOT NULL, ended INTEGER, outcome TEXT NOT NULL DEFAULT '')",
              "CREATE TABLE changes (id INTEGER PRIMARY KEY, run_id INTEGER NOT NULL REFERENCES runs(id),"
              " kind TEXT NOT NULL, state TEXT NOT NULL, original TEXT NOT NULL, destination TEXT NOT NULL,"
              " previous BLOB, size INTEGER, hash TEXT NOT NULL DEFAULT '', reason TEXT NOT NULL DEFAULT '',"
              " note TEXT NOT NULL DEFAULT '', undoes INTEGER REFERENCES changes(id), recorded INTEGER NOT "
              "NULL)",
              "CREATE INDEX changes_by_run ON changes(run_id)",
              "INSERT INTO runs VALUES (1, 'Check All CMX Files in Directory', '/s', 1, 2, 'finished')",
              "INSERT INTO changes (run_id, kind, state, original, destination, size, recorded)"
              " VALUES (1, 'moved', 'done', '/s/a.cmx', '/p/a.cmx', 138, 1)",
              "PRAGMA user_version=1"}) {
            ASSERT_TRUE(q.exec(statement)) << statement;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("old");
    JournalStore store;
    ASSERT_TRUE(store.open(dir.path()).ok);
    EXPECT_EQ(store.schemaVersion().value, 2);
    const auto changes = store.changesOf(1);
    ASSERT_EQ(changes.value.size(), 1);
    EXPECT_EQ(changes.value[0].size, 138);
    EXPECT_EQ(changes.value[0].modified, -1);
    EXPECT_TRUE(changes.value[0].hash.isEmpty());
}

TEST(JournalStore, RecordsRunsAndChangesAndReadsThemBack) {
    TempDir dir;
    JournalStore store;
    ASSERT_TRUE(store.open(dir.path()).ok);
    const auto first = store.beginRun("Check All CMX Files in Directory", "/skins");
    ASSERT_TRUE(first.ok) << texts::journalError(first.error).toStdString();
    const auto moved = store.recordIntent(Move(first.value, "/skins/a.cmx", "/program/a.cmx"));
    ASSERT_TRUE(moved.ok) << texts::journalError(moved.error).toStdString();
    ASSERT_TRUE(store.markDone(moved.value).ok);
    const auto failed = store.recordIntent(Move(first.value, "/skins/b.cmx", "/program/b.cmx"));
    ASSERT_TRUE(store.markFailed(failed.value, "it is no longer there").ok);

    JournalChange save;
    save.runId = first.value;
    save.kind = ChangeKind::Saved;
    save.original = "/skins/c.cmx";
    save.hasPreviousBytes = true;
    save.previousBytes = QByteArray("old\0bytes", 9);
    save.hash = "abc";
    const auto saved = store.recordIntent(save);
    ASSERT_TRUE(store.markDone(saved.value, {}, 3, {}, "a note").ok);
    ASSERT_TRUE(store.endRun(first.value, "finished").ok);
    const auto second = store.beginRun("Trash", "/other");
    const auto open = store.recordIntent(Move(second.value, "/other/x.bmp", "/program/x.bmp"));

    const auto runs = store.listRuns();
    ASSERT_TRUE(runs.ok);
    ASSERT_EQ(runs.value.size(), 2);
    EXPECT_EQ(runs.value[0].id, second.value); // newest first
    EXPECT_EQ(runs.value[1].command, "Check All CMX Files in Directory");
    EXPECT_EQ(runs.value[1].skinFolder, "/skins");
    EXPECT_EQ(runs.value[1].outcome, "finished");
    EXPECT_TRUE(runs.value[1].ended.isValid());
    EXPECT_FALSE(runs.value[0].ended.isValid());
    EXPECT_EQ(store.listRuns(1).value.size(), 1);
    ASSERT_EQ(store.unendedRuns().value.size(), 1);
    EXPECT_EQ(store.unendedRuns().value[0].id, second.value);

    const auto changes = store.changesOf(first.value);
    ASSERT_TRUE(changes.ok);
    ASSERT_EQ(changes.value.size(), 3);
    EXPECT_EQ(changes.value[0].state, ChangeState::Done);
    EXPECT_EQ(changes.value[0].original, "/skins/a.cmx");
    EXPECT_EQ(changes.value[0].destination, "/program/a.cmx");
    EXPECT_EQ(changes.value[0].size, 12);
    EXPECT_EQ(changes.value[0].reason, "reason text");
    EXPECT_EQ(changes.value[1].state, ChangeState::Failed);
    EXPECT_EQ(changes.value[1].note, "it is no longer there");
    EXPECT_TRUE(changes.value[2].hasPreviousBytes);
    EXPECT_TRUE(changes.value[2].previousBytes.isEmpty()); // listing leaves the bytes out
    EXPECT_EQ(changes.value[2].size, 3);
    EXPECT_EQ(changes.value[2].note, "a note");

    const auto full = store.change(saved.value);
    ASSERT_TRUE(full.ok);
    EXPECT_EQ(full.value.previousBytes, QByteArray("old\0bytes", 9));
    EXPECT_EQ(full.value.kind, ChangeKind::Saved);
    EXPECT_EQ(full.value.hash, "abc");

    const auto intents = store.openIntents();
    ASSERT_EQ(intents.value.size(), 1);
    EXPECT_EQ(intents.value[0].id, open.value);
    ASSERT_TRUE(store.markUndone(moved.value).ok);
    EXPECT_EQ(store.change(moved.value).value.state, ChangeState::Undone);
    EXPECT_FALSE(store.markDone(9999).ok);
    EXPECT_FALSE(store.change(9999).ok);
}

TEST(JournalStore, AnEmptyPreviousContentIsKeptAsEmptyNotAsMissing) {
    TempDir dir;
    JournalStore store;
    ASSERT_TRUE(store.open(dir.path()).ok);
    const qint64 run = store.beginRun("Save", "/s").value;
    JournalChange save;
    save.runId = run;
    save.kind = ChangeKind::Saved;
    save.original = "/s/empty.cmx";
    save.hasPreviousBytes = true;
    const auto id = store.recordIntent(save);
    ASSERT_TRUE(id.ok) << texts::journalError(id.error).toStdString();
    EXPECT_TRUE(store.change(id.value).value.hasPreviousBytes);
    JournalChange moved = Move(run, "/s/a", "/p/a");
    const auto other = store.recordIntent(moved);
    EXPECT_FALSE(store.change(other.value).value.hasPreviousBytes);
}

TEST(JournalStore, ADamagedFileIsSetAsideAndAFreshJournalStarted) {
    TempDir dir;
    const QByteArray garbage = "this is not a database, just some text a player typed in here by mistake";
    dir.write("journal.sqlite", garbage);
    JournalStore store;
    const JournalStatus opened = store.open(dir.path());
    ASSERT_TRUE(opened.ok) << texts::journalError(opened.error).toStdString();
    ASSERT_FALSE(store.setAside().isEmpty());
    EXPECT_TRUE(QFileInfo(store.setAside()).fileName().startsWith("journal.sqlite.corrupt-"));
    EXPECT_EQ(QFileInfo(store.setAside()).fileName().size(),
              QString("journal.sqlite.corrupt-20260101-120000").size());
    EXPECT_EQ(vestimo::test::readAll(store.setAside()), garbage); // kept, not deleted
    const auto run = store.beginRun("Check", "/s");
    ASSERT_TRUE(run.ok);
    EXPECT_TRUE(store.recordIntent(Move(run.value, "/s/a", "/p/a")).ok);
    EXPECT_EQ(store.listRuns().value.size(), 1);
}

TEST(JournalStore, ADatabaseDamagedInsideIsSetAsideToo) {
    TempDir dir;
    {
        JournalStore store;
        ASSERT_TRUE(store.open(dir.path()).ok);
        const qint64 run = store.beginRun("Check", "/s").value;
        store.beginBatch();
        for (int i = 0; i < 500; ++i) {
            JournalChange change = Move(run, QString("/s/%1.cmx").arg(i), QString("/p/%1.cmx").arg(i));
            change.reason = QString(200, u'r');
            store.recordIntent(change);
        }
        store.commitBatch();
    }
    // Scribble over the pages after the first, keeping the header: a file damaged inside.
    QFile file(dir.filePath("journal.sqlite"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_GT(file.size(), 8192);
    file.seek(4096);
    file.write(QByteArray(static_cast<int>(file.size() - 4096), '\x5a'));
    file.close();
    QFile::remove(dir.filePath("journal.sqlite-wal"));
    QFile::remove(dir.filePath("journal.sqlite-shm"));

    JournalStore store;
    const JournalStatus opened = store.open(dir.path());
    ASSERT_TRUE(opened.ok) << texts::journalError(opened.error).toStdString();
    EXPECT_FALSE(store.setAside().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(store.setAside()));
    EXPECT_TRUE(store.listRuns().value.isEmpty());
}

TEST(JournalStore, ALinkInPlaceOfTheJournalIsNeverWrittenThrough) {
    TempDir dir;
    TempDir elsewhere;
    elsewhere.write("target", "precious");
    QFile::link(elsewhere.filePath("target"), dir.filePath("journal.sqlite"));
    JournalStore store;
    const JournalStatus opened = store.open(dir.path());
    EXPECT_FALSE(opened.ok);
    EXPECT_TRUE(texts::journalError(opened.error).contains("link"))
        << texts::journalError(opened.error).toStdString();
    EXPECT_EQ(vestimo::test::readAll(elsewhere.filePath("target")), "precious");
    EXPECT_FALSE(store.beginRun("x", "y").ok); // not open: says so, does not crash
}

TEST(JournalStore, AMissingFolderIsReportedByName) {
    JournalStore store;
    const JournalStatus opened = store.open("/nonexistent/vestimo-folder");
    EXPECT_FALSE(opened.ok);
    EXPECT_TRUE(texts::journalError(opened.error).contains("/nonexistent/vestimo-folder"))
        << texts::journalError(opened.error).toStdString();
    EXPECT_FALSE(store.isOpen());
    EXPECT_FALSE(store.listRuns().ok);
}

TEST(JournalStore, ManyChangesInOneBatchAreAllThereAfterwards) {
    TempDir dir;
    qint64 run = 0;
    {
        JournalStore store;
        ASSERT_TRUE(store.open(dir.path()).ok);
        run = store.beginRun("Check All BMP Files in Directory", "/s").value;
        ASSERT_TRUE(store.beginBatch().ok);
        EXPECT_TRUE(store.inBatch());
        for (int i = 0; i < 1000; ++i) {
            const auto id =
                store.recordIntent(Move(run, QString("/s/%1.bmp").arg(i), QString("/p/%1.bmp").arg(i)));
            ASSERT_TRUE(id.ok) << texts::journalError(id.error).toStdString();
            ASSERT_TRUE((i % 10 == 0 ? store.markFailed(id.value, "no") : store.markDone(id.value)).ok);
        }
        for (int i = 0; i < 10; ++i) {
            QList<JournalChange> group;
            for (int j = 0; j < 100; ++j) {
                group.append(
                    Move(run, QString("/s/%1-%2.cmx").arg(i).arg(j), QString("/p/%1-%2.cmx").arg(i).arg(j)));
            }
            const auto ids = store.recordIntents(group);
            ASSERT_TRUE(ids.ok) << texts::journalError(ids.error).toStdString();
            ASSERT_EQ(ids.value.size(), 100);
            EXPECT_EQ(store.change(ids.value[5]).value.original, group[5].original);
            for (const qint64 id : ids.value) {
                ASSERT_TRUE(store.markDone(id).ok);
            }
        }
        ASSERT_TRUE(store.endRun(run, "finished").ok);
        ASSERT_TRUE(store.commitBatch().ok);
        EXPECT_FALSE(store.inBatch());
        // After the batch the journal is open to others again.
        JournalStore reader;
        ASSERT_TRUE(reader.open(dir.path()).ok);
        EXPECT_EQ(reader.changesOf(run).value.size(), 2000);
    }
    JournalStore again;
    ASSERT_TRUE(again.open(dir.path()).ok);
    const auto changes = again.changesOf(run);
    ASSERT_EQ(changes.value.size(), 2000);
    int done = 0;
    for (const JournalChange& change : changes.value) {
        done += change.state == ChangeState::Done ? 1 : 0;
    }
    EXPECT_EQ(done, 1900);
    EXPECT_TRUE(again.openIntents().value.isEmpty());
    EXPECT_EQ(again.run(run).value.outcome, "finished");
}

// Write-ahead, shown the hard way: a process killed in the middle of a batch leaves every intent
// it recorded in the journal, while marks not yet committed are simply not there.
TEST(JournalStore, IntentsSurviveAKillInTheMiddleOfABatch) {
    TempDir dir;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        JournalStore store;
        if (!store.open(dir.path()).ok) {
            _exit(2);
        }
        const qint64 run = store.beginRun("Check", "/s").value;
        store.beginBatch();
        const qint64 first = store.recordIntent(Move(run, "/s/a", "/p/a")).value;
        store.markDone(first); // goes out with the next intent
        const auto group = store.recordIntents({Move(run, "/s/b", "/p/b"), Move(run, "/s/c", "/p/c")});
        store.markDone(group.value[0]); // waits for a commit that never comes
        raise(SIGKILL);
        _exit(3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    JournalStore store;
    ASSERT_TRUE(store.open(dir.path()).ok);
    const auto runs = store.listRuns();
    ASSERT_EQ(runs.value.size(), 1);
    const auto changes = store.changesOf(runs.value[0].id);
    ASSERT_EQ(changes.value.size(), 3);
    EXPECT_EQ(changes.value[0].state, ChangeState::Done);
    EXPECT_EQ(changes.value[1].state, ChangeState::Intended);
    EXPECT_EQ(changes.value[2].state, ChangeState::Intended);
    EXPECT_EQ(store.openIntents().value.size(), 2);
    EXPECT_EQ(store.unendedRuns().value.size(), 1);
}

TEST(JournalStore, MarksLeftInABatchAreCommittedWhenTheStoreCloses) {
    TempDir dir;
    qint64 id = 0;
    {
        JournalStore store;
        ASSERT_TRUE(store.open(dir.path()).ok);
        const qint64 run = store.beginRun("Check", "/s").value;
        store.beginBatch();
        id = store.recordIntent(Move(run, "/s/a", "/p/a")).value;
        store.markDone(id);
    }
    JournalStore again;
    ASSERT_TRUE(again.open(dir.path()).ok);
    EXPECT_EQ(again.change(id).value.state, ChangeState::Done);
}

TEST(JournalStore, EachStoreHasItsOwnConnectionAndGivesItBack) {
    TempDir dir;
    const int before = static_cast<int>(QSqlDatabase::connectionNames().size());
    {
        JournalStore one;
        JournalStore two;
        ASSERT_TRUE(one.open(dir.path()).ok);
        ASSERT_TRUE(two.open(dir.path()).ok);
        EXPECT_EQ(QSqlDatabase::connectionNames().size(), before + 2);
    }
    EXPECT_EQ(QSqlDatabase::connectionNames().size(), before);
}

TEST(JournalStore, KindAndStateNamesGoBothWays) {
    for (ChangeKind kind : {ChangeKind::Moved, ChangeKind::Trashed, ChangeKind::Saved, ChangeKind::Exported,
                            ChangeKind::Installed, ChangeKind::Restored}) {
        EXPECT_EQ(kindFromName(kindName(kind)), kind);
    }
    for (ChangeState state : {ChangeState::Intended, ChangeState::Done, ChangeState::Failed,
                              ChangeState::Undone, ChangeState::SettledNotDone}) {
        EXPECT_EQ(stateFromName(stateName(state)), state);
    }
    EXPECT_EQ(stateName(ChangeState::SettledNotDone), "settled-not-done");
    EXPECT_FALSE(kindFromName("other").has_value());
}

TEST(JournalStore, AJournalFromANewerVersionIsRefusedAndLeftAsItIs) {
    TempDir dir;
    {
        JournalStore store;
        ASSERT_TRUE(store.open(dir.path()).ok);
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "newer");
        db.setDatabaseName(dir.filePath("journal.sqlite"));
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("PRAGMA user_version=99");
        db.close();
    }
    QSqlDatabase::removeDatabase("newer");
    JournalStore store;
    const JournalStatus opened = store.open(dir.path());
    EXPECT_FALSE(opened.ok);
    EXPECT_TRUE(texts::journalError(opened.error).contains("newer"))
        << texts::journalError(opened.error).toStdString();
    EXPECT_TRUE(store.setAside().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("journal.sqlite")));
}
