#include "support/DirectoryCheckTesting.h"
#include "support/FinishRuns.h"

#include "core/checks/SkinChecks.h"
#include "core/textures/AssociatedFiles.h"
#include "gui/browser/FileList.h"
#include "gui/skinedit/SkinEditWindow.h"
#include "platform/FileSystem.h"
#include "platform/ProgramLock.h"
#include "samples/DemoSkins.h"
#include "samples/SkinSamples.h"
#include "support/AppFixture.h"
#include "support/TempDir.h"

#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

using namespace vestimo;
using vestimo::test::Bytes;
using vestimo::test::exists;
using vestimo::test::Files;
using vestimo::test::MovedNames;
using vestimo::test::readAll;
using vestimo::test::RecordingProgress;
using vestimo::test::ShowCounter;
using vestimo::test::TempDir;

namespace {

const QString closingMessage = QStringLiteral(
    "CMX and SKN Files that have no BMP files associated with them were moved into the same directory as the "
    "program.");

const QByteArray Mesh = "mesh";
const QByteArray Picture = "a bitmap; never read by this check";

// The bitmaps of `directory` as the check indexes them: every ordinary "*.BMP" file, those whose
// names are not valid text by their stored bytes.
textures::BitmapIndex IndexOf(const QString& directory) {
    const platform::FileNames bitmaps = platform::listFiles(directory, patternOf(FileFilter::Bitmaps));
    return textures::BitmapIndex(bitmaps.names, bitmaps.unnamableBytes);
}

class AssociatedFilesCheck : public ::testing::Test {
protected:
    checks::DirectoryReport Run() {
        return checks::runDirectoryCheck(checks::associatedFilesCheck(), skins.path(), program.path(),
                                         progress);
    }
    void Cmx(const QString& name) { skins.write(name, test::validCmx()); }

    TempDir skins;
    TempDir program;
    RecordingProgress progress;
};

} // namespace

TEST(bitmapPrefix, TakesAsManyCharactersAsTheClassAsks) {
    EXPECT_EQ(textures::bitmapPrefix("B123FAFit_Dress.cmx"), "B123FAFit");
    EXPECT_EQ(textures::bitmapPrefix("B123CAFit_Dress.cmx"), "B123CAF");
    EXPECT_EQ(textures::bitmapPrefix("B123DOgie.cmx"), "B123DOg");
    EXPECT_EQ(textures::bitmapPrefix("C456MA_Face.cmx"), "C456MA");
    EXPECT_EQ(textures::bitmapPrefix("F001UCsuit.cmx"), "F001UCsui");
    EXPECT_EQ(textures::bitmapPrefix("B123FA.cmx"), "B123FA.cm");
    EXPECT_EQ(textures::bitmapPrefix("b123fa.cmx"), "b123fa.cm");
    EXPECT_EQ(textures::bitmapPrefix(QStringLiteral("B123FAÄÖÜ_x.cmx")), QStringLiteral("B123FAÄÖÜ"));
    EXPECT_EQ(textures::bitmapPrefix("C001CAhead.cmx"), "");
    EXPECT_EQ(textures::bitmapPrefix("walk.cmx"), "");
}

TEST(meshFileName, KeepsTheNamesOwnCase) {
    EXPECT_EQ(textures::meshFileName("B123FAFit_Dress.cmx"), "xskin-B123FAFit_Dress-PELVIS-BODY.skn");
    EXPECT_EQ(textures::meshFileName("b123fafit_dress.CMX"), "xskin-b123fafit_dress-PELVIS-BODY.skn");
    EXPECT_EQ(textures::meshFileName("C456MA_Face.cmx"), "xskin-C456MA_Face-HEAD-HEAD.skn");
    EXPECT_EQ(textures::meshFileName("c456ma_face.cmx"), "xskin-c456ma_face-HEAD-HEAD.skn");
}

