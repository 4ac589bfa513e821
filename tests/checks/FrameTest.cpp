#include "core/catalogue/Checks.h"
#include "core/checks/ClosingMessage.h"
#include "core/checks/DirectoryCheck.h"
#include "platform/ProgramLock.h"
#include "platform/SkinFolder.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace vestimo;
using checks::DirectoryReport;
using checks::Verdict;
using test::exists;
using test::readAll;
using test::TempDir;

namespace {

struct Progress : checks::RunProgress {
    QList<qint64> starts;
    qint64 advanced = 0;
    int finishes = 0;
    void start(qint64 maximum) override { starts.append(maximum); }
    void advance(int characters) override { advanced += characters; }
    void finish() override { ++finishes; }
};

// A made-up check of CMX files: each name's verdict is looked up, anything else is kept.
class Frame : public ::testing::Test {
protected:
    checks::DirectoryCheck Check() {
        checks::DirectoryCheck check;
        check.filter = FileFilter::CmxFiles;
        check.judge = [this](const platform::SkinFolder& skinFolder, const QString& name) {
            EXPECT_EQ(skinFolder.path(), skins.path());
            judged.append(name);
            return verdicts.value(name, Verdict::keep());
        };
        check.passedOverLabel = QStringLiteral("Passed over");
        check.companionsLabel = QStringLiteral("Went along");
        check.closingMessage = QStringLiteral("All done.");
        return check;
    }
    DirectoryReport Run(const checks::DirectoryCheck& check, int lockWaitMs = checks::ProgramLockWaitMs) {
        return checks::runDirectoryCheck(check, skins.path(), program.path(), progress, lockWaitMs);
    }
    DirectoryReport Run() { return Run(Check()); }
    QString shown(const TempDir& dir) const { return QDir::toNativeSeparators(dir.path()); }

    TempDir skins;
    TempDir program;
    Progress progress;
    QHash<QString, Verdict> verdicts;
    QStringList judged;
};

} // namespace

TEST_F(Frame, JudgesEachListedNameOnceInListingOrderAndCarriesOutEachVerdict) {
    for (const char* name : {"keep.cmx", "over.cmx", "move.cmx", "hurt.cmx", "skip.bmp"}) {
        skins.write(name, QByteArray("x"));
    }
    verdicts.insert("over.cmx", Verdict::passOver());
    verdicts.insert("move.cmx", Verdict::move("faulty"));
    verdicts.insert("hurt.cmx", Verdict::trouble("could not be read: broken"));
    const DirectoryReport report = Run();
    EXPECT_EQ(report.outcome, DirectoryReport::Outcome::Completed);
    // The order is the listing's, as written to Temp.txt.
    const QByteArray listing = readAll(program.filePath("Temp.txt"));
    EXPECT_TRUE(listing.isEmpty()) << "a completed run deletes its own listing";
    QStringList sorted = judged;
    sorted.sort();
    EXPECT_EQ(sorted, (QStringList{"hurt.cmx", "keep.cmx", "move.cmx", "over.cmx"}));
    EXPECT_EQ(report.judged, 4);
    EXPECT_EQ(report.passedOver, 1);
    ASSERT_EQ(report.moved.size(), 1);
    EXPECT_EQ(report.moved[0].name, "move.cmx");
    EXPECT_EQ(report.moved[0].reason, "faulty");
    ASSERT_EQ(report.trouble.size(), 1);
    EXPECT_EQ(report.trouble[0].reason, "could not be read: broken");
    EXPECT_TRUE(exists(program.filePath("move.cmx")));
    EXPECT_FALSE(exists(skins.filePath("move.cmx")));
    EXPECT_TRUE(exists(skins.filePath("hurt.cmx")));
    EXPECT_EQ(progress.starts, QList<qint64>{4 * (8 + 2)});
    EXPECT_EQ(progress.advanced, 4 * 8);
    EXPECT_EQ(progress.finishes, 1);
}

