#include "core/games/WindowsPath.h"
#include "FakeHome.h"

#include <gtest/gtest.h>

namespace vestimo::core::games {
namespace {

using test::FakeHome;

TEST(FolderFinder, MatchesEachNameWithoutRegardToCase) {
    FakeHome home;
    home.mkdir("drive_c/program files/MAXIS/The Sims/gamedata");
    FolderFinder finder;
    EXPECT_EQ(finder.find(home.at("drive_c"), "Program Files/Maxis/the sims\\GameData"),
              home.at("drive_c/program files/MAXIS/The Sims/gamedata"));
    EXPECT_EQ(finder.find(home.at("drive_c"), ""), home.at("drive_c"));
    EXPECT_EQ(finder.find(home.at("drive_c"), "Program Files/Missing"), QString());
    EXPECT_EQ(finder.find(home.at("drive_c/program files/MAXIS"), "../MAXIS"), QString());
    EXPECT_EQ(finder.find(QString(), "x"), QString());
    // A file is not a folder, whatever its name.
    home.write("drive_c/program files/file", "x");
    EXPECT_EQ(finder.find(home.at("drive_c"), "Program Files/File"), QString());
}

TEST(FolderFinder, PrefersTheExactNameAndOtherwiseAlwaysTheSameOne) {
    FakeHome home;
    home.mkdir("root/EA GAMES");
    home.mkdir("root/EA Games");
    home.mkdir("root/ea games");
    FolderFinder finder;
    EXPECT_EQ(finder.find(home.at("root"), "EA Games"), home.at("root/EA Games"));
    EXPECT_EQ(finder.find(home.at("root"), "EA GAMES"), home.at("root/EA GAMES"));
    EXPECT_EQ(finder.find(home.at("root"), "Ea Games"), home.at("root/EA GAMES"));
}

TEST(WindowsPaths, DriveLettersThroughDosdevices) {
    FakeHome home;
    const QString prefix = home.prefix("pfx");
    home.mkdir("pfx/drive_c/Program Files/Maxis/The Sims");
    home.mkdir("elsewhere/Games/The Sims Legacy");
    home.link(home.at("elsewhere"), "pfx/dosdevices/d:");
    home.mkdir("pfx/dosdevices/e:/Sims"); // a real folder standing in for a drive
    home.link("../../elsewhere/Games", "pfx/dosdevices/f:");
    FolderFinder finder;
    EXPECT_EQ(finder.linuxPath(prefix, "C:\\Program Files\\Maxis\\The Sims\\"),
              home.at("pfx/drive_c/Program Files/Maxis/The Sims"));
    EXPECT_EQ(finder.linuxPath(prefix, "c:/PROGRAM FILES/maxis/the sims"),
              home.at("pfx/drive_c/Program Files/Maxis/The Sims"));
    EXPECT_EQ(finder.linuxPath(prefix, "D:\\games\\the sims legacy"),
              home.at("elsewhere/Games/The Sims Legacy"));
    EXPECT_EQ(finder.linuxPath(prefix, "\\??\\D:\\Games\\The Sims Legacy"),
              home.at("elsewhere/Games/The Sims Legacy"));
    EXPECT_EQ(finder.linuxPath(prefix, "e:\\sims"), home.at("pfx/dosdevices/e:/Sims"));
    EXPECT_EQ(finder.linuxPath(prefix, "F:\\The Sims Legacy"), home.at("elsewhere/Games/The Sims Legacy"));

    EXPECT_EQ(finder.linuxPath(prefix, "G:\\Games"), QString());   // no such drive
    EXPECT_EQ(finder.linuxPath(prefix, "D:\\Missing"), QString()); // no such folder
    EXPECT_EQ(finder.linuxPath(prefix, "Games\\The Sims"), QString());
    EXPECT_EQ(finder.linuxPath(prefix, "\\\\server\\share"), QString());
    EXPECT_EQ(finder.linuxPath(prefix, ""), QString());
    EXPECT_EQ(finder.linuxPath(prefix, "C:\\..\\..\\"), QString());
}

TEST(WindowsPaths, DriveCWithoutDosdevicesIsDriveC) {
    FakeHome home;
    home.mkdir("pfx/drive_c/Games");
    FolderFinder finder;
    EXPECT_EQ(finder.linuxPath(home.at("pfx"), "C:\\games"), home.at("pfx/drive_c/Games"));
    EXPECT_EQ(finder.linuxPath(home.at("pfx"), "D:\\games"), QString());
}

} // namespace
} // namespace vestimo::core::games
