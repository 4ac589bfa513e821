// The window's four working states and every way between them.
#include "BuyableWindowFixture.h"

#include "gui/skinedit/SkinEditWindow.h"

using vestimo::test::BuyableWindow;

class BuyableStates : public BuyableWindow {};

TEST_F(BuyableStates, StartInChoosingABitmapWithTheInitialNames) {
    expectState(Step::Browsing);
    expectNames("BMPFileName", "SKNFileName", "CMXFileName");
    EXPECT_EQ(files()->listIndex(), -1);
}

TEST_F(BuyableStates, LoadBmpFileToChangeEntersBitmapLoaded) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    expectState(Step::BitmapLoaded);
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(BuyableStates, LoadCmxFileEntersChoosingACmxFile) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    writeCmx("B100FAFit_xyz.cmx");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    click("cmdLoadCMX");
    expectState(Step::PickingCmx);
    EXPECT_FALSE(button("cmdExport")->isEnabled());
    EXPECT_EQ(files()->entries(), QStringList{"B100FAFit_xyz.cmx"});
    EXPECT_EQ(files()->listIndex(), -1);
}

TEST_F(BuyableStates, PickingACmxFileEntersReadyToExport) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    expectState(Step::ReadyToExport);
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(BuyableStates, LoadCmxFileAgainAfterAPickLeavesCategoriesAndExportEnabled) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    click("cmdLoadCMX");
    expectState(Step::PickingCmx);
    EXPECT_TRUE(button("cmdExport")->isEnabled());
    EXPECT_TRUE(option("Option2")->isEnabled());
}

TEST_F(BuyableStates, PickingAgainReturnsToReadyToExport) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    writeCmx("B100FAFit_abc.cmx");
    pickCmx("B100FAFit_abc.cmx");
    expectState(Step::ReadyToExport);
}

TEST_F(BuyableStates, ChoosingACategoryStaysReadyToExportWithTheButtonSelected) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    option("Option4")->click();
    expectState(Step::ReadyToExport);
    EXPECT_TRUE(option("Option4")->isChecked());
    option("Option6")->click();
    EXPECT_FALSE(option("Option4")->isChecked());
    EXPECT_TRUE(option("Option6")->isChecked());
}

TEST_F(BuyableStates, CloseOpenFileFromBitmapLoadedReturnsToChoosingABitmap) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    click("cmdCloseFile");
    expectState(Step::Browsing);
    expectNames("", "", "");
}

TEST_F(BuyableStates, CloseOpenFileFromChoosingACmxFileReturnsToChoosingABitmap) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    writeCmx("B100FAFit_xyz.cmx");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    click("cmdLoadCMX");
    click("cmdCloseFile");
    expectState(Step::Browsing);
    EXPECT_EQ(files()->entries(), QStringList{"B100FAFitlgt_xyz.bmp"});
}

TEST_F(BuyableStates, CloseOpenFileFromReadyToExportReturnsToChoosingABitmap) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    option("Option3")->click();
    click("cmdCloseFile");
    expectState(Step::Browsing);
    expectNames("", "", "");
    // The category keeps its selection, disabled.
    EXPECT_TRUE(option("Option3")->isChecked());
}

// The loaded skin's bitmap is shown until the skin is closed; then nothing is selected, and the
// viewer shows nothing.
TEST_F(BuyableStates, CloseOpenFileEmptiesTheViewer) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    ASSERT_FALSE(viewer()->fileBytes().isEmpty());
    click("cmdCloseFile");
    EXPECT_FALSE(viewer()->hasPicture());
    EXPECT_TRUE(viewer()->fileBytes().isEmpty());
}

TEST_F(BuyableStates, ASuccessfulExportReturnsToChoosingABitmap) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    click("cmdExport");
    expectState(Step::Browsing);
    expectNames("", "", "");
}

TEST_F(BuyableStates, ARefusedLoadBmpFileToChangeStaysInChoosingABitmap) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    click("cmdLoadFile");
    EXPECT_EQ(messages.messages, QStringList{"Please select a file first!"});
    expectState(Step::Browsing);
    expectNames("BMPFileName", "SKNFileName", "CMXFileName");
}

TEST_F(BuyableStates, SwitchingAwayAndBackKeepsTheLoadedSkin) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    option("Option3")->click();
    click("cmdSwitch");
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(skinEdit().isVisible());
    EXPECT_EQ(&buyable(), &w);
    expectState(Step::ReadyToExport);
    expectNames("S100FAFitlgt_xyz.bmp", "xskin-B100FAFit_xyz-PELVIS-BODY", "S100FAFit_xyz");
    EXPECT_TRUE(option("Option3")->isChecked());
}

TEST_F(BuyableStates, CloseThisProgramDoesNothingWhileABitmapIsLoaded) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    click("cmdClose");
    EXPECT_EQ(quits, 0);
    click("cmdCloseFile");
    click("cmdClose");
    EXPECT_EQ(quits, 1);
}