TEST_F(Frame, WalksTheNamesInTheOrderTheListingHoldsThem) {
    for (const char* name : {"c.cmx", "a.cmx", "b.cmx", "d.cmx"}) {
        skins.write(name, QByteArray("x"));
    }
    auto check = Check();
    check.keepsListing = true;
    Run(check);
    QStringList listed;
    for (const QByteArray& line : readAll(program.filePath("Temp.txt")).split('\n')) {
        if (!line.isEmpty()) {
            listed.append(QString::fromUtf8(line.chopped(1)));
        }
    }
    EXPECT_EQ(judged, listed);
}

TEST_F(Frame, PreparesOnceWithTheWholeFolderBeforeTheFirstJudgement) {
    skins.write("a.cmx", QByteArray("x"));
    skins.write("a.bmp", QByteArray("x"));
    skins.write("notes.txt", QByteArray("x"));
    auto check = Check();
    int prepared = 0;
    check.prepare = [&](const platform::FileNames& all, DirectoryReport& report) {
        EXPECT_TRUE(judged.isEmpty());
        ++prepared;
        QStringList names = all.names;
        names.sort();
        EXPECT_EQ(names, (QStringList{"a.bmp", "a.cmx", "notes.txt"}));
        report.unnamable.append(QStringLiteral("noted"));
    };
    const DirectoryReport report = Run(check);
    EXPECT_EQ(prepared, 1);
    EXPECT_EQ(judged, QStringList{"a.cmx"});
    EXPECT_EQ(report.unnamable, QStringList{"noted"});
    // Only the check's own kind is listed.
    EXPECT_FALSE(exists(program.filePath("Temp.txt")));
}

TEST_F(Frame, KeepsTheListingOnlyWhenTheCheckSaysSo) {
    skins.write("a.cmx", QByteArray("x"));
    auto check = Check();
    check.keepsListing = true;
    Run(check);
    EXPECT_EQ(readAll(program.filePath("Temp.txt")), "a.cmx\r\n");
    check.keepsListing = false;
    Run(check);
    EXPECT_FALSE(exists(program.filePath("Temp.txt")));
}

TEST_F(Frame, AFileThatCannotBeMovedStaysWithItsCompanionsAndTheRunGoesOn) {
    skins.write("a.cmx", QByteArray("x"));
    skins.write("a.skn", QByteArray("mesh"));
    skins.write("b.cmx", QByteArray("x"));
    program.write("a.cmx", QByteArray("already here"));
    verdicts.insert("a.cmx", Verdict::move("orphan", {{"a.skn", "mesh"}}));
    verdicts.insert("b.cmx", Verdict::move("faulty"));
    const DirectoryReport report = Run();
    ASSERT_EQ(report.trouble.size(), 1);
    EXPECT_EQ(report.trouble[0].name, "a.cmx");
    EXPECT_TRUE(
        report.trouble[0].reason.startsWith("could not be moved (orphan): a file of that name is already in"))
        << report.trouble[0].reason.toStdString();
    EXPECT_EQ(readAll(program.filePath("a.cmx")), "already here");
    EXPECT_TRUE(exists(skins.filePath("a.cmx")));
    EXPECT_TRUE(exists(skins.filePath("a.skn")));
    ASSERT_EQ(report.moved.size(), 1);
    EXPECT_EQ(report.moved[0].name, "b.cmx");
    EXPECT_EQ(report.companionsMoved, 0);
}

