// Installing downloads from the windows: the button with its dialogs answered by the test, drops
// of folders of downloads on either window, checking only, and History taking it all back.
#include "support/AppFixture.h"
#include "support/FinishRuns.h"

#include "core/catalogue/History.h"
#include "core/catalogue/Install.h"
#include "core/journal/Journal.h"
#include "core/report/RunReport.h"
#include "games/FakeHome.h"
#include "gui/browser/GameFoldersBox.h"
#include "gui/history/HistoryWindow.h"
#include "gui/install/InstallCommand.h"
#include "gui/report/ReportWindow.h"
#include "install/ArchiveWriter.h"
#include "install/InstallFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QTableView>
#include <QTreeWidget>

using namespace vestimo;
using test::ArchiveFormat;
using test::File;
using test::InstallFixture;

namespace {

std::vector<test::ArchiveEntry> SkinAndOutfit(const std::string& body, const std::string& outfit) {
    auto entries = InstallFixture::BodySkin("My Skin/", body);
    entries.push_back(File("My Skin/" + outfit + ".cmx", samples::ValidBodyCmx(outfit)));
    entries.push_back(File("My Skin/" + samples::BodyBitmapFile(outfit, "lgt"), InstallFixture::Bmp(9)));
    entries.push_back(File("My Skin/readme.txt", "thanks"));
    return entries;
}

// Every file below `root` but the program folder's (the journal changes there).
QMap<QString, QByteArray> Files(const QString& root) {
    QMap<QString, QByteArray> files = test::Snapshot(root);
    for (auto it = files.begin(); it != files.end();) {
        it = it.key().startsWith(QStringLiteral("program")) ? files.erase(it) : std::next(it);
    }
    return files;
}

} // namespace

// The program started in a home with one install (with its SkinsBuy folder), a trash of its own
// and both dialogs answered by the test.
class InstallWindow : public test::AppFixture {
protected:
    void SetUp() override {
        home.prefix(".wine");
        game = home.install(".wine/drive_c/Program Files/Maxis/The Sims", true);
        gameSkins = game + "/GameData/Skins";
        gameBuy = game + "/ExpansionShared/SkinsBuy";
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", home.home().toUtf8());
        qunsetenv("WINEPREFIX");
        app = std::make_unique<gui::Application>(messages, program.path(), [this] { ++quits; });
        app->start();
        qputenv("HOME", oldHome);
        app->installCommand().setDownloadChooser([this](QWidget*, const QString& start) {
            chooserStarts.append(start);
            return chosen;
        });
        app->installCommand().setOptionsAsker([this](QWidget*, const gui::InstallOffer& offer) {
            offers.push_back(offer);
            return answer;
        });
        browseSkinEdit();
    }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }

    QString Download(const QString& name, ArchiveFormat format,
                     const std::vector<test::ArchiveEntry>& entries) {
        const QString path = downloads.filePath(name);
        test::WriteArchive(path, format, entries);
        return path;
    }
    void clickInstall() {
        messages.clear();
        QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdInstall"), Qt::LeftButton);
        ASSERT_TRUE(test::finishRuns());
    }
    // Drags `urls` over `window` and drops them; whether the window took the drag.
    bool drop(QWidget& window, const QList<QUrl>& urls) {
        messages.clear();
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &dropped);
        EXPECT_TRUE(test::finishRuns());
        return true;
    }
    // A folder of four downloads: one good skin, a faulty CMX line, a path out of the folder and a
    // truncated archive.
    QString MixedDownloads(const QString& folder, const std::string& base) {
        const QString into = downloads.mkdir(folder);
        const auto write = [&](const QString& name, ArchiveFormat format,
                               const std::vector<test::ArchiveEntry>& e) {
            test::WriteArchive(into + "/" + name, format, e);
        };
        write("1 good.zip", ArchiveFormat::ZipDeflate, InstallFixture::BodySkin("", "B001FAFit_" + base));
        write("2 faulty.7z", ArchiveFormat::SevenZip,
              {File("B002FAFit_" + base + ".cmx", samples::CmxWithFaultAt("B002FAFit_" + base, 8)),
               File(samples::BodyBitmapFile("B002FAFit_" + base, "lgt"), InstallFixture::Bmp(3))});
        write("3 traversal.tar.gz", ArchiveFormat::TarGz,
              {File("../B003FAFit_" + base + ".cmx", samples::ValidBodyCmx("B003FAFit_" + base))});
        write("4 cut.zip", ArchiveFormat::ZipDeflate, InstallFixture::BodySkin("", "B004FAFit_" + base));
        QFile cut(into + "/4 cut.zip");
        EXPECT_TRUE(cut.open(QIODevice::ReadWrite));
        EXPECT_TRUE(cut.resize(cut.size() / 2));
        return into;
    }

    // The last report's row for `file` ("download: path inside it"): its verdict, reason and place.
    QString row(const QString& file) const {
        if (messages.reports.isEmpty()) {
            return QStringLiteral("no report");
        }
        for (const report::RunRow& entry : messages.reports.last().rows) {
            if (entry.file == file) {
                return QStringList{report::verdictLabel(entry.verdict), entry.reason, entry.where}.join(
                    " | ");
            }
        }
        return QStringLiteral("no row");
    }
    // The fact `label` of the last report.
    QString fact(const QString& label) const {
        for (const report::RunFact& entry : messages.reports.value(messages.reports.size() - 1).facts) {
            if (entry.label == label) {
                return entry.value;
            }
        }
        return {};
    }

    test::FakeHome home;
    test::TempDir dataHome;
    test::TempDir downloads;
    QString game;
    QString gameSkins;
    QString gameBuy;
    QStringList chosen;
    QStringList chooserStarts;
    std::vector<gui::InstallOffer> offers;
    std::optional<gui::InstallChoice> answer = gui::InstallChoice{0, false};
};

