// The CMX editor checking its text while the player types: the status under it, the marked line,
// "Go to Faulty Line" and Ctrl+G, through the window's controls.
#include "editor/EditorFixture.h"

#include "gui/skinedit/CmxEditor.h"
#include "gui/skinedit/LiveCheckRow.h"
#include "samples/CmxSamples.h"

#include <QApplication>
#include <QLabel>
#include <QTextBlock>

using namespace vestimo;

namespace {

const QString Name = QStringLiteral("B001FAFit_x.cmx");

QByteArray withLine(int line, const QByteArray& text) {
    return QByteArray::fromStdString(
        samples::ReplaceCmxLine(samples::ValidBodyCmx("B001FAFit_x"), line, text.toStdString()));
}

} // namespace

class LiveCheck : public test::EditorFixture {
protected:
    QLabel* status() { return control<QLabel>(&skinEdit(), "lblCmxStatus"); }
    QPushButton* gotoButton() { return control<QPushButton>(&skinEdit(), "cmdGotoFault"); }
    gui::LiveCheckRow& row() { return *skinEdit().findChild<gui::LiveCheckRow*>(); }
    QPlainTextEdit* text() { return w().Text1; }

    // The blocks the editor marks, by number.
    QList<int> markedBlocks() {
        QList<int> blocks;
        for (const QTextEdit::ExtraSelection& mark : text()->extraSelections()) {
            EXPECT_TRUE(mark.format.property(QTextFormat::FullWidthSelection).toBool());
            blocks.append(mark.cursor.blockNumber());
        }
        return blocks;
    }
    // Where the cursor is: block number and column.
    std::pair<int, int> cursorAt() {
        const QTextCursor cursor = text()->textCursor();
        return {cursor.blockNumber(), cursor.positionInBlock()};
    }
    void activate() {
        skinEdit().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&skinEdit()));
    }
    void cursorToEnd() {
        QTextCursor cursor = text()->textCursor();
        cursor.movePosition(QTextCursor::End);
        text()->setTextCursor(cursor);
    }
};

TEST_F(LiveCheck, NothingIsShownUntilACmxFileIsOpen) {
    showCmxFiles();
    EXPECT_EQ(status()->text(), "");
    EXPECT_FALSE(gotoButton()->isEnabled());
    EXPECT_TRUE(text()->extraSelections().isEmpty());
    // The line numbers take their room left of the text.
    EXPECT_GT(static_cast<gui::CmxEditor*>(text())->gutterWidth(), 0);
    EXPECT_GT(text()->viewport()->x(), static_cast<gui::CmxEditor*>(text())->gutterWidth() - 1);
}

TEST_F(LiveCheck, AFaultyFileIsMarkedTypedInMendedAndSaved) {
    openCmx(Name, withLine(4, "2"));
    messages.clear();
    // Checked once as it opens, without waiting.
    EXPECT_FALSE(row().pending());
    EXPECT_EQ(status()->text(), "Error With Line 4! Must equal 1!");
    EXPECT_EQ(markedBlocks(), QList<int>{3});
    EXPECT_TRUE(gotoButton()->isEnabled());

    // Typing restarts the wait; nothing is checked per key.
    activate();
    text()->setFocus();
    cursorToEnd();
    QTest::keyClicks(text(), "x");
    EXPECT_TRUE(row().pending());
    EXPECT_EQ(status()->text(), "Error With Line 4! Must equal 1!");
    row().runPendingCheck();
    EXPECT_FALSE(row().pending());
    EXPECT_EQ(status()->text(), "Error With Line 4! Must equal 1! (not saved)");
    EXPECT_EQ(markedBlocks(), QList<int>{3});

    // Ctrl+G, anywhere in the window, and the button both go to the start of line 4.
    skinEditNamed().cmdCMXError->setFocus();
    QTest::keyClick(&skinEdit(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(cursorAt(), std::make_pair(3, 0));
    EXPECT_EQ(QApplication::focusWidget(), text());
    cursorToEnd();
    const QString typed = text()->toPlainText();
    QTest::keyClick(text(), Qt::Key_G, Qt::ControlModifier); // the editor leaves the key to the window
    EXPECT_EQ(cursorAt(), std::make_pair(3, 0));
    EXPECT_EQ(text()->toPlainText(), typed);
    cursorToEnd();
    QTest::mouseClick(gotoButton(), Qt::LeftButton);
    EXPECT_EQ(cursorAt(), std::make_pair(3, 0));
    EXPECT_EQ(QApplication::focusWidget(), text());

    // Mended by typing over line 4.
    QTest::keyClick(text(), Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClicks(text(), "1");
    row().runPendingCheck();
    EXPECT_EQ(status()->text(), "No Errors Found. (not saved)");
    EXPECT_TRUE(markedBlocks().isEmpty());
    EXPECT_FALSE(gotoButton()->isEnabled());
    // "Check CMX For Errors" still checks the file as stored.
    clickCheck();
    EXPECT_EQ(messages.messages, QStringList{"Error With Line 4! Must equal 1!"});

    clickSave();
    EXPECT_EQ(messages.messages.last(), "File Saved!");
    EXPECT_EQ(status()->text(), "");
    EXPECT_FALSE(row().pending());
    EXPECT_TRUE(text()->extraSelections().isEmpty());
    EXPECT_EQ(test::readAll(skins.filePath(Name)), withLine(4, "1") + "x\r\n");
}

TEST_F(LiveCheck, UndoingBackToTheFileDropsTheNote) {
    openCmx(Name, withLine(6, "5"));
    EXPECT_EQ(status()->text(), "Error With Line 6! Must Equal 0!");
    activate();
    text()->setFocus();
    cursorToEnd();
    QTest::keyClicks(text(), "zz");
    row().runPendingCheck();
    EXPECT_EQ(status()->text(), "Error With Line 6! Must Equal 0! (not saved)");
    text()->undo();
    row().runPendingCheck();
    EXPECT_EQ(status()->text(), "Error With Line 6! Must Equal 0!");
    EXPECT_EQ(markedBlocks(), QList<int>{5});
}

TEST_F(LiveCheck, ClosingClearsTheStatusAndAnyWait) {
    openCmx(Name, withLine(4, "2"));
    cursorToEnd();
    text()->insertPlainText(QStringLiteral("x"));
    ASSERT_TRUE(row().pending());
    messages.answers = {true}; // yes, lose the edits
    clickClose();
    EXPECT_FALSE(row().pending());
    EXPECT_EQ(status()->text(), "");
    EXPECT_FALSE(gotoButton()->isEnabled());
    EXPECT_TRUE(text()->extraSelections().isEmpty());
    // Ctrl+G with nothing to go to leaves the cursor alone.
    activate();
    const auto before = cursorAt();
    QTest::keyClick(&skinEdit(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(cursorAt(), before);
}

TEST_F(LiveCheck, TheGutterWidensWithTheLineCount) {
    openCmx(Name, withLine(4, "1"));
    auto* editor = static_cast<gui::CmxEditor*>(text());
    const int narrow = editor->gutterWidth();
    cursorToEnd();
    text()->insertPlainText(QString(200, u'\n'));
    EXPECT_GT(editor->gutterWidth(), narrow);
    EXPECT_EQ(text()->viewport()->x() - text()->frameWidth(), editor->gutterWidth());
}
