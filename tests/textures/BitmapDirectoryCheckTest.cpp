#include "support/DirectoryCheckTesting.h"
#include "support/FinishRuns.h"

#include "core/checks/SkinChecks.h"
#include "gui/browser/FileList.h"
#include "gui/skinedit/SkinEditWindow.h"
#include "gui/widgets/PictureBox.h"
#include "platform/ProgramLock.h"
#include "samples/SkinSamples.h"
#include "support/AppFixture.h"
#include "support/TempDir.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

using namespace vestimo;
using vestimo::test::Bytes;
using vestimo::test::exists;
using vestimo::test::Files;
using vestimo::test::MovedNames;
using vestimo::test::readAll;
using vestimo::test::RecordingProgress;
using vestimo::test::ShowCounter;
using vestimo::test::TempDir;

namespace {

const QString closingMessage = QStringLiteral("Problem Files were moved into the same directory as the "
                                              "program for you to fix, everything else was left where "
                                              "it was. If you encounter a file that was moved that is valid, "
                                              "please email the dimensions and file size to ") +
                               test::Contact();

QByteArray Bmp(int width, int height, std::size_t fileSize = 0, int bitsPerPixel = 8) {
    samples::BmpOptions options;
    options.width = width;
    options.height = height;
    options.fileSize = fileSize;
    options.bitsPerPixel = bitsPerPixel;
    return Bytes(samples::MakeBmp(options));
}

class BitmapDirectoryCheck : public ::testing::Test {
protected:
    checks::DirectoryReport Run(int lockWaitMs = checks::ProgramLockWaitMs) {
        return checks::runDirectoryCheck(checks::bitmapCheck(), skins.path(), program.path(), progress,
                                         lockWaitMs);
    }

    TempDir skins;
    TempDir program;
    RecordingProgress progress;
};

} // namespace

TEST_F(BitmapDirectoryCheck, ExactlyAtTheLimitStaysOneByteOverIsMoved) {
    skins.write("B001FAFitlgt_at.bmp", Bmp(256, 256, 75000));
    skins.write("B001FAFitlgt_x.bmp", Bmp(256, 256, 75001));
    const auto report = Run();
    EXPECT_EQ(report.outcome, checks::DirectoryReport::Outcome::Completed);
    ASSERT_EQ(report.moved.size(), 1);
    EXPECT_EQ(report.moved[0].name, "B001FAFitlgt_x.bmp");
    EXPECT_EQ(report.moved[0].reason, "256 x 256, 75001 bytes, more than 75000");
    EXPECT_EQ(Files(program.path()), QStringList{"B001FAFitlgt_x.bmp"});
    EXPECT_EQ(Files(skins.path()), QStringList{"B001FAFitlgt_at.bmp"});
    EXPECT_FALSE(exists(program.filePath("Temp.txt")));
}

TEST_F(BitmapDirectoryCheck, EveryRowOfTheTableAtAndOverItsLimit) {
    for (const auto& limit : samples::TextureLimits) {
        const QString size = QStringLiteral("%1x%2").arg(limit.width).arg(limit.height);
        skins.write(QStringLiteral("at_%1.bmp").arg(size), Bmp(limit.width, limit.height, limit.maxFileSize));
        skins.write(QStringLiteral("over_%1.bmp").arg(size),
                    Bmp(limit.width, limit.height, limit.maxFileSize + 1));
    }
    const auto report = Run();
    EXPECT_EQ(report.moved.size(), 6);
    for (const QString& name : Files(program.path())) {
        EXPECT_TRUE(name.startsWith("over_")) << name.toStdString();
    }
    for (const QString& name : Files(skins.path())) {
        EXPECT_TRUE(name.startsWith("at_")) << name.toStdString();
    }
}

