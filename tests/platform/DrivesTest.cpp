#include "platform/Drives.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace vestimo::platform;

TEST(WineDrives, AreReadFromTheDosdevicesLinks) {
    vestimo::test::TempDir prefix;
    prefix.mkdir("drive_c");
    prefix.mkdir("dosdevices");
    QFile::link("../drive_c", prefix.filePath("dosdevices/c:"));
    QFile::link("/", prefix.filePath("dosdevices/z:"));
    QFile::link("/dev/sr0", prefix.filePath("dosdevices/d::")); // a raw device, not a drive
    QFile::link("../nowhere", prefix.filePath("dosdevices/e:"));
    const QList<Drive> drives = WineDrives(prefix.path());
    ASSERT_EQ(drives.size(), 3);
    EXPECT_EQ(drives[0], (Drive{"C:", QDir::cleanPath(prefix.filePath("drive_c"))}));
    EXPECT_EQ(drives[1].name, "E:"); // offered; choosing it says the drive is not available
    EXPECT_EQ(drives[2], (Drive{"Z:", "/"}));
}

TEST(WineDrives, NoPrefixGivesNoDrives) { EXPECT_TRUE(WineDrives("/nonexistent/prefix").isEmpty()); }

TEST(DriveIndexOf, PicksTheLongestRootHoldingThePath) {
    const QList<Drive> drives = {{"C:", "/home/p/.wine/drive_c"}, {"Z:", "/"}, {"/home", "/home"}};
    EXPECT_EQ(DriveIndexOf(drives, "/home/p/.wine/drive_c/Program Files"), 0);
    EXPECT_EQ(DriveIndexOf(drives, "/home/p/.wine/drive_c"), 0);
    EXPECT_EQ(DriveIndexOf(drives, "/home/p"), 2);
    EXPECT_EQ(DriveIndexOf(drives, "/usr"), 1);
    EXPECT_EQ(DriveIndexOf(drives, "/home/p/.wine/drive_cc"), 2);
    EXPECT_EQ(DriveIndexOf({{"C:", "C:/"}}, "C:/Games"), 0);
}

TEST(AvailableDrives, OfferTheRootAndNoPseudoFileSystems) {
    qputenv("WINEPREFIX", "/nonexistent/prefix");
    const QList<Drive> drives = AvailableDrives();
    qunsetenv("WINEPREFIX");
    ASSERT_FALSE(drives.isEmpty());
    bool root = false;
    for (const Drive& d : drives) {
        root = root || d.root == "/";
        EXPECT_FALSE(d.root.startsWith("/proc") || d.root.startsWith("/sys") || d.root.startsWith("/dev"))
            << d.root.toStdString();
    }
    EXPECT_TRUE(root);
}
