#include "core/checks/ScratchListing.h"

#include "support/TempDir.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using vestimo::FileFilter;
using vestimo::checks::ScratchListing;
using vestimo::test::TempDir;

TEST(ScratchListing, HoldsBareNamesEachEndedByCrLfAndItsSizeIsTheProgressMaximum) {
    TempDir skins;
    TempDir program;
    skins.write("B001FAFit1.cmx", ""); // 14 characters
    skins.write("Aa.cmx", "");         // 6
    skins.write("lower_case.CMX", ""); // 14
    skins.write("skin.bmp", "");
    skins.mkdir("folder.cmx");
    const ScratchListing listing(program.path());
    const ScratchListing::Written written = listing.write(skins.path(), FileFilter::CmxFiles);
    ASSERT_TRUE(written.ok);
    EXPECT_EQ(written.size, 14 + 6 + 14 + 3 * 2);
    const QByteArray bytes = vestimo::test::readAll(program.filePath("Temp.txt"));
    EXPECT_EQ(bytes.size(), written.size);
    QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.takeLast(), "");
    QStringList names;
    for (const QByteArray& line : lines) {
        ASSERT_TRUE(line.endsWith('\r'));
        names.append(QString::fromUtf8(line.chopped(1)));
    }
    names.sort();
    EXPECT_EQ(names, QStringList({"Aa.cmx", "B001FAFit1.cmx", "lower_case.CMX"}));
}

TEST(ScratchListing, WalkAdvancesByEachNamesLengthBeforeVisitingIt) {
    TempDir skins;
    TempDir program;
    // Three names of 10, 12 and 8 characters: 36 bytes; the bar runs 10, 22, 30 in listing order.
    for (const char* name : {"abcdef.cmx", "abcdefgh.cmx", "abcd.cmx"}) {
        skins.write(name, "");
    }
    const ScratchListing listing(program.path());
    const ScratchListing::Written written = listing.write(skins.path(), FileFilter::CmxFiles);
    ASSERT_EQ(written.size, 36);
    int value = 0;
    QList<int> values;
    QStringList visited;
    ScratchListing::walk(
        written, [&](int characters) { value += characters; },
        [&](const QString& name) {
            values.append(value);
            visited.append(name);
        });
    ASSERT_EQ(visited.size(), 3);
    int expected = 0;
    for (int i = 0; i < 3; ++i) {
        expected += static_cast<int>(visited[i].size());
        EXPECT_EQ(values[i], expected);
    }
    EXPECT_EQ(value, 30);
}

TEST(ScratchListing, IsReplacedNeverAppendedAndAnEmptyOneStays) {
    TempDir skins;
    TempDir program;
    program.write("Temp.txt", "old name\r\nanother\r\n");
    const ScratchListing listing(program.path());
    const ScratchListing::Written written = listing.write(skins.path(), FileFilter::Bitmaps);
    EXPECT_TRUE(written.ok);
    EXPECT_EQ(written.size, 0);
    EXPECT_TRUE(vestimo::test::exists(program.filePath("Temp.txt")));
    EXPECT_EQ(vestimo::test::readAll(program.filePath("Temp.txt")), "");
}

TEST(ScratchListing, LeavesOutNamesThatCannotStandOnALine) {
    TempDir skins;
    TempDir program;
    skins.write("good.cmx", "");
    skins.write("bad\rname.cmx", "");
    skins.write("bad\nname2.cmx", "");
    const ScratchListing::Written written =
        ScratchListing(program.path()).write(skins.path(), FileFilter::CmxFiles);
    EXPECT_EQ(vestimo::test::readAll(program.filePath("Temp.txt")), "good.cmx\r\n");
    EXPECT_EQ(written.leftOut.size(), 2);
}

TEST(ScratchListing, NeverWritesThroughALinkLeftUnderItsName) {
    TempDir skins;
    TempDir program;
    TempDir elsewhere;
    const QString victim = elsewhere.write("precious.txt", "keep me");
    QFile::link(victim, program.filePath("Temp.txt"));
    skins.write("a.cmx", "");
    ASSERT_TRUE(ScratchListing(program.path()).write(skins.path(), FileFilter::CmxFiles).ok);
    EXPECT_EQ(vestimo::test::readAll(victim), "keep me");
    EXPECT_FALSE(QFileInfo(program.filePath("Temp.txt")).isSymLink());
    EXPECT_EQ(vestimo::test::readAll(program.filePath("Temp.txt")), "a.cmx\r\n");
}

