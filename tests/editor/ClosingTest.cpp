#include "EditorFixture.h"

using namespace vestimo;
using vestimo::test::EditorFixture;
using vestimo::test::Timeline;

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

TEST_F(Closing, ClosingGoesStepByStepInTheRightOrder) {
    openCmx("B001FAFit_x.cmx", test::validCmx());
    Timeline timeline(w(), messages);
    clickClose();
    EXPECT_EQ(timeline.events(),
              (QStringList{"Text1 emptied", "Text3 emptied", "Option1 enabled", "Option2 enabled",
                           "Dir1 enabled", "Drive1 enabled", "File1 enabled", "cmdCloseFile hidden"}));
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
