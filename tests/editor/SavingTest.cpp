#include "EditorFixture.h"

#include <QSignalSpy>

#include "gui/browser/DirList.h"

#include <QDir>
#include <QFile>
#include <QTextCursor>

using namespace vestimo;
using vestimo::test::EditorFixture;
using vestimo::test::InitialNameBox;
using vestimo::test::ListLockedNotice;

namespace {

const QString Name = QStringLiteral("B001FAFit_x.cmx");

QByteArray EveryByte() {
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        bytes += static_cast<char>(b);
    }
    return bytes;
}

// Gives the permissions back however the test ends, so the folder can be cleaned up.
class RestorePermissions {
public:
    explicit RestorePermissions(QStringList paths) : paths_(std::move(paths)) {
        for (const QString& path : paths_) {
            saved_.append(QFile::permissions(path));
        }
    }
    ~RestorePermissions() {
        for (qsizetype i = 0; i < paths_.size(); ++i) {
            QFile::setPermissions(paths_[i], saved_[i]);
        }
    }
    RestorePermissions(const RestorePermissions&) = delete;
    RestorePermissions& operator=(const RestorePermissions&) = delete;

private:
    QStringList paths_;
    QList<QFileDevice::Permissions> saved_;
};

} // namespace

class Saving : public EditorFixture {
protected:
    QString path() const { return skins.filePath(Name); }

    QByteArray openAndSaveUnedited(const QByteArray& bytes) {
        openCmx(Name, bytes);
        messages.clear();
        clickSave();
        EXPECT_EQ(messages.messages, QStringList{"File Saved!"});
        return test::readAll(path());
    }

    // The window is still editing the file, with `text` in the editor box.
    void expectStillEditing(const QString& text) {
        EXPECT_TRUE(isEditing());
        EXPECT_EQ(editorText(), text);
        EXPECT_EQ(nameBox(), Name);
        EXPECT_EQ(w().File1->fileName(), Name);
    }
};

TEST_F(Saving, SavingWritesTheTextAndReturnsToBrowsingWithNothingSelected) {
    openCmx(Name, test::validCmx());
    messages.clear();
    clickSave();
    EXPECT_EQ(messages.messages, QStringList{"File Saved!"});
    EXPECT_EQ(test::readAll(path()), test::validCmx());
    EXPECT_TRUE(isBrowsing());
    EXPECT_EQ(w().File1->listIndex(), -1);
    EXPECT_EQ(editorText(), "");
    EXPECT_EQ(nameBox(), "");
    EXPECT_EQ(w().cmdCloseFile->text(), "Close Selected CMX File");
}

TEST_F(Saving, TheNewsComesOverTheSavedTextAndTheDeselectionRaisesNoClick) {
    openCmx(Name, test::validCmx());
    messages.clear();
    const QString text = editorText();
    QList<test::WindowAtMessage>& seen = recordWindowAtEachMessage();
    QSignalSpy clicks(w().File1, &gui::FileList::fileClicked);
    clickSave();
    EXPECT_EQ(seen, (QList<test::WindowAtMessage>{{"File Saved!", false, text, Name}}));
    // Clearing the selection is the program's own doing, not a click to answer.
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(w().File1->listIndex(), -1);
    EXPECT_TRUE(isBrowsing());
    EXPECT_FALSE(state().openFile.has_value());
    EXPECT_EQ(state().nameBox, "");
    EXPECT_EQ(state().filter, FileFilter::CmxFiles);
}

TEST_F(Saving, AfterSavingTheListShowsFilesAddedMeanwhile) {
    openCmx(Name, test::validCmx());
    skins.write("B002FAFit_y.cmx", test::validCmx());
    clickSave();
    EXPECT_EQ(w().File1->entries(), (QStringList{Name, "B002FAFit_y.cmx"}));
}

TEST_F(Saving, AfterSavingTheSingleFileCheckAsksForASelection) {
    openCmx(Name, test::validCmx());
    clickSave();
    messages.clear();
    clickCheck();
    EXPECT_EQ(messages.messages, QStringList{"Please select a file first!"});
}

