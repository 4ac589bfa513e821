#include "core/games/Discovery.h"
#include "FakeHome.h"
#include "core/catalogue/Games.h"
#include "core/games/GameFolders.h"
#include "core/games/KeyValues.h"
#include "core/games/WineRegistry.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <unistd.h>

namespace vestimo::core::games {
namespace {

using test::FakeHome;
using test::labels;
using test::roots;

const char* const Classic = "drive_c/Program Files/Maxis/The Sims";

TEST(Discovery, AnEmptyHomeHasNoInstall) {
    FakeHome home;
    EXPECT_TRUE(home.discover().empty());
    EXPECT_TRUE(discoverGames({}).empty());
    EXPECT_TRUE(discoverGames({home.at("missing"), home.at("missing too")}).empty());
}

TEST(Discovery, OnlyAbsolutePlaces) {
    FakeHome home;
    home.prefix(".wine");
    home.install(QString(".wine/") + Classic);
    ASSERT_TRUE(QDir::setCurrent(home.home()));
    EXPECT_TRUE(discoverGames({".", ".wine"}).empty());
    EXPECT_EQ(discoverGames({home.home() + "/", {}}).size(), 1u);
    EXPECT_EQ(labels(discoverGames({"/nowhere", home.home() + "/.wine/"})),
              QStringList({"The Sims (Wine, " + home.at(".wine") + ")"}));
    ASSERT_TRUE(QDir::setCurrent("/"));
}

TEST(Discovery, TheClassicInstallInTheWinePrefix) {
    FakeHome home;
    home.prefix(".wine");
    home.install(QString(".wine/") + Classic, true, true);
    const auto installs = home.discover();
    ASSERT_EQ(installs.size(), 1u);
    const GameInstall& game = installs[0];
    const QString root = home.at(QString(".wine/") + Classic);
    EXPECT_EQ(game.root, root);
    EXPECT_EQ(game.skins, root + "/GameData/Skins");
    EXPECT_EQ(game.skinsBuy, root + "/ExpansionShared/SkinsBuy");
    EXPECT_EQ(game.downloads, root + "/Downloads");
    EXPECT_EQ(game.place, home.at(".wine"));
    EXPECT_EQ(game.placeKind, PlaceKind::Wine);
    EXPECT_EQ(game.foundBy, FoundBy::DefaultPath);
    EXPECT_EQ(game.label, "The Sims (Wine, ~/.wine)");
}

TEST(Discovery, AFolderWithoutGameDataSkinsIsNoInstall) {
    FakeHome home;
    home.prefix(".wine");
    home.mkdir(QString(".wine/") + Classic + "/GameData/Userdata");
    home.mkdir(QString(".wine/") + Classic + "/ExpansionShared/SkinsBuy");
    home.write(".wine/drive_c/Program Files/EA Games/The Sims Legacy/GameData/Skins", "a file, not a folder");
    EXPECT_TRUE(home.discover().empty());
}

TEST(Discovery, EachKindOfPlace) {
    FakeHome home;
    // $WINEPREFIX outside the home, an older disc in Program Files (x86).
    home.prefix("other/prefix");
    home.install("other/prefix/drive_c/Program Files (x86)/EA GAMES/The Sims", true);
    // Lutris: a prefix in ~/Games, and two more named by game files.
    home.prefix("Games/the-sims");
    home.install("Games/the-sims/drive_c/Program Files/EA Games/The Sims Legacy");
    home.prefix("lutris-a");
    home.install(QString("lutris-a/") + Classic);
    home.write(".config/lutris/games/the-sims-1700000000.yml",
               "name: The Sims\ngame:\n  exe: x.exe\n  prefix: " + home.at("lutris-a").toUtf8() +
                   "\nsystem:\n  env: {}\n");
    home.prefix("lutris-b");
    home.install(QString("lutris-b/") + Classic);
    home.write(".local/share/lutris/games/sims.yml", "game:\n  prefix: '~/lutris-b'\n");
    // Bottles, native and Flatpak.
    home.prefix(".local/share/bottles/bottles/Sims");
    home.install(QString(".local/share/bottles/bottles/Sims/") + Classic);
    home.prefix(".var/app/com.usebottles.bottles/data/bottles/bottles/Legacy");
    home.install(".var/app/com.usebottles.bottles/data/bottles/bottles/Legacy/drive_c/Program Files/EA "
                 "Games/The Sims Legacy");
    // Steam as the Flatpak, with the collection and a Proton prefix holding an EA-app install.
    const QString flatpak = ".var/app/com.valvesoftware.Steam/.local/share/Steam";
    home.install(flatpak + "/steamapps/common/The Sims Legacy Collection", true);
    home.prefix(flatpak + "/steamapps/compatdata/3000/pfx");
    home.install(flatpak + "/steamapps/compatdata/3000/pfx/drive_c/Program Files/EA Games/The Sims Legacy");
    // Steam reached through ~/.steam/steam only.
    home.install("steam-root/steamapps/common/The Sims Legacy Collection");
    home.link(home.at("steam-root"), ".steam/steam");

    const auto installs = home.discover(home.at("other/prefix"));
    EXPECT_EQ(labels(installs), QStringList({
                                    "The Sims (Wine, ~/other/prefix)",
                                    "The Sims Legacy (EA app, Lutris, ~/Games/the-sims)",
                                    "The Sims (Lutris, ~/lutris-a)",
                                    "The Sims (Lutris, ~/lutris-b)",
                                    "The Sims (Bottles, Sims)",
                                    "The Sims Legacy (EA app, Bottles, Legacy)",
                                    "The Sims Legacy Collection (Steam, ~/.steam/steam)",
                                    "The Sims Legacy Collection (Steam, ~/" + flatpak + ")",
                                    "The Sims Legacy (EA app, Proton prefix 3000)",
                                }))
        << labels(installs).join("\n").toStdString();
    ASSERT_EQ(installs.size(), 9u);
    EXPECT_EQ(installs[0].skinsBuy, home.at("other/prefix/drive_c/Program Files (x86)/EA GAMES/The Sims") +
                                        "/ExpansionShared/SkinsBuy");
    EXPECT_EQ(installs[1].placeKind, PlaceKind::Lutris);
    EXPECT_EQ(installs[4].placeKind, PlaceKind::Bottles);
    EXPECT_EQ(installs[4].place, home.at(".local/share/bottles/bottles/Sims"));
    EXPECT_EQ(installs[6].placeKind, PlaceKind::Steam);
    EXPECT_EQ(installs[6].foundBy, FoundBy::Steam);
    EXPECT_EQ(installs[6].place, home.at(".steam/steam"));
    EXPECT_EQ(installs[8].placeKind, PlaceKind::Proton);
    EXPECT_EQ(installs[8].place, home.at(flatpak + "/steamapps/compatdata/3000/pfx"));
    EXPECT_TRUE(installs[8].skinsBuy.isEmpty());
    EXPECT_TRUE(installs[8].downloads.isEmpty());
}

TEST(Discovery, TheRegistryInstallPathOnAnotherDrive) {
    FakeHome home;
    home.prefix(".wine");
    home.install("disk/Games/The Sims", true);
    home.link(home.at("disk"), ".wine/dosdevices/d:");
    home.registry(".wine", "Software\\\\Wow6432Node\\\\Maxis\\\\The Sims", "D:\\\\GAMES\\\\the sims");
    const auto installs = home.discover();
    ASSERT_EQ(installs.size(), 1u);
    EXPECT_EQ(installs[0].root, home.at("disk/Games/The Sims"));
    EXPECT_EQ(installs[0].skinsBuy, home.at("disk/Games/The Sims/ExpansionShared/SkinsBuy"));
    EXPECT_EQ(installs[0].foundBy, FoundBy::Registry);
    EXPECT_EQ(installs[0].place, home.at(".wine"));
    EXPECT_EQ(installs[0].label, "The Sims (Wine, ~/.wine)");
}

TEST(Discovery, TheRegistryOfTheUserToo) {
    FakeHome home;
    home.prefix(".wine");
    home.install(".wine/drive_c/Spiele/Die Sims");
    home.registry(".wine", "Software\\\\Maxis\\\\The Sims", "C:\\\\Spiele\\\\Die Sims", "user.reg");
    const auto installs = home.discover();
    ASSERT_EQ(installs.size(), 1u);
    EXPECT_EQ(installs[0].root, home.at(".wine/drive_c/Spiele/Die Sims"));
    EXPECT_EQ(installs[0].label, "The Sims (Wine, ~/.wine)");
}

TEST(Discovery, TwoInstallsInOnePrefixShowTheirFolders) {
    FakeHome home;
    home.prefix(".wine");
    home.install(QString(".wine/") + Classic);
    home.install("disk/The Sims");
    home.link(home.at("disk"), ".wine/dosdevices/d:");
    home.registry(".wine", "Software\\\\Maxis\\\\The Sims", "D:\\\\The Sims");
    EXPECT_EQ(labels(home.discover()),
              QStringList({"The Sims (Wine, ~/.wine) - ~/.wine/drive_c/Program Files/Maxis/The Sims",
                           "The Sims (Wine, ~/.wine) - ~/disk/The Sims"}));
}

TEST(Discovery, LibraryFoldersWithTwoLibrariesOneMissing) {
    FakeHome home;
    home.mkdir(".local/share/Steam/steamapps/common");
    home.install("SteamLibrary/steamapps/common/The Sims Legacy Collection", true, true);
    home.libraryList(".local/share/Steam", {home.at(".local/share/Steam"),
                                            home.at("unplugged disk/SteamLibrary"), home.at("SteamLibrary")});
    const auto installs = home.discover();
    ASSERT_EQ(installs.size(), 1u);
    const QString root = home.at("SteamLibrary/steamapps/common/The Sims Legacy Collection");
    EXPECT_EQ(installs[0].root, root);
    EXPECT_EQ(installs[0].skinsBuy, root + "/ExpansionShared/SkinsBuy");
    EXPECT_EQ(installs[0].downloads, root + "/Downloads");
    EXPECT_EQ(installs[0].place, home.at("SteamLibrary"));
    EXPECT_EQ(installs[0].label, "The Sims Legacy Collection (Steam, ~/SteamLibrary)");
}

TEST(Discovery, CaseDifferencesInFolderNames) {
    FakeHome home;
    home.prefix(".wine");
    home.install(".wine/drive_c/program files/maxis/the sims");
    home.mkdir(".wine/drive_c/program files/maxis/the sims/expansionshared/skinsbuy");
    home.mkdir(".wine/drive_c/program files/maxis/the sims/downloads");
    home.mkdir(".wine/drive_c/PROGRAM FILES (X86)/ea games/THE SIMS LEGACY/gamedata/SKINS");
    home.mkdir("lib/SteamApps/Common/the sims legacy collection/GAMEDATA/skins");
    home.libraryList(".local/share/Steam", {home.at("lib")});
    home.mkdir(".local/share/Steam/steamapps/common");
    const auto installs = home.discover();
    ASSERT_EQ(installs.size(), 3u) << labels(installs).join("\n").toStdString();
    EXPECT_EQ(installs[0].skins, home.at(".wine/drive_c/program files/maxis/the sims/GameData/Skins"));
    EXPECT_EQ(installs[0].skinsBuy,
              home.at(".wine/drive_c/program files/maxis/the sims/expansionshared/skinsbuy"));
    EXPECT_EQ(installs[0].downloads, home.at(".wine/drive_c/program files/maxis/the sims/downloads"));
    EXPECT_EQ(installs[1].skins,
              home.at(".wine/drive_c/PROGRAM FILES (X86)/ea games/THE SIMS LEGACY/gamedata/SKINS"));
    EXPECT_EQ(installs[1].label, "The Sims Legacy (EA app, Wine, ~/.wine)");
    EXPECT_EQ(installs[2].skins, home.at("lib/SteamApps/Common/the sims legacy collection/GAMEDATA/skins"));
    EXPECT_EQ(installs[2].label, "The Sims Legacy Collection (Steam, ~/lib)");
}

TEST(Discovery, AnInstallReachedTwiceIsListedOnce) {
    FakeHome home;
    home.prefix(".wine");
    home.install(QString(".wine/") + Classic, true);
    // The registry names the same folder through another drive letter.
    home.link(home.at(".wine/drive_c/Program Files"), ".wine/dosdevices/p:");
    home.registry(".wine", "Software\\\\Maxis\\\\The Sims", "P:\\\\Maxis\\\\The Sims");
    // Lutris points at the same prefix through a link; $WINEPREFIX names it again.
    home.link(home.at(".wine"), "Games/wine-link");
    home.write(".config/lutris/games/a.yml", "game:\n  prefix: ~/.wine\n");
    // The Steam root under both of its names, listing itself and a library twice.
    home.install(".local/share/Steam/steamapps/common/The Sims Legacy Collection");
    home.link(home.at(".local/share/Steam"), ".steam/steam");
    home.link(home.at(".local/share/Steam"), "steam-link");
    home.libraryList(".local/share/Steam",
                     {home.at(".local/share/Steam"), home.at(".steam/steam"), home.at("steam-link")});
    const auto installs = home.discover(home.at("Games/wine-link"));
    EXPECT_EQ(labels(installs), QStringList({"The Sims (Wine, ~/Games/wine-link)",
                                             "The Sims Legacy Collection (Steam, ~/.local/share/Steam)"}));
}

TEST(Discovery, UnreadableFoldersAreSkipped) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root reads every folder";
    }
    FakeHome home;
    home.prefix(".wine");
    home.install(QString(".wine/") + Classic);
    home.prefix("Games/locked");
    home.install(QString("Games/locked/") + Classic);
    home.prefix("Games/open");
    home.install(QString("Games/open/") + Classic);
    home.prefix(".local/share/bottles/bottles/closed");
    home.install(QString(".local/share/bottles/bottles/closed/") + Classic);
    home.install("lib/steamapps/common/The Sims Legacy Collection");
    home.libraryList(".local/share/Steam", {home.at("lib")});
    home.write(".config/lutris/games/secret.yml", "game:\n  prefix: ~/Games/open\n");
    const QFileDevice::Permissions none;
    const QFileDevice::Permissions all =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    const QStringList locked = {home.at("Games/locked"), home.at(".local/share/bottles/bottles"),
                                home.at(".local/share/Steam/steamapps/libraryfolders.vdf"),
                                home.at(".config/lutris/games/secret.yml"),
                                home.at(".wine/drive_c/Program Files")};
    for (const QString& path : locked) {
        ASSERT_TRUE(QFile::setPermissions(path, none)) << path.toStdString();
    }
    // A folder that can be entered but not listed: its exact names still work.
    ASSERT_TRUE(QFile::setPermissions(home.at("Games/open/drive_c"), QFileDevice::ExeOwner));
    const auto installs = home.discover();
    for (const QString& path : locked) {
        QFile::setPermissions(path, all);
    }
    QFile::setPermissions(home.at("Games/open/drive_c"), all);
    EXPECT_EQ(labels(installs), QStringList({"The Sims (Lutris, ~/Games/open)"}));
}

