#include "support/AppFixture.h"

#include "core/checks/DirectoryCheck.h"
#include "gui/checks/FileOperations.h"

#include <QDir>
#include <QStandardPaths>

using namespace vestimo;

class MovingFiles : public test::AppFixture {
protected:
    void SetUp() override {
        skins.write("a.bmp", "bitmap a");
        skins.write("b.cmx", "cmx b");
        browseSkinEdit();
    }
    gui::FileList& files() { return *skinEditNamed().File1; }
    void select(const QString& name) {
        ASSERT_TRUE(files().setListIndex(static_cast<int>(files().entries().indexOf(name))));
    }
};

TEST_F(MovingFiles, BothCommandsWantASelectionFirstWhateverTheFilter) {
    for (QPushButton* button : {skinEditNamed().cmdMoveFile, skinEditNamed().cmdDeleteBMP}) {
        messages.clear();
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(messages.messages, QStringList({"Please select a file first!"}));
        files().setPattern("*.CMX");
        messages.clear();
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(messages.messages, QStringList({"Please select a file first!"}));
        files().setPattern("*.BMP");
    }
}

TEST_F(MovingFiles, BothCommandsRefuseTheCmxList) {
    files().setPattern("*.CMX");
    const QSignalBlocker quiet(&files()); // select without opening the file in the editor
    files().setListIndex(0);
    for (QPushButton* button : {skinEditNamed().cmdMoveFile, skinEditNamed().cmdDeleteBMP}) {
        messages.clear();
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(messages.messages, QStringList({"You cannot perform this action on a CMX file!"}));
    }
    EXPECT_TRUE(test::exists(skins.filePath("b.cmx")));
}

TEST_F(MovingFiles, MoveThisFilePutsItInTheProgramFolderUnderItsName) {
    select("a.bmp");
    messages.clear();
    QTest::mouseClick(skinEditNamed().cmdMoveFile, Qt::LeftButton);
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join('|').toStdString();
    EXPECT_FALSE(test::exists(skins.filePath("a.bmp")));
    EXPECT_EQ(test::readAll(program.filePath("a.bmp")), "bitmap a");
    EXPECT_FALSE(files().entries().contains("a.bmp"));
    EXPECT_EQ(files().listIndex(), -1);
}

TEST_F(MovingFiles, AMoveNeverReplacesAFileAlreadyInTheProgramFolder) {
    program.write("a.bmp", "older");
    select("a.bmp");
    messages.clear();
    QTest::mouseClick(skinEditNamed().cmdMoveFile, Qt::LeftButton);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].startsWith("Could not move a.bmp: a file of that name is already in"))
        << messages.messages[0].toStdString();
    EXPECT_EQ(test::readAll(skins.filePath("a.bmp")), "bitmap a");
    EXPECT_EQ(test::readAll(program.filePath("a.bmp")), "older");
    EXPECT_TRUE(files().entries().contains("a.bmp"));
}

TEST_F(MovingFiles, AMoveOfAFileThatVanishedSaysSo) {
    select("a.bmp");
    QFile::remove(skins.filePath("a.bmp"));
    messages.clear();
    QTest::mouseClick(skinEditNamed().cmdMoveFile, Qt::LeftButton);
    EXPECT_EQ(messages.messages, QStringList({"Could not move a.bmp: it is no longer there"}));
    EXPECT_TRUE(files().entries().isEmpty());
}

TEST_F(MovingFiles, TheProgramFolderCannotBeItsOwnSkinDirectory) {
    program.write("c.bmp", "c");
    const platform::FileResult moved =
        checks::moveToProgramDirectory(program.path(), program.path(), "c.bmp");
    EXPECT_FALSE(moved.ok);
    EXPECT_EQ(moved.error.reason, "the skin directory is the program's own folder");
    EXPECT_TRUE(test::exists(program.filePath("c.bmp")));
}

// Trash tests use a trash of their own: the real one is never touched.
class Recycling : public MovingFiles {
protected:
    void SetUp() override {
        MovingFiles::SetUp();
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }
    QString trashed(const QString& name) { return dataHome.filePath("Trash/files/" + name); }
    test::TempDir dataHome;
};

TEST_F(Recycling, DeleteAsksFirstAndSendsTheBitmapToTheTrash) {
    select("a.bmp");
    messages.clear();
    messages.answers = {true};
    QTest::mouseClick(skinEditNamed().cmdDeleteBMP, Qt::LeftButton);
    ASSERT_EQ(messages.questions.size(), 1);
    EXPECT_TRUE(messages.questions[0].contains(QDir::toNativeSeparators(skins.filePath("a.bmp"))));
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_FALSE(test::exists(skins.filePath("a.bmp")));
    EXPECT_EQ(test::readAll(trashed("a.bmp")), "bitmap a");
    EXPECT_FALSE(files().entries().contains("a.bmp"));
}

TEST_F(Recycling, DecliningKeepsTheFileWithoutAnotherWord) {
    select("a.bmp");
    messages.clear();
    messages.answers = {false};
    QTest::mouseClick(skinEditNamed().cmdDeleteBMP, Qt::LeftButton);
    EXPECT_EQ(messages.questions.size(), 1);
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_TRUE(test::exists(skins.filePath("a.bmp")));
    EXPECT_EQ(files().fileName(), "a.bmp");
}

TEST_F(Recycling, AFileThatCannotBeTrashedIsKeptAndTheUserTold) {
    messages.answers = {true};
    gui::recycle(messages, skins.filePath("missing.bmp"));
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].startsWith("Could not send"));
}
