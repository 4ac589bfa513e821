// What a desktop player expects of the windows: a title and path line saying where they are, a
// folder dialog, closing from the window manager and the keyboard, a question before typed work
// is lost, Alt+letter shortcuts, the About box and the line under the viewer.
#include "support/AppFixture.h"

#include "samples/BmpSamples.h"

#include "core/catalogue/SingleChecks.h"
#include "gui/app/WindowLooks.h"
#include "platform/FileSystem.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QSet>

#include <cmath>

using namespace vestimo;

namespace {

QByteArray bmp(int width, int height, int bits = 8) {
    return QByteArray::fromStdString(
        samples::MakeBmp({.width = width, .height = height, .bitsPerPixel = bits}));
}

} // namespace

class Desktop : public test::AppFixture {
protected:
    // Opens `name` (written first) in the skin editing window's editor.
    void openCmx(const QString& name) {
        skins.write(name, test::validCmx());
        browseSkinEdit();
        QTest::mouseClick(skinEditNamed().Option2, Qt::LeftButton);
        gui::FileList* files = skinEditNamed().File1;
        files->setListIndex(static_cast<int>(files->entries().indexOf(name)));
        ASSERT_TRUE(skinEdit().state().openFile.has_value());
        messages.clear();
    }
    void type(const QString& text) {
        skinEditNamed().Text1->setFocus();
        QTest::keyClicks(skinEditNamed().Text1, text);
    }
    QLineEdit* pathLine(QWidget* window) { return control<QLineEdit>(window, "txtPath"); }
};

TEST_F(Desktop, TitleAndPathLineFollowTheSkinDirectory) {
    browseSkinEdit();
    const QString clean = QDir::cleanPath(skins.path());
    EXPECT_EQ(skinEdit().windowTitle(), "Vestimo - " + gui::shownDirectory(clean));
    EXPECT_EQ(pathLine(&skinEdit())->text(), QDir::toNativeSeparators(clean));
    EXPECT_TRUE(pathLine(&skinEdit())->isReadOnly());
    const QString sub = skins.mkdir("sub");
    browseSkinEdit(sub);
    EXPECT_EQ(skinEdit().windowTitle(), "Vestimo - " + gui::shownDirectory(QDir::cleanPath(sub)));
    EXPECT_EQ(pathLine(&skinEdit())->text(), QDir::cleanPath(sub));

    browseBuyable(sub);
    EXPECT_EQ(buyable().windowTitle(), "Vestimo - " + gui::shownDirectory(QDir::cleanPath(sub)));
    EXPECT_EQ(pathLine(&buyable())->text(), QDir::cleanPath(sub));
}

TEST_F(Desktop, HomeIsShownAsTilde) {
    const QString home = QDir::cleanPath(QDir::homePath());
    EXPECT_EQ(gui::shownDirectory(home), "~");
    EXPECT_EQ(gui::shownDirectory(home + "/skins/new"), "~/skins/new");
    EXPECT_EQ(gui::shownDirectory(home + "x/skins"), home + "x/skins");
    EXPECT_EQ(gui::shownDirectory("/srv/skins"), "/srv/skins");
}

