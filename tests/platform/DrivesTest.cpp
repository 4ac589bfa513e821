#include "platform/Drives.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace vestimo::platform;

TEST(wineDrives, AreReadFromTheDosdevicesLinks) {
    vestimo::test::TempDir prefix;
    prefix.mkdir("drive_c");
    prefix.mkdir("dosdevices");
    QFile::link("../drive_c", prefix.filePath("dosdevices/c:"));
    QFile::link("/", prefix.filePath("dosdevices/z:"));
    QFile::link("/dev/sr0", prefix.filePath("dosdevices/d::")); // a raw device, not a drive
    QFile::link("../nowhere", prefix.filePath("dosdevices/e:"));
    const QList<Drive> drives = wineDrives(prefix.path());
    ASSERT_EQ(drives.size(), 3);
    EXPECT_EQ(drives[0], (Drive{"C:", QDir::cleanPath(prefix.filePath("drive_c"))}));
    EXPECT_EQ(drives[1].name, "E:"); // offered; choosing it says the drive is not available
    EXPECT_EQ(drives[2], (Drive{"Z:", "/"}));
}

TEST(wineDrives, NoPrefixGivesNoDrives) {
    EXPECT_TRUE(wineDrives("/nonexistent/prefix").isEmpty());
}

TEST(driveIndexOf, PicksTheLongestRootHoldingThePath) {
    const QList<Drive> drives = {{"C:", "/home/p/.wine/drive_c"}, {"Z:", "/"}, {"/home", "/home"}};
    EXPECT_EQ(driveIndexOf(drives, "/home/p/.wine/drive_c/Program Files"), 0);
    EXPECT_EQ(driveIndexOf(drives, "/home/p/.wine/drive_c"), 0);
    EXPECT_EQ(driveIndexOf(drives, "/home/p"), 2);
    EXPECT_EQ(driveIndexOf(drives, "/usr"), 1);
    EXPECT_EQ(driveIndexOf(drives, "/home/p/.wine/drive_cc"), 2);
    EXPECT_EQ(driveIndexOf({{"C:", "C:/"}}, "C:/Games"), 0);
}

TEST(availableDrives, OfferTheRootAndNoPseudoFileSystems) {
    qputenv("WINEPREFIX", "/nonexistent/prefix");
    const QList<Drive> drives = availableDrives();
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