TEST_F(Frame, CompanionsGoAlongOnlyUnderExactlyTheirNames) {
    skins.write("a.cmx", QByteArray("x"));
    skins.write("a.skn", QByteArray("mesh"));
    skins.write("b.cmx", QByteArray("x"));
    skins.write("B.SKN", QByteArray("another case"));
    skins.write("c.cmx", QByteArray("x"));
    skins.write("c.skn", QByteArray("mesh"));
    program.write("c.skn", QByteArray("already here"));
    verdicts.insert("a.cmx", Verdict::move("orphan", {{"a.skn", "mesh"}}));
    verdicts.insert("b.cmx", Verdict::move("orphan", {{"b.skn", "mesh"}}));
    verdicts.insert("c.cmx", Verdict::move("orphan", {{"c.skn", "mesh"}}));
    const DirectoryReport report = Run();
    EXPECT_EQ(report.companionsMoved, 1);
    EXPECT_TRUE(exists(program.filePath("a.skn")));
    EXPECT_TRUE(exists(skins.filePath("B.SKN")));
    EXPECT_EQ(readAll(program.filePath("c.skn")), "already here");
    EXPECT_TRUE(exists(skins.filePath("c.skn")));
    QHash<QString, QString> reasons;
    for (const auto& line : report.moved) {
        reasons.insert(line.name, line.reason);
    }
    EXPECT_EQ(reasons.value("a.cmx"), "orphan; its mesh a.skn went with it");
    EXPECT_EQ(reasons.value("b.cmx"), "orphan");
    EXPECT_EQ(reasons.value("c.cmx"), "orphan");
    ASSERT_EQ(report.trouble.size(), 1);
    EXPECT_EQ(report.trouble[0].name, "c.skn");
    EXPECT_TRUE(report.trouble[0].reason.startsWith("the mesh of c.cmx could not be moved: "));
}

TEST_F(Frame, DetailsCountThenNameEveryFileInItsSection) {
    skins.write("a.cmx", QByteArray("x"));
    skins.write("a.skn", QByteArray("mesh"));
    skins.write("b.cmx", QByteArray("x"));
    skins.write("c.cmx", QByteArray("x"));
    skins.write("d.cmx", QByteArray("x"));
    skins.write(QStringLiteral("line\nbreak.cmx"), QByteArray("x"));
    verdicts.insert("a.cmx", Verdict::move("orphan", {{"a.skn", "mesh"}}));
    verdicts.insert("b.cmx", Verdict::passOver());
    verdicts.insert("c.cmx", Verdict::trouble("could not be read: broken"));
    const DirectoryReport report = Run();
    EXPECT_EQ(report.details(),
              QStringLiteral("Skin folder: %1\n"
                             "Files judged: 4\n"
                             "Files moved: 1, into %2\n"
                             "Went along: 1\n"
                             "Files left: 3\n"
                             "Passed over: 1\n"
                             "\n"
                             "Moved:\n"
                             "a.cmx: orphan; its mesh a.skn went with it\n"
                             "\n"
                             "Could not be read or moved, left where they were:\n"
                             "c.cmx: could not be read: broken\n"
                             "\n"
                             "Not judged, because a line break in the name keeps it off the list:\n"
                             "line\\nbreak.cmx")
                  .arg(shown(skins), shown(program)));
}

// Someone else's Temp.txt goes to the trash, and the run's own empty listing goes as after a
// completed run.
TEST_F(Frame, AnEmptyListingIsTakenAwayAndNothingIsJudged) {
    skins.write("a.bmp", QByteArray("x"));
    program.write("Temp.txt", QByteArray("old.cmx\r\n"));
    const auto check = Check();
    const DirectoryReport report = Run(check);
    EXPECT_EQ(report.outcome, DirectoryReport::Outcome::NothingListed);
    EXPECT_FALSE(exists(program.filePath("Temp.txt")));
    EXPECT_TRUE(report.earlierListingTrashed);
    EXPECT_TRUE(judged.isEmpty());
    EXPECT_TRUE(progress.starts.isEmpty());
    const checks::ClosingMessage closing = checks::closingMessageFor(check, report);
    EXPECT_EQ(closing.kind, checks::ClosingMessage::Kind::NothingListed);
    EXPECT_EQ(closing.message, "There are no cmx files in this directory!");
    EXPECT_TRUE(closing.details.endsWith(texts::earlierListingTrashed()));
}

