#include "core/catalogue/RunReport.h"
#include "core/catalogue/Checks.h"
#include "core/checks/ClosingMessage.h"
#include "core/checks/SkinChecks.h"
#include "core/report/RunReport.h"
#include "core/textures/AssociatedFiles.h"
#include "platform/ProgramLock.h"
#include "samples/BmpSamples.h"
#include "samples/CmxSamples.h"
#include "support/TempDir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace vestimo;
using report::RunReport;
using report::RunRow;
using report::RunVerdict;
using test::TempDir;

namespace {

QByteArray Bytes(const std::string& text) {
    return QByteArray::fromStdString(text);
}

struct NoProgress : checks::RunProgress {
    void start(qint64) override {}
    void advance(int) override {}
};

QByteArray Valid(const char* base) {
    return Bytes(samples::ValidBodyCmx(base));
}
QByteArray WithLine(const char* base, int line, const char* replacement) {
    return Bytes(samples::ReplaceCmxLine(samples::ValidBodyCmx(base), line, replacement));
}
QByteArray Bmp(int width, int height, std::size_t fileSize = 0) {
    samples::BmpOptions options;
    options.width = width;
    options.height = height;
    options.fileSize = fileSize;
    return Bytes(samples::MakeBmp(options));
}

// The rows of `report` for `verdict`, by file name.
QMap<QString, RunRow> RowsOf(const RunReport& report, RunVerdict verdict) {
    QMap<QString, RunRow> rows;
    for (const RunRow& row : report.rows) {
        if (row.verdict == verdict) {
            rows.insert(row.file, row);
        }
    }
    return rows;
}

QString Fact(const RunReport& report, const QString& label) {
    for (const report::RunFact& fact : report.facts) {
        if (fact.label == label) {
            return fact.value;
        }
    }
    return QStringLiteral("<none>");
}

// Reads CSV back as RFC 4180 has it: records end in CRLF, quoted fields may hold anything.
QList<QStringList> ParseCsv(const QString& csv) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < csv.size(); ++i) {
        const QChar c = csv[i];
        if (quoted) {
            if (c == u'"' && i + 1 < csv.size() && csv[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            EXPECT_TRUE(field.isEmpty()) << "a quote inside an unquoted field";
            quoted = true;
        } else if (c == u',') {
            record.append(field);
            field.clear();
        } else if (c == u'\r' && i + 1 < csv.size() && csv[i + 1] == u'\n') {
            record.append(field);
            records.append(record);
            record.clear();
            field.clear();
            ++i;
        } else {
            EXPECT_NE(c, u'\n') << "a bare line break outside quotes";
            field += c;
        }
    }
    EXPECT_FALSE(quoted);
    EXPECT_TRUE(record.isEmpty() && field.isEmpty()) << "the last record lacks its CRLF";
    return records;
}

// Names that need every kind of quoting, and one in another script.
RunReport Awkward() {
    RunReport report;
    report.facts = {{QStringLiteral("Skin folder"), QStringLiteral("/skins")},
                    {QStringLiteral("Moved"), "1"}};
    report.rows = {
        {QStringLiteral("a,b.cmx"), RunVerdict::Moved, QStringLiteral("line 8: \"quoted\""),
         QStringLiteral("/program/a,b.cmx")},
        {QStringLiteral("two\r\nlines.cmx"), RunVerdict::NotMoved, QStringLiteral("could not be moved"),
         QStringLiteral("/skins/two\r\nlines.cmx")},
        {QString::fromUtf8("\xd0\xb6\xd0\xb8\xd0\xb2.bmp"), RunVerdict::PassedOver, QString(), QString()},
        {QStringLiteral("plain.bmp"), RunVerdict::Left, QStringLiteral("ok\nreally"),
         QStringLiteral("/skins/p")},
    };
    report.problemFolder = QStringLiteral("/program");
    return report;
}

class DirectoryRunReport : public ::testing::Test {
protected:
    RunReport Run(const checks::DirectoryCheck& check) {
        closing = checks::closingMessageFor(
            check, checks::runDirectoryCheck(check, skins.path(), program.path(), progress));
        EXPECT_TRUE(closing.report.has_value());
        return closing.report.value_or(RunReport{});
    }
    TempDir skins;
    TempDir program;
    NoProgress progress;
    checks::ClosingMessage closing;
};

} // namespace