TEST_F(InstallWindow, TheButtonInstallsTheSkinIntoTheGameAndTheOutfitIntoSkinsBuy) {
    chosen = {Download("skin.zip", ArchiveFormat::ZipDeflate, SkinAndOutfit("B001FAFit_x", "F001FAFit_x"))};
    clickInstall();

    EXPECT_EQ(chooserStarts, QStringList{skins.path()});
    ASSERT_EQ(offers.size(), 1u);
    EXPECT_EQ(offers[0].labels.size(), 2);
    EXPECT_TRUE(offers[0].labels[0].endsWith("(" + gameSkins + ")")) << offers[0].labels[0].toStdString();
    EXPECT_EQ(offers[0].labels[1], texts::installCurrentFolder(skins.path()));
    EXPECT_EQ(offers[0].preselected, 0);
    ASSERT_EQ(messages.messages, QStringList{"Installed 5 files from 1 downloads."});
    // The closing message's "Report..." has every file of the download.
    ASSERT_EQ(messages.reports.size(), 1);
    EXPECT_EQ(messages.reports[0].rows.size(), 6);
    EXPECT_EQ(row("skin.zip: My Skin/B001FAFit_x.cmx"), "installed |  | " + gameSkins + "/B001FAFit_x.cmx");
    EXPECT_EQ(row("skin.zip: My Skin/F001FAFit_x.cmx"), "installed |  | " + gameBuy + "/F001FAFit_x.cmx");
    EXPECT_EQ(row("skin.zip: My Skin/readme.txt"), "passed over | not a skin file | ");
    EXPECT_EQ(fact("History"), texts::runCanBeUndone());
    EXPECT_EQ(fact("Downloads"), "1");
    // The report window filters by the installation's own verdicts.
    gui::ReportWindow window(messages.reports[0], messages, {});
    auto* verdicts = control<QComboBox>(&window, "cboVerdict");
    EXPECT_EQ(verdicts->count(), 6);
    verdicts->setCurrentIndex(verdicts->findText("installed"));
    EXPECT_EQ(control<QTableView>(&window, "tblReport")->model()->rowCount(), 5);
    EXPECT_TRUE(QFile::exists(gameSkins + "/xskin-B001FAFit_x-PELVIS-BODY.skn"));
    EXPECT_TRUE(QFile::exists(gameBuy + "/F001FAFitlgt_x.bmp"));
    EXPECT_FALSE(skinEditNamed().ProgressBar1->isVisible());

    // Again into the folder the browser shows: the list then shows the new bitmap, and the same
    // download once more finds every file in place.
    answer = gui::InstallChoice{1, false};
    clickInstall();
    EXPECT_TRUE(skinEditNamed().File1->entries().contains("B001FAFitlgt_x.bmp"));
    EXPECT_TRUE(QFile::exists(skins.filePath("F001FAFit_x.cmx")));
    answer = gui::InstallChoice{0, false};
    clickInstall();
    EXPECT_EQ(messages.messages, QStringList{"Installed 0 files from 1 downloads."});
    EXPECT_EQ(row("skin.zip: My Skin/B001FAFit_x.cmx"),
              "already installed |  | " + gameSkins + "/B001FAFit_x.cmx");

    // The browser in the install's Skins folder preselects that install; Cancel does nothing.
    browseSkinEdit(gameSkins);
    answer.reset();
    clickInstall();
    EXPECT_EQ(offers.back().preselected, 0);
    EXPECT_TRUE(messages.messages.isEmpty());
    chosen.clear();
    clickInstall();
    EXPECT_EQ(offers.size(), 4u); // no file chosen, no dialog
}

