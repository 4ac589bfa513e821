#include "cli/CliTesting.h"

#include "core/catalogue/Checks.h"
#include "core/catalogue/CommandLine.h"
#include "core/catalogue/History.h"
#include "core/catalogue/SingleChecks.h"
#include "core/catalogue/SkinEdit.h"
#include "core/journal/Journal.h"
#include "games/FakeHome.h"
#include "samples/BmpSamples.h"

#include <QJsonArray>
#include <QRegularExpression>

#include <fcntl.h>
#include <unistd.h>

using namespace vestimo;
using test::Hashes;
using test::Ran;
using test::RunVestimo;
using test::TempDir;

namespace {

QByteArray Bmp(int width, int height, std::size_t length = 0) {
    samples::BmpOptions options;
    options.width = width;
    options.height = height;
    options.fileSize = length;
    return QByteArray::fromStdString(samples::MakeBmp(options));
}

} // namespace

TEST(CheckFileCommand, EachFileGetsTheMessageOfItsSingleCheck) {
    TempDir dir;
    const QString good = dir.write("B001FAFit_good.cmx", test::validCmx("B001FAFit_good"));
    QByteArray faulty = test::validCmx("B001FAFit_bad");
    faulty.replace("PELVIS\r\n", "KNEE\r\n");
    const QString bad = dir.write("B001FAFit_bad.cmx", faulty);
    const QString animation = dir.write("a2o-walk.cmx", test::validCmx("a2o-walk"));
    const QString valid = dir.write("B001FAFitlgt_good.bmp", Bmp(64, 64));
    const QString oversized = dir.write("B001FAFitlgt_big.bmp", Bmp(32, 32, 4000));
    const QString odd = dir.write("odd.bmp", Bmp(40, 40));
    const QString corrupt = dir.write("broken.bmp", "not a picture");

    const Ran fine = RunVestimo({"check-file", good, valid, animation, odd});
    EXPECT_EQ(fine.status, 0) << fine.err.toStdString();
    EXPECT_EQ(fine.lines(), (QStringList{texts::fileCheckLine(good, texts::noErrorsFound()),
                                         texts::fileCheckLine(valid, texts::aValidSkinFile()),
                                         texts::fileCheckLine(animation, texts::notCheckableCmxType()),
                                         texts::fileCheckLine(odd, texts::dimensionsNotRecognized())}));

    const Ran wrong = RunVestimo({"check-file", "--json", bad, oversized, corrupt});
    EXPECT_EQ(wrong.status, 1);
    const QJsonObject report = wrong.json();
    EXPECT_EQ(report["command"].toString(), "check-file");
    EXPECT_EQ(report["counts"]["fault"].toInt(), 3);
    const QJsonArray files = report["files"].toArray();
    ASSERT_EQ(files.size(), 3);
    EXPECT_EQ(files[0]["name"].toString(), bad);
    EXPECT_EQ(files[0]["kind"].toString(), "cmx");
    EXPECT_EQ(files[0]["verdict"].toString(), "fault");
    EXPECT_EQ(files[0]["reason"].toString(), texts::cmxFaultAtLine(9));
    EXPECT_EQ(files[1]["reason"].toString(), texts::notAValidSkinFile());
    EXPECT_EQ(files[2]["reason"].toString(), texts::bmpFileCorrupt());

    // A path that cannot be read, or a file of neither kind, stops the command before any check.
    const Ran missing = RunVestimo({"check-file", good, dir.filePath("gone.cmx")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_TRUE(missing.err.contains(dir.filePath("gone.cmx").toUtf8()));
    const Ran text = RunVestimo({"check-file", dir.write("notes.txt", "x")});
    EXPECT_EQ(text.status, 2);
    EXPECT_EQ(RunVestimo({"check-file"}).status, 2);
}

TEST(InstallCommand, InstallsIntoAFolderAndADryRunWritesNothing) {
    TempDir dir;
    const QString download = dir.mkdir("download");
    dir.write("download/B001FAFit_new.cmx", test::validCmx("B001FAFit_new"));
    dir.write("download/B001FAFitlgt_new.bmp", Bmp(64, 64));
    dir.write("download/readme.txt", "hello");
    const QString skins = dir.mkdir("skins");
    const QString program = dir.mkdir("program");

    const Ran dry =
        RunVestimo({"install", "--dry-run", "--json", "--into", skins, "--program-dir", program, download});
    EXPECT_EQ(dry.status, 0) << dry.err.toStdString();
    EXPECT_TRUE(Hashes(skins).isEmpty());
    const QJsonObject planned = dry.json();
    EXPECT_EQ(planned["command"].toString(), "install");
    EXPECT_TRUE(planned["dryRun"].toBool());
    EXPECT_EQ(planned["counts"]["installed"].toInt(), 2);
    EXPECT_EQ(planned["counts"]["notSkinFiles"].toInt(), 1);

    const Ran real = RunVestimo({"install", "--into", skins, "--program-dir", program, download});
    EXPECT_EQ(real.status, 0) << real.err.toStdString();
    EXPECT_EQ(Hashes(skins).keys(), (QStringList{"B001FAFit_new.cmx", "B001FAFitlgt_new.bmp"}));
    EXPECT_EQ(real.lines().filter(QRegularExpression("^installed ")).size(), 2) << real.out.toStdString();
    EXPECT_EQ(real.lines().last(), "Installed 2 files from 1 downloads.");

    const Ran both = RunVestimo({"install", "--into", skins, "--game", "x", download});
    EXPECT_EQ(both.status, 2);
    const Ran noGame = RunVestimo({"install", "--game", "No Such Game", download},
                                  {{"HOME", dir.path()}, {"WINEPREFIX", ""}});
    EXPECT_EQ(noGame.status, 2);
    EXPECT_EQ(RunVestimo({"install", "--into", skins, dir.filePath("gone.zip")}).status, 2);
}

TEST(InstallCommand, RecordsTheInstallationSoThatUndoTakesItAwayAgain) {
    TempDir dir;
    const QString download = dir.mkdir("download");
    dir.write("download/B001FAFit_new.cmx", test::validCmx("B001FAFit_new"));
    dir.write("download/B001FAFitlgt_new.bmp", Bmp(64, 64));
    const QString skins = dir.mkdir("skins");
    const QString program = dir.mkdir("program");
    const QMap<QString, QString> trash = {{"XDG_DATA_HOME", dir.mkdir("data")}};

    const Ran real = RunVestimo({"install", "--into", skins, "--program-dir", program, download}, trash);
    EXPECT_EQ(real.status, 0) << real.err.toStdString();
    EXPECT_TRUE(real.lines().contains(texts::runCanBeUndone())) << real.out.constData();
    const QJsonObject runs = RunVestimo({"history", "--json", "--program-dir", program}).json();
    ASSERT_EQ(runs["runs"].toArray().size(), 1);
    EXPECT_EQ(runs["runs"][0]["command"].toString(), "Install Skins from Download");
    EXPECT_EQ(runs["runs"][0]["changes"].toArray().size(), 2);

    const Ran undo = RunVestimo({"undo", "--json", "last", "--program-dir", program}, trash);
    EXPECT_EQ(undo.status, 0) << undo.out.toStdString() << undo.err.toStdString();
    const QJsonObject undone = undo.json();
    EXPECT_EQ(undone["counts"]["putBack"].toInt(), 2);
    EXPECT_TRUE(Hashes(skins).isEmpty());

    // Checking only leaves nothing in the history.
    const Ran dry = RunVestimo({"install", "--dry-run", "--into", skins, "--program-dir", program, download});
    EXPECT_FALSE(dry.lines().contains(texts::runCanBeUndone()));
    const QJsonObject after = RunVestimo({"history", "--json", "--program-dir", program}).json();
    EXPECT_EQ(after["runs"].toArray().size(), 2);
}

TEST(InstallCommand, RefusesTheProgramFolderReportsAnEmptyArchiveAndShowsStrayBytesEscaped) {
    TempDir dir;
    const QString download = dir.mkdir("download");
    dir.write("download/B001FAFit_new.cmx", test::validCmx("B001FAFit_new"));
    dir.write("download/B001FAFitlgt_new.bmp", Bmp(64, 64));
    const QByteArray stray = QFile::encodeName(download) + "/B001FAFitmed_\xff.bmp";
    ASSERT_EQ(::close(::open(stray.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644)), 0);
    const QString skins = dir.mkdir("skins");
    const QString program = dir.mkdir("program");
    const QString zero = dir.write("zero.zip", "");

    // Nothing is written into the program's own folder, not even a journal.
    const Ran same = RunVestimo({"install", "--into", program, "--program-dir", program, download});
    EXPECT_EQ(same.status, 2);
    EXPECT_TRUE(same.err.contains(texts::skinFolderIsProgramFolder(program).toUtf8()))
        << same.err.constData();
    EXPECT_TRUE(QDir(program).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));

    const Ran empty = RunVestimo({"install", "--into", skins, "--program-dir", program, zero});
    EXPECT_EQ(empty.status, 1);
    EXPECT_TRUE(empty.lines().contains(texts::downloadNotReadLine(zero, "zero.zip is empty")))
        << empty.out.constData();
    EXPECT_TRUE(Hashes(skins).isEmpty());

    const Ran odd = RunVestimo({"install", "--into", skins, "--program-dir", program, download});
    EXPECT_EQ(odd.status, 1);
    EXPECT_TRUE(
        odd.lines().contains(texts::refusedLine("B001FAFitmed_\\xFF.bmp", "its name is not valid text")))
        << odd.out.constData();
    EXPECT_EQ(Hashes(skins).size(), 2);
    ::unlink(stray.constData()); // the temporary folder cannot name it to remove it
}

TEST(GamesCommand, ListsTheInstallsFoundInTheHome) {
    test::FakeHome home;
    home.prefix(".wine");
    home.install(".wine/drive_c/Program Files/Maxis/The Sims", true);
    const auto found = home.discover();
    ASSERT_EQ(found.size(), 1u);
    const QMap<QString, QString> env{{"HOME", home.home()}, {"WINEPREFIX", ""}};
    const Ran text = RunVestimo({"games"}, env);
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.lines(), (QStringList{found[0].label, texts::gameSkinsLine(found[0].skins),
                                         texts::gameSkinsBuyLine(found[0].skinsBuy)}));
    const QJsonObject json = RunVestimo({"games", "--json"}, env).json();
    EXPECT_EQ(json["command"].toString(), "games");
    ASSERT_EQ(json["games"].toArray().size(), 1);
    EXPECT_EQ(json["games"][0]["label"].toString(), found[0].label);
    EXPECT_EQ(json["games"][0]["skins"].toString(), found[0].skins);
    EXPECT_EQ(json["games"][0]["placeKind"].toString(), "wine");

    test::FakeHome empty;
    EXPECT_EQ(RunVestimo({"games"}, {{"HOME", empty.home()}, {"WINEPREFIX", ""}}).lines(),
              QStringList{"No game found"});
}