TEST_F(Frame, AnEmptyListingStillNamesTheFilesItCouldNotList) {
    skins.write(QStringLiteral("line\nbreak.cmx"), QByteArray("x"));
    auto check = Check();
    check.filter = FileFilter::CmxFiles;
    const DirectoryReport report = Run(check);
    EXPECT_EQ(report.outcome, DirectoryReport::Outcome::NothingListed);
    const checks::ClosingMessage closing = checks::closingMessageFor(check, report);
    EXPECT_TRUE(closing.details.endsWith("keeps it off the list:\nline\\nbreak.cmx"))
        << closing.details.toStdString();
    check.filter = FileFilter::Bitmaps;
    EXPECT_EQ(checks::closingMessageFor(check, report).message, "There are no bmp files in this directory!");
}

TEST_F(Frame, AStopRequestFinishesTheFileInHandAndEndsTheRunWithoutItsListing) {
    for (const char* name : {"a.cmx", "b.cmx", "c.cmx", "d.cmx"}) {
        skins.write(name, QByteArray("x"));
        verdicts.insert(name, Verdict::move("faulty"));
    }
    checks::DirectoryCheck check = Check();
    check.keepsListing = true;
    bool stop = false;
    const auto judge = check.judge;
    // The request comes while the second file is being judged.
    check.judge = [&](const platform::SkinFolder& folder, const QString& name) {
        stop = judged.size() == 1;
        return judge(folder, name);
    };
    checks::RunOptions options;
    options.stopRequested = [&] { return stop; };
    const DirectoryReport report =
        checks::runDirectoryCheck(check, skins.path(), program.path(), progress, options);
    EXPECT_TRUE(report.stoppedEarly);
    EXPECT_EQ(report.judged, 2);
    ASSERT_EQ(report.moved.size(), 2);
    EXPECT_EQ(judged, QStringList({report.moved[0].name, report.moved[1].name}));
    EXPECT_TRUE(exists(program.filePath(judged[1])));
    EXPECT_EQ(QDir(skins.path()).entryList(QDir::Files).size(), 2);
    EXPECT_FALSE(exists(program.filePath("Temp.txt")));
    EXPECT_EQ(progress.finishes, 1);
}

TEST_F(Frame, AnotherCopyHoldingTheProgramFolderStopsTheRunBeforeTheListing) {
    skins.write("a.cmx", QByteArray("x"));
    verdicts.insert("a.cmx", Verdict::move("faulty"));
    platform::ProgramLock other(program.path());
    ASSERT_TRUE(other.acquire(0));
    const auto check = Check();
    const DirectoryReport report = Run(check, 10);
    EXPECT_EQ(report.outcome, DirectoryReport::Outcome::Busy);
    EXPECT_TRUE(judged.isEmpty());
    EXPECT_FALSE(exists(program.filePath("Temp.txt")));
    EXPECT_TRUE(exists(skins.filePath("a.cmx")));
    const checks::ClosingMessage closing = checks::closingMessageFor(check, report);
    EXPECT_EQ(closing.kind, checks::ClosingMessage::Kind::Stopped);
    EXPECT_EQ(closing.message,
              QStringLiteral(
                  "Another copy of Vestimo is using the program folder %1. Try again when it has finished.")
                  .arg(shown(program)));
}

TEST_F(Frame, RefusesTheProgramFolderAsTheSkinFolder) {
    program.write("a.cmx", QByteArray("x"));
    program.write("Temp.txt", QByteArray("the player's own"));
    verdicts.insert("a.cmx", Verdict::move("faulty"));
    const auto check = Check();
    const DirectoryReport report = checks::runDirectoryCheck(check, program.path(), program.path(), progress);
    EXPECT_EQ(report.outcome, DirectoryReport::Outcome::SameFolder);
    EXPECT_TRUE(judged.isEmpty());
    EXPECT_EQ(readAll(program.filePath("Temp.txt")), "the player's own");
    EXPECT_EQ(checks::closingMessageFor(check, report).message,
              QStringLiteral("The skin folder %1 is the program's own folder, where problem files are moved; "
                             "choose another folder to check.")
                  .arg(shown(program)));
}

