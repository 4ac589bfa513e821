// History and "Put Back" through the windows: every change the program makes, recorded as it is
// made, still there after a restart, and put back without overwriting anything.
#include "support/AppFixture.h"
#include "support/FinishRuns.h"

#include "core/checks/CheckRegistry.h"
#include "core/journal/Journal.h"
#include "gui/history/HistoryWindow.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QSet>
#include <QTreeWidget>

using namespace vestimo;

namespace {

constexpr int Name = gui::HistoryWindow::FileColumn;
constexpr int Folder = gui::HistoryWindow::FolderColumn;

QByteArray FaultyCmx(const QByteArray& name) {
    QByteArray text = test::validCmx(name);
    return text.replace("\r\n0\r\n1\r\n", "\r\n7\r\n1\r\n"); // line 3 must hold "0"
}

// Every file under `folder` (hidden ones too) with the SHA-256 of its bytes.
QMap<QString, QByteArray> Hashes(const QString& folder) {
    QMap<QString, QByteArray> hashes;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        hashes.insert(QDir(folder).relativeFilePath(path),
                      QCryptographicHash::hash(test::readAll(path), QCryptographicHash::Sha256).toHex());
    }
    return hashes;
}

} // namespace

class History : public test::AppFixture {
protected:
    void SetUp() override {
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8()); // a trash of its own
        browseSkinEdit();
    }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }

    void click(QWidget* window, const char* name) {
        QPushButton* button = control<QPushButton>(window, name);
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_TRUE(test::finishRuns());
    }
    void showKind(const char* option) {
        QTest::mouseClick(control<QRadioButton>(&skinEdit(), option), Qt::LeftButton);
    }
    // Runs a directory-wide command from its button and returns its details.
    QString runCheck(const char* command) {
        for (const checks::RegisteredCheck& check : checks::checkRegistry()) {
            if (std::string_view(command) == check.objectName) {
                showInSkinEdit(check.make().filter);
            }
        }
        messages.clear();
        click(&skinEdit(), command);
        EXPECT_EQ(messages.messages.size(), 1) << command;
        return messages.details.value(0);
    }
    void select(gui::FileList* list, const QString& name) {
        const qsizetype row = list->entries().indexOf(name);
        ASSERT_GE(row, 0) << name.toStdString() << " is not listed";
        ASSERT_TRUE(list->setListIndex(static_cast<int>(row)));
    }
    void clickFile(gui::FileList* list, const QString& name) {
        const qsizetype row = list->entries().indexOf(name);
        ASSERT_GE(row, 0) << name.toStdString() << " is not listed";
        QListWidgetItem* item = list->item(static_cast<int>(row));
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    }
    void writeBitmap(const QString& name, QColor colour) {
        QImage image(8, 4, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(skins.filePath(name), "BMP"));
    }

    // Quits as the player does and starts the program again on the same program folder.
    void restart() {
        click(&skinEdit(), "cmdClose");
        EXPECT_EQ(quits, 1);
        app.reset();
        quits = 0;
        app = std::make_unique<gui::Application>(messages, program.path(), [this] { ++quits; });
        app->start();
        browseSkinEdit();
    }

    QWidget& history() {
        click(&skinEdit(), "cmdHistory");
        EXPECT_NE(app->history(), nullptr);
        EXPECT_EQ(app->history()->objectName(), "frmHistory");
        EXPECT_TRUE(app->history()->isVisible());
        return *app->history();
    }
    QTreeWidget& tree() { return *control<QTreeWidget>(&history(), "treHistory"); }
    // Clicks "Put Back" with `items` selected and returns the one message it ends with.
    std::pair<QString, QString> putBack(const QList<QTreeWidgetItem*>& items) {
        QTreeWidget& shown = *control<QTreeWidget>(app->history(), "treHistory");
        shown.clearSelection();
        for (QTreeWidgetItem* item : items) {
            item->setSelected(true);
        }
        messages.clear();
        click(app->history(), "cmdPutBack");
        EXPECT_EQ(messages.messages.size(), 1);
        return {messages.messages.value(0), messages.details.value(0)};
    }
    QList<QTreeWidgetItem*> runs() {
        QTreeWidget& shown = tree();
        QList<QTreeWidgetItem*> items;
        for (int i = 0; i < shown.topLevelItemCount(); ++i) {
            items.append(shown.topLevelItem(i));
        }
        return items;
    }

    test::TempDir dataHome;
};

