// Killed runs and a journal another program holds: what was done is settled from the disk before
// anything is put back, and nothing waits longer than one wait per command.
#include "cli/CliTesting.h"
#include "install/InstallFixture.h"
#include "support/DirectoryCheckTesting.h"

#include "core/catalogue/History.h"
#include "core/checks/SkinChecks.h"
#include "core/install/JournaledInstall.h"
#include "core/journal/Journal.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace vestimo;
using platform::ChangeState;
using test::RunVestimo;

namespace {

QByteArray FaultyCmx(const QByteArray& name) {
    return test::validCmx(name).replace("\r\n0\r\n1\r\n", "\r\n7\r\n1\r\n");
}

// Another program holding the journal's write lock for as long as it lives.
class Locker {
public:
    explicit Locker(const QString& folder) {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "locker");
        db.setDatabaseName(folder + "/journal.sqlite");
        EXPECT_TRUE(db.open());
        EXPECT_TRUE(QSqlQuery(db).exec("BEGIN IMMEDIATE"));
    }
    ~Locker() {
        {
            QSqlDatabase db = QSqlDatabase::database("locker");
            QSqlQuery(db).exec("ROLLBACK");
            db.close();
        }
        QSqlDatabase::removeDatabase("locker");
    }
};

// Runs `body` in a child process that kills itself within it; true when it died of the kill.
template <class Body> bool KilledIn(Body body, pid_t* pid = nullptr) {
    const pid_t child = fork();
    if (child == 0) {
        body();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (pid != nullptr) {
        *pid = child;
    }
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

TEST(Crash, UndoAfterACheckKilledMidRunPutsBackEveryFileThatMoved) {
    test::TempDir dir;
    const QString skins = dir.mkdir("skins");
    const QString program = dir.mkdir("program");
    for (int i = 0; i < 10; ++i) {
        dir.write(QString("skins/B%1FAFit_x.cmx").arg(i), QByteArray::number(i));
    }
    ASSERT_TRUE(KilledIn([&] {
        journal::Journal journal;
        journal.open(program);
        journal.beginRun("Check All CMX Files in Directory", skins);
        journal.beginBatch();
        journal::MoveQueue queue(journal);
        int moved = 0;
        for (int i = 0; i < 10; ++i) {
            const QString name = QString("B%1FAFit_x.cmx").arg(i);
            queue.add(skins + "/" + name, program + "/" + name, "bad", [&](const platform::FileResult&) {
                if (++moved == 5) {
                    raise(SIGKILL); // the group's intents are in, none of their outcomes
                }
            });
        }
    }));
    // Listing the ids only reads: the intents stay open for the next command to settle.
    const test::Ran ids = RunVestimo({"history", "--ids", "--program-dir", program});
    EXPECT_EQ(ids.lines(), QStringList{"1"}) << ids.err.toStdString();
    {
        journal::JournalStore store;
        ASSERT_TRUE(store.open(program).ok);
        EXPECT_EQ(store.openIntents().value.size(), 10);
    }
    const test::Ran undo = RunVestimo({"undo", "--json", "last", "--program-dir", program});
    EXPECT_EQ(undo.status, 0) << undo.out.toStdString() << undo.err.toStdString();
    const QJsonObject undone = undo.json();
    EXPECT_EQ(undone["counts"]["putBack"].toInt(), 5);
    EXPECT_EQ(undone["counts"]["leftAlone"].toInt(), 0);
    EXPECT_EQ(QDir(skins).entryList(QDir::Files).size(), 10);
    EXPECT_TRUE(test::MovedInto(program).isEmpty());
}

class KilledInstall : public test::InstallFixture {};

TEST_F(KilledInstall, SettlingKnowsTheFilesItWroteAndSweepsWhatItLeft) {
    const QString first = Download("a.zip", test::ArchiveFormat::ZipDeflate, BodySkin("", "B001FAFit_a"));
    const QString second = Download("b.zip", test::ArchiveFormat::ZipDeflate, BodySkin("", "B002FAFit_b"));
    pid_t child = 0;
    ASSERT_TRUE(KilledIn(
        [&] {
            journal::Journal journal;
            journal.open(program);
            install::Options options;
            options.stagingParent = program;
            // Killed while the second download is read: the first one's files are all in place.
            install::installRecorded(&journal, {first, second}, Game(), options, [&](qint64) {
                if (QFileInfo::exists(skins + "/B001FAFit_a.cmx")) {
                    raise(SIGKILL);
                }
            });
        },
        &child));
    const QString part = QString("%1/.vestimo-install-%2-9.part").arg(skins).arg(child);
    const QString ours = QString("%1/.vestimo-install-%2-9.part").arg(skins).arg(getpid());
    dir.write(QDir(dir.path()).relativeFilePath(part), "half");
    dir.write(QDir(dir.path()).relativeFilePath(ours), "being written");

    journal::Journal journal;
    ASSERT_TRUE(journal.open(program).ok);
    const journal::RecoveryReport settled = journal.settle();
    EXPECT_TRUE(settled.error.isEmpty()) << settled.error.toStdString();
    ASSERT_FALSE(settled.settled.isEmpty());
    for (const journal::SettledChange& change : settled.settled) {
        EXPECT_EQ(change.state, ChangeState::Done)
            << change.name.toStdString() << ": " << change.note.toStdString();
    }
    EXPECT_TRUE(settled.removed.contains(part));
    EXPECT_FALSE(QFileInfo::exists(part));
    EXPECT_TRUE(QFileInfo::exists(ours));
    EXPECT_TRUE(QDir(program).entryList({"install-staging-*"}, QDir::Dirs | QDir::Hidden).isEmpty());
    EXPECT_EQ(settled.removed.filter("/install-staging-").size(), 1);
}

TEST(Lock, ACheckWaitsForALockedJournalOnceAndGoesOnUnrecorded) {
    test::TempDir skins;
    test::TempDir program;
    for (int i = 0; i < 30; ++i) {
        const QByteArray name = QString("B%1FAFit_x").arg(i, 3, 10, QChar('0')).toUtf8();
        skins.write(name + ".cmx", FaultyCmx(name));
    }
    journal::Journal journal;
    ASSERT_TRUE(journal.open(program.path()).ok);
    int waited = 0;
    journal.store().setWaiter([&waited](int ms) { waited += ms; });
    const Locker locker(program.path());
    test::RecordingProgress progress;
    checks::RunOptions options;
    options.journal = &journal;
    const checks::DirectoryReport report =
        checks::runDirectoryCheck(checks::cmxCheck(), skins.path(), program.path(), progress, options);
    EXPECT_EQ(report.moved.size(), 30) << report.details().toStdString();
    EXPECT_EQ(report.recording, checks::DirectoryReport::Recording::NotRecorded);
    EXPECT_EQ(report.notRecordedWhy, texts::journalInUse());
    EXPECT_EQ(waited, platform::JournalStore::kBusyWaitMs);
}

TEST(Lock, UndoStopsAtALockedJournalAndChangesNothing) {
    test::TempDir dir;
    const QString skins = dir.mkdir("skins");
    const QString program = dir.mkdir("program");
    dir.write("skins/B001FAFit_x.cmx", "faulty");
    {
        journal::Journal journal;
        ASSERT_TRUE(journal.open(program).ok);
        ASSERT_TRUE(journal.beginRun("Check All CMX Files in Directory", skins));
        ASSERT_TRUE(journal.move(skins + "/B001FAFit_x.cmx", program + "/B001FAFit_x.cmx", "bad").ok);
        journal.endRun("finished");
    }
    const Locker locker(program);
    const test::Ran undo = RunVestimo({"undo", "last", "--program-dir", program});
    EXPECT_EQ(undo.status, 3) << undo.out.toStdString();
    EXPECT_TRUE(undo.err.contains("the journal is in use by another program")) << undo.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(program + "/B001FAFit_x.cmx"));
    EXPECT_FALSE(QFileInfo::exists(skins + "/B001FAFit_x.cmx"));
}

} // namespace