TEST(BitmapIndex, AnswersAsTheFileListWould) {
    TempDir dir;
    const QStringList names = {
        "B123FAFitlgt_Dress.bmp",
        "b123fafat_dress.BMP",
        "B123FA.bmp",
        "B123FA.cmbmp",
        "C456MA.bmp",
        "C456MAx.Bmp",
        QStringLiteral("äbc_x.bmp"),
        "x?yz.bmp",
        "a*b.bmp",
        "plain.txt",
        "B123FAFit.bmp.bak",
        ".hidden.bmp",
    };
    for (const QString& name : names) {
        dir.write(name, Picture);
    }
    dir.mkdir("B999FAFitfolder.bmp");
    const textures::BitmapIndex index = IndexOf(dir.path());
    const QStringList prefixes = {
        "B123FAFit",
        "b123fafit",
        "B123FAFat",
        "B123FA.cm",
        "B123FA.",
        "B123FA",
        "C456MA",
        "c456ma",
        "C456MAx",
        "C456MAx.",
        QStringLiteral("ÄBC"),
        QStringLiteral("äbc"),
        "x?yz",
        "x?",
        "?",
        "*",
        "a*",
        "a*b",
        "B1?3FA",
        "B999FAFit",
        ".hidden",
        "plain",
        "B123FAFit.bmp",
        "",
    };
    for (const QString& prefix : prefixes) {
        const bool listed =
            !platform::listFiles(dir.path(), prefix + QStringLiteral("*.BMP")).names.isEmpty();
        EXPECT_EQ(index.hasBitmapFor(prefix), listed) << prefix.toStdString();
    }
}

TEST_F(AssociatedFilesCheck, BitmapMatchIgnoresCase) {
    Cmx("B123FAFit_Dress.cmx");
    skins.write("b123fafitlgt_dress.bmp", Picture);
    const auto report = Run();
    EXPECT_EQ(report.outcome, checks::DirectoryReport::Outcome::Completed);
    EXPECT_TRUE(report.moved.isEmpty());
    EXPECT_EQ(Files(skins.path()).size(), 2);
}

TEST_F(AssociatedFilesCheck, OrphanGoesWithItsBodyMesh) {
    Cmx("B123FAFit_Dress.cmx");
    skins.write("B123FAFat_Dress.bmp", Picture);
    skins.write("xskin-B123FAFit_Dress-PELVIS-BODY.skn", Mesh);
    const auto report = Run();
    EXPECT_EQ(MovedNames(report), QStringList{"B123FAFit_Dress.cmx"});
    EXPECT_EQ(
        report.moved[0].reason,
        "no bitmap begins with \"B123FAFit\"; its mesh xskin-B123FAFit_Dress-PELVIS-BODY.skn went with it");
    EXPECT_EQ(report.companionsMoved, 1);
    EXPECT_EQ(Files(program.path()),
              (QStringList{"B123FAFit_Dress.cmx", "xskin-B123FAFit_Dress-PELVIS-BODY.skn"}));
    EXPECT_EQ(Files(skins.path()), QStringList{"B123FAFat_Dress.bmp"});
}

TEST_F(AssociatedFilesCheck, OrphanWithoutItsMeshGoesAlone) {
    Cmx("B123FAFit_Dress.cmx");
    const auto report = Run();
    EXPECT_EQ(report.moved[0].reason, "no bitmap begins with \"B123FAFit\"");
    EXPECT_EQ(Files(program.path()), QStringList{"B123FAFit_Dress.cmx"});
}

TEST_F(AssociatedFilesCheck, HeadSkinTakesItsHeadMeshOnly) {
    Cmx("C456MA_Face.cmx");
    skins.write("C456FA_Other.bmp", Picture);
    skins.write("xskin-C456MA_Face-HEAD-HEAD.skn", Mesh);
    skins.write("xskin-C456MA_Face-PELVIS-BODY.skn", Mesh);
    Run();
    EXPECT_EQ(Files(program.path()), (QStringList{"C456MA_Face.cmx", "xskin-C456MA_Face-HEAD-HEAD.skn"}));
    EXPECT_EQ(Files(skins.path()), (QStringList{"C456FA_Other.bmp", "xskin-C456MA_Face-PELVIS-BODY.skn"}));
}

