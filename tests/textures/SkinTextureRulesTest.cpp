#include "core/textures/SkinTextureRules.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace vestimo::textures;

namespace {

struct Limit {
    std::int16_t width;
    std::int16_t height;
    std::int64_t maxFileSize;
};

// Written out here on purpose rather than read from the table under test.
constexpr Limit Limits[] = {
    {256, 256, 75000}, {512, 256, 140000}, {256, 128, 38000},
    {128, 128, 22000}, {64, 64, 9000},     {32, 32, 3000},
};

} // namespace

TEST(SkinTextureRules, ListSixSizesWidthFirstInTheirSearchOrder) {
    ASSERT_EQ(SkinTextureRules.size(), 6u);
    for (std::size_t i = 0; i < SkinTextureRules.size(); ++i) {
        EXPECT_EQ(SkinTextureRules[i].Width, Limits[i].width) << "row " << i + 1;
        EXPECT_EQ(SkinTextureRules[i].Height, Limits[i].height) << "row " << i + 1;
        EXPECT_EQ(SkinTextureRules[i].MaxFileSize, Limits[i].maxFileSize) << "row " << i + 1;
    }
}

TEST(findSkinTextureRule, ReturnsTheRowOfAListedSize) {
    for (std::size_t i = 0; i < SkinTextureRules.size(); ++i) {
        EXPECT_EQ(findSkinTextureRule(Limits[i].width, Limits[i].height), &SkinTextureRules[i]);
    }
}

TEST(findSkinTextureRule, FindsNothingForSwappedOrUnlistedSizes) {
    EXPECT_EQ(findSkinTextureRule(256, 512), nullptr);
    EXPECT_EQ(findSkinTextureRule(128, 256), nullptr);
    EXPECT_EQ(findSkinTextureRule(0, 0), nullptr);
    EXPECT_EQ(findSkinTextureRule(256, 255), nullptr);
    EXPECT_EQ(findSkinTextureRule(-256, -256), nullptr);
    EXPECT_EQ(findSkinTextureRule(1024, 1024), nullptr);
}

// Whether a length is over its size's limit is judged by the directory-wide bitmap check (see
// BitmapDirectoryCheckTest: at the limit stays, one byte over moves, every row of the table).
TEST(findSkinTextureRule, GivesEachListedSizeItsLimitInBytes) {
    for (const Limit& limit : Limits) {
        const SkinTextureRule* rule = findSkinTextureRule(limit.width, limit.height);
        ASSERT_NE(rule, nullptr) << limit.width << "x" << limit.height;
        EXPECT_EQ(rule->MaxFileSize, limit.maxFileSize) << limit.width << "x" << limit.height;
    }
    EXPECT_EQ(findSkinTextureRule(256, 256)->MaxFileSize, 75000);
    EXPECT_EQ(findSkinTextureRule(512, 256)->MaxFileSize, 140000);
    EXPECT_EQ(findSkinTextureRule(32, 32)->MaxFileSize, 3000);
}
