#include "core/textures/FitDecision.h"

#include <gtest/gtest.h>

namespace vestimo::textures {
namespace {

// The table's sizes and limits, written out here rather than taken from the code under test.
struct Limit {
    int width;
    int height;
    qint64 maxFileSize;
};
constexpr Limit Limits[] = {{256, 256, 75000}, {512, 256, 140000}, {256, 128, 38000},
                            {128, 128, 22000}, {64, 64, 9000},     {32, 32, 3000}};

TEST(FitDecision, OnlyAListedSizeOverItsLimitIsWorthFitting) {
    for (const Limit& limit : Limits) {
        SCOPED_TRACE(testing::Message() << limit.width << "x" << limit.height);
        EXPECT_TRUE(fitWanted(limit.width, limit.height, limit.maxFileSize + 1));
        EXPECT_TRUE(fitWanted(limit.width, limit.height, limit.maxFileSize * 4));
        // Exactly at the limit the file is still valid.
        EXPECT_FALSE(fitWanted(limit.width, limit.height, limit.maxFileSize));
        EXPECT_FALSE(fitWanted(limit.width, limit.height, 0));
    }
}

TEST(FitDecision, SizesTheTableDoesNotListAreNeverFitted) {
    // The transposed sizes are not listed: width comes first.
    for (const QSize size : {QSize(256, 512), QSize(128, 256), QSize(100, 100), QSize(0, 0),
                             QSize(-256, -256), QSize(1 << 20, 1 << 20)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        EXPECT_FALSE(fitWanted(size.width(), size.height(), qint64{1} << 40));
    }
}

TEST(FitDecision, TheButtonNeedsAShownBitmapSelectedInAListOfBitmaps) {
    const FitSelection oversized{true, QStringLiteral("B001FAFitlgt_dress.bmp"), true, 256, 256, 196662};
    EXPECT_TRUE(fitEnabled(oversized));

    FitSelection upperCase = oversized;
    upperCase.selectedName = QStringLiteral("B001FAFITLGT_DRESS.BMP");
    EXPECT_TRUE(fitEnabled(upperCase));

    FitSelection cmxList = oversized;
    cmxList.listShowsBitmaps = false;
    EXPECT_FALSE(fitEnabled(cmxList));

    FitSelection cmxSelected = oversized;
    cmxSelected.selectedName = QStringLiteral("B001FAFit_dress.cmx");
    EXPECT_FALSE(fitEnabled(cmxSelected));

    FitSelection nothingSelected = oversized;
    nothingSelected.selectedName.clear();
    EXPECT_FALSE(fitEnabled(nothingSelected));

    // A file that did not load leaves the viewer empty.
    FitSelection notShown = oversized;
    notShown.pictureShown = false;
    EXPECT_FALSE(fitEnabled(notShown));

    FitSelection withinLimit = oversized;
    withinLimit.fileLength = 66614;
    EXPECT_FALSE(fitEnabled(withinLimit));

    FitSelection notListed = oversized;
    notListed.width = 300;
    EXPECT_FALSE(fitEnabled(notListed));
}

TEST(FitDecision, TheFittableSizesAreTheTableInItsOrder) {
    QList<QSize> expected;
    for (const Limit& limit : Limits) {
        expected.append(QSize(limit.width, limit.height));
    }
    EXPECT_EQ(fittableSizes(), expected);
}

} // namespace
} // namespace vestimo::textures