TEST_F(AssociatedFilesCheck, ShortPrefixClasses) {
    Cmx("B123CAxkid.cmx"); // needs "B123CAx"
    Cmx("B124DOgdog.cmx"); // needs "B124DOg"
    Cmx("C125MAhead.cmx"); // needs "C125MA"
    Cmx("B126CAykid.cmx");
    skins.write("B123CAxother.bmp", Picture);
    skins.write("B124DOg.bmp", Picture);
    skins.write("C125MAzzz.bmp", Picture);
    skins.write("B126CAzkid.bmp", Picture);
    const auto report = Run();
    EXPECT_EQ(MovedNames(report), QStringList{"B126CAykid.cmx"});
}

TEST_F(AssociatedFilesCheck, PrefixIsCutFromTheWholeName) {
    Cmx("B123FA.cmx");
    skins.write("B123FAFitlgt.bmp", Picture);
    skins.write("xskin-B123FA-PELVIS-BODY.skn", Mesh);
    const auto report = Run();
    EXPECT_EQ(MovedNames(report), QStringList{"B123FA.cmx"});
    EXPECT_TRUE(report.moved[0].reason.startsWith("no bitmap begins with \"B123FA.cm\""));
    EXPECT_EQ(Files(program.path()), (QStringList{"B123FA.cmx", "xskin-B123FA-PELVIS-BODY.skn"}));
}

TEST_F(AssociatedFilesCheck, WholeNamePrefixStillFindsItsBitmap) {
    Cmx("B123FA.cmx");
    skins.write("B123FA.cmxlgt.bmp", Picture);
    EXPECT_TRUE(Run().moved.isEmpty());
}

TEST_F(AssociatedFilesCheck, LowerCaseNameLooksUpItsMeshInItsOwnCase) {
    Cmx("b123fafit_dress.cmx");
    skins.write("xskin-B123FAFit_Dress-PELVIS-BODY.skn", Mesh);
    const auto report = Run();
    EXPECT_EQ(MovedNames(report), QStringList{"b123fafit_dress.cmx"});
    EXPECT_EQ(report.companionsMoved, 0);
    EXPECT_EQ(Files(program.path()), QStringList{"b123fafit_dress.cmx"});
    EXPECT_EQ(Files(skins.path()), QStringList{"xskin-B123FAFit_Dress-PELVIS-BODY.skn"});
}

TEST_F(AssociatedFilesCheck, BitmapsAndMeshesNeverMoveOnTheirOwn) {
    Cmx("B123FAFit_Dress.cmx");
    skins.write("B123FAFitlgt_Dress.bmp", Picture);
    skins.write("xskin-B123FAFit_Dress-PELVIS-BODY.skn", Mesh);
    skins.write("B999FAlonelgt.bmp", Picture);
    skins.write("xskin-B888FAlone-PELVIS-BODY.skn", Mesh);
    EXPECT_TRUE(Run().moved.isEmpty());
    EXPECT_EQ(Files(skins.path()).size(), 5);
    EXPECT_TRUE(Files(program.path()).isEmpty());
}

TEST_F(AssociatedFilesCheck, NamesOutsideTheClassesStayWithoutBitmaps) {
    skins.write("walk.cmx", Bytes(samples::AnimationCmx()));
    Cmx("C001CAhead.cmx");
    Cmx("B.cmx");
    const auto report = Run();
    EXPECT_TRUE(report.moved.isEmpty());
    EXPECT_EQ(report.passedOver, 3);
}

