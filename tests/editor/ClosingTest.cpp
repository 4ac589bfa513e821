#include "EditorFixture.h"

#include <QSignalSpy>

using namespace vestimo;
using vestimo::test::EditorFixture;

class Closing : public EditorFixture {};

TEST_F(Closing, ClosingEmptiesBothBoxesAndFreesTheBrowserWithoutAMessage) {
    openCmx("B001FAFit_x.cmx", test::validCmx());
    messages.clear();
    clickClose();
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_TRUE(isBrowsing());
    EXPECT_EQ(editorText(), "");
    EXPECT_EQ(nameBox(), "");
}

TEST_F(Closing, ClosingRaisesNoClickAndLeavesNothingOpen) {
    openCmx("B001FAFit_x.cmx", test::validCmx());
    QSignalSpy clicks(w().File1, &gui::FileList::fileClicked);
    clickClose();
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(state().openFile.has_value());
    EXPECT_FALSE(state().browsingLocked());
    EXPECT_EQ(state().nameBox, "");
    // A save now has no file to write under.
    messages.clear();
    clickSave();
    EXPECT_EQ(messages.messages, QStringList{"Please open a CMX file first!"});
    EXPECT_EQ(test::readAll(skins.filePath("B001FAFit_x.cmx")), test::validCmx());
}

TEST_F(Closing, ClosingKeepsTheSelectionAndTheCaption) {
    openCmx("B001FAFit_x.cmx", test::validCmx());
    clickClose();
    EXPECT_EQ(w().File1->fileName(), "B001FAFit_x.cmx");
    EXPECT_EQ(w().cmdCloseFile->text(), "Close Selected CMX File");
}

TEST_F(Closing, ClosingDiscardsTheEditsAndLeavesTheFileAlone) {
    openCmx("B001FAFit_x.cmx", "old\r\n");
    w().Text1->setPlainText("new");
    clickClose();
    EXPECT_EQ(test::readAll(skins.filePath("B001FAFit_x.cmx")), "old\r\n");
}

TEST_F(Closing, AfterClosingTheSingleFileCheckCannotTellTheClass) {
    openCmx("B001FAFit_x.cmx", test::validCmx());
    clickClose();
    messages.clear();
    clickCheck();
    EXPECT_EQ(messages.messages,
              QStringList{"This is an animation or another cmx type we can't check, so we can't "
                          "deal with it at this time, sorry."});
}

TEST_F(Closing, AfterClosingAClickOnTheSelectedFileOpensItAgain) {
    openCmx("B001FAFit_x.cmx", "again\r\n");
    clickClose();
    messages.clear();
    clickFile("B001FAFit_x.cmx");
    EXPECT_EQ(messages.messages, QStringList{vestimo::test::ListLockedNotice});
    EXPECT_EQ(editorText(), "again\n");
    EXPECT_TRUE(isEditing());
}

TEST_F(Closing, ClosingWorksTheSameWhateverTheFilter) {
    openCmx("B001FAFit_x.cmx", test::validCmx());
    w().File1->setPattern("*.BMP");
    messages.clear();
    clickClose();
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_TRUE(isBrowsing());
}