TEST(ScratchListing, DeleteTakesOnlyTheOrdinaryFileNamedExactlyTempTxt) {
    TempDir program;
    const ScratchListing listing(program.path());
    program.write("temp.txt", "");
    listing.remove();
    EXPECT_TRUE(vestimo::test::exists(program.filePath("temp.txt")));
    program.write("Temp.txt", "");
    listing.remove();
    EXPECT_FALSE(vestimo::test::exists(program.filePath("Temp.txt")));
}

TEST(ScratchListing, ReportsAProgramFolderItCannotWriteTo) {
    TempDir skins;
    const ScratchListing::Written written =
        ScratchListing(skins.filePath("missing")).write(skins.path(), FileFilter::CmxFiles);
    EXPECT_FALSE(written.ok);
    EXPECT_FALSE(written.error.isEmpty());
}

TEST(ScratchListing, WalkTakesTheNamesOfItsOwnEnumerationNotTheFileAsItLiesNow) {
    TempDir skins;
    TempDir program;
    skins.write("a.cmx", "");
    const ScratchListing listing(program.path());
    const ScratchListing::Written written = listing.write(skins.path(), FileFilter::CmxFiles);
    program.write("Temp.txt", "../victim.cmx\r\nb.cmx\r\n");
    QStringList visited;
    ScratchListing::walk(
        written, [](int) {}, [&](const QString& name) { visited.append(name); });
    EXPECT_EQ(visited, QStringList{"a.cmx"});
}

TEST(ScratchListing, WalkNeverVisitsANameThatCouldReachOutsideTheFolder) {
    ScratchListing::Written written;
    written.names = {"../victim.bmp", ".", "..", "sub/x.bmp", "/etc/passwd", "", "ok.bmp", "..ok.bmp"};
    int advanced = 0;
    QStringList visited;
    ScratchListing::walk(
        written, [&](int characters) { advanced += characters; },
        [&](const QString& name) { visited.append(name); });
    EXPECT_EQ(visited, QStringList({"ok.bmp", "..ok.bmp"}));
    // The bar still counts every listed name.
    EXPECT_EQ(advanced, 13 + 1 + 2 + 9 + 11 + 0 + 6 + 8);
}

TEST(ScratchListing, DeleteIfOwnTakesOnlyTheListingThisCopyWroteAsItWroteIt) {
    TempDir skins;
    TempDir program;
    skins.write("a.cmx", "");
    const ScratchListing listing(program.path());
    // Never written by this copy: stays.
    program.write("Temp.txt", "a.cmx\r\n");
    listing.deleteIfOwn();
    EXPECT_TRUE(vestimo::test::exists(program.filePath("Temp.txt")));
    // Written and untouched: goes.
    ASSERT_TRUE(listing.write(skins.path(), FileFilter::CmxFiles).ok);
    listing.deleteIfOwn();
    EXPECT_FALSE(vestimo::test::exists(program.filePath("Temp.txt")));
    // Written, then replaced by a link to a file of the same bytes: stays, and so does its target.
    TempDir elsewhere;
    const QString same = elsewhere.write("same.txt", "a.cmx\r\n");
    ASSERT_TRUE(listing.write(skins.path(), FileFilter::CmxFiles).ok);
    ASSERT_TRUE(QFile::remove(program.filePath("Temp.txt")));
    ASSERT_TRUE(QFile::link(same, program.filePath("Temp.txt")));
    listing.deleteIfOwn();
    EXPECT_TRUE(QFileInfo(program.filePath("Temp.txt")).isSymLink());
    EXPECT_EQ(vestimo::test::readAll(same), "a.cmx\r\n");
}

TEST(ScratchListing, AFolderThatCannotBeReadLeavesTheOldListingAndSaysWhy) {
    TempDir skins;
    TempDir program;
    program.write("Temp.txt", "old\r\n");
    const ScratchListing::Written written =
        ScratchListing(program.path()).write(skins.filePath("missing"), FileFilter::CmxFiles);
    EXPECT_FALSE(written.ok);
    EXPECT_TRUE(written.folderUnreadable);
    EXPECT_EQ(written.error, "No such file or directory");
    EXPECT_EQ(vestimo::test::readAll(program.filePath("Temp.txt")), "old\r\n");
}
