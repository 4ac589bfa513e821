#include "EditorFixture.h"

#include <QSignalSpy>

#include "gui/browser/DirList.h"
#include "gui/browser/DriveList.h"
#include "gui/widgets/PictureBox.h"

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTextDocument>

using namespace vestimo;
using vestimo::test::EditorFixture;
using vestimo::test::InitialEditorText;
using vestimo::test::InitialNameBox;
using vestimo::test::ListLockedNotice;

namespace {

QByteArray TinyBitmap(const QColor& colour) {
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "BMP"));
    return bytes;
}

} // namespace

class OpeningFiles : public EditorFixture {};

TEST_F(OpeningFiles, SelectingABitmapShowsItInTheViewer) {
    skins.write("B001FAFit_red.bmp", TinyBitmap(Qt::red));
    showBmpFiles();
    clickFile("B001FAFit_red.bmp");
    ASSERT_TRUE(w().Picture1->hasPicture());
    EXPECT_EQ(w().Picture1->image().size(), QSize(4, 2));
    EXPECT_EQ(w().Picture1->image().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_TRUE(isBrowsing());
    EXPECT_EQ(editorText(), InitialEditorText);
}

TEST_F(OpeningFiles, ACorruptBitmapClearsThePreviousPicture) {
    skins.write("a.bmp", TinyBitmap(Qt::blue));
    skins.write("x.bmp", "this is not a picture\r\n");
    showBmpFiles();
    clickFile("a.bmp");
    ASSERT_TRUE(w().Picture1->hasPicture());
    const QImage shown = w().Picture1->image();

    clickFile("x.bmp");
    EXPECT_EQ(messages.messages, QStringList{"It appears this bmp file is corrupt!"});
    // The old picture must not stand in for the file that failed.
    EXPECT_FALSE(w().Picture1->hasPicture());
    EXPECT_NE(w().Picture1->image(), shown);
    EXPECT_EQ(w().File1->fileName(), "x.bmp");
    EXPECT_TRUE(isBrowsing());
}

TEST_F(OpeningFiles, ACorruptBitmapWithNothingShownLeavesTheViewerEmpty) {
    skins.write("x.bmp", "BM but not really");
    showBmpFiles();
    clickFile("x.bmp");
    EXPECT_EQ(messages.messages, QStringList{"It appears this bmp file is corrupt!"});
    EXPECT_FALSE(w().Picture1->hasPicture());
}

TEST_F(OpeningFiles, SelectingACmxFileShowsTheNoticeLoadsTheTextAndLocksTheBrowser) {
    const QByteArray text = test::validCmx("B123FAred");
    skins.write("B123FAred.cmx", text);
    showCmxFiles();
    clickFile("B123FAred.cmx");

    EXPECT_EQ(messages.messages, QStringList{ListLockedNotice});
    EXPECT_EQ(editorText(), QString::fromLatin1(text).replace("\r\n", "\n"));
    EXPECT_EQ(nameBox(), "B123FAred.cmx");
    EXPECT_TRUE(browserLocked());
    EXPECT_TRUE(w().cmdCloseFile->isVisible());
    EXPECT_EQ(w().cmdCloseFile->text(), "Close Selected CMX File");
    EXPECT_EQ(w().File1->fileName(), "B123FAred.cmx");
}

TEST_F(OpeningFiles, TheNoticeComesBeforeTheFileIsShownAndTheClickIsHandledOnce) {
    skins.write("B123FAred.cmx", test::validCmx("B123FAred"));
    showCmxFiles();
    QList<test::WindowAtMessage>& seen = recordWindowAtEachMessage();
    QSignalSpy clicks(w().File1, &gui::FileList::fileClicked);
    clickFile("B123FAred.cmx");
    // The user reads the notice over the window as it was, then finds the file open and the
    // browser locked.
    EXPECT_EQ(seen,
              (QList<test::WindowAtMessage>{{ListLockedNotice, true, InitialEditorText, InitialNameBox}}));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(isEditing());
    ASSERT_TRUE(state().openFile.has_value());
    EXPECT_EQ(state().openFile->name, "B123FAred.cmx");
    EXPECT_EQ(state().openFile->identity, platform::identifyFile(skins.filePath("B123FAred.cmx")));
    EXPECT_EQ(state().nameBox, "B123FAred.cmx");
}

TEST_F(OpeningFiles, AnEmptyCmxFileOpensWithAnEmptyEditorBox) {
    skins.write("B001FAFit_empty.cmx", "");
    showCmxFiles();
    clickFile("B001FAFit_empty.cmx");
    EXPECT_EQ(messages.messages, QStringList{ListLockedNotice});
    EXPECT_EQ(editorText(), "");
    EXPECT_EQ(nameBox(), "B001FAFit_empty.cmx");
    EXPECT_TRUE(isEditing());
}

TEST_F(OpeningFiles, TheEditorShowsBareLineEndsAsVisibleStandIns) {
    skins.write("B001FAFit_x.cmx", "a\nb\r\nc\rd\r\n");
    showCmxFiles();
    clickFile("B001FAFit_x.cmx");
    EXPECT_EQ(editorText(), QStringLiteral("a\u240Ab\nc\u240Dd\n"));
}

TEST_F(OpeningFiles, TheEditorShowsCodePageCharacters) {
    skins.write("B001FAFit_x.cmx", "// Caf\xE9 \x80 \x93quoted\x94\r\n");
    showCmxFiles();
    clickFile("B001FAFit_x.cmx");
    EXPECT_EQ(editorText(), QStringLiteral("// Caf\u00E9 \u20AC \u201Cquoted\u201D\n"));
}

TEST_F(OpeningFiles, ACmxFileLargerThanEightMebibytesIsNotOpened) {
    skins.write("B001FAFit_big.cmx", QByteArray(8 * 1024 * 1024 + 1, 'x'));
    showCmxFiles();
    clickFile("B001FAFit_big.cmx");
    EXPECT_EQ(messages.messages, QStringList{"Could not open B001FAFit_big.cmx: it is larger than 8 MiB"});
    EXPECT_TRUE(isBrowsing());
    EXPECT_EQ(editorText(), InitialEditorText);
    EXPECT_EQ(nameBox(), InitialNameBox);
}

TEST_F(OpeningFiles, ACmxFileOfExactlyEightMebibytesOpens) {
    QByteArray line(1022, '0');
    line += "\r\n";
    skins.write("B001FAFit_big.cmx", line.repeated(8 * 1024));
    showCmxFiles();
    clickFile("B001FAFit_big.cmx");
    EXPECT_EQ(messages.messages, QStringList{ListLockedNotice});
    EXPECT_TRUE(isEditing());
    EXPECT_EQ(w().Text1->document()->blockCount(), 8 * 1024 + 1);
}

TEST_F(OpeningFiles, ACmxFileThatCannotBeReadIsNotOpened) {
    skins.write("B001FAFit_gone.cmx", test::validCmx());
    showCmxFiles();
    QFile::remove(skins.filePath("B001FAFit_gone.cmx"));
    clickFile("B001FAFit_gone.cmx");
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].startsWith("Could not open B001FAFit_gone.cmx: "))
        << messages.messages[0].toStdString();
    EXPECT_TRUE(isBrowsing());
    EXPECT_EQ(editorText(), InitialEditorText);
    EXPECT_EQ(nameBox(), InitialNameBox);
}