TEST_F(History, EveryKindOfChangeIsPutBackAfterARestartAndTheSkinFolderIsAsItWas) {
    skins.write("B001FAFit_bad.cmx", FaultyCmx("B001FAFit_bad"));
    skins.write("B002FAFit_good.cmx", test::validCmx("B002FAFit_good"));
    writeBitmap("B002FAFitlgt_good.bmp", Qt::darkGreen);
    skins.write("B003FAFit_orphan.cmx", test::validCmx("B003FAFit_orphan"));
    skins.write("xskin-B003FAFit_orphan-PELVIS-BODY.skn", "mesh");
    skins.write("B004FAFitlgt_junk.bmp", "not a picture");
    writeBitmap("B005FAFitlgt_old.bmp", Qt::darkRed);
    skins.write("B100FAFit_xyz.cmx", test::validCmx("B100FAFit_xyz"));
    writeBitmap("B100FAFitlgt_xyz.bmp", Qt::magenta);
    const QMap<QString, QByteArray> before = Hashes(skins.path());

    // The three directory-wide checks, each report naming the way back.
    for (const checks::RegisteredCheck& check : checks::checkRegistry()) {
        const QString details = runCheck(check.objectName);
        EXPECT_TRUE(details.contains("\nHistory: This run can be undone from History.\n"))
            << details.toStdString();
    }
    EXPECT_TRUE(test::exists(program.filePath("B001FAFit_bad.cmx")));
    EXPECT_TRUE(test::exists(program.filePath("xskin-B003FAFit_orphan-PELVIS-BODY.skn")));
    EXPECT_TRUE(test::exists(program.filePath("B004FAFitlgt_junk.bmp")));

    // A bitmap to the trash.
    showKind("Option1");
    select(skinEditNamed().File1, "B005FAFitlgt_old.bmp");
    messages.clear();
    messages.answers = {true};
    click(&skinEdit(), "cmdDeleteBMP");
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_TRUE(test::exists(dataHome.filePath("Trash/files/B005FAFitlgt_old.bmp")));

    // A CMX file saved with a change.
    showKind("Option2");
    clickFile(skinEditNamed().File1, "B002FAFit_good.cmx");
    skinEditNamed().Text1->setPlainText(skinEditNamed().Text1->toPlainText() + "0\n");
    messages.clear();
    click(&skinEdit(), "cmdSaveCMX");
    EXPECT_NE(test::readAll(skins.filePath("B002FAFit_good.cmx")), test::validCmx("B002FAFit_good"));

    // An outfit exported.
    gui::BuyableMakerWindow& maker = buyable();
    browseBuyable();
    auto* makerFiles = control<gui::FileList>(&maker, "File1");
    select(makerFiles, "B100FAFitlgt_xyz.bmp");
    click(&maker, "cmdLoadFile");
    click(&maker, "cmdLoadCMX");
    select(makerFiles, "B100FAFit_xyz.cmx");
    messages.clear();
    click(&maker, "cmdExport");
    EXPECT_EQ(messages.messages, QStringList{"Successfully Exported!"});
    EXPECT_EQ(messages.details, QStringList{QString()});
    EXPECT_TRUE(test::exists(skins.filePath("F9QBFAFit_xyz.CMX")));
    app->switchToSkinEdit();

    restart();
    const QList<QTreeWidgetItem*> all = runs();
    ASSERT_EQ(all.size(), 6);
    EXPECT_TRUE(all[0]->text(0).contains("Export As Buyable")) << all[0]->text(0).toStdString();
    EXPECT_TRUE(all[1]->text(0).contains("Save CMX Changes"));
    EXPECT_TRUE(all[2]->text(0).contains("Delete Current BMP File"));
    EXPECT_TRUE(all[5]->text(0).contains("Check All CMX Files in Directory"));
    EXPECT_TRUE(all[5]->text(0).contains(QDir::toNativeSeparators(skins.path())));
    ASSERT_EQ(all[5]->childCount(), 1);
    EXPECT_EQ(all[5]->child(0)->text(Name), "B001FAFit_bad.cmx");
    EXPECT_EQ(all[5]->child(0)->text(Folder), QDir::toNativeSeparators(skins.path()));
    EXPECT_TRUE(all[5]->child(0)->text(1).startsWith("moved to ")) << all[5]->child(0)->text(1).toStdString();
    EXPECT_FALSE(all[5]->child(0)->text(2).isEmpty());

    const auto [message, details] = putBack(all);
    EXPECT_EQ(message, "Put back: 8.") << details.toStdString();
    EXPECT_FALSE(details.contains("Left alone")) << details.toStdString();
    EXPECT_EQ(Hashes(skins.path()), before);
    // Nothing of the skin folder is left in the program folder, and the trash keeps no note of it.
    EXPECT_EQ(QDir(program.path()).entryList({"*.cmx", "*.bmp", "*.skn"}, QDir::Files), QStringList{});
    EXPECT_FALSE(test::exists(dataHome.filePath("Trash/info/B005FAFitlgt_old.bmp.trashinfo")));

    // Again: nothing to do, and nothing changes.
    const auto [second, secondDetails] = putBack(runs().mid(1));
    EXPECT_EQ(second, "There was nothing to put back.");
    EXPECT_EQ(Hashes(skins.path()), before);
}