TEST_F(Desktop, BrowseMovesTheListsThroughTheirChangeSteps) {
    skins.write("a.bmp", bmp(32, 32));
    const QString other = skins.mkdir("other");
    skins.write("other/b.bmp", bmp(32, 32));
    browseSkinEdit();
    QStringList asked;
    app->setDirectoryChooser([&asked, other](QWidget*, const QString& start) {
        asked.append(start);
        return other;
    });
    QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdBrowse"), Qt::LeftButton);
    EXPECT_EQ(asked, QStringList{QDir::cleanPath(skins.path())});
    EXPECT_EQ(skinEditNamed().Dir1->path(), QDir::cleanPath(other));
    EXPECT_EQ(skinEditNamed().File1->entries(), QStringList{"b.bmp"});
    EXPECT_EQ(pathLine(&skinEdit())->text(), QDir::cleanPath(other));
    EXPECT_EQ(skinEditNamed().Drive1->currentDirectoryOf(skinEditNamed().Drive1->drive()),
              QDir::cleanPath(other));

    // A dialog closed without a choice changes nothing.
    app->setDirectoryChooser([](QWidget*, const QString&) { return QString(); });
    QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdBrowse"), Qt::LeftButton);
    EXPECT_EQ(skinEditNamed().Dir1->path(), QDir::cleanPath(other));

    // The buyable window browses the same way.
    app->setDirectoryChooser([this](QWidget*, const QString&) { return skins.path(); });
    QTest::mouseClick(control<QPushButton>(&buyable(), "cmdBrowse"), Qt::LeftButton);
    EXPECT_EQ(control<gui::DirList>(&buyable(), "Dir1")->path(), QDir::cleanPath(skins.path()));
    EXPECT_EQ(control<gui::FileList>(&buyable(), "File1")->entries(), QStringList{"a.bmp"});
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(Desktop, BrowseIsLockedWithTheBrowserWhileAFileIsOpen) {
    openCmx("B001FAFit_x.cmx");
    EXPECT_FALSE(control<QPushButton>(&skinEdit(), "cmdBrowse")->isEnabled());
    QTest::mouseClick(skinEditNamed().cmdCloseFile, Qt::LeftButton);
    EXPECT_TRUE(control<QPushButton>(&skinEdit(), "cmdBrowse")->isEnabled());
}

TEST_F(Desktop, TypingInTheListsJumpsToTheFirstMatchingName) {
    skins.mkdir("alpha");
    skins.mkdir("Sims");
    skins.mkdir("skins");
    skins.write("a.bmp", "x");
    skins.write("sample.bmp", "x");
    browseSkinEdit();
    gui::DirList* dirs = skinEditNamed().Dir1;
    dirs->setFocus();
    QTest::keyClicks(dirs, "sk");
    ASSERT_NE(dirs->currentItem(), nullptr);
    EXPECT_EQ(dirs->currentItem()->text().trimmed(), "skins");
    // Only the highlight moved: the folder opens on Enter.
    EXPECT_EQ(dirs->path(), QDir::cleanPath(skins.path()));

    gui::FileList* files = skinEditNamed().File1;
    files->setFocus();
    QTest::keyClicks(files, "s");
    EXPECT_EQ(files->fileName(), "sample.bmp");
}

TEST_F(Desktop, WindowManagerCloseAndCtrlQEndTheProgramLikeCloseThisProgram) {
    EXPECT_TRUE(skinEdit().windowFlags().testFlag(Qt::WindowCloseButtonHint) ||
                !skinEdit().windowFlags().testFlag(Qt::CustomizeWindowHint));
    skinEdit().close();
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(skinEdit().isVisible());
    EXPECT_TRUE(messages.questions.isEmpty());

    app->start();
    skinEdit().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&skinEdit()));
    QTest::keyClick(&skinEdit(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits, 2);

    gui::BuyableMakerWindow& maker = buyable();
    maker.close();
    EXPECT_EQ(quits, 3);
    EXPECT_FALSE(maker.isVisible());
}