TEST_F(Frame, AFolderThatCannotBeReadStopsTheRunAndSaysWhy) {
    program.write("Temp.txt", QByteArray("old.cmx\r\n"));
    const auto check = Check();
    const QString missing = skins.filePath("missing");
    const DirectoryReport report = checks::runDirectoryCheck(check, missing, program.path(), progress);
    EXPECT_EQ(report.outcome, DirectoryReport::Outcome::FolderUnreadable);
    EXPECT_EQ(readAll(program.filePath("Temp.txt")), "old.cmx\r\n");
    const checks::ClosingMessage closing = checks::closingMessageFor(check, report);
    EXPECT_EQ(closing.kind, checks::ClosingMessage::Kind::Stopped);
    EXPECT_TRUE(closing.message.startsWith(
        QStringLiteral("Could not read the folder %1: ").arg(QDir::toNativeSeparators(missing))))
        << closing.message.toStdString();
}

TEST_F(Frame, AListingThatCannotBeWrittenStopsTheRunAndSaysWhere) {
    skins.write("a.cmx", QByteArray("x"));
    program.mkdir("Temp.txt");
    const auto check = Check();
    const DirectoryReport report = Run(check);
    EXPECT_EQ(report.outcome, DirectoryReport::Outcome::ListingFailed);
    EXPECT_TRUE(judged.isEmpty());
    EXPECT_TRUE(
        checks::closingMessageFor(check, report)
            .message.startsWith(QStringLiteral("The list of files could not be written to Temp.txt in the "
                                               "program folder %1: ")
                                    .arg(shown(program))));
}

// The presenter, as values.
TEST(ClosingMessage, ACompletedRunEndsOnTheChecksOwnMessageWithItsDetails) {
    checks::DirectoryCheck check;
    check.closingMessage = QStringLiteral("All done.");
    DirectoryReport report;
    report.skinDirectory = QStringLiteral("/skins");
    report.programDirectory = QStringLiteral("/program");
    report.judged = 2;
    report.moved.append({QStringLiteral("a.cmx"), QStringLiteral("line 9")});
    const checks::ClosingMessage closing = checks::closingMessageFor(check, report);
    EXPECT_EQ(closing.kind, checks::ClosingMessage::Kind::Completed);
    EXPECT_EQ(closing.message, "All done.");
    EXPECT_EQ(closing.details, report.details());
    EXPECT_TRUE(closing.details.endsWith("\nMoved:\na.cmx: line 9"));
}

TEST(ClosingMessage, ARunThatStoppedSaysWhyWithoutDetails) {
    checks::DirectoryCheck check;
    DirectoryReport report;
    report.failure =
        QStringLiteral("The lock file /p/.vestimo.lock in the program folder could not be used: no");
    for (const auto outcome :
         {DirectoryReport::Outcome::ListingFailed, DirectoryReport::Outcome::FolderUnreadable}) {
        report.outcome = outcome;
        const checks::ClosingMessage closing = checks::closingMessageFor(check, report);
        EXPECT_EQ(closing.kind, checks::ClosingMessage::Kind::Stopped);
        EXPECT_EQ(closing.message, report.failure);
        EXPECT_TRUE(closing.details.isEmpty());
    }
}

TEST(ClosingMessage, TheClosingMessagesEndOnTheMaintainersAddress) {
    EXPECT_TRUE(texts::cmxFilesChecked().endsWith(texts::maintainerContact()));
    EXPECT_TRUE(texts::bitmapsChecked().endsWith(texts::maintainerContact()));
    EXPECT_FALSE(texts::maintainerContact().isEmpty());
}