TEST_F(History, ATakenNameIsLeftAloneByNameTheRestGoAheadAndASecondPutBackDoesNothing) {
    skins.write("B001FAFit_a.cmx", FaultyCmx("B001FAFit_a"));
    skins.write("B002FAFit_b.cmx", FaultyCmx("B002FAFit_b"));
    runCheck("cmdCheckAllCMX");
    skins.write("B001FAFit_a.cmx", "the player's new file");

    const auto [message, details] = putBack({runs().value(0)});
    EXPECT_EQ(message, "Put back: 1. Left alone: 1 (the details say why).");
    EXPECT_TRUE(details.contains("Left alone, nothing overwritten:\n" + skins.filePath("B001FAFit_a.cmx") +
                                 ": another file now has its name"))
        << details.toStdString();
    EXPECT_EQ(test::readAll(skins.filePath("B001FAFit_a.cmx")), "the player's new file");
    EXPECT_EQ(test::readAll(skins.filePath("B002FAFit_b.cmx")), FaultyCmx("B002FAFit_b"));
    EXPECT_EQ(test::readAll(program.filePath("B001FAFit_a.cmx")), FaultyCmx("B001FAFit_a"));

    // The newest run is now the put back; the check is below it, its change still there.
    QList<QTreeWidgetItem*> shown = runs();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0]->text(0).contains("Put Back"));
    QTreeWidgetItem* check = shown[1];
    ASSERT_EQ(check->childCount(), 2);
    EXPECT_TRUE(check->child(1)->text(1).endsWith("; put back since"))
        << check->child(1)->text(1).toStdString();

    // With its name free again, the one change alone goes back; then there is nothing more to do.
    QFile::remove(skins.filePath("B001FAFit_a.cmx"));
    const auto [one, oneDetails] = putBack({check->child(0)});
    EXPECT_EQ(one, "Put back: 1.") << oneDetails.toStdString();
    EXPECT_EQ(test::readAll(skins.filePath("B001FAFit_a.cmx")), FaultyCmx("B001FAFit_a"));
    const auto [again, againDetails] = putBack({runs().value(2)});
    EXPECT_EQ(again, "There was nothing to put back.");
    EXPECT_TRUE(againDetails.contains("it was put back before")) << againDetails.toStdString();

    // Nothing selected: the window asks for a selection.
    const auto [none, noneDetails] = putBack({});
    EXPECT_EQ(none, "Please select a run or some of its changes first!");
}

