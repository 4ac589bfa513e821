#include "support/AppFixture.h"

#include "gui/browser/DirList.h"
#include "gui/browser/DriveList.h"
#include "gui/browser/FileList.h"
#include "gui/buyable/BuyableMakerWindow.h"
#include "gui/skinedit/SkinEditWindow.h"

#include <QFile>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

using namespace vestimo;

namespace {

const QString NotInstalled =
    "You have not installed the game in the default directory. You will have to manually "
    "open it using the drive and directory boxes here.";

} // namespace

// The program on a fake Wine prefix: drive C with or without the game, drive D with no medium.
class Browsing : public test::AppFixture {
protected:
    void startWithPrefix(bool withGame, bool withDriveC = true) {
        prefix.mkdir("drive_c/users");
        prefix.mkdir("dosdevices");
        if (withDriveC) {
            QFile::link("../drive_c", prefix.filePath("dosdevices/c:"));
        }
        QFile::link("../drive_d", prefix.filePath("dosdevices/d:"));
        if (withGame) {
            game = prefix.mkdir("drive_c/Program Files/Maxis/The Sims");
        }
        qputenv("WINEPREFIX", prefix.path().toUtf8());
        app = std::make_unique<gui::Application>(messages, program.path(), [this] { ++quits; });
        app->start();
        qunsetenv("WINEPREFIX");
        browseSkinEdit();
    }

    test::TempDir prefix;
    QString game;
};

TEST_F(Browsing, ChoosingADriveMovesTheDirectoryAndFileListsEachOnce) {
    startWithPrefix(true);
    test::SkinEditByName w = skinEditNamed();
    QSignalSpy drive(w.Drive1, &gui::DriveList::driveChanged);
    QSignalSpy dir(w.Dir1, &gui::DirList::pathChanged);
    QSignalSpy files(w.File1, &gui::FileList::pathChanged);
    ASSERT_TRUE(w.Drive1->setProperty("drive", "c:"));
    EXPECT_EQ(w.Drive1->drive(), "C:");
    EXPECT_EQ(drive.count(), 1);
    EXPECT_EQ(dir.count(), 1);
    EXPECT_EQ(files.count(), 1);
    EXPECT_EQ(w.Dir1->path(), QDir::cleanPath(prefix.filePath("drive_c")));
    EXPECT_EQ(w.File1->path(), w.Dir1->path());
    // Choosing the same drive again changes nothing.
    w.Drive1->setDrive("C:");
    EXPECT_EQ(drive.count(), 1);
    EXPECT_EQ(dir.count(), 1);
}

TEST_F(Browsing, EachDriveRemembersItsFolder) {
    startWithPrefix(true);
    test::SkinEditByName w = skinEditNamed();
    w.Drive1->setDrive("C:");
    ASSERT_TRUE(w.Dir1->setPath(prefix.filePath("drive_c/users")));
    w.Drive1->setDrive("Z:") || w.Drive1->setDrive("/");
    w.Drive1->setDrive("C:");
    EXPECT_EQ(w.Dir1->path(), QDir::cleanPath(prefix.filePath("drive_c/users")));
}

TEST_F(Browsing, ADriveThatCannotBeReadSaysSoOnceAndKeepsTheFolder) {
    startWithPrefix(true);
    test::SkinEditByName w = skinEditNamed();
    skins.write("skin.bmp", "x");
    w.File1->refresh();
    ASSERT_TRUE(w.Drive1->setDrive("D:"));
    EXPECT_EQ(messages.messages, QStringList({"This drive is not available!"}));
    EXPECT_EQ(w.Drive1->drive(), "D:");
    EXPECT_EQ(w.Dir1->path(), QDir::cleanPath(skins.path()));
    EXPECT_EQ(w.File1->entries(), QStringList({"skin.bmp"}));
}

TEST_F(Browsing, DefaultButtonGoesToTheGameFolderOnDriveC) {
    startWithPrefix(true);
    test::SkinEditByName w = skinEditNamed();
    QTest::mouseClick(w.Option2, Qt::LeftButton);
    QTest::mouseClick(w.cmdDefault, Qt::LeftButton);
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join('|').toStdString();
    EXPECT_EQ(w.Drive1->drive(), "C:");
    EXPECT_EQ(w.Dir1->path(), QDir::cleanPath(game));
    EXPECT_EQ(w.File1->path(), QDir::cleanPath(game));
    EXPECT_EQ(w.File1->pattern(), "*.CMX");
}