TEST_F(AssociatedFilesCheck, QuestionMarkInTheNameMatchesAnyCharacterAsTheFileListDoes) {
    Cmx("B12?FAFit_x.cmx");
    skins.write("B12XFAFitlgt_x.bmp", Picture);
    Cmx("B13*FAFit_y.cmx"); // "B13*FAFit": any run of characters
    skins.write("B13longFAFit_y.bmp", Picture);
    EXPECT_TRUE(Run().moved.isEmpty());
}

// Files whose stored names need not be valid text (Qt cannot name them, so cannot remove them
// with their folder either): made through the C library and taken away again afterwards.
class StoredFiles {
public:
    ~StoredFiles() {
        for (const QByteArray& path : paths_) {
            ::unlink(path.constData());
        }
    }
    void write(const QString& directory, const QByteArray& stored) {
        const QByteArray path = QFile::encodeName(directory) + '/' + stored;
        FILE* file = std::fopen(path.constData(), "w");
        ASSERT_NE(file, nullptr);
        std::fclose(file);
        paths_.append(path);
    }

private:
    QList<QByteArray> paths_;
};

TEST_F(AssociatedFilesCheck, ABitmapWhoseNameIsNotValidTextStillBelongsAndIsNamedToFix) {
    StoredFiles stored;
    Cmx("B123FAFit_Dress.cmx");
    stored.write(skins.path(), "b123fafit\xFFlgt.bmp"); // a stray byte after the prefix
    Cmx("B124FAFit_Other.cmx");
    stored.write(skins.path(), "B124FA\xFF\xFE_x.bmp"); // stray bytes inside the prefix: no match
    Cmx("B12?FAFit_Any.cmx");
    stored.write(skins.path(), "B12\xFF"
                               "FAFitlgt.bmp"); // "?" takes the stray byte as one character
    const auto report = Run();
    EXPECT_EQ(MovedNames(report), QStringList{"B124FAFit_Other.cmx"});
    EXPECT_EQ(::access((QFile::encodeName(skins.path()) + "/b123fafit\xFFlgt.bmp").constData(), F_OK), 0);
    const QString details = report.details();
    const QString header =
        QStringLiteral("Not judged, because the name is not valid text here (rename it):\n");
    ASSERT_TRUE(details.contains(header)) << details.toStdString();
    const QStringList named = details.section(header, 1).split(u'\n');
    EXPECT_EQ(named.size(), 3) << details.toStdString();
    EXPECT_TRUE(named.contains(QString::fromUtf8("b123fafit\xFFlgt.bmp"))) << details.toStdString();
}

TEST(BitmapIndex, MatchesPrefixesOnTheStoredBytesOfNamesThatAreNotValidText) {
    TempDir dir;
    StoredFiles stored;
    stored.write(dir.path(), "B123FAFit\xC3lgt.bmp");
    stored.write(dir.path(), "C456MA\xED\xA0\x80.bmp"); // an encoded surrogate is no character either
    const textures::BitmapIndex index = IndexOf(dir.path());
    EXPECT_TRUE(index.hasBitmapFor("B123FAFit"));
    EXPECT_TRUE(index.hasBitmapFor("b123fafit"));
    EXPECT_TRUE(index.hasBitmapFor("B123FAFit?"));
    EXPECT_FALSE(index.hasBitmapFor(QString::fromUtf8("B123FAFit\xC3\xA9")));
    EXPECT_FALSE(index.hasBitmapFor(QStringLiteral("B123FAFit\uFFFD")));
    EXPECT_TRUE(index.hasBitmapFor("C456MA"));
    EXPECT_TRUE(index.hasBitmapFor("C456MA???"));
    EXPECT_FALSE(index.hasBitmapFor("C456MA????"));
}

