// Previewing and loading a bitmap, picking its CMX file and choosing a category.
#include "BuyableWindowFixture.h"

#include "gui/buyable/BuyableMaker.h"

using vestimo::test::BuyableWindow;

class Previewing : public BuyableWindow {};

TEST_F(Previewing, SelectingABitmapShowsItInTheViewer) {
    const QString path = writeBitmap("B100FAFitlgt_xyz.bmp", Qt::red, 16, 8);
    select("B100FAFitlgt_xyz.bmp");
    ASSERT_TRUE(w.Picture1->hasPicture());
    EXPECT_EQ(w.Picture1->image().size(), QSize(16, 8));
    EXPECT_EQ(w.Picture1->fileBytes(), vestimo::test::readAll(path));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(Previewing, SelectingAnotherBitmapReplacesIt) {
    writeBitmap("a.bmp", Qt::red, 16, 8);
    const QString second = writeBitmap("b.bmp", Qt::blue, 4, 4);
    select("a.bmp");
    select("b.bmp");
    EXPECT_EQ(w.Picture1->image().size(), QSize(4, 4));
    EXPECT_EQ(w.Picture1->fileBytes(), vestimo::test::readAll(second));
    expectState(State::ChoosingBitmap);
}

TEST_F(Previewing, ABitmapThatDoesNotDecodeLeavesTheViewerAsItWasWithoutAMessage) {
    const QString good = writeBitmap("good.bmp");
    skins.write("broken.bmp", "BM not really a bitmap");
    w.File1->refresh();
    select("good.bmp");
    select("broken.bmp");
    EXPECT_EQ(w.Picture1->fileBytes(), vestimo::test::readAll(good));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(Previewing, ASelectionClearedFromCodeDoesNothing) {
    writeBitmap("good.bmp");
    select("good.bmp");
    const QByteArray shown = w.Picture1->fileBytes();
    ASSERT_TRUE(w.File1->setListIndex(-1));
    EXPECT_EQ(w.Picture1->fileBytes(), shown);
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(Previewing, AnyOtherPatternIsCalledABug) {
    skins.write("notes.txt", "hello");
    w.File1->setPattern("*.TXT");
    select("notes.txt");
    EXPECT_EQ(
        messages.messages,
        QStringList{"You are trying to open a file that isn't a bitmap image! You should never see this "
                    "message though, and if you do it's a bug..."});
    EXPECT_FALSE(w.Picture1->hasPicture());
    expectNames("BMPFileName", "SKNFileName", "CMXFileName");
}

TEST_F(Previewing, ThePatternIsComparedCaseSensitively) {
    writeBitmap("good.bmp");
    w.File1->setPattern("*.bmp");
    select("good.bmp");
    EXPECT_EQ(messages.messages.size(), 1);
    EXPECT_FALSE(w.Picture1->hasPicture());
}

class LoadingABitmap : public BuyableWindow {};

TEST_F(LoadingABitmap, WithoutASelectionAnswersPleaseSelectAFileFirst) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    w.cmdLoadFile->click();
    EXPECT_EQ(messages.messages, QStringList{"Please select a file first!"});
}

TEST_F(LoadingABitmap, PutsTheSelectedNameInTheBitmapBox) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    expectNames("B100FAFitlgt_xyz.bmp", "SKNFileName", "CMXFileName");
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(LoadingABitmap, RefusesABitmapThatTheViewerCannotShow) {
    // Otherwise the export would write the picture shown before under the new name.
    writeBitmap("good.bmp");
    skins.write("broken.bmp", "BM not really a bitmap");
    w.File1->refresh();
    select("good.bmp");
    select("broken.bmp");
    w.cmdLoadFile->click();
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].startsWith("broken.bmp cannot be shown ("));
    expectState(State::ChoosingBitmap);
    expectNames("BMPFileName", "SKNFileName", "CMXFileName");
}

class LoadingTheCmxFile : public BuyableWindow {};

TEST_F(LoadingTheCmxFile, WithAnEmptyBitmapNameAnswersPleaseSelectAFileFirst) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    writeCmx("B100FAFit_xyz.cmx");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    w.Text1->setText("");
    w.cmdLoadCMX->click();
    EXPECT_EQ(messages.messages, QStringList{"Please select a file first!"});
    expectState(State::BitmapLoaded);
}

