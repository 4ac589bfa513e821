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

TEST(FindSkinTextureRule, ReturnsTheRowOfAListedSize) {
    for (std::size_t i = 0; i < SkinTextureRules.size(); ++i) {
        EXPECT_EQ(FindSkinTextureRule(Limits[i].width, Limits[i].height), &SkinTextureRules[i]);
    }
}

TEST(FindSkinTextureRule, FindsNothingForSwappedOrUnlistedSizes) {
    EXPECT_EQ(FindSkinTextureRule(256, 512), nullptr);
    EXPECT_EQ(FindSkinTextureRule(128, 256), nullptr);
    EXPECT_EQ(FindSkinTextureRule(0, 0), nullptr);
    EXPECT_EQ(FindSkinTextureRule(256, 255), nullptr);
    EXPECT_EQ(FindSkinTextureRule(-256, -256), nullptr);
    EXPECT_EQ(FindSkinTextureRule(1024, 1024), nullptr);
}

TEST(ClassifySkinTexture, AcceptsAFileExactlyAtTheLimitAndRejectsOneByteMore) {
    for (const Limit& limit : Limits) {
        EXPECT_EQ(ClassifySkinTexture(limit.width, limit.height, limit.maxFileSize - 1),
                  TextureVerdict::Valid)
            << limit.width << "x" << limit.height;
        EXPECT_EQ(ClassifySkinTexture(limit.width, limit.height, limit.maxFileSize), TextureVerdict::Valid)
            << limit.width << "x" << limit.height;
        EXPECT_EQ(ClassifySkinTexture(limit.width, limit.height, limit.maxFileSize + 1),
                  TextureVerdict::NotValid)
            << limit.width << "x" << limit.height;
    }
}

TEST(ClassifySkinTexture, JudgesTheTypicalBitmaps) {
    EXPECT_EQ(ClassifySkinTexture(256, 256, 75000), TextureVerdict::Valid);
    EXPECT_EQ(ClassifySkinTexture(256, 256, 75001), TextureVerdict::NotValid);
    EXPECT_EQ(ClassifySkinTexture(512, 256, 139999), TextureVerdict::Valid);
    EXPECT_EQ(ClassifySkinTexture(256, 128, 37999), TextureVerdict::Valid);
    EXPECT_EQ(ClassifySkinTexture(32, 32, 3001), TextureVerdict::NotValid);
    EXPECT_EQ(ClassifySkinTexture(64, 64, 9000), TextureVerdict::Valid);
}

TEST(ClassifySkinTexture, CountsEmptyAndHugeFilesOnlyAgainstTheLimit) {
    EXPECT_EQ(ClassifySkinTexture(128, 128, 0), TextureVerdict::Valid);
    EXPECT_EQ(ClassifySkinTexture(128, 128, std::int64_t{1} << 40), TextureVerdict::NotValid);
}

TEST(ClassifySkinTexture, DoesNotRecognizeUnlistedSizesWhateverTheLength) {
    for (const std::int64_t length : {std::int64_t{0}, std::int64_t{1000}, std::int64_t{75000},
                                      std::int64_t{75001}, std::int64_t{10'000'000}}) {
        EXPECT_EQ(ClassifySkinTexture(256, 512, length), TextureVerdict::NotRecognized) << length;
        EXPECT_EQ(ClassifySkinTexture(128, 256, length), TextureVerdict::NotRecognized) << length;
        EXPECT_EQ(ClassifySkinTexture(0, 0, length), TextureVerdict::NotRecognized) << length;
    }
}