TEST_F(AssociatedFilesCheck, ListingStaysAfterTheRun) {
    Cmx("B123FAFit_Dress.cmx");
    Cmx("B124FAFit_Other.cmx");
    skins.write("B124FAFitlgt.bmp", Picture);
    Run();
    const QByteArray listing = readAll(program.filePath("Temp.txt"));
    EXPECT_EQ(listing.size(), progress.starts.value(0));
    EXPECT_TRUE(listing.contains("B123FAFit_Dress.cmx\r\n"));
    EXPECT_TRUE(listing.contains("B124FAFit_Other.cmx\r\n"));
    EXPECT_EQ(listing.size(), 2 * (19 + 2));
    EXPECT_EQ(progress.advanced, 2 * 19);
}

TEST_F(AssociatedFilesCheck, OrphanThatCannotBeMovedKeepsItsMesh) {
    Cmx("B123FAFit_Dress.cmx");
    Cmx("B124FAFit_Other.cmx");
    skins.write("xskin-B123FAFit_Dress-PELVIS-BODY.skn", Mesh);
    program.write("B123FAFit_Dress.cmx", "already here");
    const auto report = Run();
    EXPECT_EQ(MovedNames(report), QStringList{"B124FAFit_Other.cmx"});
    ASSERT_EQ(report.trouble.size(), 1);
    EXPECT_EQ(report.trouble[0].name, "B123FAFit_Dress.cmx");
    EXPECT_TRUE(report.trouble[0].reason.startsWith(
        "could not be moved (no bitmap begins with \"B123FAFit\"): a file of that name is already in"));
    EXPECT_EQ(Files(skins.path()),
              (QStringList{"B123FAFit_Dress.cmx", "xskin-B123FAFit_Dress-PELVIS-BODY.skn"}));
}

TEST_F(AssociatedFilesCheck, MeshThatCannotBeMovedIsReported) {
    Cmx("B123FAFit_Dress.cmx");
    skins.write("xskin-B123FAFit_Dress-PELVIS-BODY.skn", Mesh);
    program.write("xskin-B123FAFit_Dress-PELVIS-BODY.skn", "already here");
    const auto report = Run();
    EXPECT_EQ(MovedNames(report), QStringList{"B123FAFit_Dress.cmx"});
    EXPECT_EQ(report.companionsMoved, 0);
    ASSERT_EQ(report.trouble.size(), 1);
    EXPECT_EQ(report.trouble[0].name, "xskin-B123FAFit_Dress-PELVIS-BODY.skn");
    EXPECT_TRUE(report.trouble[0].reason.startsWith("the mesh of B123FAFit_Dress.cmx could not be moved: "));
}

TEST_F(AssociatedFilesCheck, DetailsCountAndNameEveryFile) {
    Cmx("B123FAFit_Dress.cmx");
    skins.write("xskin-B123FAFit_Dress-PELVIS-BODY.skn", Mesh);
    Cmx("B124FAFit_Other.cmx");
    skins.write("B124FAFitlgt.bmp", Picture);
    skins.write("walk.cmx", Bytes(samples::AnimationCmx()));
    const auto report = Run();
    EXPECT_EQ(report.details(),
              QStringLiteral("Skin folder: %1\n"
                             "Files judged: 3\n"
                             "Files moved: 1, into %2\n"
                             "Mesh files moved with them: 1\n"
                             "Files left: 2\n"
                             "Not skin descriptions this check reads (animations and other kinds), left: 1\n"
                             "\n"
                             "Moved:\n"
                             "B123FAFit_Dress.cmx: no bitmap begins with \"B123FAFit\"; its mesh "
                             "xskin-B123FAFit_Dress-PELVIS-BODY.skn went with it")
                  .arg(QDir::toNativeSeparators(skins.path()), QDir::toNativeSeparators(program.path())));
}

TEST_F(AssociatedFilesCheck, GeneratedDirectoryLosesExactlyItsOrphans) {
    samples::SkinSetRecipe recipe;
    recipe.count = 300;
    recipe.seed = 5;
    recipe.orphanShare = 0.1;
    recipe.faultyCmxShare = 0.1;
    recipe.notPictureShare = 0.05;
    recipe.animationFiles = 3;
    const samples::SkinSetSummary summary = samples::GenerateSkinDirectory(skins.pathStd(), recipe);
    const auto report = Run();
    EXPECT_EQ(Files(program.path()), test::Sorted(summary.orphanedNames));
    EXPECT_EQ(report.moved.size(), static_cast<qsizetype>(summary.orphanedCmx));
    EXPECT_TRUE(report.trouble.isEmpty());
}