TEST_F(OpeningFiles, AFileThatFailedToOpenCanBeTriedAgainWithAnotherClick) {
    skins.write("B001FAFit_x.cmx", QByteArray(8 * 1024 * 1024 + 1, 'x'));
    showCmxFiles();
    clickFile("B001FAFit_x.cmx");
    skins.write("B001FAFit_x.cmx", test::validCmx());
    messages.clear();
    clickFile("B001FAFit_x.cmx");
    EXPECT_EQ(messages.messages, QStringList{ListLockedNotice});
    EXPECT_TRUE(isEditing());
}

TEST_F(OpeningFiles, AnyOtherFilterIsNotASkinFile) {
    skins.write("B001FAFit_x.skn", "mesh");
    browseSkinEdit();
    w().File1->setPattern("*.SKN");
    selectFile("B001FAFit_x.skn");
    EXPECT_EQ(
        messages.messages,
        QStringList{"You are trying to open a non skin related file. This does not compute. Try using one "
                    "of the other file options."});
    EXPECT_TRUE(isBrowsing());
    EXPECT_EQ(editorText(), InitialEditorText);
}

TEST_F(OpeningFiles, TheFilterIsComparedExactly) {
    skins.write("B001FAFit_x.cmx", test::validCmx());
    browseSkinEdit();
    w().File1->setPattern("*.cmx");
    selectFile("B001FAFit_x.cmx");
    EXPECT_EQ(
        messages.messages,
        QStringList{"You are trying to open a non skin related file. This does not compute. Try using one "
                    "of the other file options."});
    EXPECT_TRUE(isBrowsing());
}

