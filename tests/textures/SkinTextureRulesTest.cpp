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

TEST(classifySkinTexture, AcceptsAFileExactlyAtTheLimitAndRejectsOneByteMore) {
    for (const Limit& limit : Limits) {
        EXPECT_EQ(classifySkinTexture(limit.width, limit.height, limit.maxFileSize - 1),
                  TextureVerdict::Valid)
            << limit.width << "x" << limit.height;
        EXPECT_EQ(classifySkinTexture(limit.width, limit.height, limit.maxFileSize), TextureVerdict::Valid)
            << limit.width << "x" << limit.height;
        EXPECT_EQ(classifySkinTexture(limit.width, limit.height, limit.maxFileSize + 1),
                  TextureVerdict::NotValid)
            << limit.width << "x" << limit.height;
    }
}

TEST(classifySkinTexture, JudgesTheTypicalBitmaps) {
    EXPECT_EQ(classifySkinTexture(256, 256, 75000), TextureVerdict::Valid);
    EXPECT_EQ(classifySkinTexture(256, 256, 75001), TextureVerdict::NotValid);
    EXPECT_EQ(classifySkinTexture(512, 256, 139999), TextureVerdict::Valid);
    EXPECT_EQ(classifySkinTexture(256, 128, 37999), TextureVerdict::Valid);
    EXPECT_EQ(classifySkinTexture(32, 32, 3001), TextureVerdict::NotValid);
    EXPECT_EQ(classifySkinTexture(64, 64, 9000), TextureVerdict::Valid);
}

TEST(classifySkinTexture, CountsEmptyAndHugeFilesOnlyAgainstTheLimit) {
    EXPECT_EQ(classifySkinTexture(128, 128, 0), TextureVerdict::Valid);
    EXPECT_EQ(classifySkinTexture(128, 128, std::int64_t{1} << 40), TextureVerdict::NotValid);
}

TEST(classifySkinTexture, DoesNotRecognizeUnlistedSizesWhateverTheLength) {
    for (const std::int64_t length : {std::int64_t{0}, std::int64_t{1000}, std::int64_t{75000},
                                      std::int64_t{75001}, std::int64_t{10'000'000}}) {
        EXPECT_EQ(classifySkinTexture(256, 512, length), TextureVerdict::NotRecognized) << length;
        EXPECT_EQ(classifySkinTexture(128, 256, length), TextureVerdict::NotRecognized) << length;
        EXPECT_EQ(classifySkinTexture(0, 0, length), TextureVerdict::NotRecognized) << length;
    }
}