TEST_F(AssociatedFilesCheck, AnotherCopyHoldingTheProgramFolderStopsTheRun) {
    Cmx("B123FAFit_Dress.cmx");
    platform::ProgramLock other(program.path());
    ASSERT_TRUE(other.acquire(0));
    const auto report =
        checks::runDirectoryCheck(checks::associatedFilesCheck(), skins.path(), program.path(), progress, 10);
    EXPECT_EQ(report.outcome, checks::DirectoryReport::Outcome::Busy);
    EXPECT_TRUE(exists(skins.filePath("B123FAFit_Dress.cmx")));
}

// The button, end to end.
class AssociatedFilesButton : public test::AppFixture {
protected:
    void Click() {
        QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdAssocFiles"), Qt::LeftButton);
        ASSERT_TRUE(test::finishRuns());
    }
    void ShowCmx() { QTest::mouseClick(control<QRadioButton>(&skinEdit(), "Option2"), Qt::LeftButton); }
};

TEST_F(AssociatedFilesButton, RefusesTheBitmapList) {
    skins.write("B123FAFit_Dress.cmx", test::validCmx());
    browseSkinEdit();
    Click();
    EXPECT_EQ(messages.messages, QStringList{"You cannot perform this action on a BMP file!"});
    EXPECT_FALSE(exists(program.filePath("Temp.txt")));
    EXPECT_TRUE(exists(skins.filePath("B123FAFit_Dress.cmx")));
}

TEST_F(AssociatedFilesButton, EmptyDirectorySaysSoWithoutTheBarAndLeavesAnEmptyListing) {
    skins.write("B123FAFitlgt.bmp", Picture);
    browseSkinEdit();
    ShowCmx();
    ShowCounter bar(control<QProgressBar>(&skinEdit(), "ProgressBar1"));
    Click();
    EXPECT_EQ(messages.messages, QStringList{"There are no cmx files in this directory!"});
    EXPECT_EQ(bar.shows, 0);
    ASSERT_TRUE(exists(program.filePath("Temp.txt")));
    EXPECT_EQ(readAll(program.filePath("Temp.txt")), QByteArray());
}

TEST_F(AssociatedFilesButton, MovesOrphansAndEndsOnTheCmxList) {
    skins.write("B123FAFit_Dress.cmx", test::validCmx());
    skins.write("xskin-B123FAFit_Dress-PELVIS-BODY.skn", Mesh);
    skins.write("B124FAFit_Other.cmx", test::validCmx());
    skins.write("B124FAFitlgt_Other.bmp", Picture);
    browseSkinEdit();
    ShowCmx();
    ASSERT_TRUE(control<gui::FileList>(&skinEdit(), "File1")->setListIndex(1));
    ShowCounter bar(control<QProgressBar>(&skinEdit(), "ProgressBar1"));
    Click();
    EXPECT_EQ(messages.messages.value(messages.messages.size() - 1), closingMessage);
    EXPECT_TRUE(messages.details.last().contains("\nMoved: 1\n"));
    EXPECT_EQ(bar.shows, 1);
    EXPECT_FALSE(control<QProgressBar>(&skinEdit(), "ProgressBar1")->isVisible());
    EXPECT_EQ(control<QProgressBar>(&skinEdit(), "ProgressBar1")->maximum(), 2 * (19 + 2));
    EXPECT_EQ(control<gui::FileList>(&skinEdit(), "File1")->pattern(), "*.CMX");
    EXPECT_EQ(control<gui::FileList>(&skinEdit(), "File1")->entries(), QStringList{"B124FAFit_Other.cmx"});
    EXPECT_EQ(control<gui::FileList>(&skinEdit(), "File1")->listIndex(), -1);
    EXPECT_EQ(Files(program.path()),
              (QStringList{"B123FAFit_Dress.cmx", "xskin-B123FAFit_Dress-PELVIS-BODY.skn"}));
    EXPECT_TRUE(exists(program.filePath("Temp.txt")));
}