TEST_F(OpeningFiles, AClickWithoutASelectionRereadsTheList) {
    showCmxFiles();
    EXPECT_EQ(w().File1->listCount(), 0);
    skins.write("B001FAFit_new.cmx", test::validCmx());
    emit w().File1->fileClicked();
    EXPECT_EQ(w().File1->entries(), QStringList{"B001FAFit_new.cmx"});
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_TRUE(isBrowsing());
}

TEST_F(OpeningFiles, AClickWhileACmxFileIsOpenIsRefused) {
    openCmx("B001FAFit_x.cmx", test::validCmx());
    const QString text = editorText();
    messages.clear();
    emit w().File1->fileClicked();
    EXPECT_EQ(messages.messages, QStringList{"Please close the open CMX file, or save it first."});
    EXPECT_EQ(editorText(), text);
    EXPECT_EQ(nameBox(), "B001FAFit_x.cmx");
    EXPECT_TRUE(isEditing());
}

TEST_F(OpeningFiles, SelectingAnotherFileFromCodeWhileOneIsOpenDoesNotOpenIt) {
    skins.write("B001FAFit_a.cmx", test::validCmx("B001FAFit_a"));
    openCmx("B001FAFit_b.cmx", test::validCmx("B001FAFit_b"));
    const QString text = editorText();
    messages.clear();
    selectFile("B001FAFit_a.cmx");
    EXPECT_EQ(messages.messages, QStringList{"Please close the open CMX file, or save it first."});
    EXPECT_EQ(editorText(), text);
    EXPECT_EQ(nameBox(), "B001FAFit_b.cmx");
}

TEST_F(OpeningFiles, TheLockedListTakesNoClicks) {
    skins.write("B001FAFit_a.cmx", test::validCmx("B001FAFit_a"));
    openCmx("B001FAFit_b.cmx", test::validCmx("B001FAFit_b"));
    messages.clear();
    clickFile("B001FAFit_a.cmx");
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_EQ(w().File1->fileName(), "B001FAFit_b.cmx");
    EXPECT_EQ(nameBox(), "B001FAFit_b.cmx");
}

TEST_F(OpeningFiles, TheOpenFileStaysOpenAcrossAModeSwitch) {
    openCmx("B001FAFit_x.cmx", test::validCmx());
    w().Text1->appendPlainText("edited");
    const QString text = editorText();
    buyable();
    app->switchToSkinEdit();
    EXPECT_EQ(editorText(), text);
    EXPECT_EQ(nameBox(), "B001FAFit_x.cmx");
    EXPECT_TRUE(isEditing());
}