TEST_F(Desktop, ClosingTheBuyableWindowWhileASkinIsLoadedAsksAndYesEndsTheProgram) {
    skins.write("B001FAFit_x.bmp", bmp(32, 32));
    browseBuyable();
    control<gui::FileList>(&buyable(), "File1")->setListIndex(0);
    QTest::mouseClick(control<QPushButton>(&buyable(), "cmdLoadFile"), Qt::LeftButton);
    ASSERT_FALSE(control<QPushButton>(&buyable(), "cmdClose")->isEnabled());
    const QString question = "Close Vestimo? The buyable skin started from B001FAFit_x.bmp is not exported.";

    // The close box and Ctrl+Q: No keeps the window and the skin.
    messages.answers = {false, false};
    buyable().close();
    buyable().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&buyable()));
    QTest::keyClick(&buyable(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(messages.questions, (QStringList{question, question}));
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(buyable().isVisible());
    EXPECT_EQ(buyable().draft().bitmapName, "B001FAFit_x.bmp");

    // Yes ends the program as "Close This Program" does.
    gui::BuyableMakerWindow& maker = buyable();
    messages.answers = {true};
    maker.close();
    EXPECT_EQ(messages.questions.size(), 3);
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(maker.isVisible());
}

TEST_F(Desktop, UnsavedEditsOfferSaveDiscardAndCancel) {
    using Choice = gui::MessageBoxes::SaveChoice;
    openCmx("B001FAFit_x.cmx");
    type("edit");
    ASSERT_TRUE(skinEdit().state().openFile->edited);
    const QString typed = skinEditNamed().Text1->toPlainText();

    // Cancel keeps everything, from the close box and from "Close Selected CMX File".
    messages.choices = {Choice::Cancel, Choice::Cancel};
    skinEdit().close();
    QTest::mouseClick(skinEditNamed().cmdCloseFile, Qt::LeftButton);
    EXPECT_EQ(messages.saveQuestions.size(), 2);
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(skinEdit().isVisible());
    EXPECT_TRUE(skinEdit().state().openFile.has_value());
    EXPECT_EQ(skinEditNamed().Text1->toPlainText(), typed);

    // A save that fails keeps everything open too.
    messages.clear();
    messages.choices = {Choice::Save};
    QFile::remove(skins.filePath("B001FAFit_x.cmx"));
    ASSERT_TRUE(QDir(skins.path()).mkdir("B001FAFit_x.cmx"));
    QTest::mouseClick(control<QPushButton>(&buyable(), "cmdClose"), Qt::LeftButton);
    EXPECT_EQ(messages.saveQuestions.size(), 1);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].startsWith("Could not save B001FAFit_x.cmx"))
        << messages.messages[0].toStdString();
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(skinEdit().state().openFile.has_value());
    app->switchToSkinEdit();

    // Save writes through the ordinary save, then the program ends.
    ASSERT_TRUE(QDir(skins.path()).rmdir("B001FAFit_x.cmx"));
    messages.clear();
    messages.choices = {Choice::Save};
    skinEdit().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&skinEdit()));
    QTest::keyClick(&skinEdit(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(messages.messages, QStringList{"File Saved!"});
    EXPECT_TRUE(test::readAll(skins.filePath("B001FAFit_x.cmx")).contains("edit"));
    EXPECT_EQ(quits, 1);
}

TEST_F(Desktop, DiscardClosesTheFileUnwrittenAndCtrlSSaves) {
    using Choice = gui::MessageBoxes::SaveChoice;
    openCmx("B001FAFit_x.cmx");
    const QString title = skinEdit().windowTitle();
    type("gone");
    messages.choices = {Choice::Discard};
    QTest::mouseClick(skinEditNamed().cmdCloseFile, Qt::LeftButton);
    EXPECT_FALSE(skinEdit().state().openFile.has_value());
    EXPECT_EQ(test::readAll(skins.filePath("B001FAFit_x.cmx")), test::validCmx());
    EXPECT_EQ(skinEdit().windowTitle(), title);

    // Opened again: a click on the file once more.
    gui::FileList* files = skinEditNamed().File1;
    files->setListIndex(-1);
    files->setListIndex(static_cast<int>(files->entries().indexOf("B001FAFit_x.cmx")));
    ASSERT_TRUE(skinEdit().state().openFile.has_value());
    type("kept");
    EXPECT_EQ(skinEdit().windowTitle(), "*" + title);
    messages.clear();
    skinEdit().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&skinEdit()));
    QTest::keyClick(skinEditNamed().Text1, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(messages.messages, QStringList{"File Saved!"});
    EXPECT_TRUE(test::readAll(skins.filePath("B001FAFit_x.cmx")).contains("kept"));
    EXPECT_FALSE(skinEdit().state().openFile.has_value());
}