TEST_F(AssociatedFilesButton, FileOpenInTheEditorIsJudgedLikeAnyOther) {
    skins.write("B123FAFit_Dress.cmx", test::validCmx());
    skins.write("B124FAFit_Other.cmx", test::validCmx());
    skins.write("B124FAFitlgt_Other.bmp", Picture);
    browseSkinEdit();
    ShowCmx();
    ASSERT_TRUE(control<gui::FileList>(&skinEdit(), "File1")->setListIndex(0)); // opens it in the editor
    ASSERT_EQ(control<gui::FileList>(&skinEdit(), "File1")->fileName(), "B123FAFit_Dress.cmx");
    Click();
    EXPECT_EQ(messages.messages.last(), closingMessage);
    EXPECT_TRUE(exists(program.filePath("B123FAFit_Dress.cmx")));
    EXPECT_EQ(control<gui::FileList>(&skinEdit(), "File1")->pattern(), "*.CMX");
    EXPECT_EQ(control<gui::FileList>(&skinEdit(), "File1")->entries(), QStringList{"B124FAFit_Other.cmx"});
    EXPECT_EQ(control<gui::FileList>(&skinEdit(), "File1")->listIndex(), -1);
}

TEST_F(AssociatedFilesButton, OpenFileThatKeepsItsBitmapIsDeselectedAll) {
    skins.write("B124FAFit_Other.cmx", test::validCmx());
    skins.write("B124FAFitlgt_Other.bmp", Picture);
    browseSkinEdit();
    ShowCmx();
    ASSERT_TRUE(control<gui::FileList>(&skinEdit(), "File1")->setListIndex(0));
    int clicks = 0;
    QObject::connect(control<gui::FileList>(&skinEdit(), "File1"), &gui::FileList::fileClicked,
                     [&] { ++clicks; });
    Click();
    EXPECT_EQ(control<gui::FileList>(&skinEdit(), "File1")->entries(), QStringList{"B124FAFit_Other.cmx"});
    EXPECT_EQ(control<gui::FileList>(&skinEdit(), "File1")->listIndex(), -1);
    EXPECT_EQ(clicks, 0) << "clearing the selection is no click";
}

// The demo skins through all three buttons, each on a fresh copy, against an independent judge.
class DemoSkins : public test::AppFixture {};

TEST_F(DemoSkins, EveryButtonMovesSomethingAndReportsNoTrouble) {
    samples::WriteDemoSkinDirectory(skins.pathStd());
    browseSkinEdit();
    const auto click = [&](const char* name) {
        QTest::mouseClick(control<QPushButton>(&skinEdit(), name), Qt::LeftButton);
        EXPECT_TRUE(test::finishRuns());
    };
    click("cmdCheckAllBMP");
    QTest::mouseClick(control<QRadioButton>(&skinEdit(), "Option2"), Qt::LeftButton);
    click("cmdCheckAllCMX");
    click("cmdAssocFiles");
    ASSERT_EQ(messages.messages.size(), 3);
    ASSERT_EQ(messages.reports.size(), 3);
    for (const report::RunReport& run : messages.reports) {
        const std::string text = report::toText(run).toStdString();
        EXPECT_GT(run.count(report::RunVerdict::Moved), 0) << text;
        EXPECT_EQ(run.count(report::RunVerdict::NotMoved), 0) << text;
        for (const report::RunRow& row : run.rows) {
            EXPECT_FALSE(row.reason.startsWith("could not be")) << text;
        }
    }
}