TEST_F(DirectoryRunReport, EveryCmxFileHasARowWithTheCheckCmxMessageAsItsReason) {
    skins.write("B001FAFit_bad.cmx", WithLine("B001FAFit_bad", 8, "0"));
    skins.write("B002FAFit_ok.cmx", Valid("B002FAFit_ok"));
    skins.write("B003FAFit_dup.cmx", WithLine("B003FAFit_dup", 3, "1"));
    skins.write("xanim.cmx", Valid("xanim"));
    program.write("B003FAFit_dup.cmx", "an older problem file");
    const RunReport report = Run(checks::cmxCheck());

    ASSERT_EQ(report.rows.size(), 4);
    EXPECT_EQ(report.rows[0],
              (RunRow{"B001FAFit_bad.cmx", RunVerdict::Moved, "line 8: " + texts::cmxFaultAtLine(8),
                      program.filePath("B001FAFit_bad.cmx")}));
    EXPECT_EQ(report.rows[0].reason, "line 8: Error with Line 8! Must equal at least 1! If ");
    EXPECT_EQ(report.rows[1],
              (RunRow{"B002FAFit_ok.cmx", RunVerdict::Left, QStringLiteral("No Errors Found."),
                      skins.filePath("B002FAFit_ok.cmx")}));
    EXPECT_EQ(report.rows[2].file, "B003FAFit_dup.cmx");
    EXPECT_EQ(report.rows[2].verdict, RunVerdict::NotMoved);
    EXPECT_TRUE(
        report.rows[2].reason.startsWith("could not be moved (line 3: Error With Line 3! Must equal 0!): "
                                         "a file of that name is already in"))
        << report.rows[2].reason.toStdString();
    EXPECT_EQ(report.rows[2].where, skins.filePath("B003FAFit_dup.cmx"));
    EXPECT_EQ(report.rows[3], (RunRow{"xanim.cmx", RunVerdict::PassedOver, texts::notASkinDescription(),
                                      skins.filePath("xanim.cmx")}));

    EXPECT_EQ(Fact(report, "Files judged"), "4");
    EXPECT_EQ(Fact(report, "Moved"), "1");
    EXPECT_EQ(Fact(report, "Left"), "1");
    EXPECT_EQ(Fact(report, "Could not be moved"), "1");
    EXPECT_EQ(Fact(report, "Passed over"), "1");
    EXPECT_EQ(Fact(report, "Problem folder"), program.path());
    EXPECT_EQ(report.problemFolder, program.path());
    EXPECT_EQ(report.closingLine(), "Files left in place because they could not be moved: 1");
    // The message itself is the check's own; the count goes under it.
    EXPECT_EQ(closing.message, checks::cmxCheck().closingMessage);
    EXPECT_EQ(closing.informative, "1 file could not be moved; see the report.");
}

TEST_F(DirectoryRunReport, SeveralFilesNotMovedAreCountedUnderTheMessage) {
    for (const char* base : {"B001FAFit_a", "B002FAFit_b", "B003FAFit_c"}) {
        const QString name = QString::fromLatin1(base) + ".cmx";
        skins.write(name, WithLine(base, 9, "L_ARMS"));
        program.write(name, "already here");
    }
    skins.write("B004FAFit_d.cmx", WithLine("B004FAFit_d", 9, "L_ARMS"));
    const RunReport report = Run(checks::cmxCheck());
    EXPECT_EQ(report.count(RunVerdict::NotMoved), 3);
    EXPECT_EQ(report.count(RunVerdict::Moved), 1);
    EXPECT_EQ(closing.informative, "3 files could not be moved; see the report.");
    EXPECT_EQ(report.closingLine(), "Files left in place because they could not be moved: 3");
}