TEST(Discovery, GarbageFilesDoNotHideTheRest) {
    FakeHome home;
    home.prefix(".wine");
    home.install(QString(".wine/") + Classic);
    static const char brokenRegistry[] =
        "WINE REGISTRY Version 2\n[Software\\\\Maxis\\\\The Sims\n\"Install\xff\0";
    home.write(".wine/system.reg",
               QByteArray(brokenRegistry, sizeof brokenRegistry) + QByteArray(300000, '\\'));
    home.write(".wine/user.reg", QByteArray(1 << 20, '\0'));
    home.prefix("Games/garbage");
    home.write("Games/garbage/system.reg", QByteArray(70000, '[') + "\n" + QByteArray(70000, '"'));
    home.link("/nonexistent/loop", "Games/garbage/dosdevices/d:");
    home.install("lib/steamapps/common/The Sims Legacy Collection");
    home.write(".local/share/Steam/steamapps/libraryfolders.vdf",
               "\"libraryfolders\" { \"0\" { \"path\" \"" + home.at("lib").toUtf8() +
                   "\" } \"1\" { \"path\" \"" + QByteArray(5000, '{') + "}}}}\xff\xfe\0\"\"\"");
    home.write(".steam/steam/steamapps/libraryfolders.vdf", QByteArray(2 << 20, '{'));
    home.write(".config/lutris/games/bad.yml", "prefix:\nprefix: relative/path\nprefix: \"\n\xff\xfe");
    const auto installs = home.discover("relative/prefix");
    EXPECT_EQ(labels(installs),
              QStringList({"The Sims (Wine, ~/.wine)", "The Sims Legacy Collection (Steam, ~/lib)"}));
}