TEST_F(History, ASaveChangedSinceIsLeftAloneAndAMoveThisFileComesBack) {
    skins.write("B002FAFit_good.cmx", test::validCmx("B002FAFit_good"));
    writeBitmap("B002FAFitlgt_good.bmp", Qt::darkGreen);
    showKind("Option2");
    clickFile(skinEditNamed().File1, "B002FAFit_good.cmx");
    skinEditNamed().Text1->setPlainText(skinEditNamed().Text1->toPlainText() + "0\n");
    click(&skinEdit(), "cmdSaveCMX");
    skins.write("B002FAFit_good.cmx", "edited elsewhere since");

    showKind("Option1");
    select(skinEditNamed().File1, "B002FAFitlgt_good.bmp");
    click(&skinEdit(), "cmdMoveFile");
    EXPECT_TRUE(test::exists(program.filePath("B002FAFitlgt_good.bmp")));

    const QList<QTreeWidgetItem*> shown = runs();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0]->text(0).contains("Move this file"));
    const auto [message, details] = putBack(shown);
    EXPECT_EQ(message, "Put back: 1. Left alone: 1 (the details say why).");
    EXPECT_TRUE(
        details.contains(skins.filePath("B002FAFit_good.cmx") + ": it has changed since it was saved"))
        << details.toStdString();
    EXPECT_EQ(test::readAll(skins.filePath("B002FAFit_good.cmx")), "edited elsewhere since");
    EXPECT_TRUE(test::exists(skins.filePath("B002FAFitlgt_good.bmp")));
}

TEST_F(History, IntentionsLeftOpenByACrashAreSettledAtTheNextStart) {
    skins.write("moved.cmx", "moved before the crash");
    skins.write("stayed.cmx", "never moved");
    click(&skinEdit(), "cmdClose");
    app.reset();
    {
        // What a run killed between its intentions and their completion leaves behind.
        platform::JournalStore store;
        ASSERT_TRUE(store.open(program.path()).ok);
        const auto run = store.beginRun("Check All CMX Files in Directory", skins.path());
        ASSERT_TRUE(run.ok);
        for (const char* name : {"moved.cmx", "stayed.cmx"}) {
            platform::JournalChange intent;
            intent.runId = run.value;
            intent.original = skins.filePath(name);
            intent.destination = program.filePath(name);
            intent.reason = "bad";
            ASSERT_TRUE(store.recordIntent(intent).ok);
        }
        ASSERT_TRUE(QFile::rename(skins.filePath("moved.cmx"), program.filePath("moved.cmx")));
    }
    app = std::make_unique<gui::Application>(messages, program.path(), [this] { ++quits; });
    app->start();
    EXPECT_TRUE(messages.messages.isEmpty());

    const QList<QTreeWidgetItem*> shown = runs();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0]->text(1), "interrupted");
    ASSERT_EQ(shown[0]->childCount(), 2);
    EXPECT_TRUE(shown[0]->child(0)->text(1).startsWith("moved to "))
        << shown[0]->child(0)->text(1).toStdString();
    EXPECT_FALSE(shown[0]->child(0)->text(1).contains(";"));
    EXPECT_TRUE(shown[0]->child(1)->text(1).endsWith("never happened (found so after the program stopped)"));
    const auto [message, details] = putBack(shown);
    EXPECT_EQ(message, "Put back: 1.") << details.toStdString();
    EXPECT_EQ(test::readAll(skins.filePath("moved.cmx")), "moved before the crash");
    EXPECT_EQ(test::readAll(skins.filePath("stayed.cmx")), "never moved");
}

// Another copy of the program killed mid-run while this one is open: History settles what it left
// open before showing it, and Put Back puts the file back.
TEST_F(History, OpeningHistoryAndPuttingBackSettleWhatAnotherCopyLeftOpen) {
    skins.write("moved.cmx", "moved by the killed copy");
    {
        platform::JournalStore store;
        ASSERT_TRUE(store.open(program.path()).ok);
        const auto run = store.beginRun("Check All CMX Files in Directory", skins.path());
        platform::JournalChange intent;
        intent.runId = run.value;
        intent.original = skins.filePath("moved.cmx");
        intent.destination = program.filePath("moved.cmx");
        ASSERT_TRUE(store.recordIntent(intent).ok);
        ASSERT_TRUE(QFile::rename(skins.filePath("moved.cmx"), program.filePath("moved.cmx")));
    }
    const QList<QTreeWidgetItem*> shown = runs();
    ASSERT_EQ(shown.size(), 1);
    ASSERT_EQ(shown[0]->childCount(), 1);
    EXPECT_FALSE(shown[0]->child(0)->text(1).contains(";")) << shown[0]->child(0)->text(1).toStdString();
    EXPECT_EQ(putBack(shown).first, "Put back: 1.");
    EXPECT_EQ(test::readAll(skins.filePath("moved.cmx")), "moved by the killed copy");
}