TEST_F(BitmapDirectoryCheck, FilesThatAreNoPicturesAreMovedHoweverMany) {
    skins.write("B001FAFitlgt_text.bmp", QByteArray("just some text\r\n"));
    skins.write("B002FAFitlgt_empty.BMP", QByteArray());
    skins.write("B003FAFitlgt_cut.bmp", Bytes(samples::TruncateBmp(samples::MakeBmp({}), 100)));
    skins.write("B004FAFitlgt_ok.bmp", Bmp(256, 256));
    const auto report = Run();
    EXPECT_EQ(MovedNames(report),
              (QStringList{"B001FAFitlgt_text.bmp", "B002FAFitlgt_empty.BMP", "B003FAFitlgt_cut.bmp"}));
    for (const auto& moved : report.moved) {
        EXPECT_TRUE(moved.reason.startsWith("not a readable picture")) << moved.reason.toStdString();
    }
    EXPECT_EQ(Files(skins.path()), QStringList{"B004FAFitlgt_ok.bmp"});
    EXPECT_TRUE(report.trouble.isEmpty());
}

TEST_F(BitmapDirectoryCheck, DamagedAndForeignPicturesAreMovedWithWhatIsWrong) {
    samples::BmpOptions deep;
    deep.bitsPerPixel = 24;
    const std::string full = samples::MakeBmp(deep);
    std::string pastEnd = samples::MakeBmp({});
    pastEnd[10] = '\x40'; // pixel data said to start at 0x20440, past the end
    pastEnd[12] = '\x02';
    samples::BmpOptions rle;
    rle.rle8 = true;
    const std::string rleFile = samples::MakeBmp(rle);
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(Qt::darkRed);
    const auto encoded = [&image](const char* format) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(image.save(&buffer, format)) << format;
        return bytes;
    };
    const QString pastEndReason =
        QStringLiteral("pixel-data offset 132160 lies past the end of the file (%1 bytes)")
            .arg(pastEnd.size());
    const QString rleReason =
        QStringLiteral("run-length data ends at byte %1 without its end-of-bitmap marker")
            .arg(rleFile.size() / 2);
    const QList<QPair<QString, QByteArray>> bad = {
        {"a_cut.bmp", Bytes(samples::TruncateBmp(full, 14 + 40 + 128 * 768))},
        {"b_past.bmp", Bytes(pastEnd)},
        {"c_png.bmp", encoded("PNG")},
        {"d_jpeg.bmp", encoded("JPEG")},
        {"e_rle.bmp", Bytes(samples::TruncateBmp(rleFile, rleFile.size() / 2))},
    };
    const QStringList reasons = {
        "not a readable picture (pixel data cut short at byte 98358 of 196662)",
        "not a readable picture (" + pastEndReason + ")",
        "not a readable picture (not a BMP file)",
        "not a readable picture (not a BMP file)",
        "not a readable picture (" + rleReason + ")",
    };
    samples::BmpOptions top;
    top.topDown = true;
    for (const auto& [name, bytes] : bad) {
        skins.write(name, bytes);
    }
    skins.write("f_top.bmp", Bytes(samples::MakeBmp(top)));
    skins.write("g_rle.bmp", Bytes(rleFile));
    skins.write("h_palette.bmp", Bmp(256, 256));
    const auto report = Run();
    ASSERT_EQ(report.moved.size(), bad.size());
    for (const auto& moved : report.moved) {
        const auto i =
            std::find_if(bad.begin(), bad.end(), [&](const auto& b) { return b.first == moved.name; }) -
            bad.begin();
        ASSERT_LT(i, bad.size()) << moved.name.toStdString();
        EXPECT_EQ(moved.reason, reasons[i]);
        EXPECT_TRUE(exists(program.filePath(moved.name)));
    }
    EXPECT_EQ(Files(skins.path()), (QStringList{"f_top.bmp", "g_rle.bmp", "h_palette.bmp"}));
}

TEST_F(BitmapDirectoryCheck, WidthComesFirst) {
    skins.write("wide_over.bmp", Bmp(512, 256, 140001));
    skins.write("wide_ok.bmp", Bmp(512, 256, 140000));
    skins.write("tall.bmp", Bmp(256, 512, 200000));
    skins.write("tall_small.bmp", Bmp(128, 256, 100000));
    const auto report = Run();
    EXPECT_EQ(MovedNames(report), QStringList{"wide_over.bmp"});
    EXPECT_EQ(report.passedOver, 2);
    EXPECT_EQ(report.moved[0].reason, "512 x 256, 140001 bytes, more than 140000");
}