TEST_F(LoadingTheCmxFile, ListsTheCmxFilesOfTheBitmapsDirectory) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    writeCmx("B100FAFit_xyz.cmx");
    writeCmx("B200MAFit_abc.CMX");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    w.cmdLoadCMX->click();
    EXPECT_EQ(w.File1->entries(), (QStringList{"B100FAFit_xyz.cmx", "B200MAFit_abc.CMX"}));
}

TEST_F(LoadingTheCmxFile, PressedAgainRereadsTheList) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    skins.write("B100FAFit_new.cmx", vestimo::test::validCmx("B100FAFit_new"));
    w.cmdLoadCMX->click();
    EXPECT_TRUE(w.File1->entries().contains("B100FAFit_new.cmx"));
    EXPECT_TRUE(w.File1->isEnabled());
}

class PickingTheCmxFile : public BuyableWindow {};

TEST_F(PickingTheCmxFile, NamesTheMeshAndPutsFInBothNames) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    expectNames("F100FAFitlgt_xyz.bmp", "xskin-B100FAFit_xyz-PELVIS-BODY", "F100FAFit_xyz");
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(PickingTheCmxFile, CutsAnUpperCaseExtensionTheSameWay) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFIT_XYZ.CMX");
    expectNames("F100FAFitlgt_xyz.bmp", "xskin-B100FAFIT_XYZ-PELVIS-BODY", "F100FAFIT_XYZ");
}

TEST_F(PickingTheCmxFile, ReplacesAMultiByteFirstCharacterWhole) {
    readyToExport("\u00C4100FAFitlgt_xyz.bmp", "\u00C4100FAFit_xyz.cmx");
    expectNames("F100FAFitlgt_xyz.bmp", "xskin-\u00C4100FAFit_xyz-PELVIS-BODY", "F100FAFit_xyz");
}

TEST_F(PickingTheCmxFile, ASecondPickRecomputesTheNamesAndPutsFBack) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    writeCmx("B401MAFit_abc.cmx");
    w.Option3->click();
    pickCmx("B401MAFit_abc.cmx");
    expectNames("F100FAFitlgt_xyz.bmp", "xskin-B401MAFit_abc-PELVIS-BODY", "F401MAFit_abc");
    EXPECT_TRUE(w.Option3->isChecked());
}

TEST_F(PickingTheCmxFile, RefusesAFileWithNothingBeforeItsExtension) {
    // The file list never shows such a name here (it is a hidden file), so it is handed in directly.
    writeBitmap("B100FAFitlgt_xyz.bmp");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    w.cmdLoadCMX->click();
    vestimo::buyable::pickCmxFile(w, w.services(), ".cmx");
    EXPECT_EQ(messages.messages,
              QStringList{"The CMX file .cmx has no name before its extension, so no buyable "
                          "skin can be named after it. Please pick another CMX file."});
    expectState(State::ChoosingCmx);
    expectNames("B100FAFitlgt_xyz.bmp", "SKNFileName", "CMXFileName");
}

class ChoosingACategory : public BuyableWindow {};

TEST_F(ChoosingACategory, SwimwearPutsSInBothNamesAndLeavesTheMesh) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    w.Option3->click();
    expectNames("S100FAFitlgt_xyz.bmp", "xskin-B100FAFit_xyz-PELVIS-BODY", "S100FAFit_xyz");
}

TEST_F(ChoosingACategory, EachButtonWritesItsOwnLetter) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    const std::pair<QRadioButton*, QString> letters[] = {
        {w.Option3, "S"}, {w.Option4, "L"}, {w.Option5, "W"}, {w.Option6, "H"}, {w.Option2, "F"}};
    for (const auto& [button, letter] : letters) {
        button->click();
        expectNames(letter + "100FAFitlgt_xyz.bmp", "xskin-B100FAFit_xyz-PELVIS-BODY",
                    letter + "100FAFit_xyz");
    }
    EXPECT_TRUE(messages.messages.isEmpty());
}
