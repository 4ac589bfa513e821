// A check whose output goes away, or that is asked to stop, ends with a report and a settled
// journal instead of dying in the middle.
#include "cli/CliTesting.h"

#include "core/catalogue/CommandLine.h"
#include "core/journal/Journal.h"
#include "samples/SkinSamples.h"

#include <QDir>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vestimo;
using test::MovedInto;
using test::TempDir;

extern char** environ;

namespace {

// `vestimo check` on `skins` with its standard output on `outFd` and its error output gone; the
// command inherits no other descriptor of a pipe made with O_CLOEXEC.
pid_t StartCheck(const QString& skins, const QString& program, int outFd) {
    QByteArray arguments[] = {VESTIMO_PROGRAM, "check", "--program-dir", QFile::encodeName(program),
                              QFile::encodeName(skins)};
    char* argv[] = {arguments[0].data(), arguments[1].data(), arguments[2].data(),
                    arguments[3].data(), arguments[4].data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int ExitStatusOf(pid_t pid) {
    int raw = 0;
    EXPECT_EQ(::waitpid(pid, &raw, 0), pid);
    EXPECT_TRUE(WIFEXITED(raw)) << "ended by signal " << (WIFSIGNALED(raw) ? WTERMSIG(raw) : 0);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// No listing is left in the program folder, every run of the journal ended and no change is left open.
void ExpectSettled(const QString& program) {
    EXPECT_FALSE(QFileInfo::exists(QDir(program).filePath("Temp.txt")));
    journal::Journal journal;
    ASSERT_TRUE(journal.open(program).ok);
    const auto runs = journal.store().listRuns(100);
    ASSERT_TRUE(runs.ok);
    ASSERT_FALSE(runs.value.isEmpty());
    for (const platform::JournalRun& run : runs.value) {
        EXPECT_TRUE(run.ended.isValid()) << run.command.toStdString();
        for (const platform::JournalChange& change : journal.store().changesOf(run.id).value) {
            EXPECT_NE(change.state, platform::ChangeState::Intended) << change.original.toStdString();
        }
    }
}

class Signals : public ::testing::Test {
protected:
    // Skins enough that the CMX check's report alone is larger than a pipe holds.
    void SetUp() override {
        QDir().mkpath(program());
        samples::SkinSetRecipe recipe{
            .count = 1500, .seed = 5, .faultyCmxShare = 0.6, .notPictureShare = 0.3};
        samples::GenerateSkinDirectory(skins().toStdString(), recipe);
    }
    QString skins() const { return root.filePath("skins"); }
    QString program() const { return root.filePath("program"); }
    TempDir root;
};

} // namespace

TEST_F(Signals, AClosedOutputEndsTheCommandWithStatusTwoBeforeTheNextFile) {
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
    ::close(ends[0]); // nobody will read the report
    const pid_t pid = StartCheck(skins(), program(), ends[1]);
    ::close(ends[1]);
    EXPECT_EQ(ExitStatusOf(pid), 2);
    EXPECT_TRUE(MovedInto(program()).isEmpty());
    ExpectSettled(program());
}

TEST_F(Signals, SigintAndSigtermEndTheCommandWithAReportAndTheirStatus) {
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        int ends[2];
        ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
        const pid_t pid = StartCheck(skins(), program(), ends[1]);
        ::close(ends[1]);
        // Once the pipe is full the command waits in the middle of the CMX check's report.
        const int capacity = ::fcntl(ends[0], F_GETPIPE_SZ);
        int waiting = 0;
        while (waiting < capacity && ::waitpid(pid, nullptr, WNOHANG) == 0) {
            ASSERT_EQ(::ioctl(ends[0], FIONREAD, &waiting), 0);
            ::usleep(1000);
        }
        ASSERT_EQ(waiting, capacity) << "the report fitted in the pipe";
        ::kill(pid, signal);
        QFile pipe;
        ASSERT_TRUE(pipe.open(ends[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
        const QByteArray report = pipe.readAll(); // until the command ends
        EXPECT_EQ(ExitStatusOf(pid), 128 + signal);
        const QList<QByteArray> lines = report.trimmed().split('\n');
        EXPECT_EQ(lines.last(), texts::stoppedBySignal(signal == SIGINT ? "SIGINT" : "SIGTERM").toUtf8());
        // Only the CMX check ran: nothing but skin descriptions went to the program folder.
        const QStringList moved = MovedInto(program());
        EXPECT_FALSE(moved.isEmpty());
        EXPECT_TRUE(moved.filter(".bmp").isEmpty()) << moved.filter(".bmp").size() << " bitmaps moved";
        ExpectSettled(program());
        // Put back for the next signal's run.
        for (const QString& name : moved) {
            QFile::rename(QDir(program()).filePath(name), QDir(skins()).filePath(name));
        }
    }
}