TEST_F(InstallWindow, CheckOnlyChangesNothingAndSaysWhatWouldBeInstalled) {
    chosen = {Download("skin.7z", ArchiveFormat::SevenZip, SkinAndOutfit("B001FAFit_c", "F001FAFit_c"))};
    answer = gui::InstallChoice{0, true};
    const auto before = Files(home.home());
    const auto skinsBefore = Files(skins.path());
    clickInstall();
    ASSERT_EQ(messages.messages, QStringList{"Checked only: 5 files would be installed from 1 downloads."});
    EXPECT_EQ(row("skin.7z: My Skin/B001FAFit_c.cmx"),
              "would be installed |  | " + gameSkins + "/B001FAFit_c.cmx");
    EXPECT_EQ(fact("History"), texts::installCheckedOnlyNothingChanged());
    EXPECT_EQ(Files(home.home()), before);
    EXPECT_EQ(Files(skins.path()), skinsBefore);
    EXPECT_TRUE(app->journal().store().listRuns().value.isEmpty());
}

TEST_F(InstallWindow, AFolderOfDownloadsDroppedOnEitherWindowInstallsTheGoodAndRefusesTheRest) {
    EXPECT_FALSE(drop(skinEdit(), {QUrl("https://example.com/skin.zip")}));
    EXPECT_FALSE(
        drop(skinEdit(), {QUrl::fromLocalFile(downloads.path()), QUrl("https://example.com/a.zip")}));
    EXPECT_TRUE(offers.empty());

    const auto outside = Files(downloads.path());
    ASSERT_TRUE(drop(skinEdit(), {QUrl::fromLocalFile(MixedDownloads("first", "a"))}));
    ASSERT_EQ(messages.messages, QStringList{"Installed 3 files from 4 downloads."});
    EXPECT_EQ(fact("Downloads"), "4");
    EXPECT_EQ(row("1 good.zip: B001FAFit_a.cmx"), "installed |  | " + gameSkins + "/B001FAFit_a.cmx");
    EXPECT_TRUE(row("2 faulty.7z: B002FAFit_a.cmx").startsWith("refused | line 8"))
        << row("2 faulty.7z: B002FAFit_a.cmx").toStdString();
    EXPECT_TRUE(row("2 faulty.7z: B002FAFitlgt_a.bmp")
                    .startsWith("refused | belongs to B002FAFit_a.cmx, which was refused"))
        << row("2 faulty.7z: B002FAFitlgt_a.bmp").toStdString();
    EXPECT_TRUE(row("3 traversal.tar.gz: ../B003FAFit_a.cmx").startsWith("refused | "));
    EXPECT_TRUE(row("4 cut.zip").startsWith("refused | the download could not be read: 4 cut.zip: "))
        << row("4 cut.zip").toStdString();
    EXPECT_EQ(QDir(gameSkins).entryList(QDir::Files | QDir::Hidden).size(), 3);
    EXPECT_FALSE(QFile::exists(game + "/GameData/B003FAFit_a.cmx"));
    EXPECT_FALSE(QFile::exists(downloads.filePath("B003FAFit_a.cmx")));

    // The buyable window: its own browser's folder is the current skin folder.
    const QString shop = skins.mkdir("shop");
    browseBuyable(shop);
    answer = gui::InstallChoice{1, false};
    ASSERT_TRUE(drop(buyable(), {QUrl::fromLocalFile(MixedDownloads("second", "b"))}));
    EXPECT_EQ(offers.back().labels.back(), texts::installCurrentFolder(shop));
    ASSERT_EQ(messages.messages, QStringList{"Installed 3 files from 4 downloads."});
    EXPECT_TRUE(QFile::exists(shop + "/B001FAFit_b.cmx"));
    EXPECT_TRUE(control<gui::FileList>(&buyable(), "File1")->entries().contains("B001FAFitlgt_b.bmp"));
    for (auto it = outside.begin(); it != outside.end(); ++it) {
        EXPECT_EQ(test::Snapshot(downloads.path()).value(it.key()), it.value()) << it.key().toStdString();
    }
}