// The home of the issue: the classic game in ~/.wine, the collection in a second Steam library,
// and an EA-app install in a Proton prefix whose registry names drive D:.
TEST(Discovery, ThreeInstallsOfAPlayer) {
    FakeHome home;
    home.prefix(".wine");
    home.install(QString(".wine/") + Classic, true);
    home.mkdir(".local/share/Steam/steamapps/common");
    home.install("SteamLibrary/steamapps/common/The Sims Legacy Collection");
    home.libraryList(".local/share/Steam", {home.at(".local/share/Steam"), home.at("SteamLibrary")});
    home.prefix(".local/share/Steam/steamapps/compatdata/2000000001/pfx");
    home.install("Data/EA/The Sims Legacy", true);
    home.link(home.at("Data"), ".local/share/Steam/steamapps/compatdata/2000000001/pfx/dosdevices/d:");
    home.registry(".local/share/Steam/steamapps/compatdata/2000000001/pfx",
                  "Software\\\\Wow6432Node\\\\Maxis\\\\The Sims", "D:\\\\EA\\\\The Sims Legacy");
    const auto installs = home.discover();
    std::vector<std::pair<QString, QString>> folders;
    for (const GameFolder& folder : gameFolders(installs)) {
        EXPECT_TRUE(folder.enabled);
        folders.emplace_back(folder.label, folder.path);
    }
    const QString classic = home.at(QString(".wine/") + Classic);
    const QString ea = home.at("Data/EA/The Sims Legacy");
    const std::vector<std::pair<QString, QString>> expected = {
        {"The Sims (Wine, ~/.wine)", classic + "/GameData/Skins"},
        {"The Sims (Wine, ~/.wine) buyable outfits", classic + "/ExpansionShared/SkinsBuy"},
        {"The Sims Legacy (EA app, Proton prefix 2000000001)", ea + "/GameData/Skins"},
        {"The Sims Legacy (EA app, Proton prefix 2000000001) buyable outfits",
         ea + "/ExpansionShared/SkinsBuy"},
        {"The Sims Legacy Collection (Steam, ~/SteamLibrary)",
         home.at("SteamLibrary/steamapps/common/The Sims Legacy Collection/GameData/Skins")},
    };
    EXPECT_EQ(folders, expected);
}