TEST_F(BitmapDirectoryCheck, UnlistedSizesStayWhateverTheirLength) {
    skins.write("odd.bmp", Bmp(100, 100, 500000));
    skins.write("tiny.bmp", Bmp(16, 16));
    const auto report = Run();
    EXPECT_TRUE(report.moved.isEmpty());
    EXPECT_EQ(report.judged, 2);
    EXPECT_EQ(report.passedOver, 2);
    EXPECT_EQ(Files(skins.path()).size(), 2);
}

TEST_F(BitmapDirectoryCheck, TwentyFourBitPicturesAreJudgedByTheirSize) {
    skins.write("deep.bmp", Bmp(64, 64, 0, 24)); // 12,342 bytes, over 9,000
    const auto report = Run();
    EXPECT_EQ(MovedNames(report), QStringList{"deep.bmp"});
}

// The measure reads each file whole once; the length it read is the one judged, so a file that
// grows after its measure is judged by what was read.
TEST_F(BitmapDirectoryCheck, EachFileIsJudgedOnceByTheLengthItsMeasureRead) {
    skins.write("a.bmp", Bmp(32, 32));
    skins.write("b.bmp", Bmp(64, 64, 9001));
    skins.write("c.bmp", QByteArray("text"));
    const auto report = Run();
    EXPECT_EQ(report.judged, 3);
    EXPECT_EQ(MovedNames(report), (QStringList{"b.bmp", "c.bmp"}));
    EXPECT_EQ(report.moved[0].name == "b.bmp" ? report.moved[0].reason : report.moved[1].reason,
              "64 x 64, 9001 bytes, more than 9000");
}

TEST_F(BitmapDirectoryCheck, ProgressMaximumIsTheListingSize) {
    skins.write("a.bmp", Bmp(32, 32));
    skins.write("bcd.BMP", Bmp(32, 32));
    skins.write("skip.cmx", QByteArray());
    const auto report = Run();
    ASSERT_EQ(progress.starts.size(), 1);
    EXPECT_EQ(progress.starts[0], 5 + 7 + 2 * 2);
    EXPECT_EQ(progress.advanced, 5 + 7);
    EXPECT_EQ(report.judged, 2);
}

TEST_F(BitmapDirectoryCheck, FileThatCannotBeMovedStaysAndTheRunGoesOn) {
    skins.write("a_over.bmp", Bmp(32, 32, 3001));
    skins.write("b_text.bmp", QByteArray("text"));
    program.write("a_over.bmp", QByteArray("already here"));
    const auto report = Run();
    EXPECT_EQ(MovedNames(report), QStringList{"b_text.bmp"});
    ASSERT_EQ(report.trouble.size(), 1);
    EXPECT_EQ(report.trouble[0].name, "a_over.bmp");
    EXPECT_TRUE(report.trouble[0].reason.startsWith(
        "could not be moved (32 x 32, 3001 bytes, more than 3000): a file of that name is already in"));
    EXPECT_TRUE(exists(skins.filePath("a_over.bmp")));
    EXPECT_EQ(readAll(program.filePath("a_over.bmp")), "already here");
    EXPECT_TRUE(report.details().contains(
        "\na_over.bmp: could not be moved (32 x 32, 3001 bytes, more than 3000): "));
}

TEST_F(BitmapDirectoryCheck, FileGoneBeforeItsTurnIsReportedNotMoved) {
    skins.write("gone.bmp", Bmp(32, 32, 3001));
    progress.beforeTurn = [&] { QFile::remove(skins.filePath("gone.bmp")); };
    const auto report = Run();
    EXPECT_TRUE(report.moved.isEmpty());
    ASSERT_EQ(report.trouble.size(), 1);
    EXPECT_TRUE(report.trouble[0].reason.startsWith("could not be moved (not a readable picture"))
        << report.trouble[0].reason.toStdString();
    EXPECT_TRUE(Files(program.path()).isEmpty());
}

