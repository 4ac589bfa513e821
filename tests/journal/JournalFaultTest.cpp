// A journal that fails in the middle of a directory-wide run: the run goes on to its end, every
// file is either where it was or in the program folder, and the details say what became of the
// record.
#include "core/checks/DirectoryCheck.h"
#include "core/checks/SkinChecks.h"
#include "core/journal/Journal.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace vestimo;

namespace {

struct TurnProgress : checks::RunProgress {
    int turns = 0;
    std::function<void(int turn)> beforeTurn;
    void start(qint64) override {}
    void advance(int) override {
        ++turns;
        if (beforeTurn) {
            beforeTurn(turns);
        }
    }
};

QByteArray FaultyCmx(const QByteArray& name) {
    QByteArray text = test::validCmx(name);
    return text.replace("\r\n0\r\n1\r\n", "\r\n7\r\n1\r\n"); // line 3 must hold "0"
}

class FailingJournal : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < Files; ++i) {
            const QByteArray name = QByteArray("B") + QByteArray::number(100 + i) + "FAFit_s";
            skins.write(name + ".cmx", FaultyCmx(name));
        }
        ASSERT_TRUE(journal.open(program.path()).ok);
    }
    void TearDown() override {
        QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    checks::DirectoryReport run() {
        return checks::runDirectoryCheck(checks::cmxCheck(), skins.path(), program.path(), progress, 0,
                                         &journal);
    }
    // Every file is in exactly one of the two folders.
    void expectNothingLost() {
        for (int i = 0; i < Files; ++i) {
            const QString name = QStringLiteral("B%1FAFit_s.cmx").arg(100 + i);
            EXPECT_NE(QFileInfo::exists(skins.filePath(name)), QFileInfo::exists(program.filePath(name)))
                << name.toStdString();
        }
    }

    static constexpr int Files = 70; // more than one group of moves
    test::TempDir skins;
    test::TempDir program;
    TurnProgress progress;
    journal::Journal journal;
};

TEST_F(FailingJournal, TheProgramFolderMadeReadOnlyDuringARunLetsTheRunEndAndReport) {
    bool enforced = false;
    progress.beforeTurn = [&](int turn) {
        if (turn == 66) { // the first group has moved by now
            QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
            enforced = test::canEnforcePermissions(program.path());
        }
    };
    const checks::DirectoryReport report = run();
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!enforced) {
        GTEST_SKIP() << "permissions are not enforced for this user";
    }
    EXPECT_EQ(report.outcome, checks::DirectoryReport::Outcome::Completed);
    EXPECT_EQ(report.judged, Files);
    EXPECT_EQ(report.moved.size(), 64);
    EXPECT_EQ(report.trouble.size(), Files - 64);
    EXPECT_NE(report.recording, checks::DirectoryReport::Recording::Off);
    const QString last = report.details().split(u'\n').last();
    EXPECT_TRUE(last == "This run can be undone from History." ||
                last.startsWith("This run could not be recorded: "))
        << last.toStdString();
    expectNothingLost();
    // Another copy of the program, the first still open: it settles and puts back without waiting.
    journal::Journal again;
    ASSERT_TRUE(again.open(program.path()).ok);
    EXPECT_TRUE(again.recover().error.isEmpty());
    const auto runs = again.store().listRuns(1);
    ASSERT_TRUE(runs.ok);
    ASSERT_EQ(runs.value.size(), 1);
    const journal::PutBackReport back = again.putBackRun(runs.value[0].id);
    EXPECT_EQ(back.count(journal::PutBackOutcome::PutBack), 64);
    EXPECT_EQ(QDir(skins.path()).entryList(QDir::Files).size(), Files);
}

// A full disk, as the journal meets it: its log cannot grow. The moves (renames) still happen.
TEST_F(FailingJournal, AJournalThatCannotGrowMidRunStopsNothingAndIsSettledAtTheNextStart) {
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    progress.beforeTurn = [&](int turn) {
        if (turn == 10) {
            const qint64 log = QFileInfo(program.filePath("journal.sqlite-wal")).size();
            rlimit small = saved;
            small.rlim_cur = static_cast<rlim_t>(std::max<qint64>(log, 1));
            ::setrlimit(RLIMIT_FSIZE, &small);
        }
    };
    const checks::DirectoryReport report = run();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(report.outcome, checks::DirectoryReport::Outcome::Completed);
    EXPECT_EQ(report.moved.size(), Files);
    EXPECT_TRUE(report.trouble.isEmpty());
    EXPECT_EQ(report.recording, checks::DirectoryReport::Recording::NotRecorded);
    EXPECT_TRUE(report.details().split(u'\n').last().startsWith("This run could not be recorded: "))
        << report.details().toStdString();
    expectNothingLost();
    journal.store().close();

    // The next start: the run is closed as interrupted and no intention is left open.
    journal::Journal again;
    ASSERT_TRUE(again.open(program.path()).ok);
    EXPECT_TRUE(again.recover().error.isEmpty());
    const auto open = again.store().openIntents();
    ASSERT_TRUE(open.ok);
    EXPECT_TRUE(open.value.isEmpty());
    const auto runs = again.store().listRuns(1);
    ASSERT_EQ(runs.value.size(), 1);
    for (const platform::JournalChange& change : again.store().changesOf(runs.value[0].id).value) {
        EXPECT_EQ(change.state, platform::ChangeState::Done) << change.original.toStdString();
        EXPECT_TRUE(QFileInfo::exists(change.destination));
    }
}

} // namespace
