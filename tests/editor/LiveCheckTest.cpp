// The editor's text checked as it stands, against "Check CMX For Errors" on the bytes a save writes.
#include "core/editor/LiveCheck.h"
#include "core/cmx/CheckCmxFile.h"
#include "core/editor/CmxText.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vestimo;
using editor::liveCheck;
using editor::LiveCheckStatus;

namespace {

const QString Name = QStringLiteral("B001FAFit_x.cmx");

// The editor's raw text for a file's bytes: lines as blocks, separated by U+2029.
QString rawTextOf(const QByteArray& bytes) {
    QString text = editor::decodeCmxText(bytes);
    // The editor does not keep the line end after the last line as an empty block of its own.
    if (text.endsWith(u'\n')) {
        text.chop(1);
    }
    return text.replace(u'\n', QChar(0x2029));
}

QList<QByteArray> validLines() {
    return {"// Character File. Copyright 1997, Maxis Inc.",
            "version 300",
            "0",
            "1",
            "B001FAFit_x",
            "0",
            "0",
            "1",
            "PELVIS",
            "xskin-B001FAFit_x-PELVIS-BODY",
            "0",
            "0",
            "0"};
}

QString rawWithLine(int line, const QByteArray& text) {
    QList<QByteArray> lines = validLines();
    lines[line - 1] = text;
    return rawTextOf(test::crlfLines(lines));
}

// What "Check CMX For Errors" answers for `bytes` stored as the selected file.
QString diskCheck(const QByteArray& bytes, const QString& nameBox = Name) {
    test::TempDir dir;
    dir.write(Name, bytes);
    return cmx::checkCmxFile(true, FileFilter::CmxFiles, dir.path(), Name, nameBox);
}

} // namespace

TEST(LiveCheck, BreakingAndMendingLineFourFollowsTheText) {
    const QString valid = rawTextOf(test::crlfLines(validLines()));
    EXPECT_EQ(liveCheck(valid, Name, false), (LiveCheckStatus{"No Errors Found.", 0, -1}));

    const QString broken = rawWithLine(4, "2");
    const LiveCheckStatus status = liveCheck(broken, Name, true);
    EXPECT_EQ(status.text, "Error With Line 4! Must equal 1! (not saved)");
    EXPECT_EQ(status.faultyLine, 4);
    // Line 4 starts after three lines and their breaks.
    const qsizetype lineFour = validLines()[0].size() + validLines()[1].size() + validLines()[2].size() + 3;
    EXPECT_EQ(status.faultyPosition, lineFour);
    EXPECT_EQ(broken.mid(status.faultyPosition, 1), "2");

    EXPECT_EQ(liveCheck(rawWithLine(4, "1"), Name, true),
              (LiveCheckStatus{"No Errors Found. (not saved)", 0, -1}));
}

TEST(LiveCheck, SaysNotSavedOnlyWhileTheTextDiffersFromTheFile) {
    const QString broken = rawWithLine(6, "x");
    EXPECT_EQ(liveCheck(broken, Name, false).text, "Error With Line 6! Must Equal 0!");
    EXPECT_EQ(liveCheck(broken, Name, true).text, "Error With Line 6! Must Equal 0! (not saved)");
    EXPECT_EQ(liveCheck(broken, Name, false).faultyLine, liveCheck(broken, Name, true).faultyLine);
}

TEST(LiveCheck, ANameOfAnotherClassIsNotWalkedAndMarksNoLine) {
    const QString broken = rawWithLine(4, "2");
    const QString message = "This is an animation or another cmx type we can't check, so we can't deal with "
                            "it at this time, sorry.";
    for (const QString& name : {QStringLiteral("X001FAFit_x.cmx"), QStringLiteral("B001"), QString()}) {
        EXPECT_EQ(liveCheck(broken, name, false), (LiveCheckStatus{message, 0, -1})) << name.toStdString();
        EXPECT_EQ(diskCheck(editor::bytesToSave(broken), name), message);
    }
    EXPECT_EQ(liveCheck(broken, "X001FAFit_x.cmx", true).text, message + " (not saved)");
}

