#include "platform/LineReader.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using vestimo::platform::LineReader;

namespace {

QList<QByteArray> ReadLines(const QByteArray& content) {
    vestimo::test::TempDir dir;
    LineReader reader(dir.write("t", content));
    QList<QByteArray> lines;
    QByteArray line;
    while (reader.next(line)) {
        lines.append(line);
    }
    return lines;
}

} // namespace

TEST(LineReader, SplitsOnCarriageReturnsAndSkipsTheLineFeedAfterOne) {
    EXPECT_EQ(ReadLines("a\r\nb\r\n"), (QList<QByteArray>{"a", "b"}));
    EXPECT_EQ(ReadLines("a\rb"), (QList<QByteArray>{"a", "b"}));
    EXPECT_EQ(ReadLines("a\nb\r\n"), (QList<QByteArray>{"a\nb"}));
    EXPECT_EQ(ReadLines("\r\n\r\n"), (QList<QByteArray>{"", ""}));
    EXPECT_TRUE(ReadLines("").isEmpty());
}

TEST(LineReader, ReadsLinesLongerThanItsBuffer) {
    const QByteArray longLine(200000, 'x');
    EXPECT_EQ(ReadLines(longLine + "\r\n" + "y"), (QList<QByteArray>{longLine, "y"}));
}