TEST_F(BitmapDirectoryCheck, DetailsCountAndNameEveryFile) {
    skins.write("B001FAFitlgt_x.bmp", Bmp(256, 256, 75001));
    skins.write("text.bmp", QByteArray("text"));
    skins.write("fine.bmp", Bmp(128, 128));
    skins.write("odd.bmp", Bmp(100, 100));
    const auto report = Run();
    const QString details = report.details();
    EXPECT_TRUE(details.startsWith(
        QStringLiteral("Skin folder: %1\n"
                       "Files judged: 4\n"
                       "Files moved: 2, into %2\n"
                       "Files left: 2\n"
                       "Sizes the texture table does not list, left: 1\n"
                       "\n"
                       "Moved:\n")
            .arg(QDir::toNativeSeparators(skins.path()), QDir::toNativeSeparators(program.path()))))
        << details.toStdString();
    EXPECT_TRUE(details.contains("\nB001FAFitlgt_x.bmp: 256 x 256, 75001 bytes, more than 75000"));
    EXPECT_TRUE(details.contains("\ntext.bmp: not a readable picture"));
}

TEST_F(BitmapDirectoryCheck, GeneratedDirectoryLosesExactlyItsProblemBitmaps) {
    samples::SkinSetRecipe recipe;
    recipe.count = 200;
    recipe.seed = 11;
    recipe.oversizedBitmapShare = 0.1;
    recipe.notPictureShare = 0.1;
    recipe.faultyCmxShare = 0.1;
    recipe.orphanShare = 0.05;
    const samples::SkinSetSummary summary = samples::GenerateSkinDirectory(skins.pathStd(), recipe);
    const auto report = Run();
    EXPECT_EQ(MovedNames(report), test::Sorted(summary.problemBitmapNames));
    EXPECT_EQ(report.judged, static_cast<int>(summary.bitmapFiles));
    EXPECT_TRUE(report.trouble.isEmpty());
}

TEST_F(BitmapDirectoryCheck, AnotherCopyHoldingTheProgramFolderStopsTheRun) {
    skins.write("text.bmp", QByteArray("text"));
    platform::ProgramLock other(program.path());
    ASSERT_TRUE(other.acquire(0));
    const auto report = Run(10);
    EXPECT_EQ(report.outcome, checks::DirectoryReport::Outcome::Busy);
    EXPECT_TRUE(exists(skins.filePath("text.bmp")));
    EXPECT_FALSE(exists(program.filePath("Temp.txt")));
}

// The button, end to end.
class BitmapCheckButton : public test::AppFixture {
protected:
    void Click() {
        QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdCheckAllBMP"), Qt::LeftButton);
        ASSERT_TRUE(test::finishRuns());
    }
};

TEST_F(BitmapCheckButton, RefusesTheCmxList) {
    skins.write("text.bmp", QByteArray("text"));
    browseSkinEdit();
    QTest::mouseClick(control<QRadioButton>(&skinEdit(), "Option2"), Qt::LeftButton);
    ASSERT_EQ(control<gui::FileList>(&skinEdit(), "File1")->pattern(), "*.CMX");
    Click();
    EXPECT_EQ(messages.messages, QStringList{"You cannot perform this action on a CMX file!"});
    EXPECT_FALSE(exists(program.filePath("Temp.txt")));
    EXPECT_TRUE(exists(skins.filePath("text.bmp")));
}

// A Temp.txt the program did not write goes to the trash (and the details say so); the empty
// listing written in its place goes as after a completed run.
TEST_F(BitmapCheckButton, EmptyDirectorySaysSoWithoutTheBarAndLeavesNoListing) {
    skins.write("B001FAFit_x.cmx", QByteArray());
    program.write("Temp.txt", QByteArray("old.bmp\r\n"));
    browseSkinEdit();
    ShowCounter bar(control<QProgressBar>(&skinEdit(), "ProgressBar1"));
    Click();
    EXPECT_EQ(messages.messages, QStringList{"There are no bmp files in this directory!"});
    EXPECT_TRUE(messages.details.value(0).contains(texts::earlierListingTrashed()))
        << messages.details.value(0).toStdString();
    EXPECT_EQ(bar.shows, 0);
    EXPECT_FALSE(exists(program.filePath("Temp.txt")));
}

