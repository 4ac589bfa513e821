// Previewing and loading a bitmap, picking its CMX file and choosing a category.
#include "BuyableWindowFixture.h"

#include "core/textures/SkinTextureRules.h"

using vestimo::test::BuyableWindow;

class Previewing : public BuyableWindow {
protected:
    // The viewer reports its picture's size as the texture checks measure it.
    void expectViewerSize(int width, int height) {
        EXPECT_EQ(viewer()->widthHiMetric(), vestimo::textures::hiMetricFromPixels(width));
        EXPECT_EQ(viewer()->heightHiMetric(), vestimo::textures::hiMetricFromPixels(height));
    }
};

TEST_F(Previewing, SelectingABitmapShowsItInTheViewer) {
    const QString path = writeBitmap("B100FAFitlgt_xyz.bmp", Qt::red, 16, 8);
    select("B100FAFitlgt_xyz.bmp");
    ASSERT_FALSE(viewer()->fileBytes().isEmpty());
    expectViewerSize(16, 8);
    EXPECT_EQ(viewer()->fileBytes(), vestimo::test::readAll(path));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(Previewing, SelectingAnotherBitmapReplacesIt) {
    writeBitmap("a.bmp", Qt::red, 16, 8);
    const QString second = writeBitmap("b.bmp", Qt::blue, 4, 4);
    select("a.bmp");
    select("b.bmp");
    expectViewerSize(4, 4);
    EXPECT_EQ(viewer()->fileBytes(), vestimo::test::readAll(second));
    expectState(Step::Browsing);
}

TEST_F(Previewing, ABitmapThatDoesNotDecodeLeavesTheViewerAsItWasWithoutAMessage) {
    const QString good = writeBitmap("good.bmp");
    skins.write("broken.bmp", "BM not really a bitmap");
    files()->refresh();
    select("good.bmp");
    select("broken.bmp");
    EXPECT_EQ(viewer()->fileBytes(), vestimo::test::readAll(good));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(Previewing, ASelectionClearedFromCodeDoesNothing) {
    writeBitmap("good.bmp");
    select("good.bmp");
    const QByteArray shown = viewer()->fileBytes();
    ASSERT_TRUE(files()->setListIndex(-1));
    EXPECT_EQ(viewer()->fileBytes(), shown);
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(Previewing, AnyOtherPatternIsCalledABug) {
    skins.write("notes.txt", "hello");
    files()->setPattern("*.TXT");
    select("notes.txt");
    EXPECT_EQ(
        messages.messages,
        QStringList{"You are trying to open a file that isn't a bitmap image! You should never see this "
                    "message though, and if you do it's a bug..."});
    EXPECT_TRUE(viewer()->fileBytes().isEmpty());
    expectNames("BMPFileName", "SKNFileName", "CMXFileName");
}

TEST_F(Previewing, ThePatternIsComparedCaseSensitively) {
    writeBitmap("good.bmp");
    files()->setPattern("*.bmp");
    select("good.bmp");
    EXPECT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(viewer()->fileBytes().isEmpty());
}

class LoadingABitmap : public BuyableWindow {};

TEST_F(LoadingABitmap, WithoutASelectionAnswersPleaseSelectAFileFirst) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    click("cmdLoadFile");
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
    files()->refresh();
    select("good.bmp");
    select("broken.bmp");
    click("cmdLoadFile");
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].startsWith("broken.bmp cannot be shown ("));
    expectState(Step::Browsing);
    expectNames("BMPFileName", "SKNFileName", "CMXFileName");
}

class LoadingTheCmxFile : public BuyableWindow {};

TEST_F(LoadingTheCmxFile, WithoutALoadedBitmapAnswersPleaseSelectAFileFirst) {
    // The button is disabled then; its command, reached by name, still refuses and changes nothing.
    writeBitmap("B100FAFitlgt_xyz.bmp");
    writeCmx("B100FAFit_xyz.cmx");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    click("cmdCloseFile");
    ASSERT_TRUE(QMetaObject::invokeMethod(&w, "onLoadCmxClicked"));
    EXPECT_EQ(messages.messages, QStringList{"Please select a file first!"});
    expectState(Step::Browsing);
    EXPECT_EQ(files()->entries(), QStringList{"B100FAFitlgt_xyz.bmp"});
    expectNames("", "", "");
}

TEST_F(LoadingTheCmxFile, NameBoxesChangedFromOutsideDoNotChangeTheCommands) {
    // The boxes only show the draft: emptying the bitmap box neither refuses "Load CMX File" nor
    // changes the names the export writes.
    writeBitmap("B100FAFitlgt_xyz.bmp");
    writeCmx("B100FAFit_xyz.cmx");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    box("Text1")->setText("");
    click("cmdLoadCMX");
    EXPECT_TRUE(messages.messages.isEmpty());
    expectState(Step::PickingCmx);
    select("B100FAFit_xyz.cmx");
    box("Text1")->setText("B100FAFitlgt_xyz.bmp");
    box("Text3")->setText("elsewhere");
    click("cmdExport");
    EXPECT_EQ(messages.messages, QStringList{"Successfully Exported!"});
    EXPECT_TRUE(vestimo::test::exists(skins.filePath("F9QBFAFit_xyz.CMX")));
    EXPECT_TRUE(vestimo::test::exists(skins.filePath("F9QBFAFitlgt_xyz.bmp")));
}

TEST_F(LoadingTheCmxFile, ListsTheCmxFilesOfTheBitmapsDirectory) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    writeCmx("B100FAFit_xyz.cmx");
    writeCmx("B200MAFit_abc.CMX");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    click("cmdLoadCMX");
    EXPECT_EQ(files()->entries(), (QStringList{"B100FAFit_xyz.cmx", "B200MAFit_abc.CMX"}));
}

TEST_F(LoadingTheCmxFile, PressedAgainRereadsTheList) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    skins.write("B100FAFit_new.cmx", vestimo::test::validCmx("B100FAFit_new"));
    click("cmdLoadCMX");
    EXPECT_TRUE(files()->entries().contains("B100FAFit_new.cmx"));
    EXPECT_TRUE(files()->isEnabled());
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
    option("Option3")->click();
    pickCmx("B401MAFit_abc.cmx");
    expectNames("F100FAFitlgt_xyz.bmp", "xskin-B401MAFit_abc-PELVIS-BODY", "F401MAFit_abc");
    EXPECT_TRUE(option("Option3")->isChecked());
}

class ChoosingACategory : public BuyableWindow {};

TEST_F(ChoosingACategory, SwimwearPutsSInBothNamesAndLeavesTheMesh) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    option("Option3")->click();
    expectNames("S100FAFitlgt_xyz.bmp", "xskin-B100FAFit_xyz-PELVIS-BODY", "S100FAFit_xyz");
}

TEST_F(ChoosingACategory, EachButtonWritesItsOwnLetter) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    const std::pair<QRadioButton*, QString> letters[] = {{option("Option3"), "S"},
                                                         {option("Option4"), "L"},
                                                         {option("Option5"), "W"},
                                                         {option("Option6"), "H"},
                                                         {option("Option2"), "F"}};
    for (const auto& [button, letter] : letters) {
        button->click();
        expectNames(letter + "100FAFitlgt_xyz.bmp", "xskin-B100FAFit_xyz-PELVIS-BODY",
                    letter + "100FAFit_xyz");
    }
    EXPECT_TRUE(messages.messages.isEmpty());
}