// Line ends typed, pasted or kept from the file: the status is the disk check's answer on the very
// bytes the save writes, and the marked position is where that line starts.
TEST(LiveCheck, LineEndEditsGiveTheDiskCheckAnswerForTheSavedBytes) {
    const QChar block(0x2029);
    const QChar bareCr(editor::BareCarriageReturn);
    const QChar bareLf(editor::BareLineFeed);
    const QString valid = rawTextOf(test::crlfLines(validLines()));
    QStringList lines = valid.split(block);
    const auto joined = [&](QStringList changed) { return changed.join(block); };

    QStringList loneLfInLineFour = lines;
    loneLfInLineFour[3] = QString(u'1') + bareLf;
    QStringList crlfInLineFour = lines;
    crlfInLineFour[3] = QString(u'1') + bareCr + bareLf + u'0';
    QStringList bareCrInLineTwo = lines;
    bareCrInLineTwo[1] = QStringLiteral("version 300") + bareCr + u'0';
    QStringList newlineCharacters = lines;
    newlineCharacters[2] = QStringLiteral("0\r\n1");
    newlineCharacters[6] = QStringLiteral("0") + QChar(0x2028) + u'1';

    const std::vector<std::pair<std::string, QString>> texts = {
        {"valid, no last line end", valid},
        {"valid, last line end", valid + block},
        {"empty", QString()},
        {"lone LF in line 4", joined(loneLfInLineFour)},
        {"stand-in CR LF in line 4", joined(crlfInLineFour)},
        {"bare CR in line 2", joined(bareCrInLineTwo)},
        {"CR LF and line separator typed", joined(newlineCharacters)},
        {"header alone, no line end", lines[0]},
        {"blank lines at the end", valid + block + block + block},
    };
    for (const auto& [what, text] : texts) {
        const QByteArray bytes = editor::bytesToSave(text);
        const LiveCheckStatus status = liveCheck(text, Name, false);
        EXPECT_EQ(status.text, diskCheck(bytes)) << what;
        EXPECT_EQ(liveCheck(text, Name, true).text, diskCheck(bytes) + " (not saved)") << what;
        if (status.faultyLine > 0) {
            // The bytes before the marked position hold exactly the lines before the faulty one.
            const QByteArray before = editor::encodeCmxText(QStringView(text).left(status.faultyPosition));
            EXPECT_EQ(before.count('\r'), status.faultyLine - 1) << what;
        }
    }
    // The walk counts a bare CR as a line end: the third block ("0") is its fourth line, which must
    // hold 1. The mark is on that block, not on the fourth.
    const LiveCheckStatus crInLineTwo = liveCheck(joined(bareCrInLineTwo), Name, false);
    EXPECT_EQ(crInLineTwo.faultyLine, 4);
    EXPECT_EQ(crInLineTwo.faultyPosition, lines[0].size() + 1 + lines[1].size() + 2 + 1);
}

TEST(LiveCheck, FindsWhereEachLineStarts) {
    const QString text = QStringLiteral("ab") + QChar(0x2029) + QStringLiteral("cd") +
                         QChar(editor::BareCarriageReturn) + QChar(editor::BareLineFeed) +
                         QStringLiteral("ef");
    EXPECT_EQ(editor::lineStartInText(text, 1), 0);
    EXPECT_EQ(editor::lineStartInText(text, 2), 3);
    EXPECT_EQ(editor::lineStartInText(text, 3), 7);
    // A line the text does not have yet would begin at its end.
    EXPECT_EQ(editor::lineStartInText(text, 4), text.size());
    EXPECT_EQ(editor::lineStartInText(QString(), 9), 0);
}

TEST(LiveCheck, TextTooLargeForTheEditorIsNotWalked) {
    // Just over the limit once saved: every line break becomes two bytes.
    const QString big = rawWithLine(4, "2") + QString(editor::CmxFileLimit / 2, QChar(0x2029));
    ASSERT_GT(editor::bytesToSave(big).size(), editor::CmxFileLimit);
    EXPECT_EQ(liveCheck(big, Name, false),
              (LiveCheckStatus{"The text is too large to check (over 8 MiB).", 0, -1}));
    EXPECT_EQ(liveCheck(big, Name, true).text, "The text is too large to check (over 8 MiB). (not saved)");
    // Far larger texts are refused before they are encoded.
    const QString huge(2 * editor::CmxFileLimit + 1, u'0');
    EXPECT_EQ(liveCheck(huge, Name, false).text, "The text is too large to check (over 8 MiB).");
}

// The save and the check take their bytes from one place.
TEST(LiveCheck, SavedBytesEndWithOneLineEnd) {
    EXPECT_EQ(editor::bytesToSave(u"a"), "a\r\n");
    EXPECT_EQ(editor::bytesToSave(QString(QStringLiteral("a") + QChar(0x2029))), "a\r\n");
    EXPECT_EQ(editor::bytesToSave(QString(QStringLiteral("a") + QChar(0x2029) + QChar(0x2029))), "a\r\n\r\n");
    EXPECT_EQ(editor::bytesToSave(QString(QStringLiteral("a") + QChar(editor::BareCarriageReturn))),
              "a\r\r\n");
    EXPECT_EQ(editor::bytesToSave(u""), "");
}