TEST_F(DirectoryRunReport, NothingNotMovedMeansNoLineUnderTheMessage) {
    skins.write("B001FAFit_bad.cmx", WithLine("B001FAFit_bad", 8, "0"));
    const RunReport report = Run(checks::cmxCheck());
    EXPECT_EQ(closing.informative, QString());
    EXPECT_EQ(report.closingLine(), "Files left in place because they could not be moved: 0");
}

TEST_F(DirectoryRunReport, BitmapReasonsGiveTheSizeTheLengthAndTheLimit) {
    skins.write("B001FAFitlgt_big.bmp", Bmp(256, 256, 75001));
    skins.write("B002FAFitlgt_ok.bmp", Bmp(256, 256, 75000));
    skins.write("odd.bmp", Bmp(48, 48));
    skins.write("text.bmp", "not a picture");
    const RunReport report = Run(checks::bitmapCheck());
    const auto moved = RowsOf(report, RunVerdict::Moved);
    EXPECT_EQ(moved.value("B001FAFitlgt_big.bmp").reason, "256 x 256, 75001 bytes, more than 75000");
    EXPECT_TRUE(moved.value("text.bmp").reason.startsWith("not a readable picture"));
    EXPECT_EQ(RowsOf(report, RunVerdict::Left).value("B002FAFitlgt_ok.bmp").reason,
              "256 x 256, 75000 bytes, not more than 75000");
    EXPECT_EQ(RowsOf(report, RunVerdict::PassedOver).value("odd.bmp").reason,
              "48 x 48, a size the texture table does not list");
    EXPECT_EQ(report.rows.size(), 4);
}

TEST_F(DirectoryRunReport, AMeshThatWentAlongHasItsOwnMovedRow) {
    skins.write("B001FAFit_orphan.cmx", Valid("B001FAFit_orphan"));
    const QString mesh = textures::meshFileName("B001FAFit_orphan.cmx");
    skins.write(mesh, "mesh");
    skins.write("B002FAFit_kept.cmx", Valid("B002FAFit_kept"));
    skins.write(textures::bitmapPrefix("B002FAFit_kept.cmx") + "lgt_kept.bmp", Bmp(256, 256));
    const RunReport report = Run(checks::associatedFilesCheck());
    const auto moved = RowsOf(report, RunVerdict::Moved);
    ASSERT_EQ(moved.size(), 2);
    EXPECT_TRUE(moved.value("B001FAFit_orphan.cmx").reason.startsWith("no bitmap begins with"));
    EXPECT_EQ(moved.value(mesh).reason, "the mesh of B001FAFit_orphan.cmx, moved with it");
    EXPECT_EQ(moved.value(mesh).where, program.filePath(mesh));
    EXPECT_TRUE(RowsOf(report, RunVerdict::Left)
                    .value("B002FAFit_kept.cmx")
                    .reason.startsWith("a bitmap begins with"));
    EXPECT_EQ(Fact(report, "Moved"), "1");
    EXPECT_EQ(Fact(report, texts::meshesMovedWithThem()), "1");
}

TEST_F(DirectoryRunReport, NamesOffTheListArePassedOverWithWhy) {
    skins.write(QStringLiteral("B001FA\nodd.cmx"), Valid("B001FAodd"));
    const checks::DirectoryCheck check = checks::cmxCheck();
    closing = checks::closingMessageFor(
        check, checks::runDirectoryCheck(check, skins.path(), program.path(), progress));
    EXPECT_EQ(closing.message, "There are no cmx files in this directory!");
    ASSERT_TRUE(closing.report.has_value());
    ASSERT_EQ(closing.report->rows.size(), 1);
    EXPECT_EQ(closing.report->rows[0].verdict, RunVerdict::PassedOver);
    EXPECT_EQ(closing.report->rows[0].reason, texts::lineBreakInName());
}

