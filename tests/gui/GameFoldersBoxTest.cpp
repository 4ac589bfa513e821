#include "gui/browser/GameFoldersBox.h"
#include "gui/browser/BrowserColumn.h"
#include "gui/browser/DirList.h"
#include "gui/browser/FileList.h"
#include "gui/buyable/BuyableMakerWindow.h"
#include "gui/skinedit/SkinEditWindow.h"
#include "samples/DemoHome.h"
#include "support/AppFixture.h"
#include "support/FinishRuns.h"
#include "support/RecordingMessages.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace vestimo;
using core::games::GameFolder;

TEST(GameFoldersBox, OffersEachFolderAndRaisesTheChosenPath) {
    gui::GameFoldersBox box;
    box.setFolders({{"The Sims (Wine, ~/.wine)", "/w/Skins", true},
                    {"The Sims (Wine, ~/.wine) buyable outfits", "/w/SkinsBuy", true}});
    EXPECT_EQ(box.objectName(), "cboGames");
    EXPECT_EQ(box.entries(),
              (QStringList{"The Sims (Wine, ~/.wine)", "The Sims (Wine, ~/.wine) buyable outfits"}));
    EXPECT_EQ(box.listIndex(), -1); // nothing chosen until the player chooses
    QSignalSpy chosen(&box, &gui::GameFoldersBox::folderChosen);
    box.setProperty("listIndex", 1);
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toString(), "/w/SkinsBuy");
    EXPECT_TRUE(box.isEnabled());
}

TEST(GameFoldersBox, WithNoInstallShowsOneDisabledEntryThatChoosesNothing) {
    gui::GameFoldersBox box;
    box.setFolders(core::games::gameFolders({}));
    EXPECT_EQ(box.entries(), QStringList{"No game found"});
    EXPECT_EQ(box.currentText(), "No game found");
    EXPECT_FALSE(box.isEnabled());
    QSignalSpy chosen(&box, &gui::GameFoldersBox::folderChosen);
    box.setListIndex(0);
    box.setListIndex(5);
    EXPECT_TRUE(chosen.isEmpty());
    EXPECT_TRUE(box.pathAt(0).isEmpty());
}

TEST(GameFoldersBox, NewFoldersReplaceTheOldWithoutChoosingAny) {
    gui::GameFoldersBox box;
    box.setFolders(core::games::gameFolders({}));
    QSignalSpy chosen(&box, &gui::GameFoldersBox::folderChosen);
    box.setFolders({{"A", "/a", true}});
    EXPECT_TRUE(chosen.isEmpty());
    EXPECT_TRUE(box.isEnabled());
    EXPECT_EQ(box.listCount(), 1);
    EXPECT_EQ(box.pathAt(0), "/a");
}

TEST(GameFoldersBox, ShowsTheFolderBrowsedOrOtherFolderWithoutChoosingAny) {
    test::TempDir dir;
    const QString skins = dir.mkdir("game/GameData/Skins");
    const QString buy = dir.mkdir("game/ExpansionShared/SkinsBuy");
    gui::GameFoldersBox box;
    box.setFolders({{"The Sims", skins, true}, {"The Sims buyable outfits", buy, true}});
    EXPECT_EQ(box.placeholderText(), "Other folder");
    QSignalSpy chosen(&box, &gui::GameFoldersBox::folderChosen);
    const QList<std::pair<QString, int>> browsed = {{skins, 0},
                                                    {dir.filePath("game"), -1},
                                                    {buy + "/../SkinsBuy/", 1},
                                                    {dir.filePath("gone"), -1},
                                                    {"", -1}};
    for (const auto& [folder, entry] : browsed) {
        box.showFolder(folder);
        EXPECT_EQ(box.listIndex(), entry) << folder.toStdString();
        EXPECT_EQ(box.shownPath(), entry < 0 ? QString() : box.pathAt(entry));
    }
    EXPECT_TRUE(chosen.isEmpty());

    // Without an install the one entry stays.
    box.setFolders(core::games::gameFolders({}));
    box.showFolder(skins);
    EXPECT_EQ(box.currentText(), "No game found");
}

