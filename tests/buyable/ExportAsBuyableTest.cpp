// "Export As Buyable" from the window: the two files it writes and the window it leaves.
#include "BuyableWindowFixture.h"

#include "core/cmx/CheckCmxFile.h"

#include <QDir>

#include <algorithm>

using vestimo::test::BuyableWindow;
using vestimo::test::exists;
using vestimo::test::readAll;

class ExportingAsBuyable : public BuyableWindow {
protected:
    QStringList filesInSkinDirectory() const {
        QStringList names = QDir(skins.path()).entryList(QDir::Files | QDir::Hidden);
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(ExportingAsBuyable, WritesTheCmxFileAndAnExactCopyOfTheBitmapUnderTheBuyableNames) {
    const QString source = writeBitmap("B100FAFitlgt_xyz.bmp", Qt::magenta, 32, 16);
    writeCmx("B100FAFit_xyz.cmx");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    pickCmx("B100FAFit_xyz.cmx");
    click("cmdExport");

    EXPECT_EQ(messages.messages, QStringList{"Successfully Exported!"});
    EXPECT_EQ(readAll(skins.filePath("F9QBFAFit_xyz.CMX")),
              QByteArray("// Character File. Copyright 1997, Maxis Inc.\r\n"
                         "Version 300\r\n"
                         "0\r\n"
                         "1\r\n"
                         "F9QBFAFit_xyz\r\n"
                         "0\r\n"
                         "0\r\n"
                         "1\r\n"
                         "PELVIS\r\n"
                         "xskin-B100FAFit_xyz-PELVIS-BODY\r\n"
                         "0\r\n"
                         "0\r\n"
                         "0\r\n"));
    EXPECT_EQ(readAll(skins.filePath("F9QBFAFitlgt_xyz.bmp")), readAll(source));
    // The source skin is neither renamed nor removed, and no mesh file is written.
    EXPECT_EQ(filesInSkinDirectory(), (QStringList{"B100FAFit_xyz.cmx", "B100FAFitlgt_xyz.bmp",
                                                   "F9QBFAFit_xyz.CMX", "F9QBFAFitlgt_xyz.bmp"}));
}

TEST_F(ExportingAsBuyable, LeavesTheWindowChoosingABitmapWithTheNewBitmapListed) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    ASSERT_TRUE(viewer()->hasPicture());
    click("cmdExport");
    expectState(Step::Browsing);
    expectNames("", "", "");
    EXPECT_EQ(files()->entries(), (QStringList{"B100FAFitlgt_xyz.bmp", "F9QBFAFitlgt_xyz.bmp"}));
    EXPECT_EQ(files()->listIndex(), -1);
    // Nothing is selected, so nothing is shown.
    EXPECT_FALSE(viewer()->hasPicture());
}

TEST_F(ExportingAsBuyable, WithoutACategoryExportsAsFormal) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    click("cmdExport");
    EXPECT_TRUE(exists(skins.filePath("F9QBFAFit_xyz.CMX")));
    EXPECT_TRUE(exists(skins.filePath("F9QBFAFitlgt_xyz.bmp")));
}

TEST_F(ExportingAsBuyable, LetsTheCategoryPickTheRow) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    option("Option3")->click();
    click("cmdExport");
    EXPECT_TRUE(exists(skins.filePath("S9QBFAFit_xyz.CMX")));
    EXPECT_TRUE(exists(skins.filePath("S9QBFAFitlgt_xyz.bmp")));
}

TEST_F(ExportingAsBuyable, GivesSleepwear401TheSameCodeInBothNames) {
    readyToExport("B401MAPjs_abc.bmp", "B401MAPjs_abc.cmx");
    option("Option4")->click();
    click("cmdExport");
    EXPECT_EQ(messages.messages, QStringList{"Successfully Exported!"});
    EXPECT_TRUE(exists(skins.filePath("L8QBMAPjs_abc.CMX")));
    EXPECT_TRUE(exists(skins.filePath("L8QBMAPjs_abc.bmp")));
    EXPECT_TRUE(readAll(skins.filePath("L8QBMAPjs_abc.CMX")).contains("\r\nL8QBMAPjs_abc\r\n"));
}