TEST_F(Desktop, NothingIsAskedWithoutEditsOrOnceTheyAreUndone) {
    openCmx("B001FAFit_x.cmx");
    type("x");
    QTest::keyClick(skinEditNamed().Text1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(skinEdit().state().openFile->edited);
    QTest::mouseClick(skinEditNamed().cmdCloseFile, Qt::LeftButton);
    EXPECT_FALSE(skinEdit().state().openFile.has_value());
    QTest::mouseClick(skinEditNamed().cmdClose, Qt::LeftButton);
    EXPECT_TRUE(messages.questions.isEmpty());
    EXPECT_EQ(quits, 1);
}

TEST_F(Desktop, EveryButtonHasItsOwnAltLetter) {
    for (QWidget* window : {static_cast<QWidget*>(&skinEdit()), static_cast<QWidget*>(&buyable())}) {
        QSet<QString> keys;
        const QList<QAbstractButton*> buttons = window->findChildren<QAbstractButton*>();
        ASSERT_GE(buttons.size(), 9);
        for (QAbstractButton* button : buttons) {
            const QString key = button->shortcut().toString(QKeySequence::PortableText);
            // Cancel, the one button enabled during a run, answers Escape.
            if (button->objectName() == "cmdCancel") {
                EXPECT_EQ(key, "Esc");
                continue;
            }
            ASSERT_TRUE(key.startsWith("Alt+")) << button->objectName().toStdString();
            const QString letter = key.mid(4);
            ASSERT_EQ(letter.size(), 1);
            EXPECT_TRUE(button->text().contains(letter, Qt::CaseInsensitive))
                << button->objectName().toStdString();
            EXPECT_FALSE(keys.contains(letter))
                << window->objectName().toStdString() << ": " << key.toStdString() << " twice";
            keys.insert(letter);
            // The caption is still worded exactly; the underline is only drawn.
            EXPECT_FALSE(button->text().contains('&'));
        }
    }
}

TEST_F(Desktop, AltLetterRunsTheButtonsCommand) {
    QPushButton* check = skinEditNamed().cmdCMXError;
    skinEdit().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&skinEdit()));
    const QKeySequence key = check->shortcut();
    ASSERT_FALSE(key.isEmpty());
    QTest::keySequence(&skinEdit(), key);
    QTest::qWait(200); // a shortcut animates its click
    EXPECT_EQ(messages.messages, QStringList{"Please select a file first!"});
}

TEST_F(Desktop, CaptionsUnderlineTheirLetter) {
    EXPECT_EQ(gui::captionWithMnemonic("Check CMX For Errors", QKeySequence("Alt+F")),
              "Check CMX &For Errors");
    EXPECT_EQ(gui::captionWithMnemonic("Check CMX For Errors", QKeySequence("Alt+E")),
              "Check CMX For &Errors");
    EXPECT_EQ(gui::captionWithMnemonic("Move this file", QKeySequence("Alt+V")), "Mo&ve this file");
    EXPECT_EQ(gui::captionWithMnemonic("Salt & Pepper", QKeySequence("Alt+P")), "Salt && &Pepper");
    EXPECT_EQ(gui::captionWithMnemonic("Browse...", QKeySequence()), "Browse...");
}

TEST_F(Desktop, TabLeavesTheEditorAndTheTextStays) {
    QPlainTextEdit* text = skinEditNamed().Text1;
    skinEdit().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&skinEdit()));
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), skinEditNamed().cmdAssocFiles);
    EXPECT_EQ(text->toPlainText(), "A CMX File's contents will be displayed here.");
}

TEST_F(Desktop, AboutTellsVersionLicenseContactAndFolders) {
    for (QWidget* window : {static_cast<QWidget*>(&skinEdit()), static_cast<QWidget*>(&buyable())}) {
        messages.clear();
        QTest::mouseClick(control<QPushButton>(window, "cmdAbout"), Qt::LeftButton);
        ASSERT_EQ(messages.messages.size(), 1);
        const QString about = messages.messages.first();
        EXPECT_TRUE(about.contains(platform::applicationVersion()));
        EXPECT_TRUE(about.contains("GPL-3.0-or-later"));
        EXPECT_TRUE(about.contains(texts::maintainerContact()));
        EXPECT_TRUE(about.contains(program.path()));
        EXPECT_TRUE(about.contains(program.filePath("journal.sqlite")));
    }
}