TEST_F(InstallWindow, HistoryPutsTheInstallationBackLeavingAChangedFileAlone) {
    const auto before = Files(home.home());
    chosen = {Download("skin.zip", ArchiveFormat::ZipStored, SkinAndOutfit("B001FAFit_h", "F001FAFit_h"))};
    clickInstall();
    ASSERT_EQ(messages.messages, QStringList{"Installed 5 files from 1 downloads."});
    QFile changed(gameBuy + "/F001FAFit_h.cmx");
    ASSERT_TRUE(changed.open(QIODevice::Append));
    ASSERT_EQ(changed.write("\r\n"), 2);
    changed.close();
    const QByteArray changedBytes = test::readAll(gameBuy + "/F001FAFit_h.cmx");

    QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdHistory"), Qt::LeftButton);
    auto* tree = control<QTreeWidget>(app->history(), "treHistory");
    ASSERT_GE(tree->topLevelItemCount(), 1);
    EXPECT_TRUE(tree->topLevelItem(0)->text(0).contains(texts::installCommandName()) ||
                tree->topLevelItem(0)->text(1).contains(texts::installCommandName()));
    tree->clearSelection();
    tree->topLevelItem(0)->setSelected(true);
    messages.clear();
    QTest::mouseClick(control<QPushButton>(app->history(), "cmdPutBack"), Qt::LeftButton);
    ASSERT_EQ(messages.messages.size(), 1);

    QMap<QString, QByteArray> expected = before;
    const QString changedKey = QDir(home.home()).relativeFilePath(gameBuy + "/F001FAFit_h.cmx");
    expected.insert(changedKey, changedBytes);
    EXPECT_EQ(Files(home.home()), expected);
    EXPECT_TRUE(QFile::exists(dataHome.filePath("Trash/files/B001FAFit_h.cmx")));
}

TEST_F(InstallWindow, AJournalThatCannotRecordStillInstallsAndSaysSo) {
    // A window made without a journal: as when the journal could not be opened.
    gui::Services services = app->services();
    services.journal = nullptr;
    gui::InstallCommand command(services);
    command.setOptionsAsker([](QWidget*, const gui::InstallOffer&) { return gui::InstallChoice{0, false}; });
    const QString zip =
        Download("skin.zip", ArchiveFormat::TarGz, SkinAndOutfit("B001FAFit_j", "F001FAFit_j"));
    messages.clear();
    command.install({zip}, {&skinEdit(), skins.path(), nullptr, nullptr, QString()});
    ASSERT_TRUE(test::finishRuns());
    ASSERT_EQ(messages.messages, QStringList{"Installed 5 files from 1 downloads."});
    EXPECT_EQ(messages.informative, QStringList{texts::runNotRecorded(texts::journalNotOpen())});
    EXPECT_EQ(fact("History"), texts::runNotRecorded(texts::journalNotOpen()));
    EXPECT_TRUE(QFile::exists(gameSkins + "/B001FAFit_j.cmx"));
}

// Two installs, each with its SkinsBuy folder; the game-folders box offers four entries.
class InstallFromTwoGames : public InstallWindow {
protected:
    void SetUp() override {
        home.prefix("Games/the-sims");
        home.install("Games/the-sims/drive_c/Program Files/EA Games/The Sims Legacy", true);
        InstallWindow::SetUp();
        games = control<gui::GameFoldersBox>(&skinEdit(), "cboGames");
    }
    gui::GameFoldersBox* games = nullptr;
};