TEST_F(DirectoryRunReport, RunsThatListNothingOrStopHaveNoReport) {
    const checks::DirectoryCheck check = checks::cmxCheck();
    closing = checks::closingMessageFor(
        check, checks::runDirectoryCheck(check, skins.path(), program.path(), progress));
    EXPECT_EQ(closing.kind, checks::ClosingMessage::Kind::NothingListed);
    EXPECT_FALSE(closing.report.has_value());

    skins.write("B001FAFit_bad.cmx", WithLine("B001FAFit_bad", 8, "0"));
    platform::ProgramLock other(program.path());
    ASSERT_TRUE(other.acquire(0).held());
    closing = checks::closingMessageFor(
        check, checks::runDirectoryCheck(check, skins.path(), program.path(), progress, 0));
    EXPECT_EQ(closing.kind, checks::ClosingMessage::Kind::Stopped);
    EXPECT_FALSE(closing.report.has_value());
    EXPECT_EQ(closing.informative, QString());
}

TEST(RunReportFormats, TheFileNameChoosesTheFormat) {
    using report::ReportFormat;
    EXPECT_EQ(report::formatForFileName("/a/report.csv"), ReportFormat::Csv);
    EXPECT_EQ(report::formatForFileName("/a/report.CSV"), ReportFormat::Csv);
    EXPECT_EQ(report::formatForFileName("/a/report.json"), ReportFormat::Json);
    EXPECT_EQ(report::formatForFileName("/a/report.Json"), ReportFormat::Json);
    EXPECT_EQ(report::formatForFileName("/a/report.txt"), ReportFormat::Text);
    EXPECT_EQ(report::formatForFileName("/a/report"), ReportFormat::Text);
    EXPECT_EQ(report::formatForFileName("/a/report.csv.bak"), ReportFormat::Text);
    EXPECT_EQ(report::formatForFileName("/a.json/report"), ReportFormat::Text);
}

TEST(RunReportFormats, TextHasTheCountsThenOneSectionPerVerdictThenTheClosingLine) {
    const QString text = QString::fromUtf8(report::toText(Awkward()));
    EXPECT_EQ(text, QString::fromUtf8("Skin folder: /skins\n"
                                      "Moved: 1\n"
                                      "\n"
                                      "Moved:\n"
                                      "a,b.cmx: line 8: \"quoted\" -> /program/a,b.cmx\n"
                                      "\n"
                                      "Left:\n"
                                      "plain.bmp: ok\\nreally\n"
                                      "\n"
                                      "Could not be moved:\n"
                                      "two\\r\\nlines.cmx: could not be moved\n"
                                      "\n"
                                      "Passed over:\n"
                                      "\xd0\xb6\xd0\xb8\xd0\xb2.bmp\n"
                                      "\n"
                                      "Files left in place because they could not be moved: 1\n"));
}

TEST(RunReportFormats, CsvReadsBackFieldForField) {
    const RunReport report = Awkward();
    const QByteArray bytes = report::toCsv(report);
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    const QList<QStringList> records = ParseCsv(QString::fromUtf8(bytes));
    ASSERT_EQ(records.size(), report.rows.size() + 1);
    EXPECT_EQ(records[0], (QStringList{"File", "Verdict", "Reason", "Where"}));
    for (qsizetype i = 0; i < report.rows.size(); ++i) {
        const RunRow& row = report.rows[i];
        EXPECT_EQ(records[i + 1],
                  (QStringList{row.file, report::verdictLabel(row.verdict), row.reason, row.where}));
    }
    // Quoted only where it must be.
    EXPECT_TRUE(bytes.contains("\r\nplain.bmp,left,\"ok\nreally\",/skins/p\r\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\"line 8: \"\"quoted\"\"\"")) << bytes.toStdString();
}

