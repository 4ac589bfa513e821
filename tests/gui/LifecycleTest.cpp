#include "support/AppFixture.h"
#include "support/FinishRuns.h"

#include "gui/browser/DirList.h"
#include "gui/browser/FileList.h"
#include "gui/buyable/BuyableMakerWindow.h"
#include "gui/skinedit/SkinEditWindow.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace vestimo;

class Lifecycle : public test::AppFixture {
protected:
    // How many controls of `window` carry `name`: one, unless the window was built twice.
    static qsizetype countNamed(QWidget& window, const char* name) {
        return window.findChildren<QWidget*>(QString::fromLatin1(name)).size();
    }

    void listWithTheAssociatedFilesCheck() {
        browseSkinEdit();
        QTest::mouseClick(skinEditNamed().Option2, Qt::LeftButton);
        QTest::mouseClick(skinEditNamed().cmdAssocFiles, Qt::LeftButton);
        ASSERT_TRUE(test::finishRuns());
        messages.clear();
    }
};

TEST_F(Lifecycle, StartsWithOnlyTheSkinEditingWindow) {
    EXPECT_TRUE(skinEdit().isVisible());
    EXPECT_EQ(app->buyable(), nullptr);
    // Made once: every control is there once.
    for (const char* name : {"File1", "Dir1", "Drive1", "Option1", "Text1", "cmdClose"}) {
        EXPECT_EQ(countNamed(skinEdit(), name), 1) << name;
    }
}

TEST_F(Lifecycle, SwitchingCreatesTheBuyableWindowOnceAndKeepsEachWindowsState) {
    browseSkinEdit();
    QTest::mouseClick(skinEditNamed().Option2, Qt::LeftButton);
    ASSERT_EQ(skinEditNamed().File1->pattern(), "*.CMX");

    QTest::mouseClick(skinEditNamed().cmdSwitch, Qt::LeftButton);
    ASSERT_NE(app->buyable(), nullptr);
    gui::BuyableMakerWindow& b = *app->buyable();
    EXPECT_TRUE(b.isVisible());
    EXPECT_FALSE(skinEdit().isVisible());
    EXPECT_TRUE(control<gui::DirList>(&b, "Dir1")->setPath(program.path()));

    QTest::mouseClick(control<QPushButton>(&b, "cmdSwitch"), Qt::LeftButton);
    EXPECT_FALSE(b.isVisible());
    EXPECT_TRUE(skinEdit().isVisible());
    EXPECT_TRUE(skinEditNamed().Option2->isChecked());
    EXPECT_EQ(skinEditNamed().File1->pattern(), "*.CMX");
    EXPECT_EQ(skinEditNamed().Dir1->path(), QDir::cleanPath(skins.path()));

    QTest::mouseClick(skinEditNamed().cmdSwitch, Qt::LeftButton);
    EXPECT_EQ(app->buyable(), &b);
    EXPECT_EQ(control<gui::DirList>(&b, "Dir1")->path(), QDir::cleanPath(program.path()));
}

TEST_F(Lifecycle, ClosingEitherWindowRunsCloseThisProgram) {
    // The window itself never closes on its own: "Close This Program" hides both and ends.
    EXPECT_FALSE(skinEdit().close());
    EXPECT_FALSE(skinEdit().isVisible());
    EXPECT_EQ(quits, 1);
    app->start();
    gui::BuyableMakerWindow& b = buyable();
    EXPECT_FALSE(b.close());
    EXPECT_FALSE(b.isVisible());
    EXPECT_FALSE(skinEdit().isVisible());
    EXPECT_EQ(quits, 2);
}

TEST_F(Lifecycle, CloseDeletesOnlyTheScratchFileNamedExactlyTempTxt) {
    // The associated-files check leaves its listing behind for the close to take.
    skins.write("B001FAFit_x.cmx", "");
    skins.write("B001FAFitlgt_x.bmp", "");
    listWithTheAssociatedFilesCheck();
    ASSERT_EQ(test::readAll(program.filePath("Temp.txt")), "B001FAFit_x.cmx\r\n");
    QTest::mouseClick(skinEditNamed().cmdClose, Qt::LeftButton);
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(test::exists(program.filePath("Temp.txt")));
}

TEST_F(Lifecycle, CloseKeepsATempTxtThisCopyDidNotWrite) {
    program.write("Temp.txt", "the player's own notes");
    QTest::mouseClick(skinEditNamed().cmdClose, Qt::LeftButton);
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(test::readAll(program.filePath("Temp.txt")), "the player's own notes");
}

TEST_F(Lifecycle, CloseKeepsAListingChangedSinceThisCopyWroteIt) {
    skins.write("B001FAFit_x.cmx", "");
    skins.write("B001FAFitlgt_x.bmp", "");
    for (const QByteArray& changed :
         {QByteArray("B001FAFit_y.cmx\r\n"), QByteArray("B001FAFit_x.cmx\r\nmore\r\n")}) {
        listWithTheAssociatedFilesCheck();
        QFile file(program.filePath("Temp.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(changed), changed.size());
        file.close();
        QTest::mouseClick(skinEditNamed().cmdClose, Qt::LeftButton);
        EXPECT_EQ(test::readAll(program.filePath("Temp.txt")), changed);
    }
    // One put in its place is not this copy's either.
    listWithTheAssociatedFilesCheck();
    ASSERT_TRUE(QFile::remove(program.filePath("Temp.txt")));
    program.write("Temp.txt", "B001FAFit_x.cmx\r\n");
    QTest::mouseClick(skinEditNamed().cmdClose, Qt::LeftButton);
    EXPECT_TRUE(test::exists(program.filePath("Temp.txt")));
}

TEST_F(Lifecycle, CloseLeavesOtherFilesAndFoldersOfSimilarNames) {
    program.write("temp.txt", "keep");
    QTest::mouseClick(control<QPushButton>(&buyable(), "cmdClose"), Qt::LeftButton);
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(test::exists(program.filePath("temp.txt")));
}

TEST_F(Lifecycle, CloseLeavesAFolderNamedTempTxt) {
    program.mkdir("Temp.txt");
    QTest::mouseClick(skinEditNamed().cmdClose, Qt::LeftButton);
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(QFileInfo(program.filePath("Temp.txt")).isDir());
    EXPECT_TRUE(messages.messages.isEmpty());
}