TEST_F(Saving, AfterSavingAnotherFileCanBeOpened) {
    skins.write("B002FAFit_y.cmx", test::validCmx("B002FAFit_y"));
    openCmx(Name, test::validCmx());
    clickSave();
    messages.clear();
    clickFile("B002FAFit_y.cmx");
    EXPECT_EQ(messages.messages, QStringList{ListLockedNotice});
    EXPECT_EQ(nameBox(), "B002FAFit_y.cmx");
    EXPECT_TRUE(isEditing());
}

TEST_F(Saving, CrLfLinesComeBackUnchanged) {
    const QByteArray bytes = test::validCmx();
    EXPECT_EQ(openAndSaveUnedited(bytes), bytes);
}

TEST_F(Saving, EmptyLinesAtTheEndComeBackUnchanged) {
    const QByteArray bytes = test::validCmx() + "\r\n\r\n";
    EXPECT_EQ(openAndSaveUnedited(bytes), bytes);
}

TEST_F(Saving, ABareLineFeedInsideALineComesBackUnchanged) {
    const QByteArray bytes = "Version 300\r\nPEL\nVIS\r\n0\r\n";
    EXPECT_EQ(openAndSaveUnedited(bytes), bytes);
}

TEST_F(Saving, ABareCarriageReturnComesBackUnchanged) {
    const QByteArray bytes = "Version 300\r\nPEL\rVIS\r\n\r\r\n0\r\n";
    EXPECT_EQ(openAndSaveUnedited(bytes), bytes);
}

TEST_F(Saving, EveryByteValueComesBackUnchanged) {
    const QByteArray bytes = EveryByte() + "\r\n" + EveryByte() + "\r\n";
    EXPECT_EQ(openAndSaveUnedited(bytes), bytes);
}

TEST_F(Saving, ATextWithoutAFinalLineEndGetsOne) {
    EXPECT_EQ(openAndSaveUnedited("Version 300\r\n0"), "Version 300\r\n0\r\n");
}

TEST_F(Saving, AFileEndingInABareLineFeedKeepsItAndGetsALineEnd) {
    EXPECT_EQ(openAndSaveUnedited("0\n"), "0\n\r\n");
}

TEST_F(Saving, AnEmptyFileStaysEmpty) {
    EXPECT_EQ(openAndSaveUnedited(""), "");
}

TEST_F(Saving, SavingTwiceDoesNotGrowTheFile) {
    const QByteArray bytes = test::validCmx();
    openAndSaveUnedited(bytes);
    messages.clear();
    clickFile(Name);
    clickSave();
    EXPECT_EQ(test::readAll(path()), bytes);
}