TEST_F(History, AJournalThatCannotBeOpenedStopsNoCheckAndADamagedOneIsSetAside) {
    skins.write("B001FAFit_bad.cmx", FaultyCmx("B001FAFit_bad"));
    click(&skinEdit(), "cmdClose");
    app.reset();
    for (const char* file : {"journal.sqlite", "journal.sqlite-wal", "journal.sqlite-shm"}) {
        QFile::remove(program.filePath(file));
    }
    program.mkdir("journal.sqlite");
    app = std::make_unique<gui::Application>(messages, program.path(), [this] { ++quits; });
    app->start();
    browseSkinEdit();
    QString details = runCheck("cmdCheckAllCMX");
    EXPECT_TRUE(test::exists(program.filePath("B001FAFit_bad.cmx")));
    EXPECT_TRUE(details.contains("\nHistory: This run could not be recorded: journal.sqlite is not a file\n"))
        << details.toStdString();
    QList<QTreeWidgetItem*> shown = runs();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0]->text(0), "There is no history to show: journal.sqlite is not a file");
    EXPECT_EQ(putBack(shown).first, "Please select a run or some of its changes first!");

    // A damaged file in its place: set aside, never deleted, and a new journal started.
    app->history()->hide();
    click(&skinEdit(), "cmdClose");
    app.reset();
    QDir(program.path()).rmdir("journal.sqlite");
    program.write("journal.sqlite", "not a database at all");
    QFile::rename(program.filePath("B001FAFit_bad.cmx"), skins.filePath("B001FAFit_bad.cmx"));
    app = std::make_unique<gui::Application>(messages, program.path(), [this] { ++quits; });
    app->start();
    browseSkinEdit();
    details = runCheck("cmdCheckAllCMX");
    EXPECT_TRUE(details.contains("\nHistory: This run can be undone from History.\n"))
        << details.toStdString();
    const QStringList aside = QDir(program.path()).entryList({"journal.sqlite.corrupt-*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(test::readAll(program.filePath(aside[0])), "not a database at all");
    EXPECT_EQ(runs().size(), 1);
}

TEST_F(History, RunsWithoutChangesWaitBehindTheBox) {
    skins.write("B001FAFit_bad.cmx", FaultyCmx("B001FAFit_bad"));
    skins.write("B002FAFit_good.cmx", test::validCmx("B002FAFit_good"));
    writeBitmap("B002FAFitlgt_good.bmp", Qt::darkGreen);
    runCheck("cmdCheckAllCMX");
    runCheck("cmdCheckAllCMX"); // nothing left to move
    QList<QTreeWidgetItem*> shown = runs();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0]->childCount(), 1);

    auto* all = control<QCheckBox>(app->history(), "chkShowEmptyRuns");
    EXPECT_FALSE(all->isChecked());
    all->click();
    shown = runs(); // read afresh, the box as it was left
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0]->childCount(), 0);
    EXPECT_TRUE(shown[0]->text(1).endsWith("no file changed")) << shown[0]->text(1).toStdString();
    all->click();
    EXPECT_EQ(runs().size(), 1);
}

TEST_F(History, OpensCentredOnItsWindowClosesWithEscapeOrCtrlWAndHasAltLetters) {
    QWidget& window = history();
    QSet<QString> letters;
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        const QString key = button->shortcut().toString(QKeySequence::PortableText);
        ASSERT_TRUE(key.startsWith("Alt+")) << button->objectName().toStdString();
        EXPECT_TRUE(button->text().contains(key.mid(4), Qt::CaseInsensitive));
        EXPECT_FALSE(letters.contains(key)) << key.toStdString() << " twice";
        letters.insert(key);
    }
    EXPECT_EQ(letters.size(), 3);

    int left = 60;
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        // Small enough to stand anywhere on the screen, over a window away from its middle.
        window.hide();
        window.resize(300, 200);
        skinEdit().setGeometry(left += 10, 50, 400, 300);
        history();
        EXPECT_EQ(window.geometry().center(), skinEdit().geometry().center());
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keySequence(&window, keys);
        EXPECT_FALSE(window.isVisible()) << keys.toString().toStdString();
    }
}
