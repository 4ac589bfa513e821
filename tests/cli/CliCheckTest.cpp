#include "cli/CliTesting.h"

#include "support/AppFixture.h"
#include "support/DirectoryCheckTesting.h"
#include "support/FinishRuns.h"

#include "core/catalogue/Checks.h"
#include "core/catalogue/CommandLine.h"
#include "core/catalogue/History.h"
#include "core/checks/CheckRegistry.h"
#include "gui/checks/DirectoryCheckCommand.h"
#include "platform/ProgramLock.h"
#include "samples/SkinSamples.h"

#include <QJsonArray>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSet>

#include <cstdio>
#include <vector>

using namespace vestimo;
using test::Hashes;
using test::MovedInto;
using test::Ran;
using test::RunVestimo;
using test::TempDir;

namespace {

samples::SkinSetRecipe Recipe(std::size_t count) {
    samples::SkinSetRecipe recipe;
    recipe.count = count;
    recipe.seed = 17;
    recipe.faultyCmxShare = 0.1;
    recipe.oversizedBitmapShare = 0.05;
    recipe.notPictureShare = 0.05;
    recipe.orphanShare = 0.1;
    recipe.handsAtLine9Share = 0.05;
    recipe.animationFiles = 2;
    return recipe;
}

QStringList Sorted(QStringList names) {
    names.sort();
    return names;
}

QStringList Expected(const samples::SkinSetSummary& summary) {
    QStringList names = test::Sorted(summary.faultyCmxNames) + test::Sorted(summary.problemBitmapNames) +
                        test::Sorted(summary.orphanedNames);
    return Sorted(names);
}

// The files of every check's report with `verdict`, companions included.
QStringList FilesWith(const QJsonObject& report, const QString& verdict) {
    QStringList names;
    for (const QJsonValue& check : report["checks"].toArray()) {
        for (const QJsonValue& file : check["files"].toArray()) {
            if (file["verdict"].toString() == verdict) {
                names.append(file["name"].toString());
            }
        }
    }
    return Sorted(names);
}

class CheckCommand : public ::testing::Test {
protected:
    QString Skins() const { return root.filePath("skins"); }
    QString Program() const { return root.filePath("program"); }
    samples::SkinSetSummary Generate(std::size_t count = 40) {
        QDir().mkpath(Program());
        return samples::GenerateSkinDirectory(Skins().toStdString(), Recipe(count));
    }
    Ran Check(QStringList options = {}) {
        options << "--program-dir" << Program() << Skins();
        options.prepend("check");
        return RunVestimo(options);
    }
    TempDir root;
};

} // namespace

TEST_F(CheckCommand, TellsEachMovedFileThenTheCountsThenTheClosingMessageAndExitsOne) {
    const samples::SkinSetSummary summary = Generate();
    const Ran ran = Check({"--cmx"});
    EXPECT_EQ(ran.status, 1) << ran.err.toStdString();
    const QStringList lines = ran.lines();
    QStringList expected;
    for (const std::string& name : summary.faultyCmxNames) {
        const QString line = QStringLiteral("moved %1: line ").arg(QString::fromStdString(name));
        EXPECT_EQ(lines.filter(line).size(), 1) << line.toStdString();
    }
    EXPECT_TRUE(lines.contains(texts::detailsSkinFolder(Skins())));
    EXPECT_TRUE(lines.contains(
        texts::detailsMoved(static_cast<qsizetype>(summary.faultyCmxNames.size()), Program())));
    EXPECT_EQ(lines.last(), texts::cmxFilesChecked());
    EXPECT_EQ(MovedInto(Program()), test::Sorted(summary.faultyCmxNames));
    // Nothing but the report reaches the standard output; without a terminal no progress at all.
    EXPECT_TRUE(ran.err.isEmpty()) << ran.err.toStdString();

    // Once the faulty files are gone, nothing is found wrong.
    const Ran again = Check({"--cmx"});
    EXPECT_EQ(again.status, 0);
    EXPECT_TRUE(again.lines().contains(texts::detailsMoved(0, Program())));
}

