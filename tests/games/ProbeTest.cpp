#include "platform/Probe.h"
#include "FakeHome.h"

#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace vestimo::platform::probe {
namespace {

using test::FakeHome;

TEST(Probe, FoldersAndLinks) {
    FakeHome home;
    home.mkdir("a/b");
    home.mkdir("a/c");
    home.write("a/file", "x");
    home.link(home.at("a/b"), "a/to-b");
    home.link(home.at("a/file"), "a/to-file");
    home.link("missing", "a/broken");
    EXPECT_TRUE(isDirectory(home.at("a")));
    EXPECT_TRUE(isDirectory(home.at("a/to-b")));
    EXPECT_FALSE(isDirectory(home.at("a/file")));
    EXPECT_FALSE(isDirectory(home.at("a/broken")));
    EXPECT_FALSE(isDirectory(QString()));
    QStringList dirs = subdirectories(home.at("a"));
    dirs.sort();
    EXPECT_EQ(dirs, QStringList({"b", "c", "to-b"}));
    QStringList files = probe::files(home.at("a"));
    files.sort();
    EXPECT_EQ(files, QStringList({"file", "to-file"}));
    EXPECT_TRUE(subdirectories(home.at("missing")).isEmpty());
    EXPECT_EQ(canonicalPath(home.at("a/to-b")), canonicalPath(home.at("a/b")));
    EXPECT_EQ(canonicalPath(home.at("a/broken")), QString());
    EXPECT_EQ(linkTarget(home.at("a/broken")), "missing");
    EXPECT_EQ(linkTarget(home.at("a/b")), QString());
}

TEST(Probe, SmallFilesOnlyRegularAndWithinTheirLimit) {
    FakeHome home;
    home.write("f", "12345");
    home.link(home.at("f"), "link");
    ASSERT_EQ(::mkfifo(QFile::encodeName(home.at("fifo")).constData(), 0600), 0);
    EXPECT_EQ(readSmallFile(home.at("f"), 5), QByteArray("12345"));
    EXPECT_EQ(readSmallFile(home.at("f"), 4), std::nullopt);
    EXPECT_EQ(readSmallFile(home.at("link"), 100), std::nullopt); // links are not followed
    EXPECT_EQ(readSmallFile(home.at("fifo"), 100), std::nullopt); // nor does a pipe block
    EXPECT_EQ(readSmallFile(home.home(), 100), std::nullopt);
    EXPECT_EQ(readSmallFile(home.at("missing"), 100), std::nullopt);
}

TEST(Probe, LinesOneByOne) {
    FakeHome home;
    home.write("f", "one\r\ntwo\n\n" + QByteArray(100, 'x') + "\nlast");
    QList<QByteArray> lines;
    auto collect = [&lines](QByteArrayView line) {
        lines.append(line.toByteArray());
        return true;
    };
    EXPECT_TRUE(forEachLine(home.at("f"), 1 << 20, 10, collect));
    EXPECT_EQ(lines, QList<QByteArray>({"one", "two", "", QByteArray(10, 'x'), "last"}));

    lines.clear();
    EXPECT_TRUE(forEachLine(home.at("f"), 6, 10, collect)); // stops after the limit
    EXPECT_EQ(lines, QList<QByteArray>({"one", "t"}));

    lines.clear();
    EXPECT_TRUE(forEachLine(home.at("f"), 1 << 20, 10, [&lines](QByteArrayView line) {
        lines.append(line.toByteArray());
        return false;
    }));
    EXPECT_EQ(lines, QList<QByteArray>({"one"}));

    // Lines across the reading chunks.
    QByteArray big;
    for (int i = 0; i < 20000; ++i) {
        big += QByteArray::number(i) + '\n';
    }
    home.write("big", big);
    int count = 0;
    bool inOrder = true;
    forEachLine(home.at("big"), 1 << 20, 100, [&](QByteArrayView line) {
        inOrder = inOrder && line == QByteArray::number(count);
        ++count;
        return true;
    });
    EXPECT_EQ(count, 20000);
    EXPECT_TRUE(inOrder);

    home.link(home.at("f"), "link");
    EXPECT_FALSE(forEachLine(home.at("link"), 100, 100, collect));
    EXPECT_FALSE(forEachLine(home.at("missing"), 100, 100, collect));
}

} // namespace
} // namespace vestimo::platform::probe
