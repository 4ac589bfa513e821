#include "core/editor/CmxText.h"

#include <QPlainTextEdit>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace vestimo::editor;

namespace {

QByteArray EveryByte() {
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        bytes += static_cast<char>(b);
    }
    return bytes;
}

// Through the editor box and back, as the editor does it.
QByteArray ThroughEditorBox(const QByteArray& bytes) {
    QPlainTextEdit box;
    box.setPlainText(decodeCmxText(bytes));
    return encodeCmxText(box.document()->toRawText());
}

} // namespace

TEST(CmxText, CrLfPairsBecomeLineBreaks) {
    EXPECT_EQ(decodeCmxText("Version 300\r\n0\r\n"), "Version 300\n0\n");
    EXPECT_EQ(encodeCmxText(u"Version 300\n0\n"), "Version 300\r\n0\r\n");
}

TEST(CmxText, BareCarriageReturnsAndLineFeedsShowAsStandIns) {
    EXPECT_EQ(decodeCmxText("a\rb\nc\n\r"), QStringLiteral("a\u240Db\u240Ac\u240A\u240D"));
    EXPECT_EQ(encodeCmxText(u"a\u240Db\u240Ac\u240A\u240D"), "a\rb\nc\n\r");
}

TEST(CmxText, CodePageCharactersDecodeToTheirUnicodeCharacters) {
    EXPECT_EQ(decodeCmxText("\x80\x85\x99\x9F\xA0\xE9\xFF"),
              QStringLiteral("\u20AC\u2026\u2122\u0178\u00A0\u00E9\u00FF"));
    EXPECT_EQ(encodeCmxText(u"\u20AC\u2026\u2122\u0178\u00A0\u00E9\u00FF"), "\x80\x85\x99\x9F\xA0\xE9\xFF");
}

TEST(CmxText, TheFiveUnassignedBytesKeepTheirNumbers) {
    EXPECT_EQ(decodeCmxText("\x81\x8D\x8F\x90\x9D"), QStringLiteral("\u0081\u008D\u008F\u0090\u009D"));
    EXPECT_EQ(encodeCmxText(u"\u0081\u008D\u008F\u0090\u009D"), "\x81\x8D\x8F\x90\x9D");
}

TEST(CmxText, EveryByteValueSurvivesDecodingAndEncoding) {
    const QByteArray bytes = EveryByte();
    EXPECT_EQ(encodeCmxText(decodeCmxText(bytes)), bytes);
    EXPECT_EQ(encodeCmxText(decodeCmxText(bytes + "\r\n" + bytes + "\r\r\n\n\r")),
              bytes + "\r\n" + bytes + "\r\r\n\n\r");
}

TEST(CmxText, EveryByteValueSurvivesTheEditorBox) {
    const QByteArray bytes = EveryByte() + "\r\n" + EveryByte();
    EXPECT_EQ(ThroughEditorBox(bytes), bytes);
}

TEST(CmxText, LineEndsSurviveTheEditorBox) {
    for (const QByteArray& bytes :
         {QByteArray("a\r\nb\r\n"), QByteArray("a\r\n\r\n\r\n"), QByteArray("\r\n"), QByteArray("a\nb\r\n"),
          QByteArray("a\rb\r\n"), QByteArray("\r\r\n\n"), QByteArray("no line end"), QByteArray()}) {
        EXPECT_EQ(ThroughEditorBox(bytes), bytes) << bytes.toStdString();
    }
}

TEST(CmxText, NoBreakSpacesAreNotTurnedIntoSpaces) {
    EXPECT_EQ(ThroughEditorBox("a\xA0"
                               "b\r\n"),
              "a\xA0"
              "b\r\n");
}

TEST(CmxText, ACharacterWithoutAByteBecomesAQuestionMark) {
    EXPECT_EQ(encodeCmxText(u"snow \u2603 man"), "snow ? man");
    EXPECT_EQ(encodeCmxText(u"\u0080\u0082"), "??");
}

TEST(CmxText, ACharacterOutsideTheBasicPlaneBecomesOneQuestionMark) {
    EXPECT_EQ(encodeCmxText(u"a\U0001F600b"), "a?b");
}

TEST(CmxText, EveryKindOfTypedLineBreakIsWrittenAsCrLf) {
    EXPECT_EQ(encodeCmxText(u"a\nb\r\nc\rd\u2028e\u2029f"), "a\r\nb\r\nc\r\nd\r\ne\r\nf");
}

TEST(CmxText, AnEmptyFileIsAnEmptyText) {
    EXPECT_EQ(decodeCmxText({}), QString());
    EXPECT_EQ(encodeCmxText(u""), QByteArray());
}