TEST_F(InstallFromTwoGames, TheDialogDefaultsToTheGameFolderTheBoxShows) {
    ASSERT_EQ(games->listCount(), 4) << games->entries().join(" | ").toStdString();
    chosen = {Download("skin.zip", ArchiveFormat::ZipDeflate, SkinAndOutfit("B001FAFit_x", "F001FAFit_x"))};
    answer.reset();
    // Each entry of the box: the browser goes there, and the dialog offers that install first.
    for (int entry = 0; entry < games->listCount(); ++entry) {
        games->setListIndex(entry);
        const QString folder = games->pathAt(entry);
        clickInstall();
        const QString skinsOf = folder.endsWith("SkinsBuy")
                                    ? QFileInfo(folder + "/../../GameData/Skins").canonicalFilePath()
                                    : QFileInfo(folder).canonicalFilePath();
        EXPECT_EQ(QFileInfo(offers.back().destinations[offers.back().preselected].skins).canonicalFilePath(),
                  skinsOf)
            << games->entries()[entry].toStdString();
    }
    // Any other folder: "Other folder", and the first install as before.
    browseSkinEdit();
    EXPECT_EQ(games->listIndex(), -1);
    clickInstall();
    EXPECT_EQ(offers.back().preselected, 0);
}

TEST(InstallOffer, PreselectsTheInstallWhoseSkinsFolderTheBrowserShows) {
    test::TempDir dir;
    test::RecordingMessages messages;
    const QString first = dir.mkdir("a/GameData/Skins");
    const QString second = dir.mkdir("b/GameData/Skins");
    gui::Services services{messages, dir.mkdir("program")};
    services.installs = {{dir.filePath("a"), first, {}, {}, {}, {}, {}, "A"},
                         {dir.filePath("b"), second, {}, {}, {}, {}, {}, "B"}};
    const gui::InstallCommand command(services);
    EXPECT_EQ(command.offerFor(second + "/../Skins", 1).preselected, 1);
    EXPECT_EQ(command.offerFor(dir.path(), 1).preselected, 0);
    // The folder the game-folders box shows comes first, its Skins or its SkinsBuy folder.
    const QString secondBuy = dir.mkdir("b/ExpansionShared/SkinsBuy");
    services.installs[1].skinsBuy = secondBuy;
    const gui::InstallCommand withBuy(services);
    EXPECT_EQ(withBuy.offerFor(dir.path(), 1, secondBuy).preselected, 1);
    EXPECT_EQ(withBuy.offerFor(first, 1, second).preselected, 1);
    EXPECT_EQ(withBuy.offerFor(second, 1, QString()).preselected, 1);
    const gui::InstallOffer none = gui::InstallCommand({messages, dir.path()}).offerFor(first, 2);
    EXPECT_EQ(none.labels, QStringList{texts::installCurrentFolder(first)});
    EXPECT_EQ(none.destinations[0].skins, first);
}

TEST(InstallOptions, TheDialogOffersThePlacesAndCheckOnly) {
    gui::InstallOffer offer;
    offer.labels = {"The Sims (/g/Skins)", "The current skin folder (/s)"};
    offer.destinations = {{"/g/Skins", {}}, {"/s", {}}};
    offer.preselected = 1;
    offer.downloads = 3;
    gui::InstallOptionsDialog dialog(offer);
    ASSERT_NE(dialog.findChild<QLabel*>(), nullptr);
    EXPECT_EQ(dialog.findChild<QLabel*>()->text(), "Install the skins of 3 downloads into:");
    offer.downloads = 1;
    EXPECT_EQ(gui::InstallOptionsDialog(offer).findChild<QLabel*>()->text(),
              "Install the skins of 1 download into:");
    auto* targets = dialog.findChild<QComboBox*>("cboInstallTarget");
    auto* checkOnly = dialog.findChild<QCheckBox*>("chkCheckOnly");
    ASSERT_NE(targets, nullptr);
    ASSERT_NE(checkOnly, nullptr);
    EXPECT_EQ(targets->count(), 2);
    EXPECT_EQ(targets->currentIndex(), 1);
    EXPECT_EQ(checkOnly->text(), "Check only");
    EXPECT_FALSE(checkOnly->isChecked());
    targets->setCurrentIndex(0);
    checkOnly->setChecked(true);
    EXPECT_EQ(dialog.choice().index, 0);
    EXPECT_TRUE(dialog.choice().checkOnly);
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}