TEST_F(BitmapCheckButton, MovesProblemBitmapsAndEndsWithItsMessage) {
    skins.write("B001FAFitlgt_x.bmp", Bmp(256, 256, 75001));
    skins.write("B002FAFitlgt_ok.bmp", Bmp(128, 128));
    skins.write("B003FAFitlgt_text.bmp", QByteArray("text"));
    skins.write("B004FAFitlgt_text.bmp", QByteArray("more text"));
    browseSkinEdit();
    ASSERT_EQ(control<gui::FileList>(&skinEdit(), "File1")->listCount(), 4);
    ASSERT_TRUE(control<gui::FileList>(&skinEdit(), "File1")->setListIndex(1)); // the selection plays no part
    auto* viewer = control<gui::PictureBox>(&skinEdit(), "Picture1");
    const QSize shown(viewer->widthHiMetric(), viewer->heightHiMetric());
    ShowCounter bar(control<QProgressBar>(&skinEdit(), "ProgressBar1"));
    Click();
    EXPECT_EQ(messages.messages, QStringList{closingMessage});
    ASSERT_EQ(messages.details.size(), 1);
    // The details are the report's text now; the report names the problem folder.
    EXPECT_TRUE(messages.details[0].contains("\nMoved: 3\n"));
    ASSERT_EQ(messages.reports.size(), 1);
    EXPECT_EQ(messages.reports[0].problemFolder, program.path());
    EXPECT_TRUE(
        messages.details[0].contains("\nB001FAFitlgt_x.bmp: 256 x 256, 75001 bytes, more than 75000"));
    EXPECT_EQ(bar.shows, 1);
    EXPECT_FALSE(control<QProgressBar>(&skinEdit(), "ProgressBar1")->isVisible());
    EXPECT_EQ(control<QProgressBar>(&skinEdit(), "ProgressBar1")->maximum(), 18 + 19 + 21 + 21 + 4 * 2);
    EXPECT_EQ(control<gui::FileList>(&skinEdit(), "File1")->entries(), QStringList{"B002FAFitlgt_ok.bmp"});
    EXPECT_EQ(control<gui::FileList>(&skinEdit(), "File1")->pattern(), "*.BMP");
    EXPECT_EQ(control<gui::FileList>(&skinEdit(), "File1")->fileName(), "B002FAFitlgt_ok.bmp");
    EXPECT_EQ(Files(program.path()),
              (QStringList{"B001FAFitlgt_x.bmp", "B003FAFitlgt_text.bmp", "B004FAFitlgt_text.bmp"}));
    EXPECT_FALSE(exists(program.filePath("Temp.txt")));
    // Bitmaps are measured without any picture box: the viewer is untouched.
    EXPECT_EQ(QSize(viewer->widthHiMetric(), viewer->heightHiMetric()), shown);
}

// The check measures files, not pictures on the window: neither picture box takes any of them.
TEST_F(BitmapCheckButton, NoPictureBoxTakesTheCheckedBitmaps) {
    skins.write("only.bmp", Bmp(64, 64));
    skins.write("text.bmp", QByteArray("text"));
    browseSkinEdit();
    Click();
    for (const char* name : {"Picture1", "Picture2"}) {
        EXPECT_EQ(control<gui::PictureBox>(&skinEdit(), name)->widthHiMetric(), 0) << name;
    }
    EXPECT_EQ(messages.messages, QStringList{closingMessage});
}

TEST_F(BitmapCheckButton, ClosingMessageComesAlsoWhenNothingMoved) {
    skins.write("odd.bmp", Bmp(100, 100));
    browseSkinEdit();
    Click();
    EXPECT_EQ(messages.messages, QStringList{closingMessage});
    EXPECT_EQ(control<gui::FileList>(&skinEdit(), "File1")->entries(), QStringList{"odd.bmp"});
}
