#include "samples/DemoHome.h"
#include "core/games/Discovery.h"
#include "core/games/GameFolders.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

#include <stdexcept>

namespace vestimo::core::games {
namespace {

// The home the demo builds shows both installs, with the classic one's buyable outfits folder.
TEST(DemoHome, DiscoveryFindsBothInstalls) {
    test::TempDir temp;
    const QString home = temp.filePath("home");
    EXPECT_GT(samples::WriteDemoHome(home.toStdString()), 9u);
    const auto installs = discoverGames({home, {}});
    ASSERT_EQ(installs.size(), 2u);
    EXPECT_EQ(installs[0].label, "The Sims (Wine, ~/.wine)");
    EXPECT_EQ(installs[0].foundBy, FoundBy::DefaultPath);
    EXPECT_EQ(installs[0].root, home + "/" + samples::DemoClassicInstall);
    EXPECT_EQ(installs[0].downloads, installs[0].root + "/Downloads");
    EXPECT_EQ(installs[1].label, "The Sims Legacy Collection (Steam, ~/SteamLibrary)");
    EXPECT_EQ(installs[1].root, home + "/" + samples::DemoCollectionInstall);
    EXPECT_EQ(QDir(installs[1].skins).entryList(QDir::Files).size(), 9);
    EXPECT_GT(QDir(installs[0].skins).entryList(QDir::Files).size(), 50);

    const std::vector<GameFolder> folders = gameFolders(installs);
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[1].label, "The Sims (Wine, ~/.wine) buyable outfits");
    EXPECT_EQ(folders[1].path, installs[0].root + "/ExpansionShared/SkinsBuy");
}

TEST(DemoHome, NeverBuiltOverSomethingElse) {
    test::TempDir temp;
    temp.write("home/note.txt", "mine");
    EXPECT_THROW(samples::WriteDemoHome(temp.filePath("home").toStdString()), std::runtime_error);
    EXPECT_EQ(QDir(temp.filePath("home")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList({"note.txt"}));
    temp.write("file", "x");
    EXPECT_THROW(samples::WriteDemoHome(temp.filePath("file").toStdString()), std::runtime_error);
    temp.mkdir("empty");
    EXPECT_NO_THROW(samples::WriteDemoHome(temp.filePath("empty").toStdString()));
}

} // namespace
} // namespace vestimo::core::games
