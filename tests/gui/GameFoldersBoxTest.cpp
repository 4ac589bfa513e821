#include "gui/browser/GameFoldersBox.h"
#include "gui/browser/Browser.h"
#include "support/RecordingMessages.h"

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

TEST(GameFoldersBox, TheDefaultFoldersMessageNamesTheInstallsFound) {
    test::RecordingMessages messages;
    gui::Browser none{nullptr, nullptr, nullptr, messages, core::games::gameFolders({})};
    EXPECT_TRUE(none.installsFound().isEmpty());
    gui::Browser found{nullptr, nullptr, nullptr, messages, {{"The Sims (Wine, ~/.wine)", "/w/Skins", true}}};
    EXPECT_EQ(found.installsFound(),
              "The game was found in these folders; choose one under \"Game folders\":\n"
              "The Sims (Wine, ~/.wine): /w/Skins");
}