TEST_F(Browsing, DefaultButtonMovesDisabledListsAndLeavesThemDisabled) {
    startWithPrefix(true);
    test::SkinEditByName w = skinEditNamed();
    for (QWidget* list :
         {static_cast<QWidget*>(w.Drive1), static_cast<QWidget*>(w.Dir1), static_cast<QWidget*>(w.File1)}) {
        list->setEnabled(false);
    }
    QTest::mouseClick(w.cmdDefault, Qt::LeftButton);
    EXPECT_EQ(w.Dir1->path(), QDir::cleanPath(game));
    EXPECT_FALSE(w.File1->isEnabled());
    EXPECT_FALSE(w.Dir1->isEnabled());
}

TEST_F(Browsing, DefaultButtonWithoutTheGameExplainsAndStaysOnDriveC) {
    startWithPrefix(false);
    QTest::mouseClick(skinEditNamed().cmdDefault, Qt::LeftButton);
    EXPECT_EQ(messages.messages, QStringList({NotInstalled}));
    EXPECT_EQ(skinEditNamed().Drive1->drive(), "C:");
    EXPECT_EQ(skinEditNamed().Dir1->path(), QDir::cleanPath(prefix.filePath("drive_c")));
}

TEST_F(Browsing, DefaultButtonWithoutDriveCOnlyExplains) {
    startWithPrefix(false, false);
    const QString before = control<gui::DirList>(&skinEdit(), "Dir1")->path();
    QTest::mouseClick(control<QPushButton>(&buyable(), "cmdDefault"), Qt::LeftButton);
    EXPECT_EQ(messages.messages, QStringList({NotInstalled}));
    EXPECT_EQ(skinEditNamed().Dir1->path(), before);
}

class FileListing : public test::AppFixture {};

TEST_F(FileListing, PatternsMatchWithoutRegardToCase) {
    skins.write("SKIN.bmp", "x");
    skins.write("skin.cmx", "x");
    browseSkinEdit();
    gui::FileList* files = skinEditNamed().File1;
    EXPECT_EQ(files->property("entries").toStringList(), QStringList({"SKIN.bmp"}));
    QTest::mouseClick(skinEditNamed().Option2, Qt::LeftButton);
    EXPECT_EQ(files->property("entries").toStringList(), QStringList({"skin.cmx"}));
    EXPECT_EQ(files->property("listCount").toInt(), 1);
}

TEST_F(FileListing, ANewPatternOrPathClearsTheSelection) {
    skins.write("a.bmp", "x");
    skins.write("a.cmx", "x");
    skins.write("sub/b.bmp", "x");
    browseSkinEdit();
    gui::FileList* files = skinEditNamed().File1;
    ASSERT_TRUE(files->setListIndex(0));
    EXPECT_EQ(files->property("fileName").toString(), "a.bmp");
    files->setPattern("*.CMX");
    EXPECT_EQ(files->listIndex(), -1);
    EXPECT_EQ(files->fileName(), "");
    files->setListIndex(0);
    browseSkinEdit(skins.filePath("sub"));
    EXPECT_EQ(files->listIndex(), -1);
}

TEST_F(FileListing, SettingTheIndexRaisesTheClickOnlyOnAChange) {
    skins.write("a.bmp", "x");
    skins.write("b.bmp", "x");
    browseSkinEdit();
    gui::FileList* files = skinEditNamed().File1;
    QSignalSpy clicks(files, &gui::FileList::fileClicked);
    files->setProperty("listIndex", 1);
    files->setProperty("listIndex", 1);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(files->setListIndex(2));
    EXPECT_EQ(files->listIndex(), 1);
}

TEST_F(FileListing, AFolderThatDoesNotExistIsRefused) {
    browseSkinEdit();
    EXPECT_FALSE(skinEditNamed().Dir1->setPath(skins.filePath("missing")));
    EXPECT_EQ(skinEditNamed().Dir1->path(), QDir::cleanPath(skins.path()));
}

TEST_F(FileListing, TheTwoWindowsBrowseIndependently) {
    browseSkinEdit();
    browseBuyable(program.path());
    EXPECT_EQ(control<gui::DirList>(&skinEdit(), "Dir1")->path(), QDir::cleanPath(skins.path()));
    EXPECT_EQ(control<gui::DirList>(&buyable(), "Dir1")->path(), QDir::cleanPath(program.path()));
}

TEST_F(FileListing, RereadingWithThePatternInForceClearsTheSelectionWithoutAClick) {
    skins.write("a.cmx", "x");
    browseSkinEdit();
    gui::FileList* files = skinEditNamed().File1;
    {
        const QSignalBlocker quiet(files);
        files->setPattern("*.CMX");
        files->setListIndex(0);
    }
    skins.write("b.cmx", "x");
    QSignalSpy clicks(files, &gui::FileList::fileClicked);
    files->rereadWith("*.CMX");
    EXPECT_EQ(files->listIndex(), -1);
    EXPECT_EQ(files->entries(), QStringList({"a.cmx", "b.cmx"}));
    EXPECT_EQ(clicks.count(), 0);
}