TEST_F(CheckCommand, MovesExactlyWhatTheButtonsMoveOnACopyOfTheFolder) {
    const samples::SkinSetSummary summary = Generate(200);
    TempDir copy;
    const QString copySkins = copy.mkdir("skins");
    const QString copyProgram = copy.mkdir("program");
    samples::GenerateSkinDirectory(copySkins.toStdString(), Recipe(200));
    ASSERT_EQ(Hashes(copySkins), Hashes(Skins()));

    const Ran ran = Check({"--json"});
    ASSERT_EQ(ran.status, 1) << ran.err.toStdString();
    const QJsonObject report = ran.json();

    // Every registered check's button, in the same order, through the command it runs.
    test::RecordingMessages messages;
    const gui::Services services{messages, copyProgram};
    QProgressBar bar;
    gui::FileList fileList;
    fileList.setPath(copySkins);
    for (const checks::RegisteredCheck& registered : checks::checkRegistry()) {
        const checks::DirectoryCheck check = registered.make();
        fileList.setPattern(patternOf(check.filter));
        gui::runDirectoryCheckCommand(check, {check.filter, copySkins, bar, fileList}, services);
        ASSERT_TRUE(test::finishRuns());
    }
    ASSERT_EQ(messages.messages.size(), static_cast<qsizetype>(checks::checkRegistry().size()));
    EXPECT_EQ(messages.messages[0], texts::cmxFilesChecked());

    const QStringList moved = MovedInto(Program());
    EXPECT_EQ(moved, MovedInto(copyProgram));
    EXPECT_EQ(moved, Expected(summary));
    EXPECT_EQ(FilesWith(report, "moved"), moved);
    EXPECT_EQ(Hashes(Skins()), Hashes(copySkins));
    // The closing messages and the counts are the window's.
    const QJsonArray checks = report["checks"].toArray();
    ASSERT_EQ(checks.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(checks[i]["message"].toString(), messages.messages[i]);
        EXPECT_TRUE(
            messages.details[i].contains(texts::detailsJudged(checks[i]["counts"]["judged"].toInt())));
    }
}

TEST_F(CheckCommand, JsonReportHoldsTheCommandFoldersCountsAndEveryFile) {
    const samples::SkinSetSummary summary = Generate();
    const Ran ran = Check({"--json", "--assoc"});
    ASSERT_EQ(ran.status, 1);
    const QJsonObject report = ran.json();
    EXPECT_EQ(report["command"].toString(), "check");
    EXPECT_EQ(report["dryRun"].toBool(), false);
    EXPECT_EQ(report["skinFolder"].toString(), Skins());
    EXPECT_EQ(report["programFolder"].toString(), Program());
    EXPECT_EQ(report["exitStatus"].toInt(), 1);
    const QJsonArray checks = report["checks"].toArray();
    ASSERT_EQ(checks.size(), 1);
    const QJsonObject assoc = checks[0].toObject();
    EXPECT_EQ(assoc["check"].toString(), "assoc");
    EXPECT_EQ(assoc["outcome"].toString(), "completed");
    EXPECT_EQ(assoc["message"].toString(), texts::orphansMoved());
    EXPECT_EQ(assoc["counts"]["moved"].toInt(), static_cast<int>(summary.orphanedCmx));
    EXPECT_EQ(assoc["counts"]["companionsMoved"].toInt(), static_cast<int>(summary.orphanedCmx));
    int meshes = 0;
    for (const QJsonValue& value : assoc["files"].toArray()) {
        const QJsonObject file = value.toObject();
        EXPECT_EQ(file["verdict"].toString(), "moved");
        EXPECT_EQ(file["movedTo"].toString(), QDir(Program()).filePath(file["name"].toString()));
        EXPECT_TRUE(QFileInfo::exists(file["movedTo"].toString()));
        if (file.contains("with")) {
            ++meshes;
            EXPECT_EQ(file["reason"].toString(), texts::companionOfFile("mesh", file["with"].toString()));
        } else {
            EXPECT_TRUE(file["reason"].toString().startsWith("no bitmap begins with"));
        }
    }
    EXPECT_EQ(meshes, static_cast<int>(summary.orphanedCmx));
}