// A dry run judges as a real run does but leaves both folders exactly as they were.
class DryRun : public Frame {
protected:
    DirectoryReport DryRunOf(const checks::DirectoryCheck& check, QSet<QString> gone = {}) {
        checks::RunOptions options;
        options.dryRun = true;
        options.gone = std::move(gone);
        return checks::runDirectoryCheck(check, skins.path(), program.path(), progress, options);
    }
    static QStringList Names(const TempDir& dir) {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
};

TEST_F(DryRun, ReportsWhatWouldMoveAndMovesNothingWritesNoListingTakesNoLock) {
    skins.write("a.cmx", QByteArray("x"));
    skins.write("a.skn", QByteArray("mesh"));
    skins.write("b.cmx", QByteArray("x"));
    skins.write("c.cmx", QByteArray("x"));
    program.write("b.cmx", QByteArray("already here"));
    verdicts.insert("a.cmx", Verdict::move("orphan", {{"a.skn", "mesh"}}));
    verdicts.insert("b.cmx", Verdict::move("faulty"));
    const QStringList skinsBefore = Names(skins);
    checks::DirectoryCheck check = Check();
    check.keepsListing = true;
    // Another copy holding the program folder does not hold a dry run up.
    platform::ProgramLock other(program.path());
    ASSERT_TRUE(other.acquire(0).held());
    const DirectoryReport report = DryRunOf(check);

    EXPECT_EQ(report.outcome, DirectoryReport::Outcome::Completed);
    EXPECT_TRUE(report.dryRun);
    EXPECT_EQ(report.judged, 3);
    ASSERT_EQ(report.moved.size(), 1);
    EXPECT_EQ(report.moved[0].name, "a.cmx");
    EXPECT_EQ(report.moved[0].reason, "orphan; its mesh a.skn went with it");
    ASSERT_EQ(report.moved[0].companions.size(), 1);
    EXPECT_EQ(report.moved[0].companions[0].name, "a.skn");
    EXPECT_EQ(report.companionsMoved, 1);
    // A move that would be refused is told as a real run tells it.
    ASSERT_EQ(report.trouble.size(), 1);
    EXPECT_EQ(report.trouble[0].name, "b.cmx");
    EXPECT_TRUE(
        report.trouble[0].reason.startsWith("could not be moved (faulty): a file of that name is already in"))
        << report.trouble[0].reason.toStdString();

    EXPECT_EQ(Names(skins), skinsBefore);
    EXPECT_EQ(readAll(program.filePath("b.cmx")), "already here");
    EXPECT_FALSE(exists(program.filePath("Temp.txt")));
    EXPECT_TRUE(report.countLines().contains(texts::detailsWouldMove(1, program.path())));
    EXPECT_FALSE(report.details().contains("Files moved:"));
}

TEST_F(DryRun, NamesAnEarlierCheckWouldHaveMovedAreGoneForTheNext) {
    skins.write("a.cmx", QByteArray("x"));
    skins.write("b.cmx", QByteArray("x"));
    skins.write("c.bmp", QByteArray("x"));
    verdicts.insert("a.cmx", Verdict::move("orphan"));
    QStringList seen;
    checks::DirectoryCheck check = Check();
    check.prepare = [&seen](const platform::FileNames& all, DirectoryReport&) { seen = all.names; };
    const DirectoryReport report = DryRunOf(check, {"a.cmx", "c.bmp"});
    EXPECT_EQ(judged, QStringList{"b.cmx"});
    EXPECT_EQ(report.judged, 1);
    EXPECT_TRUE(report.moved.isEmpty());
    EXPECT_EQ(seen, QStringList{"b.cmx"});
    EXPECT_EQ(progress.starts, QList<qint64>{QByteArray("b.cmx\r\n").size()});

    // Everything gone: nothing is listed, as in a folder without such files.
    const DirectoryReport empty = DryRunOf(Check(), {"a.cmx", "b.cmx"});
    EXPECT_EQ(empty.outcome, DirectoryReport::Outcome::NothingListed);
    EXPECT_FALSE(exists(program.filePath("Temp.txt")));
}

TEST_F(DryRun, AFolderThatCannotBeReadStopsItAsItStopsARealRun) {
    const QString missing = skins.filePath("gone");
    checks::RunOptions options;
    options.dryRun = true;
    const DirectoryReport report =
        checks::runDirectoryCheck(Check(), missing, program.path(), progress, options);
    EXPECT_EQ(report.outcome, DirectoryReport::Outcome::FolderUnreadable);
    EXPECT_TRUE(report.failure.startsWith(texts::folderUnreadable(missing, QString()).chopped(1)));
}