TEST(JournalCommands, HistoryListsTheRunsAndUndoPutsTheLastBack) {
    TempDir dir;
    const QString skins = dir.mkdir("skins");
    const QString program = dir.mkdir("program");
    // Without a journal there is no history, and looking does not start one.
    const Ran nothing = RunVestimo({"history", "--program-dir", program});
    EXPECT_EQ(nothing.status, 0);
    EXPECT_EQ(nothing.lines(), QStringList{texts::noRunsRecorded()});
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("program/journal.sqlite")));
    EXPECT_EQ(RunVestimo({"undo", "last", "--program-dir", program}).status, 2);

    dir.write("skins/B001FAFit_x.cmx", "faulty");
    {
        journal::Journal journal;
        ASSERT_TRUE(journal.open(program).ok);
        ASSERT_TRUE(journal.beginRun("Check All CMX Files in Directory", skins));
        ASSERT_TRUE(journal
                        .move(dir.filePath("skins/B001FAFit_x.cmx"), dir.filePath("program/B001FAFit_x.cmx"),
                              "line 9")
                        .ok);
        journal.endRun("completed");
        // A newer run that moved nothing is not the one "undo last" means.
        ASSERT_TRUE(journal.beginRun("Check All BMP Files in Directory", skins));
        journal.endRun("completed");
    }
    const Ran history = RunVestimo({"history", "--json", "--program-dir", program});
    EXPECT_EQ(history.status, 0) << history.err.toStdString();
    const QJsonObject runs = history.json();
    EXPECT_EQ(runs["command"].toString(), "history");
    ASSERT_EQ(runs["runs"].toArray().size(), 2);
    EXPECT_EQ(runs["runs"][1]["command"].toString(), "Check All CMX Files in Directory");
    EXPECT_EQ(runs["runs"][1]["changes"][0]["reason"].toString(), "line 9");
    const QString runId = QString::number(runs["runs"][1]["id"].toInteger());
    EXPECT_EQ(RunVestimo({"history", "--program-dir", program}).lines().size(), 2);
    EXPECT_EQ(RunVestimo({"history", "--limit", "0", "--program-dir", program}).status, 2);

    EXPECT_EQ(RunVestimo({"undo", "999", "--program-dir", program}).status, 2);
    EXPECT_EQ(RunVestimo({"undo", "soon", "--program-dir", program}).status, 2);
    const Ran undo = RunVestimo({"undo", "--json", "last", "--program-dir", program});
    EXPECT_EQ(undo.status, 0) << undo.out.toStdString() << undo.err.toStdString();
    const QJsonObject undone = undo.json();
    EXPECT_EQ(QString::number(undone["run"].toInteger()), runId);
    EXPECT_EQ(undone["counts"]["putBack"].toInt(), 1);
    EXPECT_EQ(undone["files"][0]["verdict"].toString(), "putBack");
    const QString said = undone["message"].toString();
    EXPECT_TRUE(
        said.startsWith(QString("Put back run %1 (Check All CMX Files in Directory, %2, ").arg(runId, skins)))
        << said.toStdString();
    EXPECT_TRUE(said.endsWith("): 1 files")) << said.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("skins/B001FAFit_x.cmx")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("program/B001FAFit_x.cmx")));
    // Put back once, "undo last" says so rather than reaching for an older run.
    const Ran again = RunVestimo({"undo", "last", "--program-dir", program});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.lines(), QStringList{texts::nothingLeftToPutBack(runId.toLongLong())});
}