TEST_F(CheckCommand, DryRunReportsWhatARealRunMovesAndChangesNoFile) {
    const samples::SkinSetSummary summary = Generate(100);
    const auto skinsBefore = Hashes(Skins());
    const auto programBefore = Hashes(Program());
    const Ran dry = Check({"--dry-run", "--json"});
    EXPECT_EQ(dry.status, 1) << dry.err.toStdString();
    EXPECT_EQ(Hashes(Skins()), skinsBefore);
    EXPECT_EQ(Hashes(Program()), programBefore);
    EXPECT_FALSE(QFileInfo::exists(QDir(Program()).filePath("Temp.txt")));
    const QJsonObject report = dry.json();
    EXPECT_TRUE(report["dryRun"].toBool());
    EXPECT_TRUE(FilesWith(report, "moved").isEmpty());
    const QStringList wouldMove = FilesWith(report, "wouldMove");
    EXPECT_EQ(wouldMove, Expected(summary));

    const Ran text = Check({"--dry-run"});
    EXPECT_EQ(text.status, 1);
    EXPECT_FALSE(text.lines().filter("would move ").isEmpty());
    EXPECT_EQ(Hashes(Skins()), skinsBefore);

    const Ran real = Check();
    EXPECT_EQ(real.status, 1);
    EXPECT_EQ(MovedInto(Program()), wouldMove);
}

namespace {
// No check's closing line claims a move that did not happen.
void ExpectNoMoveClaimed(const Ran& ran) {
    for (const QString& claim : {texts::cmxFilesChecked(), texts::bitmapsChecked(), texts::orphansMoved(),
                                 texts::runCanBeUndone()}) {
        EXPECT_FALSE(ran.out.contains(claim.toUtf8())) << claim.toStdString();
    }
}
} // namespace

TEST_F(CheckCommand, AFolderWithNothingWrongExitsZero) {
    QDir().mkpath(Program());
    samples::SkinSetRecipe recipe;
    recipe.count = 10;
    samples::GenerateSkinDirectory(Skins().toStdString(), recipe);
    const Ran ran = Check();
    EXPECT_EQ(ran.status, 0) << ran.out.toStdString();
    EXPECT_TRUE(MovedInto(Program()).isEmpty());
    // All three checks ran.
    const QStringList lines = ran.lines();
    EXPECT_EQ(lines.count(texts::runChangedNothing()), 3) << ran.out.toStdString();
    ExpectNoMoveClaimed(ran);
}

TEST_F(CheckCommand, ADryRunSaysWhatWouldMoveAndThatNothingMoved) {
    Generate(40);
    const Ran ran = Check({"--dry-run"});
    EXPECT_EQ(ran.status, 1);
    const QStringList lines = ran.lines();
    EXPECT_FALSE(lines.filter("would move ").isEmpty());
    EXPECT_EQ(lines.count(texts::dryRunNothingMoved()), 3) << ran.out.toStdString();
    ExpectNoMoveClaimed(ran);
    for (const QJsonValue& check : Check({"--dry-run", "--json"}).json()["checks"].toArray()) {
        EXPECT_EQ(check["message"].toString(), texts::dryRunNothingMoved());
    }
}

// Only the program's own listing is replaced or removed, whichever copy of the program wrote it;
// anyone else's Temp.txt goes to the trash first, and the report says so.
TEST_F(CheckCommand, ATempTxtThatIsNoListingOfTheProgramsGoesToTheTrash) {
    Generate(10);
    const QString dataHome = root.mkdir("data");
    const QMap<QString, QString> trash{{"XDG_DATA_HOME", dataHome}};
    root.write("program/Temp.txt", "the player's own notes");
    const QStringList assoc{"check", "--assoc", "--program-dir", Program(), Skins()};
    const Ran first = RunVestimo(assoc, trash);
    EXPECT_TRUE(first.lines().contains(texts::earlierListingTrashed())) << first.out.toStdString();
    EXPECT_EQ(test::readAll(dataHome + "/Trash/files/Temp.txt"), "the player's own notes");
    // The listing this check keeps is known as the program's own by the next process.
    ASSERT_TRUE(QFileInfo::exists(Program() + "/Temp.txt"));
    EXPECT_FALSE(RunVestimo(assoc, trash).lines().contains(texts::earlierListingTrashed()));
    // A check that finds no file of its kind takes its own listing away too.
    ASSERT_TRUE(QDir(Skins()).removeRecursively() && QDir().mkpath(Skins()));
    const Ran none = RunVestimo({"check", "--cmx", "--program-dir", Program(), Skins()}, trash);
    EXPECT_EQ(none.status, 0) << none.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Program() + "/Temp.txt"));
    EXPECT_EQ(QDir(dataHome + "/Trash/files").entryList(QDir::Files).size(), 1);
}