TEST(GameFoldersBox, TheDefaultFoldersMessageNamesTheInstallsFound) {
    EXPECT_TRUE(gui::installsFound(core::games::gameFolders({})).isEmpty());
    EXPECT_EQ(gui::installsFound({{"The Sims (Wine, ~/.wine)", "/w/Skins", true}}),
              "The game was found in these folders; choose one under \"Game folders\":\n"
              "The Sims (Wine, ~/.wine): /w/Skins");
}

// The program started in a home holding the classic install in ~/.wine and the Legacy Collection
// in a second Steam library.
class ChoosingAGameFolder : public test::AppFixture {
protected:
    void SetUp() override {
        samples::WriteDemoHome(home.filePath("home").toStdString());
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", home.filePath("home").toUtf8());
        qunsetenv("WINEPREFIX");
        app = std::make_unique<gui::Application>(messages, program.path(), [this] { ++quits; });
        app->start();
        qputenv("HOME", oldHome);
    }
    test::TempDir home;
};

TEST_F(ChoosingAGameFolder, LandsTheBrowserInTheInstallsSkinsFolderWhereTheChecksThenRun) {
    auto* games = control<gui::GameFoldersBox>(&skinEdit(), "cboGames");
    const QStringList entries = games->property("entries").toStringList();
    ASSERT_EQ(entries.size(), 3) << entries.join(" | ").toStdString();
    EXPECT_TRUE(entries.filter("buyable outfits").size() == 1);
    const qsizetype classic = entries.indexOf(entries.filter("Wine").value(0));
    ASSERT_GE(classic, 0);
    games->setProperty("listIndex", static_cast<int>(classic));
    const QString skinsFolder =
        QDir(home.filePath("home"))
            .filePath(QString::fromLatin1(samples::DemoClassicInstall) + "/GameData/Skins");
    EXPECT_EQ(QFileInfo(skinEditNamed().Dir1->path()).canonicalFilePath(),
              QFileInfo(skinsFolder).canonicalFilePath());
    QTest::mouseClick(skinEditNamed().Option2, Qt::LeftButton); // the CMX files
    EXPECT_FALSE(skinEditNamed().File1->entries().isEmpty());
    messages.clear();
    QTest::mouseClick(skinEditNamed().cmdCheckAllCMX, Qt::LeftButton);
    ASSERT_TRUE(test::finishRuns());
    ASSERT_EQ(messages.reports.size(), 1) << messages.messages.join(" | ").toStdString();
    EXPECT_EQ(messages.reports.first().facts.first().value,
              QDir::toNativeSeparators(skinEditNamed().Dir1->path()));
}

TEST_F(ChoosingAGameFolder, TheBuyableWindowOffersTheSameFolders) {
    auto* inSkinEdit = control<gui::GameFoldersBox>(&skinEdit(), "cboGames");
    auto* inBuyable = control<gui::GameFoldersBox>(&buyable(), "cboGames");
    EXPECT_EQ(inBuyable->entries(), inSkinEdit->entries());
    inBuyable->setListIndex(0);
    EXPECT_EQ(control<gui::DirList>(&buyable(), "Dir1")->path(), QDir::cleanPath(inBuyable->pathAt(0)));
}

TEST_F(ChoosingAGameFolder, TheBoxFollowsEachWindowsBrowser) {
    for (QWidget* window : {static_cast<QWidget*>(&skinEdit()), static_cast<QWidget*>(&buyable())}) {
        auto* games = control<gui::GameFoldersBox>(window, "cboGames");
        auto* dirs = control<gui::DirList>(window, "Dir1");
        ASSERT_EQ(games->listCount(), 3);
        dirs->setPath(skins.path());
        EXPECT_EQ(games->listIndex(), -1); // "Other folder"
        for (int entry = 0; entry < games->listCount(); ++entry) {
            dirs->setPath(games->pathAt(entry));
            EXPECT_EQ(games->listIndex(), entry) << games->entries()[entry].toStdString();
            dirs->setPath(QDir::cleanPath(games->pathAt(entry) + "/.."));
            EXPECT_EQ(games->listIndex(), -1);
        }
    }
}