TEST_F(ExportingAsBuyable, UsesTheCodesPastTheTenthOfACategory) {
    readyToExport("B562FAGown_q.bmp", "B562FAGown_q.cmx");
    option("Option6")->click();
    click("cmdExport");
    EXPECT_TRUE(exists(skins.filePath("H09BFAGown_q.CMX")));
    EXPECT_TRUE(exists(skins.filePath("H09BFAGown_q.bmp")));
}

TEST_F(ExportingAsBuyable, ExportsACodeOutsideTheTableUnderItsOwnNumber) {
    readyToExport("B123FAFitlgt_xyz.bmp", "B123FAFit_xyz.cmx");
    click("cmdExport");
    EXPECT_EQ(messages.messages, QStringList{"Successfully Exported!"});
    EXPECT_TRUE(exists(skins.filePath("F123FAFit_xyz.CMX")));
    EXPECT_TRUE(exists(skins.filePath("F123FAFitlgt_xyz.bmp")));
    EXPECT_TRUE(readAll(skins.filePath("F123FAFit_xyz.CMX")).contains("\r\nF123FAFit_xyz\r\n"));
}

TEST_F(ExportingAsBuyable, ConvertsTheCmxNamesOwnCodeByTheBitmapsRow) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B777FAFit_xyz.cmx");
    click("cmdExport");
    EXPECT_TRUE(exists(skins.filePath("F9QBFAFit_xyz.CMX")));
    EXPECT_TRUE(
        readAll(skins.filePath("F9QBFAFit_xyz.CMX")).contains("\r\nxskin-B777FAFit_xyz-PELVIS-BODY\r\n"));
}

TEST_F(ExportingAsBuyable, WritesACmxFileThatPassesTheCmxCheck) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    click("cmdExport");
    EXPECT_EQ(vestimo::cmx::checkCmxFile(true, vestimo::FileFilter::CmxFiles, skins.path(),
                                         "F9QBFAFit_xyz.CMX", "F9QBFAFit_xyz.CMX"),
              "No Errors Found.");
}

TEST_F(ExportingAsBuyable, WritesACmxFileThatTheSkinEditingWindowFindsWithoutErrors) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    click("cmdExport");
    QTest::mouseClick(button("cmdSwitch"), Qt::LeftButton);
    const vestimo::test::SkinEditByName edit = skinEditNamed();
    browseSkinEdit();
    QTest::mouseClick(edit.Option2, Qt::LeftButton);
    const auto index = static_cast<int>(edit.File1->entries().indexOf("F9QBFAFit_xyz.CMX"));
    ASSERT_GE(index, 0);
    ASSERT_TRUE(edit.File1->setListIndex(index)); // opens it in the editor, which names the class
    messages.clear();
    QTest::mouseClick(edit.cmdCMXError, Qt::LeftButton);
    EXPECT_EQ(messages.messages, QStringList{"No Errors Found."});
}

TEST_F(ExportingAsBuyable, CanExportTheNextSkinStraightAway) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    click("cmdExport");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    pickCmx("B100FAFit_xyz.cmx");
    option("Option5")->click();
    click("cmdExport");
    EXPECT_EQ(messages.messages, (QStringList{"Successfully Exported!", "Successfully Exported!"}));
    EXPECT_TRUE(exists(skins.filePath("W9QBFAFit_xyz.CMX")));
    EXPECT_TRUE(exists(skins.filePath("W9QBFAFitlgt_xyz.bmp")));
}

class ExportPreconditions : public BuyableWindow {};

TEST_F(ExportPreconditions, ADisabledExportButtonAsksForACmxFile) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    // A disabled button cannot be clicked; its command is still reachable by name.
    ASSERT_TRUE(QMetaObject::invokeMethod(&w, "onExportClicked"));
    EXPECT_EQ(messages.messages, QStringList{"You must load a cmx file before you can export the skin!"});
    expectState(Step::BitmapLoaded);
    expectNames("B100FAFitlgt_xyz.bmp", "SKNFileName", "CMXFileName");
}