TEST_F(CheckCommand, ARunThatCouldNotBeRecordedSaysWhyAndExitsOne) {
    QDir().mkpath(Program());
    samples::SkinSetRecipe recipe;
    recipe.count = 5;
    samples::GenerateSkinDirectory(Skins().toStdString(), recipe);
    root.write("elsewhere.sqlite", "");
    ASSERT_TRUE(QFile::link(root.filePath("elsewhere.sqlite"), Program() + "/journal.sqlite"));
    const Ran text = Check({"--cmx"});
    EXPECT_EQ(text.status, 1) << text.out.toStdString();
    EXPECT_EQ(text.lines().filter(QRegularExpression("^This run could not be recorded: .*link")).size(), 1)
        << text.out.toStdString();
    const Ran json = Check({"--cmx", "--json"});
    EXPECT_EQ(json.status, 1);
    EXPECT_FALSE(json.json()["recorded"].toBool(true));
    EXPECT_TRUE(json.json()["notRecordedWhy"].toString().contains("link"));
}

TEST_F(CheckCommand, UsageAndPathErrorsExitTwoAndSayWhy) {
    Generate(5);
    const Ran none = RunVestimo({"check"});
    EXPECT_EQ(none.status, 2);
    EXPECT_TRUE(none.err.contains(texts::usageCheck("[--cmx] [--bmp] [--assoc]").toUtf8()));
    EXPECT_TRUE(none.out.isEmpty());

    const Ran unknownOption = RunVestimo({"check", "--frobnicate", Skins()});
    EXPECT_EQ(unknownOption.status, 2);
    EXPECT_TRUE(unknownOption.err.contains("frobnicate"));
    EXPECT_TRUE(unknownOption.err.contains(texts::usageCheck("[--cmx] [--bmp] [--assoc]").toUtf8()));

    const Ran two = RunVestimo({"check", "--program-dir", Program(), Skins(), Skins()});
    EXPECT_EQ(two.status, 2);

    const QString missing = root.filePath("no such folder");
    const Ran absent = RunVestimo({"check", "--program-dir", Program(), missing});
    EXPECT_EQ(absent.status, 2);
    EXPECT_TRUE(absent.err.contains(missing.toUtf8())) << absent.err.toStdString();

    const Ran noProgram = RunVestimo({"check", "--program-dir", missing, Skins()});
    EXPECT_EQ(noProgram.status, 2);
    EXPECT_TRUE(noProgram.err.contains(missing.toUtf8()));

    const Ran unknown = RunVestimo({"chekc", Skins()});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.err.contains(texts::usageOverview().toUtf8()));

    // The skin folder may not be the program folder, and nothing of the program's is left there.
    const auto skinsBefore = Hashes(Skins());
    const Ran same = RunVestimo({"check", "--program-dir", Skins() + "/", Skins()});
    EXPECT_EQ(same.status, 2);
    EXPECT_TRUE(same.err.contains(texts::skinFolderIsProgramFolder(Skins()).toUtf8()));
    EXPECT_TRUE(MovedInto(Program()).isEmpty());
    EXPECT_EQ(Hashes(Skins()), skinsBefore);
    EXPECT_FALSE(QFileInfo::exists(QDir(Skins()).filePath("journal.sqlite")));
}

TEST_F(CheckCommand, ErrorsUnderJsonAreAJsonDocument) {
    Generate(5);
    const QString missing = root.filePath("no such folder");
    struct Case {
        QStringList arguments;
        QString command;
        QString error;
    };
    const std::vector<Case> cases = {
        {{"check", "--json", "--program-dir", Program(), missing},
         "check",
         texts::cannotRead(missing, texts::noSuchFileOrFolder())},
        {{"check", "--json", "--frobnicate", Skins()}, "check", "Unknown option 'frobnicate'."},
        {{"check", "--json", "--program-dir", Skins(), Skins()},
         "check",
         texts::skinFolderIsProgramFolder(Skins())},
        {{"history", "--json", "--limit", "x"}, "history", {}},
        {{"undo", "--json", "--program-dir", Program(), "12345"}, "undo", {}},
    };
    for (const Case& c : cases) {
        const Ran ran = RunVestimo(c.arguments);
        EXPECT_EQ(ran.status, 2) << c.arguments.join(' ').toStdString();
        const QJsonObject document = ran.json();
        EXPECT_EQ(document["command"].toString(), c.command);
        EXPECT_EQ(document["exitStatus"].toInt(), 2);
        EXPECT_FALSE(document["error"].toString().isEmpty()) << ran.out.toStdString();
        if (!c.error.isEmpty()) {
            EXPECT_EQ(document["error"].toString(), c.error);
        }
    }
}