TEST_F(Saving, AnEditedTextIsWrittenBack) {
    openCmx(Name, "Version 300\r\n0\r\n");
    w().Text1->moveCursor(QTextCursor::End);
    QTest::keyClicks(w().Text1, "PELVIS");
    QTest::keyClick(w().Text1, Qt::Key_Return);
    // Characters past ASCII come as the text of key events, as a keyboard layout sends them.
    for (const QChar c : QStringLiteral("caf\u00E9 \u20AC \u2603")) {
        QTest::sendKeyEvent(QTest::Click, w().Text1, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    clickSave();
    EXPECT_EQ(test::readAll(path()), "Version 300\r\n0\r\nPELVIS\r\ncaf\xE9 \x80 ?\r\n");
}

TEST_F(Saving, ALineBreakTypedWithShiftIsWrittenAsCrLf) {
    openCmx(Name, "a\r\n");
    w().Text1->moveCursor(QTextCursor::Start);
    w().Text1->moveCursor(QTextCursor::EndOfLine);
    QTest::keyClick(w().Text1, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(w().Text1, "b");
    clickSave();
    EXPECT_EQ(test::readAll(path()), "a\r\nb\r\n");
}

TEST_F(Saving, WithoutASelectionNothingIsWritten) {
    skins.write(Name, "old\r\n");
    showCmxFiles();
    clickSave();
    EXPECT_EQ(messages.messages, QStringList{"Please select a file first!"});
    EXPECT_EQ(test::readAll(path()), "old\r\n");
    EXPECT_EQ(QDir(skins.path()).entryList(QDir::Files), QStringList{Name});
}

TEST_F(Saving, TheSelectionIsAskedForBeforeTheFilter) {
    showBmpFiles();
    clickSave();
    EXPECT_EQ(messages.messages, QStringList{"Please select a file first!"});
}

TEST_F(Saving, WithTheBitmapFilterNothingIsWritten) {
    skins.write("a.bmp", "not even a bitmap");
    showBmpFiles();
    selectFile("a.bmp");
    messages.clear();
    clickSave();
    EXPECT_EQ(messages.messages, QStringList{"You cannot perform this action on a bmp file!"});
    EXPECT_EQ(QDir(skins.path()).entryList(QDir::Files), QStringList{"a.bmp"});
    EXPECT_EQ(test::readAll(skins.filePath("a.bmp")), "not even a bitmap");
}

TEST_F(Saving, AfterCloseNothingIsWritten) {
    openCmx(Name, "old\r\n");
    w().Text1->setPlainText("new");
    clickClose();
    messages.clear();
    clickSave();
    EXPECT_EQ(messages.messages, QStringList{"Please open a CMX file first!"});
    EXPECT_EQ(test::readAll(path()), "old\r\n");
    EXPECT_EQ(QDir(skins.path()).entryList(QDir::Files), QStringList{Name});
    EXPECT_TRUE(isBrowsing());
    EXPECT_EQ(w().File1->fileName(), Name);
}

TEST_F(Saving, AfterAFailedOpenNothingIsWritten) {
    skins.write(Name, QByteArray(8 * 1024 * 1024 + 1, 'x'));
    showCmxFiles();
    clickFile(Name);
    messages.clear();
    clickSave();
    EXPECT_EQ(messages.messages, QStringList{"Please open a CMX file first!"});
    EXPECT_EQ(QDir(skins.path()).entryList(QDir::Files), QStringList{Name});
    EXPECT_FALSE(test::exists(skins.filePath(InitialNameBox)));
}

TEST_F(Saving, AReadOnlyFileIsLeftIntactAndTheEditorStaysOpen) {
    openCmx(Name, "old\r\n");
    w().Text1->setPlainText("new");
    RestorePermissions restore({path(), skins.path()});
    ASSERT_TRUE(QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                  QFileDevice::ReadOther));
    ASSERT_TRUE(QFile::setPermissions(skins.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                        QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                                        QFileDevice::ReadOther | QFileDevice::ExeOther));
    {
        // Permissions do not hold for a privileged user; nothing to test then.
        QFile probe(path());
        if (probe.open(QIODevice::WriteOnly | QIODevice::Append)) {
            GTEST_SKIP() << "running with privileges that ignore file permissions";
        }
    }
    messages.clear();
    clickSave();
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].startsWith("Could not save " + Name + ": "))
        << messages.messages[0].toStdString();
    EXPECT_GT(messages.messages[0].size(), QString("Could not save " + Name + ": ").size());
    EXPECT_EQ(test::readAll(path()), "old\r\n");
    expectStillEditing("new");
}

TEST_F(Saving, AVanishedSkinFolderIsReportedAndTheEditorStaysOpen) {
    openCmx(Name, "old\r\n");
    w().Text1->setPlainText("new");
    ASSERT_TRUE(QDir(skins.path()).removeRecursively());
    messages.clear();
    clickSave();
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].startsWith("Could not save " + Name + ": "))
        << messages.messages[0].toStdString();
    EXPECT_FALSE(test::exists(skins.path()));
    expectStillEditing("new");
}

TEST_F(Saving, AFailedSaveCanBeRetried) {
    openCmx(Name, "old\r\n");
    w().Text1->setPlainText("new");
    ASSERT_TRUE(QDir(skins.path()).removeRecursively());
    clickSave();
    ASSERT_TRUE(QDir().mkpath(skins.path()));
    messages.clear();
    clickSave();
    EXPECT_EQ(messages.messages, QStringList{"File Saved!"});
    EXPECT_EQ(test::readAll(path()), "new\r\n");
    EXPECT_TRUE(isBrowsing());
}
