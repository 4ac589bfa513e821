#include "core/games/GameFolders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace vestimo::core::games {
namespace {

TEST(gameFolders, SkinsThenSkinsBuyForEachInstall) {
    GameInstall classic;
    classic.label = "The Sims (Wine, ~/.wine)";
    classic.skins = "/h/.wine/drive_c/Program Files/Maxis/The Sims/GameData/Skins";
    classic.skinsBuy = "/h/.wine/drive_c/Program Files/Maxis/The Sims/ExpansionShared/SkinsBuy";
    GameInstall steam;
    steam.label = "The Sims Legacy Collection (Steam, ~/SteamLibrary)";
    steam.skins = "/h/SteamLibrary/steamapps/common/The Sims Legacy Collection/GameData/Skins";
    const std::vector<GameFolder> folders = gameFolders({classic, steam});
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0].label, "The Sims (Wine, ~/.wine)");
    EXPECT_EQ(folders[0].path, classic.skins);
    EXPECT_EQ(folders[1].label, "The Sims (Wine, ~/.wine) buyable outfits");
    EXPECT_EQ(folders[1].path, classic.skinsBuy);
    EXPECT_EQ(folders[2].label, "The Sims Legacy Collection (Steam, ~/SteamLibrary)");
    EXPECT_EQ(folders[2].path, steam.skins);
    for (const GameFolder& folder : folders) {
        EXPECT_TRUE(folder.enabled);
    }
}

TEST(gameFolders, NoInstallIsOneDisabledEntry) {
    const std::vector<GameFolder> folders = gameFolders({});
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].label, "No game found");
    EXPECT_TRUE(folders[0].path.isEmpty());
    EXPECT_FALSE(folders[0].enabled);
}

} // namespace
} // namespace vestimo::core::games