TEST_F(CheckCommand, ABackslashInANameIsDoubledSoEscapesStandApart) {
    QDir().mkpath(Program());
    QByteArray cmx = test::validCmx();
    cmx.replace("Version 300", "Version 299");
    // A name that holds the four characters of an escape.
    root.write("skins/B001FAFit\\xFF_x.cmx", cmx);
    const Ran ran = Check({"--dry-run", "--cmx"});
    EXPECT_EQ(ran.lines().filter("would move B001FAFit\\\\xFF_x.cmx: line 2").size(), 1)
        << ran.out.toStdString();
}

TEST_F(CheckCommand, AnotherCopyHoldingTheProgramFolderExitsThree) {
    Generate(20);
    const auto before = Hashes(Skins());
    platform::ProgramLock other(Program());
    ASSERT_TRUE(other.acquire(0).held());
    const Ran ran = Check({"--json"});
    EXPECT_EQ(ran.status, 3);
    EXPECT_EQ(ran.json()["checks"][0]["outcome"].toString(), "busy");
    const Ran text = Check();
    EXPECT_EQ(text.status, 3);
    EXPECT_TRUE(text.err.contains(texts::programFolderBusy(Program()).toUtf8()));
    EXPECT_EQ(Hashes(Skins()), before);
}

TEST_F(CheckCommand, HelpAndVersionNeedNoDisplay) {
    const Ran version = RunVestimo({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, QByteArray("vestimo " VESTIMO_VERSION_TEXT "\n"));
    const Ran help = RunVestimo({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command : {"check", "check-file", "install", "games", "history", "undo"}) {
        EXPECT_TRUE(help.out.contains(QByteArray("  ") + command + ' ')) << command;
        const Ran commandHelp = RunVestimo({command, "--help"});
        EXPECT_EQ(commandHelp.status, 0) << command;
        EXPECT_TRUE(commandHelp.out.startsWith("Usage: vestimo " + QByteArray(command) + ' ')) << command;
    }
}

TEST_F(CheckCommand, TheWindowsWithoutADisplayExitTwoAndPointToTheCommands) {
    QDir().mkpath(Skins());
    for (const QStringList& arguments : {QStringList(), QStringList{Skins()}}) {
        const Ran ran = RunVestimo(arguments);
        EXPECT_EQ(ran.status, 2) << ran.err.toStdString();
        EXPECT_EQ(ran.err, "vestimo: " + texts::noDisplayForWindows().toUtf8() + '\n');
        EXPECT_TRUE(ran.out.isEmpty());
    }
}

TEST_F(CheckCommand, NamesThatAreNotTextOrHoldControlsArePrintedEscaped) {
    QDir().mkpath(Program());
    QDir().mkpath(Skins());
    // A faulty skin description whose name holds an escape sequence, and a bitmap whose name is
    // not valid text.
    test::TempDir scratch;
    const QString evil = QStringLiteral("B001FAFit\x1b[2J_x.cmx");
    QByteArray cmx = test::validCmx();
    cmx.replace("Version 300", "Version 299");
    QFile file(QDir(Skins()).filePath(evil));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(cmx), cmx.size());
    file.close();
    const QByteArray bad = QFile::encodeName(Skins()) + "/B001FAFitlgt_\xff.bmp";
    FILE* raw = std::fopen(bad.constData(), "wb");
    ASSERT_NE(raw, nullptr);
    std::fputs("x", raw);
    std::fclose(raw);

    const Ran ran = Check({"--dry-run"});
    EXPECT_EQ(ran.status, 1);
    EXPECT_FALSE(ran.out.contains('\x1b'));
    EXPECT_FALSE(ran.out.contains('\xff'));
    const QStringList lines = ran.lines();
    EXPECT_EQ(lines.filter("would move B001FAFit\\x1B[2J_x.cmx: line 2").size(), 1) << ran.out.toStdString();
    EXPECT_EQ(lines.filter(texts::notJudgedLine("B001FAFitlgt_\\xFF.bmp", texts::nameNotText())).size(), 1)
        << ran.out.toStdString();

    const QJsonObject report = Check({"--dry-run", "--json"}).json();
    EXPECT_EQ(FilesWith(report, "wouldMove"), QStringList{evil});
    EXPECT_TRUE(FilesWith(report, "notJudged").contains("B001FAFitlgt_\\xFF.bmp"));
    // The temporary folder cannot name this file to remove it.
    std::remove(bad.constData());
}