TEST_F(Desktop, TheLineUnderTheViewerDescribesThePicture) {
    skins.write("B001FAFit_x.bmp", bmp(256, 256));
    skins.write("odd.bmp", bmp(100, 50, 24));
    skins.write("broken.bmp", "not a picture");
    browseSkinEdit();
    gui::FileList* files = skinEditNamed().File1;
    auto* line = control<QLabel>(&skinEdit(), "lblBitmapInfo");
    files->setListIndex(static_cast<int>(files->entries().indexOf("B001FAFit_x.bmp")));
    // The zoom at the end is the viewer's business (ViewerTest).
    EXPECT_TRUE(line->text().startsWith("256 x 256, 8-bit, 66,614 bytes (limit 75,000), "))
        << line->text().toStdString();
    files->setListIndex(static_cast<int>(files->entries().indexOf("odd.bmp")));
    EXPECT_TRUE(line->text().startsWith("100 x 50, 24-bit, ")) << line->text().toStdString();
    EXPECT_FALSE(line->text().contains("limit"));
    files->setListIndex(static_cast<int>(files->entries().indexOf("broken.bmp")));
    EXPECT_FALSE(skinEditNamed().Picture1->hasPicture());
    EXPECT_TRUE(line->text().startsWith("broken.bmp cannot be shown: ")) << line->text().toStdString();

    // The buyable window's line says the same; its viewer keeps the last picture, as it always has.
    browseBuyable();
    auto* makerFiles = control<gui::FileList>(&buyable(), "File1");
    auto* makerLine = control<QLabel>(&buyable(), "lblBitmapInfo");
    makerFiles->setListIndex(static_cast<int>(makerFiles->entries().indexOf("B001FAFit_x.bmp")));
    EXPECT_TRUE(makerLine->text().startsWith("256 x 256, 8-bit, 66,614 bytes (limit 75,000), "));
    makerFiles->setListIndex(static_cast<int>(makerFiles->entries().indexOf("broken.bmp")));
    EXPECT_TRUE(control<gui::PictureBox>(&buyable(), "Picture1")->hasPicture());
    EXPECT_TRUE(makerLine->text().startsWith("broken.bmp cannot be shown: "));
}

TEST_F(Desktop, SmallPicturesGrowByWholeFactorsLargeOnesShrink) {
    skins.write("small.bmp", bmp(32, 32));
    skins.write("large.bmp", bmp(512, 256));
    browseSkinEdit();
    gui::PictureBox* viewer = skinEditNamed().Picture1;
    viewer->resize(300, 200);
    ASSERT_TRUE(viewer->loadFile(skins.filePath("small.bmp")));
    const qreal ratio = viewer->devicePixelRatioF();
    const QRectF small = viewer->pictureRect();
    // The largest whole factor that fits the viewer's height, in device pixels.
    EXPECT_DOUBLE_EQ(small.width() * ratio, std::floor(200 * ratio / 32) * 32);
    EXPECT_DOUBLE_EQ(small.height(), small.width());
    EXPECT_TRUE(viewer->enlarged());
    ASSERT_TRUE(viewer->loadFile(skins.filePath("large.bmp")));
    const QRectF large = viewer->pictureRect();
    EXPECT_LE(large.width(), 300);
    EXPECT_NEAR(large.width() / large.height(), 2.0, 0.02);
    EXPECT_FALSE(viewer->enlarged());
}

TEST_F(Desktop, EveryWindowCarriesTheProgramsIcon) {
    EXPECT_FALSE(skinEdit().windowIcon().isNull());
    EXPECT_FALSE(buyable().windowIcon().isNull());
}