// However long a home's lists, discovery looks at a bounded number of their entries and says
// what it passed over.
TEST(Discovery, LongListsAreCutAtTheirBoundAndTheRestReportedAsIgnored) {
    FakeHome home;
    home.install("SteamLibrary/steamapps/common/The Sims Legacy Collection");
    QStringList libraries = {home.at("SteamLibrary")};
    for (int i = 0; i < 3000; ++i) {
        libraries.append(home.at("gone/" + QString::number(i)));
    }
    const QString list = home.libraryList(".local/share/Steam", libraries);

    home.prefix(".wine");
    home.install(QString(".wine/drive_c/Games/The Sims"));
    QByteArray registry = "WINE REGISTRY Version 2\n\n[Software\\\\Maxis\\\\The Sims] 1\n"
                          "\"InstallPath\"=\"C:\\\\Games\\\\The Sims\"\n";
    for (int i = 0; i < 2500; ++i) {
        registry += "\"InstallPath\"=\"C:\\\\Gone\\\\" + QByteArray::number(i) + "\"\n";
    }
    const QString reg = home.write(".wine/system.reg", registry);

    const Discovered found = discover({home.home(), {}});
    EXPECT_EQ(found.librariesConsidered, MostLibraryFolders);
    EXPECT_EQ(found.registryCandidatesConsidered, MostRegistryCandidates);
    // The Steam folder itself is the first library looked at.
    EXPECT_EQ(found.ignored, QStringList({texts::registryPathsIgnored(reg, 1501, MostRegistryCandidates),
                                          texts::libraryFoldersIgnored(list, 3001 - MostLibraryFolders + 1,
                                                                       MostLibraryFolders)}));
    EXPECT_EQ(roots(found.installs),
              QStringList({home.at(".wine/drive_c/Games/The Sims"),
                           home.at("SteamLibrary/steamapps/common/The Sims Legacy Collection")}));
}

} // namespace
} // namespace vestimo::core::games
