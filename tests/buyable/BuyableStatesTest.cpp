// The window's four working states and every way between them.
#include "BuyableWindowFixture.h"

#include "gui/skinedit/SkinEditWindow.h"

using vestimo::test::BuyableWindow;

class BuyableStates : public BuyableWindow {};

TEST_F(BuyableStates, StartInChoosingABitmapWithTheInitialNames) {
    expectState(State::ChoosingBitmap);
    expectNames("BMPFileName", "SKNFileName", "CMXFileName");
    EXPECT_EQ(w.File1->listIndex(), -1);
}

TEST_F(BuyableStates, LoadBmpFileToChangeEntersBitmapLoaded) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    expectState(State::BitmapLoaded);
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(BuyableStates, LoadCmxFileEntersChoosingACmxFile) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    writeCmx("B100FAFit_xyz.cmx");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    w.cmdLoadCMX->click();
    expectState(State::ChoosingCmx);
    EXPECT_EQ(w.File1->entries(), QStringList{"B100FAFit_xyz.cmx"});
    EXPECT_EQ(w.File1->listIndex(), -1);
}

TEST_F(BuyableStates, PickingACmxFileEntersReadyToExport) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    expectState(State::ReadyToExport);
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(BuyableStates, LoadCmxFileAgainAfterAPickLeavesCategoriesAndExportEnabled) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    w.cmdLoadCMX->click();
    expectState(State::ChoosingAnotherCmx);
}

TEST_F(BuyableStates, PickingAgainReturnsToReadyToExport) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    writeCmx("B100FAFit_abc.cmx");
    pickCmx("B100FAFit_abc.cmx");
    expectState(State::ReadyToExport);
}

TEST_F(BuyableStates, ChoosingACategoryStaysReadyToExportWithTheButtonSelected) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    w.Option4->click();
    expectState(State::ReadyToExport);
    EXPECT_TRUE(w.Option4->isChecked());
    w.Option6->click();
    EXPECT_FALSE(w.Option4->isChecked());
    EXPECT_TRUE(w.Option6->isChecked());
}

TEST_F(BuyableStates, CloseOpenFileFromBitmapLoadedReturnsToChoosingABitmap) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    w.cmdCloseFile->click();
    expectState(State::ChoosingBitmap);
    expectNames("", "", "");
}

TEST_F(BuyableStates, CloseOpenFileFromChoosingACmxFileReturnsToChoosingABitmap) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    writeCmx("B100FAFit_xyz.cmx");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    w.cmdLoadCMX->click();
    w.cmdCloseFile->click();
    expectState(State::ChoosingBitmap);
    EXPECT_EQ(w.File1->entries(), QStringList{"B100FAFitlgt_xyz.bmp"});
}

TEST_F(BuyableStates, CloseOpenFileFromReadyToExportReturnsToChoosingABitmap) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    w.Option3->click();
    w.cmdCloseFile->click();
    expectState(State::ChoosingBitmap);
    expectNames("", "", "");
    // The category keeps its selection, disabled.
    EXPECT_TRUE(w.Option3->isChecked());
}

TEST_F(BuyableStates, CloseOpenFileKeepsTheLastBitmapInTheViewer) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    const QByteArray shown = w.Picture1->fileBytes();
    w.cmdCloseFile->click();
    EXPECT_TRUE(w.Picture1->hasPicture());
    EXPECT_EQ(w.Picture1->fileBytes(), shown);
}

TEST_F(BuyableStates, ASuccessfulExportReturnsToChoosingABitmap) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    w.cmdExport->click();
    expectState(State::ChoosingBitmap);
    expectNames("", "", "");
}

TEST_F(BuyableStates, ARefusedLoadBmpFileToChangeStaysInChoosingABitmap) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    w.cmdLoadFile->click();
    EXPECT_EQ(messages.messages, QStringList{"Please select a file first!"});
    expectState(State::ChoosingBitmap);
    expectNames("BMPFileName", "SKNFileName", "CMXFileName");
}

TEST_F(BuyableStates, SwitchingAwayAndBackKeepsTheLoadedSkin) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    w.Option3->click();
    w.cmdSwitch->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(skinEdit().isVisible());
    EXPECT_EQ(&buyable(), &w);
    expectState(State::ReadyToExport);
    expectNames("S100FAFitlgt_xyz.bmp", "xskin-B100FAFit_xyz-PELVIS-BODY", "S100FAFit_xyz");
    EXPECT_TRUE(w.Option3->isChecked());
}

TEST_F(BuyableStates, CloseThisProgramDoesNothingWhileABitmapIsLoaded) {
    writeBitmap("B100FAFitlgt_xyz.bmp");
    loadBitmap("B100FAFitlgt_xyz.bmp");
    w.cmdClose->click();
    EXPECT_EQ(quits, 0);
    w.cmdCloseFile->click();
    w.cmdClose->click();
    EXPECT_EQ(quits, 1);
}