TEST(RunReportFormats, JsonReadsBackWithEveryRowAndCount) {
    const RunReport report = Awkward();
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(report::toJson(report), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonObject whole = document.object();
    EXPECT_EQ(whole["problemFolder"].toString(), "/program");
    EXPECT_EQ(whole["couldNotBeMoved"].toInt(), 1);
    const QJsonArray facts = whole["facts"].toArray();
    ASSERT_EQ(facts.size(), report.facts.size());
    EXPECT_EQ(facts[0].toObject()["label"].toString(), "Skin folder");
    EXPECT_EQ(facts[0].toObject()["value"].toString(), "/skins");
    const QJsonArray rows = whole["rows"].toArray();
    ASSERT_EQ(rows.size(), report.rows.size());
    const QStringList keys{"moved", "notMoved", "passedOver", "left"};
    for (qsizetype i = 0; i < report.rows.size(); ++i) {
        const QJsonObject row = rows[i].toObject();
        EXPECT_EQ(row["file"].toString(), report.rows[i].file);
        EXPECT_EQ(row["verdict"].toString(), keys[i]);
        EXPECT_EQ(row["label"].toString(), report::verdictLabel(report.rows[i].verdict));
        EXPECT_EQ(row["reason"].toString(), report.rows[i].reason);
        EXPECT_EQ(row["where"].toString(), report.rows[i].where);
    }
}

TEST(RunReportFormats, SavingWritesTheChosenFormatAndNeverThroughALink) {
    TempDir folder;
    const RunReport report = Awkward();
    for (const char* name : {"r.txt", "r.csv", "r.json", "r"}) {
        const QString path = folder.filePath(name);
        ASSERT_TRUE(report::saveReport(report, path).ok) << name;
        EXPECT_EQ(test::readAll(path), report::formatted(report, report::formatForFileName(path))) << name;
    }
    EXPECT_EQ(test::readAll(folder.filePath("r.csv")), report::toCsv(report));
    // An older report is replaced whole.
    folder.write("old.json", QByteArray(10000, 'x'));
    ASSERT_TRUE(report::saveReport(report, folder.filePath("old.json")).ok);
    EXPECT_EQ(test::readAll(folder.filePath("old.json")), report::toJson(report));

    const QString target = folder.write("target.txt", "keep me");
    ASSERT_TRUE(QFile::link(target, folder.filePath("link.txt")));
    const platform::FileResult refused = report::saveReport(report, folder.filePath("link.txt"));
    EXPECT_FALSE(refused.ok);
    EXPECT_FALSE(refused.error.isNone());
    EXPECT_EQ(test::readAll(target), "keep me");

    EXPECT_FALSE(report::saveReport(report, folder.filePath("missing/r.txt")).ok);
}

TEST(RunReportFormats, AnInstallationHasItsOwnSectionsAndClosingLine) {
    report::RunReport installed;
    installed.kind = report::RunKind::Install;
    installed.closing = "Installed 1 files from 2 downloads.";
    installed.facts = {{"Downloads", "2"}};
    installed.rows = {
        {"cut.zip", report::RunVerdict::Refused, "the download could not be read: cut", "/d/cut.zip"},
        {"a.zip: x.txt", report::RunVerdict::PassedOver, "not a skin file", {}},
        {"a.zip: B001.cmx", report::RunVerdict::Installed, {}, "/game/Skins/B001.cmx"}};
    EXPECT_EQ(QString::fromUtf8(report::toText(installed)), "Downloads: 2\n"
                                                            "\n"
                                                            "Installed:\n"
                                                            "a.zip: B001.cmx -> /game/Skins/B001.cmx\n"
                                                            "\n"
                                                            "Refused:\n"
                                                            "cut.zip: the download could not be read: cut\n"
                                                            "\n"
                                                            "Passed over:\n"
                                                            "a.zip: x.txt: not a skin file\n"
                                                            "\n"
                                                            "Installed 1 files from 2 downloads.\n");
    EXPECT_TRUE(report::toJson(installed).contains("\"verdict\": \"installed\""));
}
