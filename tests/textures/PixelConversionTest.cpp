#include "core/textures/SkinTextureRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

using namespace vestimo::textures;

namespace {

std::optional<std::int16_t> Pixels(std::int16_t n) {
    return n;
}

} // namespace

TEST(hiMetricFromPixels, MeasuresAPictureAsAPictureBoxDoesAt96Dpi) {
    EXPECT_EQ(hiMetricFromPixels(32), 847);
    EXPECT_EQ(hiMetricFromPixels(64), 1693);
    EXPECT_EQ(hiMetricFromPixels(128), 3387);
    EXPECT_EQ(hiMetricFromPixels(256), 6773);
    EXPECT_EQ(hiMetricFromPixels(512), 13547);
    EXPECT_EQ(hiMetricFromPixels(0), 0);
    EXPECT_EQ(hiMetricFromPixels(96), 2540);
}

TEST(hiMetricFromPixels, RoundsHalfUnitsAwayFromZeroAndSaturates) {
    // 12 pixels are exactly 317.5 units.
    EXPECT_EQ(hiMetricFromPixels(12), 318);
    EXPECT_EQ(hiMetricFromPixels(-12), -318);
    EXPECT_EQ(hiMetricFromPixels(std::numeric_limits<int>::max()), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(hiMetricFromPixels(std::numeric_limits<int>::min()), std::numeric_limits<std::int32_t>::min());
}

TEST(pixelsFromHiMetric, TurnsEveryTableSizeBackIntoItsPixelCount) {
    for (const SkinTextureRule& rule : SkinTextureRules) {
        for (const std::int16_t n : {rule.Width, rule.Height}) {
            EXPECT_EQ(pixelsFromHiMetric(hiMetricFromPixels(n)), Pixels(n)) << n;
        }
    }
    EXPECT_EQ(pixelsFromHiMetric(847), Pixels(32));
    EXPECT_EQ(pixelsFromHiMetric(0), Pixels(0));
}

TEST(pixelsFromHiMetric, StillGivesThePixelCountForALengthALittleAboveTheExactOne) {
    for (const std::int16_t n :
         {std::int16_t{32}, std::int16_t{64}, std::int16_t{128}, std::int16_t{256}, std::int16_t{512}}) {
        const std::int32_t measured = hiMetricFromPixels(n);
        for (std::int32_t extra = 1; extra <= 10; ++extra) {
            EXPECT_EQ(pixelsFromHiMetric(measured + extra), Pixels(n)) << n << " px + " << extra << " units";
        }
    }
}

TEST(pixelsFromHiMetric, MovesToTheNextPixelPastTheHalfway) {
    // 32.5 pixels are about 859.85 units.
    EXPECT_EQ(pixelsFromHiMetric(859), Pixels(32));
    EXPECT_EQ(pixelsFromHiMetric(860), Pixels(33));
    EXPECT_EQ(pixelsFromHiMetric(-859), Pixels(-32));
    EXPECT_EQ(pixelsFromHiMetric(-860), Pixels(-33));
}

TEST(pixelsFromHiMetric, GivesNothingOutsideTheSixteenBitRange) {
    // 32767.5 pixels are about 866930.7 units, -32768.5 pixels about -866957.7.
    EXPECT_EQ(pixelsFromHiMetric(866930), Pixels(32767));
    EXPECT_EQ(pixelsFromHiMetric(866931), std::nullopt);
    EXPECT_EQ(pixelsFromHiMetric(-866957), Pixels(-32768));
    EXPECT_EQ(pixelsFromHiMetric(-866958), std::nullopt);
    EXPECT_EQ(pixelsFromHiMetric(std::numeric_limits<std::int32_t>::max()), std::nullopt);
    EXPECT_EQ(pixelsFromHiMetric(std::numeric_limits<std::int32_t>::min()), std::nullopt);
}

// No whole HiMetric length divides to an exact half pixel, so halfway rounding is tested on the helper.
TEST(roundHalfToEven, SendsExactHalvesToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfToEven(0.5), 0.0);
    EXPECT_EQ(roundHalfToEven(1.5), 2.0);
    EXPECT_EQ(roundHalfToEven(2.5), 2.0);
    EXPECT_EQ(roundHalfToEven(3.5), 4.0);
    EXPECT_EQ(roundHalfToEven(-0.5), 0.0);
    EXPECT_EQ(roundHalfToEven(-1.5), -2.0);
    EXPECT_EQ(roundHalfToEven(-2.5), -2.0);
    EXPECT_EQ(roundHalfToEven(32766.5), 32766.0);
    EXPECT_EQ(roundHalfToEven(32767.5), 32768.0);
}

TEST(roundHalfToEven, RoundsEverythingElseToTheNearestWholeNumber) {
    EXPECT_EQ(roundHalfToEven(2.0), 2.0);
    EXPECT_EQ(roundHalfToEven(2.4999999), 2.0);
    EXPECT_EQ(roundHalfToEven(2.5000001), 3.0);
    EXPECT_EQ(roundHalfToEven(std::nextafter(0.5, 1.0)), 1.0);
    EXPECT_EQ(roundHalfToEven(std::nextafter(1.5, 1.0)), 1.0);
    EXPECT_EQ(roundHalfToEven(-2.4999999), -2.0);
    EXPECT_EQ(roundHalfToEven(-2.5000001), -3.0);
}
